// Parameter group numbers of the charger/BMS conversation and the readers
// of message bytes that its decoders share. Multi-byte numbers are
// little-endian; the decoders check a message's length before reading.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace Gbt {

// Group numbers as the charging window dispatches them (PDU format x 256).
enum Pgn : quint32 {
    CRM = 0x0100, // charger recognition
    BRM = 0x0200, // BMS and vehicle recognition
    BCP = 0x0600, // battery charging parameters
    CTS = 0x0700, // charger time sync
    CML = 0x0800, // charger maximum output
    BRO = 0x0900, // BMS ready
    CRO = 0x0A00, // charger ready
    BCL = 0x1000, // battery charging demand
    BCS = 0x1100, // battery charging state
    CCS = 0x1200, // charger charging state
    BSM = 0x1300, // battery status
    BMV = 0x1500, // cell voltages
    BMT = 0x1600, // cell temperatures
    BST = 0x1900, // BMS stop
    CST = 0x1A00, // charger stop
    BSD = 0x1C00, // BMS statistics
    CSD = 0x1D00, // charger statistics
    BEM = 0x1E00, // BMS error
    CEM = 0x1F00, // charger error
    CHM = 0x2600, // charger handshake
    BHM = 0x2700, // BMS handshake
};

inline quint8 u8(const QByteArray &data, int pos)
{
    return quint8(data.at(pos));
}

// count bytes (1 to 4) from pos, low byte first.
inline quint32 le(const QByteArray &data, int pos, int count)
{
    quint32 value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | u8(data, pos + i);
    return value;
}

inline quint16 u16(const QByteArray &data, int pos)
{
    return quint16(le(data, pos, 2));
}

// A two-byte value in units of 0.1 (volts, kWh, percent).
inline double tenths(const QByteArray &data, int pos)
{
    return u16(data, pos) / 10.0;
}

// A two-byte current: 0.1 A per unit, offset -400 A.
inline double current(const QByteArray &data, int pos)
{
    return tenths(data, pos) - 400;
}

// A one-byte temperature: degrees Celsius plus 50.
inline qint16 celsius(const QByteArray &data, int pos)
{
    return qint16(u8(data, pos) - 50);
}

// Packed BCD, two digits; a nibble above 9 counts as its value.
inline quint8 bcd(quint8 b)
{
    return quint8((b >> 4) * 10 + (b & 0x0F));
}

} // namespace Gbt
