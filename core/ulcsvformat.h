// Column layout of the CSV record file, written from frame-buffer rows and
// read back as frames. Nine columns: Index, Direction, Time (title suffix
// "-0", "-1" or "-2" tells how times are written), Name, Id, Format (data or
// remote), Type (standard or extended), Length, Data(HEX). Titles and the
// direction, format and type texts are translated under the context
// "UlCsvFormat"; lines end with "\n" (the caller's text stream adds CR on
// Windows). A field holding a comma or a quote is quoted.
//
// Writing is stateless. A reader object belongs to one file: it keeps the
// time code found in the header or on the first frame line. Recordings
// appended to one file each begin with their title line; a title line in
// the middle of the file sets the time code and ID alignment anew.
#pragma once

#include "vizoz_global.h"

#include <QString>
#include <QStringList>

#include <cstdint>

class CanObj;
class CanObjStr;

class VIZOZ_EXPORT UlCsvFormat
{
public:
    // How the time column is written, as the header suffix says.
    enum TimeCode : uint32_t {
        StampTime = 0,     // device time stamp "0x%X" (0.1 ms), "NULL" when sent
        ClockTime = 1,     // arrival time "hh:mm:ss:zzz"
        DurationTime = 2,  // device time as "hh:mm:ss.zzz.uuu"
        UnknownTime = 8,   // decided by the first frame line
        InvalidTime = 9    // no frame line can be read
    };
    enum LineKind {
        Frame,
        Blank,
        Title,    // the title line of a further recording, taken as readHeader does
        BadLine,  // not a frame line
        BadId     // a frame line whose ID does not fit its frame format
    };

    // Time modes of the channel's time display: 0 duration, 3 stamp, any
    // other the arrival clock time. idFormat 1 writes left-aligned IDs.
    static QString header(int timeMode, int idFormat);
    // One line, "\n" included; name is the ID's name or empty.
    static QString line(const CanObjStr &row, int timeMode, int idFormat, const QString &name);

    // Fetches the translated remote and extended texts.
    UlCsvFormat();

    // Takes the time code from the header line (UnknownTime when the Time
    // title carries no suffix) and the ID alignment from the Id title
    // ("Id(Align Left)" in English or Chinese: left-aligned).
    void readHeader(const QString &line);
    uint32_t timeCode() const { return m_timeCode; }
    bool leftAlignedIds() const { return m_leftAligned; }

    // Reads one line (without its line end). A title line (every column
    // a title, English, Chinese or of the catalogue in force, the time
    // title with or without its suffix) is Title. On Frame: DeviceTime (ms),
    // ID (the real ID; a left-aligned one shifted back, its low bits
    // dropped), RemoteFlag, ExternFlag, DataLen and Data (zero beyond the
    // length) are set; otherwise the frame is left as it is. A data frame's
    // line must hold two hexadecimal digits per byte of its length.
    LineKind readLine(const QString &line, CanObj &frame);

    // The line's fields: split at commas, empty fields kept, quoted
    // fields unquoted.
    static QStringList fields(const QString &line);

private:
    // title: a column (0 to 8), or 9 for the left-aligned ID title.
    bool isTitle(int title, QStringView text) const;
    bool isTitleLine(const QStringList &columns) const;
    void readTitles(const QStringList &titles);
    bool readTime(const QString &text, uint32_t &ms);

    uint32_t m_timeCode = UnknownTime;
    bool m_leftAligned = false;
    QString m_remoteText;
    QString m_extendText;
    QStringList m_titles;  // translated, indexed as isTitle's title
};
