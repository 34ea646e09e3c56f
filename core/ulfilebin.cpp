#include "ulfilebin.h"

#include "candata.h"
#include "canobj.h"

#include <cstring>

UlFileBin::UlFileBin(QObject *parent)
    : UlFile(parent)
{
}

bool UlFileBin::open(const QString &fileName)
{
    setFileName(fileName);
    return QFile::open(QIODevice::ReadOnly);
}

bool UlFileBin::prepare()
{
    return true;
}

qint64 UlFileBin::readGroup(uint8_t *data)
{
    if (!isOpen())
        return 0;
    char group[8] = {};
    const qint64 n = read(group, sizeof group);
    if (n < 0)
        setReadError(errorString());
    else if (n > 0)
        std::memcpy(data, group, sizeof group);
    return n;
}

bool UlFileBin::getFrame(CanObj &frame)
{
    clearReadError();
    const qint64 n = readGroup(frame.Data);
    if (n <= 0)
        return false;
    frame.DataLen = uint8_t(n);
    return true;
}

bool UlFileBin::getFrames(CanData &frames, int count)
{
    clearReadError();
    CanObj blank = frames.isEmpty() ? CanObj() : frames.at(0);
    blank.firstMark = blank.tailMark = blank.lastMark = 0;
    CanData chunk;
    chunk.reserve(qMax(0, count));
    for (int i = 1; i <= count; ++i) {
        CanObj frame = blank;
        const qint64 n = readGroup(frame.Data);
        if (n <= 0)
            break;
        frame.DataLen = uint8_t(n);
        frame.firstMark = i == 1;
        frame.lastMark = i == count;
        chunk.push(std::move(frame));
    }
    frames = chunk;
    return !hasError();
}
