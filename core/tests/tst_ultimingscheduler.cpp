#include "queuedspy.h"
#include "sendfixture.h"
#include "taskthread.h"
#include "testhelpers.h"
#include "ulglobalset.h"
#include "ultimingscheduler.h"

#include <QtTest>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <set>
#include <thread>

using namespace SendFixture;
using Clock = std::chrono::steady_clock;

namespace {

// Sits between the core and the simulated device: notes when each frame
// was offered, can make each call take a while, and refuses every frame
// for a while or once frames of some IDs have gone out.
class Wire
{
public:
    struct Call {
        Clock::time_point at;
        uint32_t id;
        bool accepted;
    };

    Wire() { DevCan::instance().pTransmit = &transmit; reset(); }
    ~Wire() { DevCan::instance().pTransmit = &VCI_Transmit; }

    static void reset()
    {
        const QMutexLocker lock(&state().mutex);
        state().calls.clear();
        state().calls.reserve(1 << 20);
        state().callTime = {};
        state().refuseUntil = {};
        state().refuseOnceSent = false;
        state().notYetSent.clear();
    }
    static void setCallTime(std::chrono::microseconds t) { const QMutexLocker l(&state().mutex); state().callTime = t; }
    // From the call after the one that sent the last of these IDs on.
    static void refuseOnceSent(std::set<uint32_t> ids)
    {
        const QMutexLocker lock(&state().mutex);
        state().refuseOnceSent = true;
        state().notYetSent = std::move(ids);
    }
    static void refuseUntil(Clock::time_point t) { const QMutexLocker l(&state().mutex); state().refuseUntil = t; }
    static std::vector<Call> calls()
    {
        const QMutexLocker lock(&state().mutex);
        return state().calls;
    }
    // Accepted frames' offer times per ID.
    static std::map<uint32_t, std::vector<Clock::time_point>> sentById()
    {
        std::map<uint32_t, std::vector<Clock::time_point>> out;
        for (const Call &c : calls())
            if (c.accepted)
                out[c.id].push_back(c.at);
        return out;
    }

private:
    struct State {
        QMutex mutex;
        std::vector<Call> calls;
        std::chrono::microseconds callTime{0};
        Clock::time_point refuseUntil{};
        bool refuseOnceSent = false;
        std::set<uint32_t> notYetSent;
    };
    static State &state()
    {
        static State s;
        return s;
    }
    static uint32_t transmit(uint32_t type, uint32_t index, uint32_t channel, VCI_CAN_OBJ *frames, uint32_t count)
    {
        const Clock::time_point at = Clock::now();
        std::chrono::microseconds callTime;
        bool refuse;
        {
            const QMutexLocker lock(&state().mutex);
            callTime = state().callTime;
            refuse = at < state().refuseUntil || (state().refuseOnceSent && state().notYetSent.empty());
        }
        if (callTime.count() > 0)
            std::this_thread::sleep_for(callTime);
        const uint32_t sent = refuse ? 0 : VCI_Transmit(type, index, channel, frames, count);
        const QMutexLocker lock(&state().mutex);
        state().calls.push_back({at, frames[0].ID, sent == count});
        if (sent == count)
            state().notYetSent.erase(frames[0].ID);
        return sent;
    }
};

taskObj task(uint32_t id, int times, int interval, int dataLen = 1)
{
    CanObj f;
    f.ID = id;
    f.DataLen = uint8_t(dataLen);
    return TestFrames::task(f, 1, times, interval, 0, 0);
}

double msSince(Clock::time_point start, Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(t - start).count();
}

// Keeps the soft open-file limit at limit while it lives.
class FileLimit
{
public:
    explicit FileLimit(rlim_t limit)
    {
        ok = getrlimit(RLIMIT_NOFILE, &saved) == 0;
        rlimit lower = saved;
        lower.rlim_cur = std::min(limit, saved.rlim_max);
        ok = ok && setrlimit(RLIMIT_NOFILE, &lower) == 0;
    }
    ~FileLimit() { setrlimit(RLIMIT_NOFILE, &saved); }
    bool ok = false;

private:
    rlimit saved{};
};

} // namespace

class tst_UlTimingScheduler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void thousandsOfTasksUnderFileLimit();
    void scheduleDoesNotDrift();
    void intervalZeroBesideTimedTask();
    void stopDuringLongIntervals();
    void refusals_data();
    void refusals();
    void firstErrorStopsAllTasks();
};

void tst_UlTimingScheduler::init()
{
    QVERIFY(openBus());
    resetSender();
    UlGlobalSet::instance().channel[Tx].sendMode = 2;
}

void tst_UlTimingScheduler::cleanup()
{
    UlGlobalSet::instance().channel[Tx].sendMode = 0;
    closeBus();
}

void tst_UlTimingScheduler::thousandsOfTasksUnderFileLimit()
{
    // One thread per task would need a wake-up pipe each and die here.
    FileLimit limit(1024);
    QVERIFY(limit.ok);
    constexpr int Tasks = 2000;
    taskQueue tasks;
    for (int i = 0; i < Tasks; ++i)
        tasks.enqueue(task(uint32_t(i), 1, 500 + i % 500, 0));  // ~3,000 frames/s in all
    taskThread thread(Tx);
    thread.setTaskQueue(tasks);
    thread.setPage(taskThread::TaskPage);
    Wire wire;
    thread.start();
    QVERIFY(thread.wait(5000));  // the run hands over and ends
    QCOMPARE(thread.singleTaskCount(), Tasks);
    QCOMPARE(thread.timingThreadCount(), 1);

    QSet<uint> seen;
    QElapsedTimer timer;
    timer.start();
    while (seen.size() < Tasks && timer.elapsed() < 10000) {
        for (const VCI_CAN_OBJ &f : heard(1, 50))
            seen.insert(f.ID);
    }
    QCOMPARE(seen.size(), Tasks);

    timer.restart();
    thread.stopSingleTask();
    // The stop itself waits at most 90 ms; the bound holds under load.
    QVERIFY2(timer.elapsed() < 150, qPrintable(QString::number(timer.elapsed())));
    QTRY_COMPARE_WITH_TIMEOUT(thread.timingThreadCount(), 0, 1000);
    const std::size_t after = wire.calls().size();
    QTest::qWait(100);
    QCOMPARE(wire.calls().size(), after);
}

void tst_UlTimingScheduler::scheduleDoesNotDrift()
{
    // 20 frames of 2 ms each make a cycle take 40 ms: sleeping an interval
    // after each cycle would put the 10th at 1,360 ms instead of 1,000.
    Wire wire;
    Wire::setCallTime(std::chrono::milliseconds(2));
    taskQueue tasks;
    tasks.enqueue(task(0x100, 20, 100));
    UlTimingScheduler scheduler(Tx, tasks);
    const Clock::time_point start = Clock::now();
    scheduler.start();
    QTRY_VERIFY_WITH_TIMEOUT(Wire::sentById()[0x100].size() >= 200, 5000);
    scheduler.stop();
    QVERIFY(scheduler.wait(1000));

    const std::vector<Clock::time_point> sent = Wire::sentById()[0x100];
    double shortestPause = 1e9; // from a cycle's last frame to the next cycle's first
    for (int cycle = 1; cycle <= 10; ++cycle) {
        const std::size_t first = std::size_t(cycle - 1) * 20;
        const double at = msSince(start, sent[first]);
        QVERIFY2(at >= cycle * 100.0 - 1, qPrintable(QStringLiteral("cycle %1 at %2 ms").arg(cycle).arg(at)));
        if (cycle > 1)
            shortestPause = std::min(shortestPause, msSince(sent[first - 1], sent[first]));
    }
    // A drifting schedule waits a whole interval after each cycle's last
    // frame (and its 2 ms). Kept, the next cycle comes sooner, at once when
    // a loaded machine stretched the cycle; only a wake-up 40 ms late in
    // each of the nine pauses would hide that.
    QVERIFY2(shortestPause < 90, qPrintable(QStringLiteral("%1 ms").arg(shortestPause)));
}

void tst_UlTimingScheduler::intervalZeroBesideTimedTask()
{
    // Each frame takes the device about as long as a frame on the bus.
    Wire wire;
    Wire::setCallTime(std::chrono::microseconds(100));
    taskQueue tasks;
    tasks.enqueue(task(0x1, 5, 0));    // as fast as the device takes them
    tasks.enqueue(task(0x2, 1, 100));
    UlTimingScheduler scheduler(Tx, tasks);
    const Clock::time_point start = Clock::now();
    scheduler.start();
    QTest::qWait(900);
    scheduler.stop();
    QVERIFY(scheduler.wait(1000));

    const auto sent = Wire::sentById();
    const std::vector<Clock::time_point> &timed = sent.at(0x2);
    QVERIFY(timed.size() >= 7);
    std::vector<double> late;
    for (std::size_t k = 0; k < 7; ++k)
        late.push_back(msSince(start, timed[k]) - (k + 1) * 100.0);
    // Starved, the timed task falls further behind every cycle; a loaded
    // machine delays a few cycles, not most of them.
    std::nth_element(late.begin(), late.begin() + 3, late.end());
    QVERIFY2(late[3] < 100, qPrintable(QStringLiteral("median %1 ms late").arg(late[3])));
    QVERIFY(sent.at(0x1).size() > 10 * timed.size());
}

void tst_UlTimingScheduler::stopDuringLongIntervals()
{
    taskQueue tasks;
    for (uint32_t id = 1; id <= 50; ++id)
        tasks.enqueue(task(id, 1, 5000 + int(id)));
    taskThread thread(Tx);
    thread.setTaskQueue(tasks);
    thread.setPage(taskThread::TaskPage);
    thread.start();
    QVERIFY(thread.wait(5000));
    QTest::qWait(30);
    QCOMPARE(thread.timingThreadCount(), 1);

    QElapsedTimer timer;
    timer.start();
    thread.stopSingleTask();
    // Woken from its wait, the thread ends at once; bound loose for load.
    QVERIFY2(timer.elapsed() < 150, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(thread.timingThreadCount(), 0);
    QCOMPARE(transmitted(), 0u);
}

void tst_UlTimingScheduler::refusals_data()
{
    QTest::addColumn<int>("refusedMs");
    QTest::addColumn<int>("errors");

    // A transmit queue that drains within the limit costs no frame.
    QTest::newRow("full for a moment") << 50 << 0;
    QTest::newRow("refused for good") << 100000 << 1;
}

void tst_UlTimingScheduler::refusals()
{
    QFETCH(int, refusedMs);
    QFETCH(int, errors);

    Wire wire;
    Wire::refuseUntil(Clock::now() + std::chrono::milliseconds(refusedMs));
    taskQueue tasks;
    tasks.enqueue(task(0x5, 1, 10));
    UlTimingScheduler scheduler(Tx, tasks);
    QueuedSpy spy(&scheduler, &UlTimingScheduler::errorSignal);
    scheduler.start();
    if (errors == 0) {
        QTRY_VERIFY_WITH_TIMEOUT(Wire::sentById()[0x5].size() >= 10, 5000);
        QVERIFY(scheduler.isRunning());
    } else {
        QVERIFY(scheduler.wait(5000));
    }
    scheduler.stop();
    QVERIFY(scheduler.wait(1000));
    QCOMPARE(spy.count(), errors);
    // Every accepted frame is one row of the frame buffer, retries or not.
    QCOMPARE(UlBuffer::instance(int(Tx)).count(), int(Wire::sentById()[0x5].size()) + errors);
}

void tst_UlTimingScheduler::firstErrorStopsAllTasks()
{
    // The device stops taking frames (closed, say) while three tasks run,
    // once each of them has sent.
    Wire wire;
    Wire::refuseOnceSent({0x1, 0x2, 0x3});
    taskQueue tasks;
    tasks.enqueue(task(0x1, 1, 5));
    tasks.enqueue(task(0x2, 1, 7));
    tasks.enqueue(task(0x3, 1, 9));
    taskThread thread(Tx);
    QueuedSpy errors(&thread, &taskThread::errorSignal);
    thread.setTaskQueue(tasks);
    thread.setPage(taskThread::TaskPage);
    thread.start();
    QVERIFY(thread.wait(5000));
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(thread.timingThreadCount(), 0, 1000);
    const std::size_t after = wire.calls().size();
    QTest::qWait(100);
    QCOMPARE(wire.calls().size(), after);
    const auto sent = Wire::sentById();
    QVERIFY(sent.count(0x1) && sent.count(0x2) && sent.count(0x3));
    thread.stopSingleTask();
    QCOMPARE(errors.count(), 1);
}

QTEST_GUILESS_MAIN(tst_UlTimingScheduler)
#include "tst_ultimingscheduler.moc"
