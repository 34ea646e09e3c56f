// Helpers shared by the core tests: numbered files in a temporary folder,
// frame and task builders, and texts of frames to compare.
#pragma once

#include "candata.h"
#include "canobj.h"
#include "canobjstr.h"
#include "taskobj.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstring>

// Files 1<suffix>, 2<suffix>, ... in a folder removed with this object.
class TestFiles
{
public:
    bool isValid() const { return dir.isValid(); }
    QString filePath(const QString &name) const { return dir.filePath(name); }

    // Writes bytes to the next new file; returns its path.
    QString write(const QByteArray &bytes, const QString &suffix)
    {
        const QString path = dir.filePath(QString::number(++count) + suffix);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return path;
    }

private:
    QTemporaryDir dir;
    int count = 0;
};

namespace TestFrames {

// A remote frame keeps its length but no data bytes.
inline CanObj frame(uint32_t id, const QByteArray &data, bool extended = false, bool remote = false)
{
    CanObj f;
    f.ID = id;
    f.ExternFlag = extended;
    f.RemoteFlag = remote;
    f.DataLen = uint8_t(data.size());
    if (!remote)
        std::memcpy(f.Data, data.constData(), size_t(data.size()));
    return f;
}

// Time stamp, ID, flags, length and all 8 data bytes in one line.
inline QString describe(const CanObj &f)
{
    QString data;
    for (int i = 0; i < 8; ++i)
        data += QString::asprintf("%02X", f.Data[i]);
    return QString::asprintf("t=%u id=%X x=%d r=%d len=%d ", f.DeviceTime, f.ID, f.ExternFlag, f.RemoteFlag, f.DataLen)
        + data;
}

// The describe() text of the frame given by its fields.
inline QString frameText(uint32_t t, uint32_t id, bool x, bool r, int len, const char *data = "0000000000000000")
{
    return QString::asprintf("t=%u id=%X x=%d r=%d len=%d %s", t, id, int(x), int(r), len, data);
}

// The frame buffer's row texts of a frame, without index and name, as the
// save threads get them; time is "hh:mm:ss:zzz".
inline CanObjStr bufferRow(const CanObj &f, bool sent, const QString &time)
{
    CanObjStr r;
    r.id = QString::asprintf("%08X ", f.ID);
    r.deviceTime = sent ? QStringLiteral("NULL") : QString::asprintf("0x%X", f.DeviceTime);
    r.time = time;
    r.frameType = f.RemoteFlag ? QStringLiteral("Remote") : QStringLiteral("Data Frame");
    r.frameFormat = f.ExternFlag ? QStringLiteral("Extend") : QStringLiteral("Standard");
    r.dataLen = QString::number(f.DataLen);
    QStringList bytes;
    for (int i = 0; i < f.DataLen && i < 8 && !f.RemoteFlag; ++i)
        bytes << QString::asprintf("%02X", f.Data[i]);
    r.data = bytes.join(QLatin1Char(' '));
    r.direction = sent ? QStringLiteral("Tx") : QStringLiteral("Rx");
    return r;
}

// A task of the one template frame.
inline taskObj task(const CanObj &templ, int frames, int times, int interval = 0, int idIncrease = 0,
                    int dataIncrease = 0)
{
    CanData d;
    d.push(templ);
    taskObj t;
    t.frames.append(d);
    t.Frames = frames;
    t.Times = times;
    t.Interval = interval;
    t.IdIncrease = idIncrease;
    t.DataIncrease = dataIncrease;
    return t;
}

} // namespace TestFrames
