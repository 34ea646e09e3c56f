#include "ultimingscheduler.h"

#include "devcan.h"
#include "ulbuffer.h"
#include "ulglobalset.h"

#include <algorithm>
#include <functional>
#include <queue>

namespace {

// Longest sleep between two tests of the running flag; a stop() wakes the
// thread at once, this only bounds a stop that came through the base class.
constexpr std::chrono::milliseconds WaitSlice{20};
// Pause before a refused frame is offered again.
constexpr std::chrono::milliseconds RetryPause{1};

} // namespace

UlTimingScheduler::UlTimingScheduler(uint32_t channel, const taskQueue &tasks)
    : UlTimingScheduler(nullptr, channel, tasks)
{
}

UlTimingScheduler::UlTimingScheduler(QObject *parent, uint32_t channel, const taskQueue &tasks)
    : UThread(parent)
    , channel(channel)
    , source(tasks)
{
}

UlTimingScheduler::~UlTimingScheduler()
{
    stop();
    finish();
}

void UlTimingScheduler::stop()
{
    UThread::stop();
    // Taking the lock orders the flag before a waiter's test of it.
    { const std::lock_guard<std::mutex> lock(wakeLock); }
    wake.notify_all();
}

void UlTimingScheduler::onInitUsedTime()
{
    if (channel < uint32_t(UlGlobalSet::Channels))
        UlGlobalSet::instance().channel[channel].counters.usedTime = 0.0;
}

bool UlTimingScheduler::prepare(Clock::time_point start)
{
    const bool leftAligned = UlGlobalSet::instance().IDFORMAT == 1;
    tasks.clear();
    tasks.reserve(std::size_t(source.size()));
    for (const taskObj &t : source) {
        CanObj templ;
        if (!t.templateFrame(templ) || t.Frames <= 0)
            return false;
        Task task;
        task.templ = templ.toTransmit();
        task.id = taskObj::firstId(templ, leftAligned);
        task.interval = std::chrono::milliseconds(std::max(t.Interval, 0));
        task.due = start + task.interval;
        task.times = std::max(t.Times, 0);
        task.dataByte = t.DataIncrease >= 1 && t.DataIncrease <= 8 ? t.DataIncrease - 1 : -1;
        task.countId = t.IdIncrease == 1;
        tasks.push_back(task);
    }
    return true;
}

bool UlTimingScheduler::sleepUntil(Clock::time_point at)
{
    std::unique_lock<std::mutex> lock(wakeLock);
    while (runFlag()) {
        const Clock::time_point now = Clock::now();
        if (now >= at)
            return true;
        wake.wait_until(lock, std::min(at, now + WaitSlice));
    }
    return false;
}

bool UlTimingScheduler::sendSlice(Task &task, Clock::time_point now, Clock::time_point &next)
{
    UlBuffer &buffer = UlBuffer::instance(int(channel));
    DevCan &device = DevCan::instance();
    UlRunCounters &counters = UlGlobalSet::instance().channel[channel].counters;
    for (int n = 0; n < SliceFrames && task.sentInCycle < task.times; ++n) {
        if (!runFlag()) {
            next = now;
            return true;
        }
        VCI_CAN_OBJ record = task.templ;
        record.ID = task.id;
        if (!task.inBuffer) {
            buffer.addFrame(&record, 1, true);
            task.inBuffer = true;
        }
        if (device.Transmit(channel, &record, 1) != 1) {
            const Clock::time_point at = Clock::now();
            if (!refusing) {
                refusing = true;
                refusedSince = at;
            } else if (at - refusedSince > std::chrono::milliseconds(RefusalLimitMs)) {
                return false;
            }
            next = at + RetryPause;
            return true;
        }
        refusing = false;
        task.inBuffer = false;
        ++counters.sent;
        ++task.sentInCycle;
        if (task.dataByte >= 0)
            ++task.templ.Data[task.dataByte];
        if (task.countId)
            task.id = taskObj::nextId(task.id, task.templ.ExternFlag != 0);
    }
    if (task.sentInCycle < task.times) {
        // Behind every task that is due by now.
        next = Clock::now();
        return true;
    }
    task.sentInCycle = 0;
    if (task.interval.count() > 0)
        task.due += task.interval;
    else
        task.due = Clock::now();
    next = task.due;
    return true;
}

void UlTimingScheduler::run()
{
    if (channel >= uint32_t(UlGlobalSet::Channels))
        return;
    const Clock::time_point start = Clock::now();
    startTicks = start.time_since_epoch().count();
    if (!prepare(start)) {
        if (runFlag())
            Q_EMIT errorSignal();
        return;
    }
    std::priority_queue<Ready, std::vector<Ready>, std::greater<Ready>> ready;
    uint64_t order = 0;
    for (int i = 0; i < int(tasks.size()); ++i) {
        if (tasks[std::size_t(i)].times > 0)
            ready.push({tasks[std::size_t(i)].due, order++, i});
    }
    if (ready.empty())
        return;  // nothing to send, ever
    onInitUsedTime();
    std::atomic<double> &usedTime = UlGlobalSet::instance().channel[channel].counters.usedTime;

    while (runFlag()) {
        const Ready head = ready.top();
        Clock::time_point now = Clock::now();
        if (head.at > now) {
            if (!sleepUntil(head.at))
                break;
            now = Clock::now();
        }
        ready.pop();
        Clock::time_point next;
        if (!sendSlice(tasks[std::size_t(head.task)], now, next)) {
            // A stopped run reports nothing: its sender may have moved on.
            if (runFlag())
                Q_EMIT errorSignal();
            break;
        }
        usedTime = std::chrono::duration<double>(Clock::now() - start).count();
        ready.push({next, order++, head.task});
    }
}
