#include "dbcsignaltext.h"

#include "dbc/signal.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace DBCSignalText {

QString id(quint32 id)
{
    return QStringLiteral("0x") + QString::number(id, 16).rightJustified(8, QLatin1Char('0')).toUpper();
}

QString number(double value)
{
    // As C's "%f" prints it (six decimals, ties to even on the exact binary
    // value), whatever the locale; QString::asprintf rounds ties away from
    // zero. 1.8e308 needs 309 digits before the point.
    char buffer[400];
    const std::to_chars_result printed =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    QString text = printed.ec == std::errc() ? QString::fromLatin1(buffer, int(printed.ptr - buffer))
                                             : QString::asprintf("%f", value);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

int startPosition(const DBC::Signal &signal)
{
    const int start = int(signal.startBit);
    const int size = int(signal.bitSize);
    if (signal.byteOrder == DBC::Intel)
        return start;
    const int inFirstByte = start % 8 + 1;
    if (size <= inFirstByte)
        return start - size + 1;
    const int rest = size - inFirstByte;
    const int lastByte = start / 8 + rest / 8;
    return rest % 8 == 0 ? 8 * lastByte : 8 * lastByte + 16 - rest % 8;
}

QString factor(double factor)
{
    return std::fabs(factor - 1.0) <= 1e-6 ? QStringLiteral("1") : number(factor);
}

QString offset(double offset)
{
    return std::fabs(offset) <= 1e-6 ? QStringLiteral("0") : number(offset);
}

} // namespace DBCSignalText
