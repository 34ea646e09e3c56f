// Reader of ASC trace files (layout in UlAscFormat), its own and those of
// other tools: passes over header lines, block ends and other lines that
// are not classic frames, so that every trigger block of a file is read.
// Lines may end with LF, CR LF or CR. Reads one frame at a time only.
#pragma once

#include "ulascformat.h"
#include "ulfile.h"

class VIZOZ_EXPORT ASCFile : public UlFile
{
    Q_OBJECT
public:
    explicit ASCFile(QObject *parent = nullptr);

    using UlFile::open;
    bool open(const QString &fileName) override;
    bool prepare() override;
    // False at the end of the file, or with hasError() on a frame line
    // whose data bytes are missing or bad.
    bool getFrame(CanObj &frame) override;

private:
    UlAscFormat m_format;
    QByteArray m_line;
};
