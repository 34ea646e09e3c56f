// Strict text-to-number parsing and frame-row field extraction shared by the
// record-file formats. Internal to the core (not exported).
//
// The parsers take the whole range or fail: no signs, no blanks, no base
// prefixes unless stated. They work on char (ASC lines are read as bytes)
// and on QChar ranges.
#pragma once

#include "canobjstr.h"

#include <QString>
#include <QStringView>

#include <cstdint>

namespace UlRecordText {

inline unsigned unit(char c) { return static_cast<unsigned char>(c); }
inline unsigned unit(QChar c) { return c.unicode(); }

template <typename Ch>
inline int hexDigit(Ch c)
{
    const unsigned u = unit(c);
    if (u >= '0' && u <= '9')
        return int(u - '0');
    if (u >= 'A' && u <= 'F')
        return int(u - 'A' + 10);
    if (u >= 'a' && u <= 'f')
        return int(u - 'a' + 10);
    return -1;
}

template <typename Ch>
inline bool isSpace(Ch c)
{
    const unsigned u = unit(c);
    return u == ' ' || u == '\t' || u == '\r' || u == '\n' || u == '\v' || u == '\f';
}

// 1 to 16 hexadecimal digits (leading zeros beyond 16 digits allowed).
template <typename Ch>
bool parseHex(const Ch *b, const Ch *e, uint64_t &value)
{
    if (b == e)
        return false;
    while (e - b > 16 && unit(*b) == '0')
        ++b;
    if (e - b > 16)
        return false;
    uint64_t v = 0;
    for (; b != e; ++b) {
        const int d = hexDigit(*b);
        if (d < 0)
            return false;
        v = (v << 4) | unsigned(d);
    }
    value = v;
    return true;
}

// Decimal digits whose value fits 64 bits.
template <typename Ch>
bool parseDec(const Ch *b, const Ch *e, uint64_t &value)
{
    if (b == e)
        return false;
    uint64_t v = 0;
    for (; b != e; ++b) {
        const unsigned u = unit(*b);
        if (u < '0' || u > '9')
            return false;
        const unsigned d = u - '0';
        if (v > (UINT64_MAX - d) / 10)
            return false;
        v = v * 10 + d;
    }
    value = v;
    return true;
}

inline bool parseHex(QStringView s, uint64_t &value)
{
    return parseHex(s.begin(), s.end(), value);
}

inline bool parseDec(QStringView s, uint64_t &value)
{
    return parseDec(s.begin(), s.end(), value);
}

// Hexadecimal with an optional "0x" or "0X" prefix.
inline bool parsePrefixedHex(QStringView s, uint64_t &value)
{
    if (s.size() > 2 && s.at(0) == QLatin1Char('0') && (s.at(1) == QLatin1Char('x') || s.at(1) == QLatin1Char('X')))
        s = s.mid(2);
    return parseHex(s, value);
}

// Whether id fits the frame format: 11 bits standard, 29 bits extended.
inline bool idFits(uint64_t id, bool extended)
{
    return id <= (extended ? 0x1FFFFFFFu : 0x7FFu);
}

// Fields of a frame-buffer row (texts as CanObjStr holds them). Texts that
// do not parse count as 0, as hexadecimal text typed by the user does.
uint32_t rowId(const CanObjStr &row);
// The device time stamp in 0.1 ms; 0 for transmitted rows ("NULL").
uint32_t rowStamp(const CanObjStr &row);
bool rowIsTransmitted(const CanObjStr &row);
bool rowIsRemote(const CanObjStr &row);
bool rowIsExtended(const CanObjStr &row);
int rowDataLen(const CanObjStr &row);
// Decodes up to max blank-separated hexadecimal bytes; returns how many.
int rowData(const CanObjStr &row, uint8_t *out, int max);
// Arrival time "hh:mm:ss:zzz" as milliseconds since midnight.
int rowTimeOfDayMs(const CanObjStr &row);

} // namespace UlRecordText
