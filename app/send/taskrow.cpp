#include "taskrow.h"

#include "candata.h"
#include "taskobj.h"

#include <QRegularExpression>

#include <limits>

namespace {

// A number as the row's rules read it: text that is not a number is 0, a
// number of too many digits is the largest (or smallest) value, so that it
// falls out of every range.
qint64 readDecimal(const QString &text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (ok)
        return value;
    static const QRegularExpression digits(QStringLiteral("^\\s*([+-]?)\\d+\\s*$"));
    const QRegularExpressionMatch match = digits.match(text);
    if (!match.hasMatch())
        return 0;
    return match.captured(1) == QLatin1String("-") ? std::numeric_limits<qint64>::min()
                                                    : std::numeric_limits<qint64>::max();
}

quint64 readHex(const QString &text)
{
    bool ok = false;
    const quint64 value = text.toULongLong(&ok, 16);
    if (ok)
        return value;
    static const QRegularExpression digits(QStringLiteral("^\\s*[0-9A-Fa-f]+\\s*$"));
    return digits.match(text).hasMatch() ? std::numeric_limits<quint64>::max() : 0;
}

QString fileText(QString text)
{
    for (QChar &c : text) {
        if (c == QLatin1Char(',') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    }
    return text;
}

// The text without its white space (a data text's digits).
QString withoutSpace(const QString &text)
{
    QString digits;
    digits.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            digits += c;
    }
    return digits;
}

int readChoice(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}

} // namespace

bool TaskRow::operator==(const TaskRow &o) const
{
    return checked == o.checked && name == o.name && sendMode == o.sendMode && id == o.id && format == o.format
           && type == o.type && data == o.data && frames == o.frames && idRule == o.idRule
           && dataRule == o.dataRule && times == o.times && interval == o.interval;
}

QStringList TaskRow::fields() const
{
    return {checked ? QStringLiteral("1") : QStringLiteral("0"),
            fileText(name),
            QString::number(sendMode),
            fileText(id),
            QString::number(format),
            QString::number(type),
            fileText(data),
            fileText(frames),
            QString::number(idRule),
            QString::number(dataRule),
            fileText(times),
            fileText(interval)};
}

bool TaskRow::fromFields(const QStringList &f, TaskRow &row)
{
    if (f.size() != FieldCount)
        return false;
    row.checked = f.at(Checked) == QLatin1String("1");
    row.name = f.at(Name);
    row.sendMode = readChoice(f.at(SendMode));
    row.id = f.at(Id);
    row.format = readChoice(f.at(Format));
    row.type = readChoice(f.at(Type));
    row.data = f.at(Data);
    row.frames = f.at(Frames);
    row.idRule = readChoice(f.at(IdRule));
    row.dataRule = readChoice(f.at(DataRule));
    row.times = f.at(Times);
    row.interval = f.at(Interval);
    return true;
}

TaskRow::Field TaskRow::fault(int idFormat) const
{
    const bool extended = format != 0;
    const quint64 value = readHex(id);
    // Register-aligned IDs are checked on the real ID they stand for.
    const quint64 realId = idFormat == 1 ? (value > 0xFFFFFFFFu ? value : value >> (extended ? 3 : 5)) : value;
    if (realId > (extended ? 0x1FFFFFFFu : 0x7FFu))
        return Id;
    if (withoutSpace(data).size() > 2 * MaxDataBytes)
        return Data;
    const qint64 burst = readDecimal(frames);
    if (burst < 1 || burst > MaxFrames)
        return Frames;
    const qint64 count = readDecimal(times);
    if (count < 1 || count > MaxTimes)
        return Times;
    const qint64 pause = readDecimal(interval);
    if (pause < 0 || pause > MaxInterval)
        return Interval;
    return NoField;
}

taskObj TaskRow::toTask() const
{
    taskObj task;
    task.Frames = int32_t(readDecimal(frames));
    task.Interval = int32_t(readDecimal(interval));
    task.Times = int32_t(readDecimal(times));
    task.IdIncrease = idRule;
    task.DataIncrease = dataRule;

    CanObj frame;
    frame.SendType = uint8_t(sendMode);
    frame.ExternFlag = uint8_t(format);
    frame.RemoteFlag = uint8_t(type);
    frame.DeviceTime = 0;
    frame.userValue = 0;
    const QByteArray bytes = dataBytes(data).left(MaxDataBytes);
    frame.DataLen = uint8_t(bytes.size());
    for (int i = 0; i < bytes.size(); ++i)
        frame.Data[i] = uint8_t(bytes.at(i));
    frame.ID = uint32_t(readHex(id));

    CanData unit;
    unit.push(frame);
    task.frames.append(unit);
    return task;
}

QByteArray TaskRow::dataBytes(const QString &text)
{
    const QString digits = withoutSpace(text);
    QByteArray bytes;
    for (int at = 0; at < digits.size(); at += 2) {
        QString pair = digits.mid(at, 2);
        if (pair.size() == 1)
            pair += QLatin1Char('0');
        bool ok = false;
        const uint value = pair.toUInt(&ok, 16);
        bytes.append(char(ok ? value : 0));
    }
    return bytes;
}

QString TaskRow::convertId(const QString &text, bool extended, int idFormat)
{
    bool ok = false;
    quint64 value = text.toULongLong(&ok, 16);
    if (!ok)
        value = 0;
    const int shift = extended ? 3 : 5;
    value = idFormat == 1 ? value << shift : value >> shift;
    return QStringLiteral("%1").arg(value, extended ? 8 : 4, 16, QLatin1Char('0'));
}
