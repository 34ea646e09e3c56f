#include "ulsendfirmwarethread.h"

#include "canobj.h"
#include "ulfilebin.h"
#include "ulpipe.h"

#include <QCryptographicHash>
#include <QFile>
#include <QMutexLocker>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

constexpr int FramesPerUnit = 3;
// Back-pressure poll while the pipe is full.
constexpr std::chrono::microseconds FullPipePoll(10);

CanData entry(uint32_t id, bool remote, bool tail = false)
{
    CanObj f;
    f.ID = id;
    f.RemoteFlag = remote ? 1 : 0;
    f.tailMark = tail ? 1 : 0;
    CanData d;
    d.push(f);
    return d;
}

} // namespace

UlSendFirmwareThread::UlSendFirmwareThread(uint32_t channel)
    : UlSendFirmwareThread(nullptr, channel)
{
}

UlSendFirmwareThread::UlSendFirmwareThread(QObject *parent, uint32_t channel)
    : UThread(parent)
    , channel(channel)
{
}

UlSendFirmwareThread::~UlSendFirmwareThread()
{
    finish();
}

void UlSendFirmwareThread::setFileName(const QString &name)
{
    const QMutexLocker lock(&mutex);
    fileName = name;
}

void UlSendFirmwareThread::setFileType(int type)
{
    fileType = type;
}

void UlSendFirmwareThread::initTaskObj(taskObj &task)
{
    task.frames.clear();
    task.frames.append(entry(StartId, true));
    task.frames.append(entry(DataId, false));
    task.frames.append(entry(EndId, true));
    task.frames.append(entry(DigestId, false));
    task.frames.append(entry(FinishId, true, true));
    task.Frames = FramesPerUnit;
    task.Interval = 0;
    task.Times = 1;
    task.IdIncrease = 0;
    task.DataIncrease = 0;
}

void UlSendFirmwareThread::sendShaValue(const CanData &templ, const QByteArray &digest)
{
    if (channel >= uint32_t(UlPipe::Channels) || digest.isEmpty())
        return;
    const CanObj blank = templ.isEmpty() ? CanObj() : templ.at(0);
    CanData unit;
    for (int at = 0; at < digest.size(); at += 8) {
        CanObj f = blank;
        const int n = std::min(8, digest.size() - at);
        std::fill(std::begin(f.Data), std::end(f.Data), uint8_t(0));
        std::memcpy(f.Data, digest.constData() + at, size_t(n));
        f.DataLen = uint8_t(n);
        unit.push(f);
    }
    UlPipe::instance(int(channel)).push(unit);
}

bool UlSendFirmwareThread::fileDigest(const QString &name, QByteArray &digest)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    char block[64 * 1024];
    for (;;) {
        const qint64 n = file.read(block, sizeof block);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        hash.addData(block, int(n));
    }
    digest = hash.result();
    return true;
}

void UlSendFirmwareThread::run()
{
    QString name;
    {
        const QMutexLocker lock(&mutex);
        name = fileName;
    }
    UlFileBin file;
    if (channel >= uint32_t(UlPipe::Channels) || !file.open(name)) {
        Q_EMIT errorSignal();
        return;
    }
    UlPipe &pipe = UlPipe::instance(int(channel));
    taskObj task;
    initTaskObj(task);
    const qint64 size = file.size();
    int percent = 0;
    Q_EMIT progressValueChanged(0);

    pipe.push(task.at(StartEntry));
    while (runFlag()) {
        CanData chunk = task.at(DataEntry);
        if (!file.getFrames(chunk, task.Frames)) {
            // A short image must not look like a complete one.
            Q_EMIT errorSignal();
            return;
        }
        if (chunk.isEmpty())
            break;
        if (size > 0) {
            const int now = int(qBound<qint64>(0, file.pos(), size) * 100 / size);
            if (now != percent) {
                percent = now;
                Q_EMIT progressValueChanged(percent);
            }
        }
        pipe.push(chunk);
        while (pipe.count() > MaxQueuedUnits && runFlag())
            std::this_thread::sleep_for(FullPipePoll);
    }
    file.close();

    QByteArray digest;
    if (!fileDigest(name, digest)) {
        Q_EMIT errorSignal();
        return;
    }
    pipe.push(task.at(EndEntry));
    sendShaValue(task.at(DigestEntry), digest);
    pipe.push(task.at(FinishEntry));
}
