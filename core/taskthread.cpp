#include "taskthread.h"

#include "devcan.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "ulpipe.h"
#include "ultimingscheduler.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMutexLocker>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// Longest sleep between two tests of the running flag, µs.
constexpr int64_t PauseSliceUs = 10000;

} // namespace

taskThread::taskThread(uint32_t channel)
    : taskThread(nullptr, channel)
{
}

taskThread::taskThread(QObject *parent, uint32_t channel)
    : UThread(parent)
    , channel(channel)
{
}

taskThread::~taskThread()
{
    finish();
    QList<UlTimingScheduler *> threads;
    {
        const QMutexLocker lock(&singleLock);
        threads.swap(retired);
        if (timing)
            threads.append(timing);
        timing = nullptr;
    }
    for (UlTimingScheduler *t : threads)
        t->stop();
    qDeleteAll(threads);  // each waits for its own run to end
}

bool taskThread::pauseWhileRunning(const UThread &thread, int64_t us)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::microseconds(us);
    while (thread.runFlag()) {
        const Clock::time_point now = Clock::now();
        if (now >= end)
            return true;
        std::this_thread::sleep_until(std::min(end, now + std::chrono::microseconds(PauseSliceUs)));
    }
    return false;
}

void taskThread::stop()
{
    UThread::stop();
    page = NoPage;
}

void taskThread::stopSingleTask()
{
    // A parallel run still starting its timing thread must not start it
    // after this stop; such a run ends at once.
    const QDeadlineTimer deadline(StopWaitMs);
    if (QThread::currentThread() != this && page == TaskPage && channel < uint32_t(UlGlobalSet::Channels)
        && UlGlobalSet::instance().channel[channel].sendMode == 2) {
        UThread::stop();
        wait(deadline);
    }
    UlTimingScheduler *t = nullptr;
    {
        const QMutexLocker lock(&singleLock);
        std::swap(t, timing);
    }
    if (t) {
        t->stop();
        if (t->wait(deadline)) {
            delete t;
            t = nullptr;
        }
    }
    const QMutexLocker lock(&singleLock);
    if (t)
        retired.append(t);
    reapRetired();
}

void taskThread::reapRetired()
{
    for (auto it = retired.begin(); it != retired.end();) {
        if ((*it)->isFinished()) {
            delete *it;
            it = retired.erase(it);
        } else {
            ++it;
        }
    }
}

int taskThread::singleTaskCount() const
{
    const QMutexLocker lock(&singleLock);
    return timing ? timing->taskCount() : 0;
}

int taskThread::timingThreadCount() const
{
    const QMutexLocker lock(&singleLock);
    int n = 0;
    for (const UlTimingScheduler *t : retired)
        n += t->isFinished() ? 0 : 1;
    return n + (timing && !timing->isFinished() ? 1 : 0);
}

void taskThread::setTaskQueue(taskQueue &queue)
{
    const QMutexLocker lock(&mutex);
    tasks.clear();
    tasks.swap(queue);
}

void taskThread::onInitUsedTime()
{
    if (channel < uint32_t(UlGlobalSet::Channels))
        UlGlobalSet::instance().channel[channel].counters.usedTime = 0.0;
}

void taskThread::clearAll()
{
    const QMutexLocker lock(&mutex);
    tasks.clear();
}

void taskThread::clearPipe()
{
    if (channel < uint32_t(UlPipe::Channels))
        UlPipe::instance(int(channel)).clear();
}

void taskThread::run()
{
    {
        const QMutexLocker lock(&mutex);
        runTasks = tasks;
    }
    runSent = 0;
    const bool validChannel = channel < uint32_t(UlGlobalSet::Channels);
    if (validChannel) {
        clearPipe();
        onInitUsedTime();
    }
    Q_EMIT startSignal();
    const int current = validChannel ? page.load() : int(NoPage);
    switch (current) {
    case BasePage:
        BaseOperation();
        break;
    case TaskPage:
        TaskOperation();
        break;
    case FilePage:
        FileOperation();
        break;
    default:
        Q_EMIT errorSignal();
        break;
    }
    runTasks.clear();
    Q_EMIT tailSignal();
}

void taskThread::BaseOperation()
{
    if (!runTasks.isEmpty())
        sendTask(runTasks.head());
}

void taskThread::TaskOperation()
{
    switch (UlGlobalSet::instance().channel[channel].sendMode.load()) {
    case 0:
        for (const taskObj &task : qAsConst(runTasks)) {
            if (!runFlag() || !sendTask(task))
                return;
        }
        break;
    case 1:
        while (runFlag() && !runTasks.isEmpty()) {
            const int64_t before = runSent;
            for (const taskObj &task : qAsConst(runTasks)) {
                if (!runFlag())
                    return;
                if (!sendTask(task))
                    return;
            }
            // A queue that sends nothing would spin here until stopped.
            if (runSent == before)
                return;
        }
        break;
    case 2:
        startSingleTasks();
        break;
    default:
        break;
    }
}

void taskThread::FileOperation()
{
}

void taskThread::startSingleTasks()
{
    if (runTasks.isEmpty())
        return;
    const QMutexLocker lock(&singleLock);
    if (!runFlag())  // stopped while starting
        return;
    auto *t = new UlTimingScheduler(channel, runTasks);
    // Owned and deleted by this object's thread, not by this run.
    t->moveToThread(thread());
    connect(t, &UlTimingScheduler::errorSignal, this, &taskThread::errorSignal, Qt::DirectConnection);
    if (timing) {
        timing->stop();
        retired.append(timing);
    }
    timing = t;
    // Started under the lock, so that a stop always finds it running.
    t->start(QThread::InheritPriority);
}

bool taskThread::sendTask(const taskObj &task)
{
    if (task.Times <= 0)
        return true;
    CanObj templ;
    if (!task.templateFrame(templ) || task.Frames <= 0) {
        Q_EMIT errorSignal();
        return false;
    }
    UlGlobalSet &settings = UlGlobalSet::instance();
    UlRunCounters &counters = settings.channel[channel].counters;
    const bool leftAligned = settings.IDFORMAT == 1;
    const int idStep = task.IdIncrease == 1 ? 1 : 0;
    uint32_t runningId = taskObj::firstId(templ, leftAligned);
    // The pause follows every burst, the last one too.
    const int64_t pauseUs = task.Interval > 0 ? int64_t(task.Interval) * 1000 - 5 : 0;

    QElapsedTimer timer;
    timer.start();
    int sent = 0;
    while (sent < task.Times && runFlag()) {
        const int len = std::min(task.Times - sent, task.Frames);
        for (int done = 0; done < len;) {
            const int n = std::min(len - done, int(BurstSize));
            if (!writeObj(templ, n, idStep, task.DataIncrease, runningId)) {
                Q_EMIT errorSignal();
                return false;
            }
            counters.sent += n;
            runSent += n;
            counters.usedTime = double(timer.elapsed()) / 1000.0;
            done += n;
        }
        if (pauseUs > 0)
            pauseWhileRunning(*this, pauseUs);
        sent += len;
    }
    return true;
}

bool taskThread::transmitBurst(int n)
{
    UlBuffer::instance(int(channel)).addFrame(burst, n, true);
    return DevCan::instance().Transmit(channel, burst, uint32_t(n)) == uint32_t(n);
}

uint32_t taskThread::writeObj(const CanObj &frame)
{
    VCI_CAN_OBJ record = frame.toTransmit();
    UlBuffer::instance(int(channel)).addFrame(&record, 1, true);
    return DevCan::instance().Transmit(channel, &record, 1);
}

int taskThread::writeObj(const CanObj &frame, int count)
{
    if (count <= 0)
        return 0;
    for (int done = 0; done < count;) {
        const int n = std::min(count - done, int(BurstSize));
        for (int k = 0; k < n; ++k)
            burst[k] = frame.toTransmit();
        if (!transmitBurst(n))
            return 0;
        done += n;
    }
    return 1;
}

int taskThread::writeObj(CanObj &templ, int len, int idStep, int dataIncrease, uint32_t &runningId)
{
    if (len <= 0 || len > BurstSize)
        return 0;
    const bool countData = dataIncrease >= 1 && dataIncrease <= 8;
    for (int k = 0; k < len; ++k) {
        burst[k] = templ.toTransmit(runningId);
        if (idStep > 0)
            runningId = taskObj::nextId(runningId, templ.ExternFlag != 0, uint32_t(idStep));
        if (countData)
            ++templ.Data[dataIncrease - 1];
    }
    return transmitBurst(len) ? 1 : 0;
}
