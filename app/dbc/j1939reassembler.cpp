#include "j1939reassembler.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <utility>

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

// The group a connection-management frame names in bytes 5-7.
quint32 namedPgn(const quint8 *data)
{
    return (data[5] | (data[6] << 8) | (quint32(data[7]) << 16)) & 0x3FFFF;
}

} // namespace

J1939Reassembler::J1939Reassembler()
{
    sessions.reserve(MaxSessions);
}

quint32 J1939Reassembler::pgnOf(quint32 id)
{
    return pduFormat(id) < 240 ? (id >> 8) & 0x3FF00 : (id >> 8) & 0x3FFFF;
}

void J1939Reassembler::reset()
{
    sessions.clear();
}

int J1939Reassembler::find(quint8 source, quint8 destination) const
{
    for (int i = 0; i < sessions.size(); ++i) {
        if (sessions.at(i).source == source && sessions.at(i).destination == destination)
            return i;
    }
    return -1;
}

void J1939Reassembler::drop(int index)
{
    sessions.remove(index);
}

J1939Reassembler::Result J1939Reassembler::feed(const VCI_CAN_OBJ &frame, J1939Message *message)
{
    const quint32 pf = pduFormat(frame.ID);
    if (!frame.ExternFlag || frame.RemoteFlag || (pf != ConnectionManagement && pf != DataTransfer))
        return NotTransport;
    const int length = std::min<int>(frame.DataLen, 8);
    if (length < 1)
        return Consumed;
    if (pf == DataTransfer)
        return onData(frame, length, message);

    const quint8 source = frame.ID & 0xFF;
    const quint8 destination = (frame.ID >> 8) & 0xFF;
    const bool named = length >= 8;  // a shorter frame names no group
    switch (frame.Data[0]) {
    case RequestToSend:
    case BroadcastAnnounce: {
        const quint8 receiver = frame.Data[0] == BroadcastAnnounce ? Global : destination;
        if (!named) {
            const int index = find(source, receiver);
            if (index >= 0)
                drop(index);
            return Consumed;
        }
        start(frame.Data, source, receiver);
        return Consumed;
    }
    case EndOfMessageAck: {
        // Sent by the receiver back to the sender of the data.
        if (destination == Global)
            return Consumed;
        const int index = find(destination, source);
        if (index < 0 || (named && namedPgn(frame.Data) != sessions.at(index).pgn))
            return Consumed;
        if (sessions.at(index).received < sessions.at(index).packets) {
            drop(index);
            return Consumed;
        }
        return deliver(index, message);
    }
    case Abort: {
        // Either side of a connection may abort it.
        for (const auto &pair : {std::make_pair(source, destination), std::make_pair(destination, source)}) {
            const int index = find(pair.first, pair.second);
            if (index >= 0 && (!named || namedPgn(frame.Data) == sessions.at(index).pgn)) {
                drop(index);
                break;
            }
        }
        return Consumed;
    }
    default:  // clear to send and anything unknown
        return Consumed;
    }
}

void J1939Reassembler::start(const quint8 *data, quint8 source, quint8 destination)
{
    int index = find(source, destination);
    if (index < 0) {
        if (sessions.size() >= MaxSessions) {
            const auto oldest = std::min_element(sessions.begin(), sessions.end(),
                                                 [](const Session &a, const Session &b) { return a.started < b.started; });
            sessions.erase(oldest);
        }
        sessions.append(Session());
        index = sessions.size() - 1;
    }
    Session &session = sessions[index];
    session.source = source;
    session.destination = destination;
    session.pgn = namedPgn(data);
    session.size = std::min(data[1] | (data[2] << 8), MaxMessageSize);
    session.packets = (session.size + PacketBytes - 1) / PacketBytes;
    session.received = 0;
    session.started = ++startCounter;
    session.arrived = QByteArray(session.packets, '\0');
    session.buffer = QByteArray(session.size, '\0');
}

J1939Reassembler::Result J1939Reassembler::onData(const VCI_CAN_OBJ &frame, int length, J1939Message *message)
{
    const quint8 source = frame.ID & 0xFF;
    const quint8 destination = (frame.ID >> 8) & 0xFF;
    const int index = find(source, destination);
    if (index < 0)
        return Consumed;
    Session &session = sessions[index];
    const int sequence = frame.Data[0];
    if (sequence == 0 || sequence > session.packets)
        return Consumed;
    // Data packets are always 8 bytes: a shorter one is a packet missed,
    // never stored in part.
    if (length == 8) {
        const int offset = (sequence - 1) * PacketBytes;
        const int bytes = std::min(PacketBytes, session.size - offset);
        std::memcpy(session.buffer.data() + offset, frame.Data + 1, std::size_t(bytes));
        if (!session.arrived.at(sequence - 1)) {
            session.arrived[sequence - 1] = 1;
            ++session.received;
        }
    }
    if (session.destination != Global)
        return Consumed;
    if (session.received == session.packets)
        return deliver(index, message);
    // A broadcast sends its packets in order: an earlier one was missed.
    if (sequence == session.packets)
        drop(index);
    return Consumed;
}

J1939Reassembler::Result J1939Reassembler::deliver(int index, J1939Message *message)
{
    const Session &session = sessions.at(index);
    message->pgn = session.pgn;
    message->source = session.source;
    message->destination = session.destination;
    message->data = session.buffer;
    drop(index);
    return Complete;
}
