// Reader of CSV record files (layout in UlCsvFormat): reads the header for
// the time code and the ID alignment, then one frame per line. A title
// line further down starts another recording appended to the file, with
// its own time code and ID alignment. Lines may end with LF, CR LF or CR;
// their text is UTF-8, or GBK (the local 8-bit encoding of a Chinese
// system) where the bytes are not valid UTF-8.
#pragma once

#include "ulcsvformat.h"
#include "ulfile.h"

class VIZOZ_EXPORT UlFileCsv : public UlFile
{
    Q_OBJECT
public:
    explicit UlFileCsv(QObject *parent = nullptr);

    using UlFile::open;
    bool open(const QString &fileName) override;
    // Reads the header line; false only when the file is not open.
    bool prepare() override;
    // First mark on the chunk's first frame, tail mark on a frame after
    // which the file is at its end, last mark on frame number count. Lines
    // that are not frames are skipped (title lines taken as getFrame takes
    // them). False at the end or when count <= 0.
    bool getFrames(CanData &frames, int count) override;
    // Blank and title lines are passed over; false with hasError() on any
    // other line that is not a frame.
    bool getFrame(CanObj &frame) override;

    uint32_t timeCode() const { return m_format.timeCode(); }

private:
    bool readLine(QString &text);

    UlCsvFormat m_format;
    QByteArray m_line;
};
