#include "recordfilewriter.h"

#include "canobjstr.h"
#include "ulcanfileformat.h"
#include "ulcsvformat.h"
#include "ulnamemapping.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

RecordFileWriter::Format RecordFileWriter::formatOf(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("can"))
        return CanFormat;
    if (suffix == QLatin1String("csv"))
        return CsvFormat;
    if (suffix == QLatin1String("asc"))
        return AscFormat;
    return NoFormat;
}

QString RecordFileWriter::nameToSave(const QString &fileName, const QString &selectedFilter)
{
    if (fileName.isEmpty())
        return QString();
    if (formatOf(fileName) != NoFormat)
        return fileName;
    if (!QFileInfo(fileName).suffix().isEmpty())
        return QString();
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    const QString suffix = pattern.match(selectedFilter).captured(1).toLower();
    const QString named = fileName + QLatin1Char('.') + suffix;
    return !suffix.isEmpty() && formatOf(named) != NoFormat ? named : QString();
}

RecordFileWriter::RecordFileWriter(Format format, int timeMode, int idFormat)
    : fileFormat(format), timeMode(timeMode), idFormat(idFormat)
{
}

RecordFileWriter::~RecordFileWriter()
{
    close();
}

bool RecordFileWriter::open(const QString &fileName, bool replace)
{
    close();
    file.setFileName(fileName);
    QIODevice::OpenMode mode = QIODevice::WriteOnly;
    switch (fileFormat) {
    case CanFormat:
        mode |= QIODevice::Truncate;
        break;
    case CsvFormat:
    case AscFormat:
        mode |= QIODevice::Text | (replace ? QIODevice::Truncate : QIODevice::Append);
        break;
    case NoFormat:
        return false;
    }
    asc = UlAscFormat();
    failure = QString();
    if (!file.open(mode))
        return false;
    openedSize = file.size();
    return true;
}

bool RecordFileWriter::put(const QByteArray &bytes)
{
    const qint64 n = file.write(bytes);
    if (n == bytes.size() && file.error() == QFileDevice::NoError)
        return true;
    // -1: none of bytes was taken, the buffer before them failed to go out.
    if (n < 0 && retryFlush() && file.write(bytes) == bytes.size() && file.error() == QFileDevice::NoError)
        return true;
    return fail();
}

bool RecordFileWriter::retryFlush()
{
    // After a short write the file layer reports no reason; the system
    // gives it ("No space left on device", "File too large") when the rest
    // is written once more, or takes the rest.
    file.unsetError();
    return file.flush() && file.error() == QFileDevice::NoError;
}

bool RecordFileWriter::writeHeader()
{
    switch (fileFormat) {
    case CanFormat:
        return put(UlCanFileFormat::header());
    case CsvFormat:
        return put(UlCsvFormat::header(timeMode, idFormat).toLocal8Bit());
    case AscFormat:
        return put(UlAscFormat::header(QDateTime::currentDateTime()).toLocal8Bit());
    case NoFormat:
        break;
    }
    return false;
}

bool RecordFileWriter::write(const CanObjStr &row)
{
    switch (fileFormat) {
    case CanFormat:
        return put(UlCanFileFormat::record(row));
    case CsvFormat: {
        const UlNameMapping *names = UlNameMapping::getSingleton();
        const QString name = names->size() > 0 ? names->find(row.id.trimmed().toUInt(nullptr, 16)) : QString();
        return put(UlCsvFormat::line(row, timeMode, idFormat, name).toLocal8Bit());
    }
    case AscFormat:
        return put(asc.line(row).toLocal8Bit());
    case NoFormat:
        break;
    }
    return false;
}

bool RecordFileWriter::writeFooter()
{
    return fileFormat != AscFormat || put(UlAscFormat::footer().toLocal8Bit());
}

bool RecordFileWriter::flush()
{
    return (file.flush() && file.error() == QFileDevice::NoError) || retryFlush() || fail();
}

bool RecordFileWriter::close()
{
    if (!file.isOpen())
        return true;
    if (!flush())
        return false;
    file.close();
    return file.error() == QFileDevice::NoError || fail();
}

bool RecordFileWriter::fail()
{
    failure = file.errorString();
    // What is still buffered goes out if it can; the cut follows the disk.
    file.close();
    // A device (such as /dev/full) has no records to cut.
    if (!QFileInfo(file.fileName()).isFile())
        return false;
    QFile written(file.fileName());
    if (written.open(QIODevice::ReadWrite))
        written.resize(wholeRecordsEnd(written));
    return false;
}

qint64 RecordFileWriter::wholeRecordsEnd(QFile &written) const
{
    const qint64 size = written.size();
    if (fileFormat == CanFormat) {
        const qint64 records = size - UlCanFileFormat::HeaderSize;
        return records < 0 ? 0 : size - records % UlCanFileFormat::RecordSize;
    }
    // Text records are lines; what the file held before is kept as it was.
    constexpr qint64 Chunk = 4096;
    for (qint64 end = size; end > openedSize;) {
        const qint64 from = std::max(openedSize, end - Chunk);
        if (!written.seek(from))
            break;
        const int at = written.read(end - from).lastIndexOf('\n');
        if (at >= 0)
            return from + at + 1;
        end = from;
    }
    return std::min(openedSize, size);
}
