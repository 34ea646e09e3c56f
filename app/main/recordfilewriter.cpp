#include "recordfilewriter.h"

#include "canobjstr.h"
#include "ulcanfileformat.h"
#include "ulcsvformat.h"
#include "ulnamemapping.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>

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
    return file.open(mode);
}

bool RecordFileWriter::put(const QByteArray &bytes)
{
    const qint64 n = file.write(bytes);
    if (n == bytes.size() && file.error() == QFileDevice::NoError)
        return true;
    // -1: none of bytes was taken, the buffer before them failed to go out.
    if (n < 0 && retryFlush())
        return file.write(bytes) == bytes.size() && file.error() == QFileDevice::NoError;
    return false;
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
    return (file.flush() && file.error() == QFileDevice::NoError) || retryFlush();
}

bool RecordFileWriter::close()
{
    if (!file.isOpen())
        return true;
    const bool flushed = flush();
    file.close();
    return flushed && file.error() == QFileDevice::NoError;
}
