// Between the thread that reads frames (the poll thread of a live window,
// the replay thread) and the GUI timer of the frame-parsing window: keeps
// the newest frame of every enabled DBC message and, for scroll display,
// the newest frames in arrival order; reassembles J1939 transport messages
// and matches them to messages by PGN.
//
// Thread safety: one feeding thread at a time; every function holds the
// collector's lock. No widgets.
#pragma once

#include "dbcmessageentry.h"
#include "dbcpendingframe.h"
#include "j1939reassembler.h"
#include "vci.h"

#include <QHash>
#include <QMap>
#include <QMutex>
#include <QVector>

struct DBCKeyedFrame {
    quint32 key;
    DBCPendingFrame frame;
};

class DBCFrameCollector
{
public:
    // Frames kept in arrival order between two takes; older ones are dropped.
    static constexpr int SequenceBound = 256;

    // Which message keys exist and whether each is decoded, made from a
    // message table on any thread (the messages are read only then).
    struct Index {
        QHash<quint32, bool> enabled;
        QMultiHash<quint32, quint32> keysByPgn;  // enabled keys of extended messages
    };
    static Index indexOf(const QMap<quint32, DBCMessageEntry> &messageTable);

    // Takes the keys of the message table (see Index). Drops waiting frames
    // of keys that are gone or disabled. Both give back the replaced
    // tables, for the caller to free where it suits (large files have large
    // tables).
    Index setMessages(const QMap<quint32, DBCMessageEntry> &messageTable);
    Index setIndex(Index index);
    // Forgets every waiting frame and the transport sessions.
    void clear();

    // One frame in arrival order. A frame whose key (DBCMessageKey: its ID
    // and format) is enabled replaces the frame waiting for it; a remote
    // frame waits without data and, where a data frame waits, only gives it
    // its time. A transport data frame also goes to the reassembler, and a
    // completed message waits under the enabled extended key of its PGN
    // (the key with the sender's source address, else the lowest).
    // True when something now waits.
    bool feed(const VCI_CAN_OBJ &frame);
    // True when feed() would keep the frame or hand it to the reassembler.
    bool accepts(const VCI_CAN_OBJ &frame) const;

    // The newest frame of each key that arrived since the last take, by
    // ascending key. Empties the arrival sequence too.
    QMap<quint32, DBCPendingFrame> takeLatest();
    // The frames that arrived since the last take, oldest first (at most
    // SequenceBound, the newest). Empties the newest frames too.
    QVector<DBCKeyedFrame> takeSequence();

private:
    bool isTransport(const VCI_CAN_OBJ &frame) const;
    void keep(quint32 key, const DBCPendingFrame &frame);
    quint32 keyOfPgn(quint32 pgn, quint8 source, bool *found) const;

    mutable QMutex mutex;
    QHash<quint32, bool> enabled;
    QMultiHash<quint32, quint32> keysByPgn;  // enabled keys of extended messages
    J1939Reassembler reassembler;
    QMap<quint32, DBCPendingFrame> latestFrames;
    QVector<DBCKeyedFrame> sequence;  // ring of SequenceBound once full
    int sequenceStart = 0;            // oldest entry of the full ring
};
