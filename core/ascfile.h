// Reader of ASC trace files (layout in UlAscFormat), its own and those of
// other tools: skips the three header lines, passes over lines that are not
// classic frames, and ends at the first line beginning with "E" ("End
// Triggerblock"). Reads one frame at a time only.
#pragma once

#include "ulfile.h"

class VIZOZ_EXPORT ASCFile : public UlFile
{
    Q_OBJECT
public:
    explicit ASCFile(QObject *parent = nullptr);

    using UlFile::open;
    bool open(const QString &fileName) override;
    bool prepare() override;
    // False at the end of the data, or with hasError() on a frame line with
    // a length above 8 or bad data bytes.
    bool getFrame(CanObj &frame) override;

private:
    QByteArray m_line;
    bool m_ended = false;
};
