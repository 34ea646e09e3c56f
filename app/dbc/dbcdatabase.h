// A loaded DBC file ready for decoding: the network and, per message key
// (DBCMessageKey: the ID with its frame format), the message entry, its
// signals in display order and its multiplexer switch. Built off the
// GUI thread by load(), then handed over whole; read-only afterwards except
// for the entries' enabled flags. Holds no widgets.
#pragma once

#include "dbcmessageentry.h"
#include "dbcsignalvalue.h"

#include <gsl/span>

#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace DBC {
class Signal;
struct Network;
}

class DBCDatabase
{
public:
    DBCDatabase();
    ~DBCDatabase();
    DBCDatabase(const DBCDatabase &) = delete;
    DBCDatabase &operator=(const DBCDatabase &) = delete;

    // Where a parse stopped (1-based; 0 when the file could not be read).
    struct ParseStop {
        int line = 0;
        int column = 0;
    };

    // Run on the loading thread before the parse and before each message is
    // built, where a cancel is looked at; tests hold a load there.
    using CheckPoint = std::function<void()>;

    // Parses the file into a fresh network and builds the tables; false
    // when the file cannot be read or is not understood whole, or once
    // *cancel (if given) is true. stop (if given) receives where a parse
    // that was not cancelled stopped. A cancelled load frees what it built
    // on the calling thread.
    bool load(const QString &path, const std::atomic<bool> *cancel = nullptr, ParseStop *stop = nullptr,
              const CheckPoint &checkPoint = {});

    const DBC::Network &network() const { return *net; }
    // A "ProtocolType" attribute default marks a J1939 database.
    bool isJ1939() const { return j1939; }
    // Names of the messages whose signals need more bits than the message
    // holds (a multiplexed message counts its largest switch group only).
    const QStringList &oversizedMessages() const { return oversized; }
    // A message of the file that nothing decodes, and why: its DBC ID
    // names no CAN frame (bit 29 or 30 set), or it names the frames of
    // another message (an unmarked extended ID beside the same ID marked),
    // which decodes them.
    struct Refused {
        enum Reason { NotCanId, SameFrames };
        Reason reason;
        QString name;
        quint32 dbcId;  // as the file writes it
        QString keptName;
        quint32 keptDbcId;
    };
    const QVector<Refused> &refusedMessages() const { return refused; }
    // The longest message and signal names (at most 64 each, by length).
    const QStringList &longestMessageNames() const { return longMessageNames; }
    const QStringList &longestSignalNames() const { return longSignalNames; }

    // Ascending key (standard messages before extended ones); only messages
    // the file declares.
    QMap<quint32, DBCMessageEntry> messageTable;
    // Ascending start bit, each signal once.
    QHash<quint32, QVector<const DBC::Signal *>> signalOrder;

    // The signals of the message with this key, in display order, decoded
    // from data (decode_ex: every byte index is checked against the span).
    QVector<DBCSignalValue> decode(quint32 key, const gsl::span<uint8_t> &data) const;
    // One signal from data, whatever its multiplexing; not shown when it
    // lies past the span.
    static DBCSignalValue decodeSignal(const DBC::Signal &signal, const gsl::span<uint8_t> &data);
    // The longest of names by character count, at most 64 (reorders names):
    // with a proportional font the widest is among them, so a view measures
    // only these.
    static QStringList longestNames(std::vector<const std::string *> &names);

private:
    bool build(const std::atomic<bool> *cancel, const CheckPoint &checkPoint);

    std::unique_ptr<DBC::Network> net;
    QHash<quint32, const DBC::Signal *> switchSignal;
    QStringList oversized;
    QVector<Refused> refused;
    QStringList longMessageNames;
    QStringList longSignalNames;
    bool j1939 = false;
};
