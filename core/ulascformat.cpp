#include "ulascformat.h"

#include "canobj.h"
#include "canobjstr.h"
#include "ulrecordtext.h"

#include <QDateTime>
#include <QLocale>

#include <cstring>

using namespace UlRecordText;

static constexpr int DayMs = 24 * 3600 * 1000;

QString UlAscFormat::header(const QDateTime &now)
{
    const QString date = QLocale(QLocale::English).toString(now, QStringLiteral("ddd MMM dd h:m:s AP yyyy"));
    return QStringLiteral("date ") + date + QStringLiteral("\t\n")
        + QStringLiteral("base hex timestamps absolute\t\n")
        + QStringLiteral("//version 11.0.0\t\n")
        + QStringLiteral("Begin Triggerblock ") + date + QStringLiteral("\t\n");
}

QString UlAscFormat::footer()
{
    return QStringLiteral("End Triggerblock\n");
}

QString UlAscFormat::line(const CanObjStr &row)
{
    const int ms = rowTimeOfDayMs(row);
    if (!m_started) {
        m_started = true;
        m_firstMs = ms;
        m_lastMs = ms;
    } else if (ms < m_lastMs - DayMs / 2) {
        m_dayOffsetMs += DayMs;
    }
    m_lastMs = ms;
    // Whole milliseconds, printed as "%.6f" of the seconds would print them.
    const qint64 elapsed = qMax<qint64>(0, m_dayOffsetMs + ms - m_firstMs);

    QString id;
    id.reserve(row.id.size() + 1);
    for (const QChar c : row.id) {
        if (!c.isSpace() && !(id.isEmpty() && c == QLatin1Char('0')))
            id += c.toUpper();
    }
    if (id.isEmpty())
        id = QStringLiteral("0");
    if (rowIsExtended(row))
        id += QLatin1Char('x');

    QString text;
    text.reserve(64 + row.data.size());
    text += QString::number(elapsed / 1000);
    text += QLatin1Char('.');
    text += QString::number(elapsed % 1000).rightJustified(3, QLatin1Char('0'));
    text += QLatin1String("000\t1\t");
    text += id;
    text += QLatin1Char('\t');
    text += row.direction;
    text += QLatin1Char('\t');
    text += rowIsRemote(row) ? QLatin1Char('r') : QLatin1Char('d');
    text += QLatin1Char('\t');
    text += row.dataLen;
    text += QLatin1Char('\t');
    if (!rowIsRemote(row))
        text += row.data;
    text += QLatin1String(" \t\n");
    return text;
}

namespace {

struct Token {
    const char *b;
    const char *e;
    bool is(const char *word) const
    {
        const size_t n = std::strlen(word);
        if (size_t(e - b) != n)
            return false;
        for (size_t i = 0; i < n; ++i) {
            if ((b[i] | 0x20) != (word[i] | 0x20))
                return false;
        }
        return true;
    }
};

// Seconds, optionally with a fraction, as whole milliseconds (truncated).
bool parseSeconds(const Token &p, uint32_t &ms)
{
    const char *dot = static_cast<const char *>(std::memchr(p.b, '.', size_t(p.e - p.b)));
    uint64_t seconds = 0;
    if (!parseDec(p.b, dot ? dot : p.e, seconds) || seconds > UINT32_MAX / 1000)
        return false;
    uint64_t fraction = 0;
    if (dot) {
        for (const char *c = dot + 1; c != p.e; ++c) {
            if (*c < '0' || *c > '9')
                return false;
        }
        const ptrdiff_t digits = p.e - dot - 1;
        for (ptrdiff_t i = 0; i < 3; ++i)
            fraction = fraction * 10 + (i < digits ? uint64_t(dot[1 + i] - '0') : 0);
    }
    const uint64_t total = seconds * 1000 + fraction;
    if (total > UINT32_MAX)
        return false;
    ms = uint32_t(total);
    return true;
}

} // namespace

UlAscFormat::LineKind UlAscFormat::readLine(const char *text, int length, CanObj &frame)
{
    const char *p = text;
    const char *end = text + length;

    enum { MaxTokens = 6 + 8 };
    Token tokens[MaxTokens];
    int count = 0;
    while (count < MaxTokens) {
        while (p != end && isSpace(*p))
            ++p;
        if (p == end)
            break;
        const char *b = p;
        while (p != end && !isSpace(*p))
            ++p;
        tokens[count++] = {b, p};
    }
    // "base hex timestamps absolute" or "base dec ...", before each block.
    if (count >= 2 && tokens[0].is("base")) {
        if (tokens[1].is("hex"))
            m_base = 16;
        else if (tokens[1].is("dec"))
            m_base = 10;
        return NotAFrame;
    }
    if (count < 5)
        return NotAFrame;

    uint32_t ms = 0;
    if (!parseSeconds(tokens[0], ms))
        return NotAFrame;

    const auto number = [this](const Token &t, uint64_t &value) {
        return m_base == 10 ? parseDec(t.b, t.e, value) : parseHex(t.b, t.e, value);
    };
    Token id = tokens[2];
    const bool extended = id.e - id.b > 1 && (id.e[-1] == 'x' || id.e[-1] == 'X');
    if (extended)
        --id.e;
    uint64_t idValue = 0;
    if (!number(id, idValue))
        return NotAFrame;
    if (!tokens[3].is("Rx") && !tokens[3].is("Tx"))
        return NotAFrame;
    const bool remote = tokens[4].is("r");
    if (!remote && !tokens[4].is("d"))
        return NotAFrame;
    if (!idFits(idValue, extended))
        return BadId;

    // The length is the frame's DLC; other tools write it in the file's
    // base, one hexadecimal digit for DLC 9 to 15. A remote frame may have
    // none, its line going on with "Length = ..." or ending there.
    uint64_t len = 0;
    if (count == 5 || !number(tokens[5], len)) {
        if (!remote)
            return NotAFrame;
        len = 0;
    }
    len = qMin<uint64_t>(len, 8);

    uint8_t data[8] = {};
    if (!remote) {
        if (count < 6 + int(len))
            return BadFrame;
        for (int i = 0; i < int(len); ++i) {
            const Token &d = tokens[6 + i];
            uint64_t v = 0;
            if (d.e - d.b > (m_base == 10 ? 3 : 2) || !number(d, v) || v > 0xFF)
                return BadFrame;
            data[i] = uint8_t(v);
        }
    }

    frame.DeviceTime = ms;
    frame.ID = uint32_t(idValue);
    frame.ExternFlag = extended ? 1 : 0;
    frame.RemoteFlag = remote ? 1 : 0;
    frame.DataLen = uint8_t(len);
    std::memcpy(frame.Data, data, sizeof data);
    return Frame;
}
