// Frames of a charger/BMS conversation for the charging window's tests:
// single-frame messages and directed multi-packet transfers as charger
// (address 0x56) and BMS (0xF4) send them on the bus.
#pragma once

#include "vci.h"

#include <QByteArray>
#include <QVector>

#include <algorithm>
#include <cstring>

namespace GbtFrames {

constexpr quint8 Charger = 0x56;
constexpr quint8 Bms = 0xF4;

// An extended data frame with PDU format pf; at most 8 bytes of data.
inline VCI_CAN_OBJ frame(quint8 pf, quint8 destination, quint8 source, const QByteArray &data, quint8 priority = 6)
{
    VCI_CAN_OBJ f{};
    f.ID = quint32(priority) << 26 | quint32(pf) << 16 | quint32(destination) << 8 | source;
    f.ExternFlag = 1;
    f.DataLen = quint8(std::min<int>(data.size(), 8));
    std::memcpy(f.Data, data.constData(), f.DataLen);
    return f;
}

// A message of one frame from source to destination; pgn as dispatched (PF x 256).
inline VCI_CAN_OBJ single(quint32 pgn, const QByteArray &data, quint8 source, quint8 destination)
{
    return frame(quint8(pgn >> 8), destination, source, data);
}

inline QByteArray control(quint8 code, int size, int packets, quint32 pgn)
{
    QByteArray bytes(8, '\xFF');
    bytes[0] = char(code);
    bytes[1] = char(size & 0xFF);
    bytes[2] = char(size >> 8);
    bytes[3] = char(packets);
    bytes[5] = char(pgn & 0xFF);
    bytes[6] = char((pgn >> 8) & 0xFF);
    bytes[7] = char(pgn >> 16);
    return bytes;
}

inline VCI_CAN_OBJ requestToSend(quint32 pgn, int size, quint8 sender, quint8 receiver)
{
    return frame(0xEC, receiver, sender, control(0x10, size, (size + 6) / 7, pgn), 7);
}

inline VCI_CAN_OBJ clearToSend(quint32 pgn, int packets, quint8 sender, quint8 receiver)
{
    QByteArray bytes = control(0x11, 0, 0, pgn);
    bytes[1] = char(packets);
    bytes[2] = 1;
    bytes[3] = '\xFF';
    return frame(0xEC, sender, receiver, bytes, 7);
}

inline VCI_CAN_OBJ endOfMessage(quint32 pgn, int size, quint8 sender, quint8 receiver)
{
    return frame(0xEC, sender, receiver, control(0x13, size, (size + 6) / 7, pgn), 7);
}

inline VCI_CAN_OBJ abort(quint32 pgn, quint8 sender, quint8 receiver)
{
    return frame(0xEC, sender, receiver, control(0xFF, 0xFFFF, 0xFF, pgn), 7);
}

// Packet n (from 1) of data, padded with 0xFF.
inline VCI_CAN_OBJ packet(const QByteArray &data, int n, quint8 sender, quint8 receiver)
{
    QByteArray bytes = char(n) + data.mid((n - 1) * 7, 7);
    bytes.append(QByteArray(8 - bytes.size(), '\xFF'));
    return frame(0xEB, receiver, sender, bytes, 7);
}

// Request, clear to send, the packets in order (numbers from 1; all in
// sequence when empty) and the receiver's acknowledgement.
inline QVector<VCI_CAN_OBJ> transfer(quint32 pgn, const QByteArray &data, quint8 sender, quint8 receiver,
                                     QVector<int> order = {})
{
    const int packets = (data.size() + 6) / 7;
    if (order.isEmpty()) {
        for (int n = 1; n <= packets; ++n)
            order << n;
    }
    QVector<VCI_CAN_OBJ> frames{requestToSend(pgn, data.size(), sender, receiver),
                                clearToSend(pgn, packets, sender, receiver)};
    for (int n : order)
        frames << packet(data, n, sender, receiver);
    frames << endOfMessage(pgn, data.size(), sender, receiver);
    return frames;
}

} // namespace GbtFrames
