#include "canfile.h"

#include "canobj.h"
#include "ulcanfileformat.h"

CANFile::CANFile(QObject *parent)
    : UlFile(parent)
{
}

bool CANFile::open(const QString &fileName)
{
    setFileName(fileName);
    return QFile::open(QIODevice::ReadOnly);
}

bool CANFile::prepare()
{
    clearReadError();
    if (!isOpen() || !seek(0))
        return false;
    const QByteArray head = read(UlCanFileFormat::HeaderSize);
    if (!UlCanFileFormat::isHeader(head)) {
        setReadError(head.isEmpty() && error() != QFileDevice::NoError ? errorString()
                                                                         : QStringLiteral("Not a .can record file."));
        return false;
    }
    m_readPos = UlCanFileFormat::HeaderSize;
    return true;
}

bool CANFile::getFrame(CanObj &frame)
{
    clearReadError();
    if (!isOpen())
        return false;
    if (pos() != m_readPos && !seek(m_readPos)) {
        setReadError(errorString());
        return false;
    }
    char record[UlCanFileFormat::RecordSize];
    const qint64 n = read(record, sizeof record);
    if (n <= 0) {
        if (n < 0)
            setReadError(errorString());
        return false;
    }
    const qint64 number = (m_readPos - UlCanFileFormat::HeaderSize) / UlCanFileFormat::RecordSize + 1;
    m_readPos += n;
    if (n < qint64(sizeof record)) {
        setReadError(QStringLiteral("Record %1 is incomplete.").arg(number));
        return false;
    }
    if (!UlCanFileFormat::readRecord(record, frame)) {
        setReadError(QStringLiteral("Record %1 has a data length above 8.").arg(number));
        return false;
    }
    return true;
}
