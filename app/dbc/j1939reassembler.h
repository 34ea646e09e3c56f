// Reassembles J1939 transport-protocol messages (connection management
// PF 0xEC, data transfer PF 0xEB) from received frames as a bus monitor
// sees them: every node may run one broadcast (BAM) transfer and every
// sender-receiver pair one RTS/CTS transfer at the same time. RTS/CTS
// transfers complete at the receiver's end-of-message acknowledgement,
// broadcasts when their last packet is in. A message is delivered only when
// every one of its packets arrived whole (8 bytes); a transfer with a gap is
// dropped. Sizes are bounded by the 255 packets of 7 bytes that a transfer
// can carry, and at most MaxSessions transfers are followed at once (a new
// one drops the oldest). Not thread-safe: one instance belongs to one thread.
#pragma once

#include "vci.h"

#include <QByteArray>
#include <QVector>

struct J1939Message {
    quint32 pgn = 0;    // parameter group number from the request (18 bits)
    quint8 source = 0;  // source address of the sender of the data
    QByteArray data;    // min(announced size, MaxMessageSize) bytes
    quint8 destination = 0xFF;  // receiver of an RTS/CTS transfer; 0xFF for a broadcast
};

class J1939Reassembler
{
public:
    static constexpr int MaxMessageSize = 1785;  // 255 packets of 7 bytes
    static constexpr int MaxSessions = 64;

    enum Result {
        NotTransport,  // not a transport frame; the sessions are untouched
        Consumed,      // a transport frame that completed nothing
        Complete,      // the frame completed a message
    };

    J1939Reassembler();

    // Takes one received frame in arrival order and fills *message when the
    // result is Complete.
    Result feed(const VCI_CAN_OBJ &frame, J1939Message *message);
    // Forgets every transfer in progress.
    void reset();
    // Transfers in progress.
    int sessionCount() const { return sessions.size(); }

    // PGN of a 29-bit identifier: PDU1 (PF below 240) without the
    // destination byte, PDU2 with the group extension.
    static quint32 pgnOf(quint32 id);

private:
    static constexpr quint8 Global = 0xFF;

    struct Session {
        quint8 source = 0;
        quint8 destination = Global;  // Global: a broadcast
        quint32 pgn = 0;
        int size = 0;        // bytes to deliver, already bounded
        int packets = 0;     // packets the message needs
        int received = 0;    // distinct packets stored
        quint64 started = 0; // start order, for dropping the oldest
        QByteArray arrived;  // one flag per packet
        QByteArray buffer;   // size bytes
    };

    int find(quint8 source, quint8 destination) const;
    void start(const quint8 *data, quint8 source, quint8 destination);
    Result onData(const VCI_CAN_OBJ &frame, int length, J1939Message *message);
    Result deliver(int index, J1939Message *message);
    void drop(int index);

    QVector<Session> sessions;
    quint64 startCounter = 0;
};
