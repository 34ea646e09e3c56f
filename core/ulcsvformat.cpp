#include "ulcsvformat.h"

#include "canobj.h"
#include "canobjstr.h"
#include "ulcsvtime.h"
#include "ulrecordtext.h"

#include <QCoreApplication>
#include <QList>

#include <cstring>

using namespace UlRecordText;

static const char context[] = "UlCsvFormat";

static const char *const columnTitles[] = {
    QT_TRANSLATE_NOOP("UlCsvFormat", "Index"),
    QT_TRANSLATE_NOOP("UlCsvFormat", "Direction"),
    QT_TRANSLATE_NOOP("UlCsvFormat", "Time"),
    QT_TRANSLATE_NOOP("UlCsvFormat", "Name"),
    QT_TRANSLATE_NOOP("UlCsvFormat", "Id(Align Right)"),
    QT_TRANSLATE_NOOP("UlCsvFormat", "Format"),
    QT_TRANSLATE_NOOP("UlCsvFormat", "Type"),
    QT_TRANSLATE_NOOP("UlCsvFormat", "Length"),
    QT_TRANSLATE_NOOP("UlCsvFormat", "Data(HEX)"),
};
static const char leftAlignedTitle[] = QT_TRANSLATE_NOOP("UlCsvFormat", "Id(Align Left)");

// The row texts that are written translated.
static const char *const rowWords[] = {
    QT_TRANSLATE_NOOP("UlCsvFormat", "Rx"),
    QT_TRANSLATE_NOOP("UlCsvFormat", "Tx"),
    QT_TRANSLATE_NOOP("UlCsvFormat", "Data Frame"),
    QT_TRANSLATE_NOOP("UlCsvFormat", "Remote"),
    QT_TRANSLATE_NOOP("UlCsvFormat", "Standard"),
    QT_TRANSLATE_NOOP("UlCsvFormat", "Extend"),
};

// Index of the left-aligned ID title after the nine column titles.
static constexpr int LeftAlignedTitle = 9;

// Texts of files written under the Chinese catalogue.
static const QStringList &chineseTitles()
{
    static const QStringList titles = {
        QString::fromUtf8(u8"序号"),       QString::fromUtf8(u8"传输方向"),    QString::fromUtf8(u8"时间"),
        QString::fromUtf8(u8"名称"),       QString::fromUtf8(u8"帧ID(右对齐)"), QString::fromUtf8(u8"帧类型"),
        QString::fromUtf8(u8"帧格式"),     QString::fromUtf8(u8"数据长度"),    QString::fromUtf8(u8"数据(HEX)"),
        QString::fromUtf8(u8"帧ID(左对齐)"),
    };
    return titles;
}

static const QString &chineseRemote()
{
    static const QString text = QString::fromUtf8(u8"远程帧");
    return text;
}

static const QString &chineseExtend()
{
    static const QString text = QString::fromUtf8(u8"扩展帧");
    return text;
}

static QString tr(const char *text)
{
    return QCoreApplication::translate(context, text);
}

static QString translatedRowWord(const QString &text)
{
    for (const char *word : rowWords) {
        if (text == QLatin1String(word))
            return tr(word);
    }
    return text;
}

// Line breaks would end the row; commas and quotes would shift columns.
static QString field(const QString &text)
{
    bool plain = true;
    for (const QChar c : text) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            plain = false;
            break;
        }
    }
    if (plain)
        return text;
    QString t = text;
    t.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!t.contains(QLatin1Char(',')) && !t.contains(QLatin1Char('"')))
        return t;
    t.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

static const char *timeSuffix(int timeMode)
{
    switch (timeMode) {
    case 0:
        return "-2";
    case 3:
        return "-0";
    default:
        return "-1";
    }
}

// Device time stamp (0.1 ms) as "hh:mm:ss.zzz.uuu"; hours widen past 99.
static QString durationText(const QString &stamp)
{
    uint64_t units = 0;
    if (!parsePrefixedHex(QStringView(stamp).trimmed(), units))
        units = 0;
    uint64_t us = units * 100;
    const uint64_t hours = us / 3600000000ULL;
    us %= 3600000000ULL;
    const uint64_t minutes = us / 60000000ULL;
    us %= 60000000ULL;
    const uint64_t seconds = us / 1000000ULL;
    us %= 1000000ULL;
    const QLatin1Char zero('0');
    return QStringLiteral("%1:%2:%3.%4.%5")
        .arg(hours, 2, 10, zero)
        .arg(minutes, 2, 10, zero)
        .arg(seconds, 2, 10, zero)
        .arg(us / 1000, 3, 10, zero)
        .arg(us % 1000, 3, 10, zero);
}

QString UlCsvFormat::header(int timeMode, int idFormat)
{
    QStringList words;
    for (const char *title : columnTitles)
        words << field(tr(title));
    words[2] = field(tr(columnTitles[2]) + QLatin1String(timeSuffix(timeMode)));
    if (idFormat == 1)
        words[4] = field(tr(leftAlignedTitle));
    return words.join(QLatin1Char(',')) + QLatin1Char('\n');
}

QString UlCsvFormat::line(const CanObjStr &row, int timeMode, int idFormat, const QString &name)
{
    QString time;
    if (timeMode == 0)
        time = durationText(row.deviceTime);
    else if (timeMode == 3)
        time = row.deviceTime;
    else
        time = row.time;

    uint32_t id = rowId(row);
    if (idFormat == 1)
        id <<= row.frameFormat == QLatin1String("Standard") ? 5 : 3;

    QString text;
    text.reserve(96 + name.size());
    const QLatin1Char comma(',');
    text += field(row.index) + comma;
    text += field(translatedRowWord(row.direction)) + comma;
    text += field(time) + comma;
    text += field(name) + comma;
    text += QStringLiteral("0x%1").arg(id, 8, 16, QLatin1Char('0')) + comma;
    text += field(translatedRowWord(row.frameType)) + comma;
    text += field(translatedRowWord(row.frameFormat)) + comma;
    text += field(row.dataLen) + comma;
    text += field(row.data) + QLatin1Char('\n');
    return text;
}

UlCsvFormat::UlCsvFormat()
    : m_remoteText(tr("Remote")), m_extendText(tr("Extend"))
{
    for (const char *title : columnTitles)
        m_titles << tr(title);
    m_titles << tr(leftAlignedTitle);
}

QStringList UlCsvFormat::fields(const QString &line)
{
    if (!line.contains(QLatin1Char('"')))
        return line.split(QLatin1Char(','), Qt::KeepEmptyParts);
    QStringList out;
    QString current;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c != QLatin1Char('"'))
                current += c;
            else if (i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"'))
                current += line.at(++i);
            else
                quoted = false;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            out << current;
            current.clear();
        } else {
            current += c;
        }
    }
    out << current;
    return out;
}

bool UlCsvFormat::isTitle(int title, QStringView text) const
{
    const char *english = title == LeftAlignedTitle ? leftAlignedTitle : columnTitles[title];
    return text == QLatin1String(english) || text == chineseTitles().at(title) || text == m_titles.at(title);
}

bool UlCsvFormat::isTitleLine(const QStringList &columns) const
{
    if (columns.size() != 9)
        return false;
    for (int i = 0; i < 9; ++i) {
        QStringView text = QStringView(columns.at(i)).trimmed();
        if (i == 2) {
            const int dash = int(text.indexOf(QLatin1Char('-')));
            if (dash >= 0)
                text = text.left(dash).trimmed();
        }
        if (!isTitle(i, text) && !(i == 4 && isTitle(LeftAlignedTitle, text)))
            return false;
    }
    return true;
}

void UlCsvFormat::readHeader(const QString &line)
{
    readTitles(fields(line));
}

void UlCsvFormat::readTitles(const QStringList &titles)
{
    m_timeCode = UnknownTime;
    m_leftAligned = titles.size() >= 5 && isTitle(LeftAlignedTitle, QStringView(titles.at(4)).trimmed());
    if (titles.size() < 3)
        return;
    const QStringList parts = titles.at(2).split(QLatin1Char('-'), Qt::SkipEmptyParts);
    uint64_t code = 0;
    if (parts.size() == 2 && parseDec(QStringView(parts.at(1)).trimmed(), code) && code <= DurationTime)
        m_timeCode = uint32_t(code);
}

namespace {

// Whole-text decimal number no larger than max.
bool number(QStringView text, uint64_t max, uint64_t &value)
{
    return parseDec(text, value) && value <= max;
}

// Up to three fraction digits as milliseconds (".5" is 500 ms).
bool fractionMs(QStringView digits, uint64_t &ms)
{
    uint64_t unused = 0;
    if (digits.isEmpty() || digits.size() > 3 || !parseDec(digits, unused))
        return false;
    ms = 0;
    for (int i = 0; i < 3; ++i)
        ms = ms * 10 + (i < digits.size() ? uint64_t(digits.at(i).unicode() - '0') : 0);
    return true;
}

// "hh:mm:ss:z", optionally with ".ddd" after z, or plain "hh:mm:ss".
bool clockTime(QStringView text, uint64_t &ms)
{
    const QList<QStringView> parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3 && parts.size() != 4)
        return false;
    uint64_t h = 0, m = 0, s = 0, z = 0;
    if (!number(parts.at(0), 23, h) || !number(parts.at(1), 59, m) || !number(parts.at(2), 59, s))
        return false;
    if (parts.size() == 4) {
        QStringView last = parts.at(3);
        const int dot = int(last.indexOf(QLatin1Char('.')));
        uint64_t unused = 0;
        if (dot >= 0 && !parseDec(last.mid(dot + 1), unused))
            return false;
        if (!number(dot >= 0 ? last.left(dot) : last, 999, z))
            return false;
    }
    ms = ((h * 60 + m) * 60 + s) * 1000 + z;
    return true;
}

// "h:mm:ss", optionally with ".zzz" and ".uuu"; hours are not limited, as
// the text is a duration.
bool durationTime(QStringView text, uint64_t &ms)
{
    const QList<QStringView> parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return false;
    const QList<QStringView> seconds = parts.at(2).split(QLatin1Char('.'));
    if (seconds.size() > 3)
        return false;
    uint64_t h = 0, m = 0, s = 0, z = 0, unused = 0;
    if (!number(parts.at(0), 1193, h) || !number(parts.at(1), 59, m) || !number(seconds.at(0), 59, s))
        return false;
    if (seconds.size() >= 2 && !fractionMs(seconds.at(1), z))
        return false;
    if (seconds.size() == 3 && !number(seconds.at(2), 999, unused))
        return false;
    ms = ((h * 60 + m) * 60 + s) * 1000 + z;
    return true;
}

} // namespace

bool UlCsvFormat::readTime(const QString &text, uint32_t &ms)
{
    const QStringView t = QStringView(text).trimmed();
    // A transmitted row carries no device time; it does not decide the code.
    if (t == QLatin1String("NULL") && (m_timeCode == StampTime || m_timeCode == UnknownTime)) {
        ms = 0;
        return true;
    }
    if (m_timeCode == UnknownTime)
        m_timeCode = uint32_t(identifyTimeString(t.toString()));

    uint64_t value = 0;
    switch (m_timeCode) {
    case StampTime:
        if (!parsePrefixedHex(t, value) || value / 10 > UINT32_MAX)
            return false;
        value /= 10;
        break;
    case ClockTime:
        if (!clockTime(t, value))
            return false;
        break;
    case DurationTime:
        if (!durationTime(t, value) || value > UINT32_MAX)
            return false;
        break;
    default:
        return false;
    }
    ms = uint32_t(value);
    return true;
}

UlCsvFormat::LineKind UlCsvFormat::readLine(const QString &line, CanObj &frame)
{
    if (QStringView(line).trimmed().isEmpty())
        return Blank;
    const QStringList columns = fields(line);
    if (columns.size() != 9)
        return BadLine;
    if (isTitleLine(columns)) {
        readTitles(columns);
        return Title;
    }

    uint64_t len = 0;
    if (!parsePrefixedHex(QStringView(columns.at(7)).trimmed(), len) || len > 8)
        return BadLine;
    uint32_t ms = 0;
    if (!readTime(columns.at(2), ms))
        return BadLine;
    uint64_t id = 0;
    if (!parsePrefixedHex(QStringView(columns.at(4)).trimmed(), id))
        return BadLine;

    uint8_t data[8] = {};
    int digits = 0;
    const QList<QStringView> bytes = QStringView(columns.at(8)).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = 0; i < bytes.size() && i < 8; ++i) {
        const QStringView byte = bytes.at(i).trimmed();
        uint64_t v = 0;
        if (!parseHex(byte, v) || v > 0xFF)
            return BadLine;
        data[i] = uint8_t(v);
        digits += int(byte.size());
    }

    const QStringView type = QStringView(columns.at(5)).trimmed();
    const QStringView format = QStringView(columns.at(6)).trimmed();
    const bool remote = type == QLatin1String("Remote") || type == chineseRemote() || type == m_remoteText;
    // A line cut off in the data: its frame would be padded with zeros.
    if (!remote && digits < 2 * int(len))
        return BadLine;
    const bool extended = format == QLatin1String("Extend") || format == chineseExtend() || format == m_extendText;
    if (m_leftAligned)
        id >>= extended ? 3 : 5;
    if (!idFits(id, extended))
        return BadId;
    frame.DeviceTime = ms;
    frame.ID = uint32_t(id);
    frame.RemoteFlag = remote;
    frame.ExternFlag = extended;
    frame.DataLen = uint8_t(len);
    std::memcpy(frame.Data, data, sizeof data);
    return Frame;
}
