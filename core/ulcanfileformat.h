// Byte layout of the .can record file: a 20-byte header holding the text
// "Reririr CAN Data" and four zero bytes, then 24-byte frame records, all
// integers little-endian. The save threads write records from frame-buffer
// rows; CANFile reads them back.
//
// Record: 0 ID (uint32), 4 device time (uint32, 0.1 ms; 0 for transmitted
// rows), 8 has-time flag (0), 9 direction (0xFF received, 0 transmitted),
// 10 remote flag, 11 extended flag, 12 data length, 13 eight data bytes
// (zero beyond the length), 21 three zero bytes. The flags are 0 or 1.
#pragma once

#include "vizoz_global.h"

#include <QByteArray>

class CanObj;
class CanObjStr;

class VIZOZ_EXPORT UlCanFileFormat
{
public:
    static constexpr int HeaderSize = 20;
    static constexpr int RecordSize = 24;

    static QByteArray header();
    // True when the text of the first 20 bytes, up to the first zero byte,
    // is the header text.
    static bool isHeader(const QByteArray &bytes);

    enum RecordKind {
        Frame,
        BadLength,  // data length above 8
        BadFlag,    // remote or extended flag neither 0 nor 1
        BadId       // ID beyond 0x7FF (standard) or 0x1FFFFFFF (extended)
    };

    static QByteArray record(const CanObjStr &row);
    // Fills ID, DeviceTime (milliseconds: stored value / 10), RemoteFlag,
    // ExternFlag, DataLen and Data from one record; other fields are left
    // as they are. On any other result the frame is untouched.
    static RecordKind readRecord(const char *record, CanObj &frame);
};
