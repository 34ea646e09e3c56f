#include "j1939reassembler.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr quint32 ConnectionManagement = 0xEC;
constexpr quint32 DataTransfer = 0xEB;

constexpr quint8 RequestToSend = 0x10;
constexpr quint8 EndOfMessageAck = 0x13;
constexpr quint8 BroadcastAnnounce = 0x20;
constexpr quint8 Abort = 0xFF;

constexpr int PacketBytes = 7;

quint32 pduFormat(quint32 id)
{
    return (id >> 16) & 0xFF;
}

} // namespace

J1939Reassembler::J1939Reassembler()
    : buffer(MaxMessageSize, '\0')
{
}

quint32 J1939Reassembler::pgnOf(quint32 id)
{
    return pduFormat(id) < 240 ? (id >> 8) & 0x3FF00 : (id >> 8) & 0x3FFFF;
}

void J1939Reassembler::reset()
{
    session = Session::None;
    pgn = 0;
    size = 0;
    lastPacket = 0;
}

J1939Reassembler::Result J1939Reassembler::feed(const VCI_CAN_OBJ &frame, J1939Message *message)
{
    const quint32 pf = pduFormat(frame.ID);
    if (!frame.ExternFlag || frame.RemoteFlag || (pf != ConnectionManagement && pf != DataTransfer))
        return NotTransport;
    const int length = std::min<int>(frame.DataLen, 8);
    if (length < 1)
        return Consumed;
    const quint8 frameSource = frame.ID & 0xFF;

    if (pf == DataTransfer) {
        if (session == Session::None || frameSource != source)
            return Consumed;
        const int sequence = frame.Data[0];
        if (sequence == 0 || (sequence - 1) * PacketBytes >= size)
            return Consumed;
        store(frame.Data, length);
        if (session == Session::Broadcast && sequence == lastPacket)
            return deliver(message);
        return Consumed;
    }

    switch (frame.Data[0]) {
    case RequestToSend:
    case BroadcastAnnounce:
        if (length < 8) {
            reset();
            return Consumed;
        }
        start(frame.Data[0] == RequestToSend ? Session::Directed : Session::Broadcast, frame.Data, frameSource);
        return Consumed;
    case EndOfMessageAck:
        if (session == Session::Directed)
            return deliver(message);
        return Consumed;
    case Abort:
        reset();
        return Consumed;
    default:  // clear to send and anything unknown
        return Consumed;
    }
}

void J1939Reassembler::start(Session kind, const quint8 *data, quint8 sender)
{
    session = kind;
    source = sender;
    pgn = (data[5] | (data[6] << 8) | (quint32(data[7]) << 16)) & 0x3FFFF;
    size = std::min(data[1] | (data[2] << 8), MaxMessageSize);
    lastPacket = (size + PacketBytes - 1) / PacketBytes;
    buffer.fill('\0');
}

void J1939Reassembler::store(const quint8 *data, int length)
{
    // Sequence numbers are 1..255, so a packet always fits the buffer.
    const int offset = (data[0] - 1) * PacketBytes;
    std::memcpy(buffer.data() + offset, data + 1, std::min(length - 1, PacketBytes));
}

J1939Reassembler::Result J1939Reassembler::deliver(J1939Message *message)
{
    message->pgn = pgn;
    message->source = source;
    message->data = buffer.left(size);
    reset();
    return Complete;
}
