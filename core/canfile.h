// Reader of .can record files (layout in UlCanFileFormat): checks the
// header, then reads one 24-byte record per frame from its own 64-bit read
// position. A record with a data length above 8, a flag byte other than 0
// or 1 or an ID beyond its frame format, and a trailing part shorter than a
// record are errors naming the record (from 1).
#pragma once

#include "ulfile.h"

class VIZOZ_EXPORT CANFile : public UlFile
{
    Q_OBJECT
public:
    explicit CANFile(QObject *parent = nullptr);

    using UlFile::open;
    bool open(const QString &fileName) override;
    // Reads the header; false when it is cut short or not a .can header.
    // An empty file has no header and no frames.
    bool prepare() override;
    bool getFrame(CanObj &frame) override;

private:
    qint64 m_readPos = 0;
};
