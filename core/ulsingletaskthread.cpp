#include "ulsingletaskthread.h"

#include "devcan.h"
#include "taskthread.h"
#include "ulbuffer.h"
#include "ulglobalset.h"

#include <QElapsedTimer>

UlSingleTaskThread::UlSingleTaskThread(uint32_t channel, const taskObj &task)
    : UlSingleTaskThread(nullptr, channel, task)
{
}

UlSingleTaskThread::UlSingleTaskThread(QObject *parent, uint32_t channel, const taskObj &task)
    : UThread(parent)
    , channel(channel)
    , task(task)
{
}

UlSingleTaskThread::~UlSingleTaskThread()
{
    finish();
}

void UlSingleTaskThread::onInitUsedTime()
{
    if (channel < uint32_t(UlGlobalSet::Channels))
        UlGlobalSet::instance().channel[channel].counters.usedTime = 0.0;
}

void UlSingleTaskThread::run()
{
    if (channel >= uint32_t(UlGlobalSet::Channels))
        return;
    CanObj templ;
    if (!task.templateFrame(templ) || task.Frames <= 0) {
        Q_EMIT errorSignal();
        return;
    }
    if (task.Times <= 0)
        return;  // nothing to send, ever

    UlGlobalSet &settings = UlGlobalSet::instance();
    UlRunCounters &counters = settings.channel[channel].counters;
    UlBuffer &buffer = UlBuffer::instance(int(channel));
    DevCan &device = DevCan::instance();
    QElapsedTimer timer;
    timer.start();
    onInitUsedTime();

    const bool extended = templ.ExternFlag != 0;
    const bool countId = task.IdIncrease == 1;
    const int dataByte = task.DataIncrease >= 1 && task.DataIncrease <= 8 ? task.DataIncrease - 1 : -1;
    uint32_t id = taskObj::firstId(templ, settings.IDFORMAT == 1);
    const int64_t pauseUs = task.Interval > 0 ? int64_t(task.Interval) * 1000 : 0;

    while (runFlag()) {
        if (pauseUs > 0 && !taskThread::pauseWhileRunning(*this, pauseUs))
            return;
        for (int sent = 0; sent < task.Times; ++sent) {
            if (!runFlag())
                return;
            record = templ.toTransmit(id);
            buffer.addFrame(&record, 1, true);
            if (device.Transmit(channel, &record, 1) != 1) {
                Q_EMIT errorSignal();
                return;
            }
            ++counters.sent;
            counters.usedTime = double(timer.elapsed()) / 1000.0;
            if (dataByte >= 0)
                ++templ.Data[dataByte];
            if (countId)
                id = taskObj::nextId(id, extended);
        }
    }
}
