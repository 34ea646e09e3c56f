#include "canwritethread.h"

#include "devcan.h"
#include "ulbuffer.h"
#include "ulpipe.h"

#include <chrono>

namespace {

int64_t steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

CanWriteThread::CanWriteThread(uint32_t channel, QObject *parent)
    : CanThread(channel, parent)
{
    qRegisterMetaType<UlCanObjStrQueue>();
    timerStartNs = steadyNs();
}

CanWriteThread::~CanWriteThread()
{
    finish();
}

void CanWriteThread::onInitUsedTime()
{
    timerStartNs = steadyNs();
    usedTime = 0.0;
}

double CanWriteThread::elapsedMs() const
{
    return double(steadyNs() - timerStartNs) / 1e6;
}

bool CanWriteThread::transmit(int n)
{
    DevCan &device = DevCan::instance();
    // A device that takes only part of a batch is offered the rest again;
    // dropping it would leave a gap in a firmware image.
    int done = 0;
    while (done < n) {
        const uint32_t sent = device.Transmit(channel, batch + done, uint32_t(n - done));
        if (sent == 0 || sent > uint32_t(n - done))
            return false;
        done += int(sent);
    }
    return true;
}

void CanWriteThread::run()
{
    if (channel >= uint32_t(UlPipe::Channels))
        return;
    UlPipe &pipe = UlPipe::instance(int(channel));
    UlBuffer &buffer = UlBuffer::instance(int(channel));
    onInitUsedTime();
    bool tail = false;

    while (runFlag()) {
        CanData unit;
        if (!pipe.waitPop(unit, IdleWaitMs))
            continue;
        while (!unit.isEmpty()) {
            int n = 0;
            while (n < BatchSize && !unit.isEmpty()) {
                // A stop drops the unit, and the part batch with it.
                if (!runFlag())
                    return;
                const CanObj frame = unit.pop();
                batch[n++] = frame.toTransmit();
                tail = frame.tailMark != 0;
                if (frame.lastMark)
                    break;
            }
            Q_EMIT sendSignal(uint(n));
            if (!hideSendFrame)
                buffer.addFrame(batch, n, true);
            const bool ok = transmit(n);
            usedTime = elapsedMs();
            Q_EMIT usedTimeSignal(usedTime / 1000.0);
            if (!ok) {
                Q_EMIT errorSignal();
                return;
            }
        }
        if (tail)
            Q_EMIT tailSignal();
    }
}
