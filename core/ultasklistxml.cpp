#include "ultasklistxml.h"

#include "ullistlimits.h"

#include <QFileDevice>
#include <QIODevice>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <limits>

namespace {

const QString RootName = QStringLiteral("xml");
const QString TaskName = QStringLiteral("TaskObj");

QString dataText(const CanObj &frame)
{
    return QString::asprintf("%02x %02x %02x %02x %02x %02x %02x %02x", frame.Data[0], frame.Data[1],
                             frame.Data[2], frame.Data[3], frame.Data[4], frame.Data[5], frame.Data[6],
                             frame.Data[7]);
}

// Reads one "TaskObj" element's attributes into a task; the first problem
// found, as text, when it cannot.
class TaskParser
{
public:
    explicit TaskParser(const QXmlStreamAttributes &attributes) : attributes(attributes) {}

    QString parse(taskObj &task)
    {
        CanObj frame;
        int sendType = 0;
        int remote = 0;
        int extended = 0;
        if (!number(QStringLiteral("Frames"), 1, UlTaskListXml::MaxFrames, task.Frames)
            || !number(QStringLiteral("Interval"), std::numeric_limits<int>::min(),
                       std::numeric_limits<int>::max(), task.Interval)
            || !number(QStringLiteral("Times"), 1, UlTaskListXml::MaxTimes, task.Times)
            || !number(QStringLiteral("IdIncrease"), 0, 1, task.IdIncrease)
            || !number(QStringLiteral("DataIncrease"), 0, 8, task.DataIncrease)
            || !number(QStringLiteral("SendType"), 0, 3, sendType)
            || !number(QStringLiteral("RemoteFlag"), 0, 1, remote)
            || !number(QStringLiteral("ExternFlag"), 0, 1, extended) || !id(extended != 0, frame.ID)
            || !data(frame))
            return problem;
        frame.SendType = uint8_t(sendType);
        frame.RemoteFlag = uint8_t(remote);
        frame.ExternFlag = uint8_t(extended);
        CanData unit;
        unit.push(frame);
        task.frames = {unit};
        return QString();
    }

private:
    bool missing(const QString &name)
    {
        if (attributes.hasAttribute(name))
            return false;
        problem = QStringLiteral("no \"%1\"").arg(name);
        return true;
    }

    bool number(const QString &name, int low, int high, int32_t &out)
    {
        if (missing(name))
            return false;
        bool ok = false;
        const int value = attributes.value(name).toInt(&ok);
        if (!ok || value < low || value > high) {
            problem = QStringLiteral("\"%1\" is \"%2\", not a number from %3 to %4")
                          .arg(name, attributes.value(name).toString())
                          .arg(low)
                          .arg(high);
            return false;
        }
        out = value;
        return true;
    }

    bool id(bool extended, uint32_t &out)
    {
        const QString name = QStringLiteral("ID");
        if (missing(name))
            return false;
        bool ok = false;
        out = attributes.value(name).toUInt(&ok);
        const uint32_t last = extended ? 0x1FFFFFFFu : 0x7FFu;
        if (!ok || out > last) {
            problem = QStringLiteral("\"ID\" is \"%1\", not a number from 0 to %2 (%3 frame)")
                          .arg(attributes.value(name).toString())
                          .arg(last)
                          .arg(extended ? QStringLiteral("extended") : QStringLiteral("standard"));
            return false;
        }
        return true;
    }

    // "Data": blank-separated hexadecimal bytes, the first eight taken.
    // "DataLen", when present, is the frame's length (0 to 8); without it
    // the number of bytes given.
    bool data(CanObj &frame)
    {
        const QString name = QStringLiteral("Data");
        if (missing(name))
            return false;
        const QVector<QStringRef> fields =
            attributes.value(name).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const int n = qMin(fields.size(), 8);
        for (int i = 0; i < n; ++i) {
            bool ok = false;
            const uint value = fields.at(i).right(2).toUInt(&ok, 16);
            if (!ok) {
                problem = QStringLiteral("\"Data\" byte \"%1\" is not hexadecimal").arg(fields.at(i).toString());
                return false;
            }
            frame.Data[i] = uint8_t(value);
        }
        frame.DataLen = uint8_t(n);
        const QString lengthName = QStringLiteral("DataLen");
        if (attributes.hasAttribute(lengthName)) {
            int length = 0;
            if (!number(lengthName, 0, 8, length))
                return false;
            frame.DataLen = uint8_t(length);
        }
        return true;
    }

    const QXmlStreamAttributes attributes;
    QString problem;
};

} // namespace

bool UlTaskListXml::writeFile(QIODevice *device, const QList<taskObj> &tasks)
{
    error.clear();
    if (!device || !device->isWritable()) {
        error = QStringLiteral("The device is not open for writing.");
        return false;
    }
    QXmlStreamWriter xml(device);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE xml>"));
    xml.writeStartElement(RootName);
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    for (const taskObj &task : tasks) {
        CanObj frame;
        if (!task.templateFrame(frame))
            continue;
        xml.writeEmptyElement(TaskName);
        xml.writeAttribute(QStringLiteral("Frames"), QString::number(task.Frames));
        xml.writeAttribute(QStringLiteral("Interval"), QString::number(task.Interval));
        xml.writeAttribute(QStringLiteral("Times"), QString::number(task.Times));
        xml.writeAttribute(QStringLiteral("IdIncrease"), QString::number(task.IdIncrease));
        xml.writeAttribute(QStringLiteral("DataIncrease"), QString::number(task.DataIncrease));
        xml.writeAttribute(QStringLiteral("ID"), QString::number(frame.ID));
        xml.writeAttribute(QStringLiteral("SendType"), QString::number(frame.SendType));
        xml.writeAttribute(QStringLiteral("RemoteFlag"), QString::number(frame.RemoteFlag));
        xml.writeAttribute(QStringLiteral("ExternFlag"), QString::number(frame.ExternFlag));
        xml.writeAttribute(QStringLiteral("DataLen"), QString::number(frame.DataLen));
        xml.writeAttribute(QStringLiteral("Data"), dataText(frame));
    }
    xml.writeEndElement();
    xml.writeEndDocument();

    // A file reports most write failures only when its buffer is flushed.
    auto *file = qobject_cast<QFileDevice *>(device);
    if (xml.hasError() || (file && !file->flush())) {
        error = device->errorString();
        if (error.isEmpty())
            error = QStringLiteral("Writing failed.");
        return false;
    }
    return true;
}

bool UlTaskListXml::readFile(QIODevice *device)
{
    readTasks.clear();
    rejectedTasks.clear();
    error.clear();
    if (!device || !device->isReadable()) {
        error = QStringLiteral("The device is not open for reading.");
        return false;
    }
    // Whole, so that a file past the bound is refused before it is parsed.
    const QByteArray text = device->read(UlListLimits::MaxFileBytes + 1);
    if (text.size() > UlListLimits::MaxFileBytes) {
        error = QStringLiteral("The file is larger than %1 MB.").arg(UlListLimits::MaxFileBytes >> 20);
        return false;
    }
    QXmlStreamReader xml(text);
    int entries = 0;
    if (xml.readNextStartElement()) {
        if (xml.name() == RootName && xml.attributes().value(QStringLiteral("version")) == QLatin1String("1.0")) {
            while (!xml.atEnd()) {
                xml.readNext();
                if (!xml.isStartElement() || xml.name() != TaskName)
                    continue;
                if (++entries > UlListLimits::MaxEntries) {
                    xml.raiseError(QStringLiteral("The file holds more than %1 tasks.").arg(UlListLimits::MaxEntries));
                    break;
                }
                taskObj task;
                const QString problem = TaskParser(xml.attributes()).parse(task);
                if (problem.isEmpty())
                    readTasks.append(task);
                else
                    rejectedTasks.append(
                        QStringLiteral("Task at line %1 left out: %2").arg(xml.lineNumber()).arg(problem));
            }
        } else {
            xml.raiseError(QStringLiteral("The file is not an XBEL version 1.0 file."));
        }
    }
    if (!xml.hasError())
        return true;
    readTasks.clear();
    rejectedTasks.clear();
    error = QStringLiteral("%1\nLine %2, column %3")
                .arg(xml.errorString())
                .arg(xml.lineNumber())
                .arg(xml.columnNumber());
    return false;
}
