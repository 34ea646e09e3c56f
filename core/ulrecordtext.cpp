#include "ulrecordtext.h"

#include <QList>

namespace UlRecordText {

uint32_t rowId(const CanObjStr &row)
{
    uint64_t v = 0;
    return parseHex(QStringView(row.id).trimmed(), v) ? uint32_t(v) : 0;
}

uint32_t rowStamp(const CanObjStr &row)
{
    uint64_t v = 0;
    if (rowIsTransmitted(row))
        return 0;
    return parsePrefixedHex(QStringView(row.deviceTime).trimmed(), v) ? uint32_t(v) : 0;
}

bool rowIsTransmitted(const CanObjStr &row)
{
    return row.direction == QLatin1String("Tx");
}

bool rowIsRemote(const CanObjStr &row)
{
    return row.frameType.startsWith(QLatin1Char('R'));
}

bool rowIsExtended(const CanObjStr &row)
{
    return row.frameFormat.startsWith(QLatin1Char('E'));
}

int rowDataLen(const CanObjStr &row)
{
    uint64_t v = 0;
    return parseDec(QStringView(row.dataLen).trimmed(), v) && v <= 255 ? int(v) : 0;
}

int rowData(const CanObjStr &row, uint8_t *out, int max)
{
    const QChar *p = row.data.constData();
    const QChar *end = p + row.data.size();
    int n = 0;
    while (n < max) {
        while (p != end && isSpace(*p))
            ++p;
        const QChar *b = p;
        while (p != end && !isSpace(*p))
            ++p;
        uint64_t v = 0;
        if (b == p || !parseHex(b, p, v) || v > 0xFF)
            break;
        out[n++] = uint8_t(v);
    }
    return n;
}

int rowTimeOfDayMs(const CanObjStr &row)
{
    const QList<QStringView> parts = QStringView(row.time).split(QLatin1Char(':'));
    if (parts.size() != 4)
        return 0;
    int ms = 0;
    static const int scale[4] = {3600000, 60000, 1000, 1};
    for (int i = 0; i < 4; ++i) {
        uint64_t v = 0;
        if (!parseDec(parts.at(i), v) || v > 1000)
            return 0;
        ms += int(v) * scale[i];
    }
    return ms;
}

} // namespace UlRecordText
