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
    // An empty file (also what a disk full before the header leaves) holds
    // no frames; a partial or other header is not ours.
    const bool empty = head.isEmpty() && error() == QFileDevice::NoError;
    if (!empty && !UlCanFileFormat::isHeader(head)) {
        setReadError(head.isEmpty() && error() != QFileDevice::NoError ? errorString()
                                                                         : tr("Not a .can record file."));
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
        setReadError(tr("Record %1 is incomplete.").arg(number));
        return false;
    }
    switch (UlCanFileFormat::readRecord(record, frame)) {
    case UlCanFileFormat::Frame:
        return true;
    case UlCanFileFormat::BadLength:
        setReadError(tr("Record %1 has a data length above 8.").arg(number));
        break;
    case UlCanFileFormat::BadFlag:
        setReadError(tr("Record %1 has a remote or extended flag other than 0 or 1.").arg(number));
        break;
    case UlCanFileFormat::BadId:
        setReadError(tr("Record %1: the ID does not fit its frame format (standard up to 0x7FF, extended up to "
                        "0x1FFFFFFF).")
                         .arg(number));
        break;
    }
    return false;
}
