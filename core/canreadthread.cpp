#include "canreadthread.h"

#include "devcan.h"
#include "ulbuffer.h"
#include "ulglobalset.h"

#include <QMutexLocker>

CanReadThread::CanReadThread(uint32_t channel, QObject *parent)
    : CanThread(channel, parent)
{
}

CanReadThread::~CanReadThread()
{
    finish();
}

void CanReadThread::run()
{
    if (channel >= uint32_t(UlBuffer::Channels))
        return;
    DevCan &device = DevCan::instance();
    UlBuffer &buffer = UlBuffer::instance(int(channel));
    buffer.setChannel(int(channel));
    auto &received = UlGlobalSet::instance().channel[channel].counters.received;
    VCI_CAN_OBJ frames[BatchSize] = {};

    while (runFlag()) {
        VCI_ERR_INFO error{};
        if (device.readErrInfo(channel, &error) == 1)
            buffer.addErrorData(error);

        uint32_t n = device.Receive(channel, frames, BatchSize, 0);
        if (n > BatchSize)
            n = 0;
        if (n == 0) {
            msleep(IdleSleepMs);
            continue;
        }
        // Frames the ID filter drops still count as received, and the
        // decoders get every frame read.
        buffer.addFrame(frames, int(n), false);
        received += n;
        if (buffer.DBCRun()) {
            const QMutexLocker lock(&mutex);
            buffer.addDBCFrame(frames, int(n));
        }
        if (buffer.GBT27930Run())
            buffer.addGBT27930Frame(frames, int(n));
    }
}
