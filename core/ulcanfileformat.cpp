#include "ulcanfileformat.h"

#include "canobj.h"
#include "canobjstr.h"
#include "ulrecordtext.h"

#include <QtEndian>

#include <cstring>

static const char headerText[] = "Reririr CAN Data";

QByteArray UlCanFileFormat::header()
{
    QByteArray bytes(HeaderSize, '\0');
    std::memcpy(bytes.data(), headerText, sizeof headerText - 1);
    return bytes;
}

bool UlCanFileFormat::isHeader(const QByteArray &bytes)
{
    if (bytes.size() < HeaderSize)
        return false;
    const QByteArray head = bytes.left(HeaderSize);
    const int zero = head.indexOf('\0');
    return head.left(zero < 0 ? HeaderSize : zero) == headerText;
}

QByteArray UlCanFileFormat::record(const CanObjStr &row)
{
    using namespace UlRecordText;
    QByteArray bytes(RecordSize, '\0');
    auto *r = reinterpret_cast<uchar *>(bytes.data());
    const bool sent = rowIsTransmitted(row);
    qToLittleEndian<quint32>(rowId(row), r);
    qToLittleEndian<quint32>(sent ? 0 : rowStamp(row), r + 4);
    r[9] = sent ? 0x00 : 0xFF;
    r[10] = rowIsRemote(row) ? 1 : 0;
    r[11] = rowIsExtended(row) ? 1 : 0;
    const int len = rowDataLen(row);
    r[12] = uchar(len);
    rowData(row, r + 13, qMin(len, 8));
    return bytes;
}

UlCanFileFormat::RecordKind UlCanFileFormat::readRecord(const char *record, CanObj &frame)
{
    const auto *r = reinterpret_cast<const uchar *>(record);
    if (r[12] > 8)
        return BadLength;
    if (r[10] > 1 || r[11] > 1)
        return BadFlag;
    const quint32 id = qFromLittleEndian<quint32>(r);
    if (!UlRecordText::idFits(id, r[11] != 0))
        return BadId;
    frame.ID = id;
    frame.DeviceTime = qFromLittleEndian<quint32>(r + 4) / 10;
    frame.RemoteFlag = r[10];
    frame.ExternFlag = r[11];
    frame.DataLen = r[12];
    std::memcpy(frame.Data, r + 13, 8);
    return Frame;
}
