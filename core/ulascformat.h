// Line layout of the ASC trace text file, written from frame-buffer rows and
// read back as frames. Writer: three header lines and "Begin Triggerblock"
// with the date (without it other tools take the first frame line for the
// end of the header), one line per frame
//   time \t 1 \t ID[x] \t Rx|Tx \t d|r \t length \t data bytes " \t\n"
// with the time in seconds since the first written frame ("%.6f"), and the
// footer "End Triggerblock". Reader: fields split at runs of white space, so
// that files written by other tools (other spacing, comments, error frames,
// statistics, CAN FD lines, several trigger blocks) are read for their
// classic frames.
//
// An object belongs to one file: as writer it remembers the first frame's
// arrival time, as reader the number base of IDs and data bytes that the
// file's "base hex" or "base dec" line sets (hexadecimal until one does).
#pragma once

#include "vizoz_global.h"

#include <QString>

class CanObj;
class CanObjStr;
class QDateTime;

class VIZOZ_EXPORT UlAscFormat
{
public:
    enum LineKind {
        Frame,      // the frame was filled
        NotAFrame,  // header, block end, comment, event or other line to pass over
        BadFrame,   // a frame line whose data bytes are missing or bad
        BadId       // a frame line whose ID does not fit its frame format
    };

    // The header lines, dated in English.
    static QString header(const QDateTime &now);
    static QString footer();

    // One frame line. Times count from the first row given to this object;
    // a time of day that goes back by more than 12 hours is taken as the
    // next day.
    QString line(const CanObjStr &row);

    // Reads one line (without its line end). On Frame: DeviceTime (the
    // time in milliseconds, truncated), ID, ExternFlag, RemoteFlag,
    // DataLen and Data (zero beyond the data) are set; other fields and, on
    // any other result, the whole frame are left as they are. A remote
    // frame without a length has length 0; a length above 8 (a classic
    // frame's DLC 9 to 15) gives the first 8 data bytes.
    LineKind readLine(const char *text, int length, CanObj &frame);

private:
    int m_base = 16;
    bool m_started = false;
    int m_firstMs = 0;
    int m_lastMs = 0;
    qint64 m_dayOffsetMs = 0;
};
