// Reassembles J1939 transport-protocol messages (connection management
// PF 0xEC, data transfer PF 0xEB) from received frames, one transfer at a
// time as a bus monitor sees them: RTS/CTS transfers complete at the
// receiver's end-of-message acknowledgement, broadcast (BAM) transfers at
// their last packet. Sizes are bounded by the 255 packets of 7 bytes that a
// transfer can carry. Not thread-safe: one instance belongs to one thread.
#pragma once

#include "vci.h"

#include <QByteArray>

struct J1939Message {
    quint32 pgn = 0;    // parameter group number from the request (18 bits)
    quint8 source = 0;  // source address of the sender of the data
    QByteArray data;    // min(announced size, MaxMessageSize) bytes
};

class J1939Reassembler
{
public:
    static constexpr int MaxMessageSize = 1785;  // 255 packets of 7 bytes

    enum Result {
        NotTransport,  // not a transport frame; the session is untouched
        Consumed,      // a transport frame that completed nothing
        Complete,      // the frame completed a message
    };

    J1939Reassembler();

    // Takes one received frame in arrival order and fills *message when the
    // result is Complete.
    Result feed(const VCI_CAN_OBJ &frame, J1939Message *message);
    // Forgets the transfer in progress.
    void reset();

    // PGN of a 29-bit identifier: PDU1 (PF below 240) without the
    // destination byte, PDU2 with the group extension.
    static quint32 pgnOf(quint32 id);

private:
    enum class Session { None, Directed, Broadcast };

    void start(Session kind, const quint8 *data, quint8 source);
    void store(const quint8 *data, int length);
    Result deliver(J1939Message *message);

    Session session = Session::None;
    quint32 pgn = 0;
    quint8 source = 0;
    int size = 0;          // bytes to deliver, already bounded
    int lastPacket = 0;    // sequence number that ends a broadcast
    QByteArray buffer;     // MaxMessageSize bytes
};
