// Reads any file as data: each group of up to 8 bytes becomes the data of
// one frame; the last group may be shorter and its size is the frame's
// length. Used for firmware images and raw data files.
#pragma once

#include "ulfile.h"

class VIZOZ_EXPORT UlFileBin : public UlFile
{
    Q_OBJECT
public:
    explicit UlFileBin(QObject *parent = nullptr);

    using UlFile::open;
    bool open(const QString &fileName) override;
    bool prepare() override;
    // First mark on the chunk's first frame, last mark on frame number
    // count; marks of the template are not copied. An empty chunk at the
    // end of the file is not an error; false after a read error.
    bool getFrames(CanData &frames, int count) override;
    bool getFrame(CanObj &frame) override;

private:
    // Up to 8 bytes into data, the rest zeroed; data is untouched when
    // nothing was read. -1 on a read error.
    qint64 readGroup(uint8_t *data);
};
