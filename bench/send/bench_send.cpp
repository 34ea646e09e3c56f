// Throughput of the send-task thread and the transmit thread into a
// simulated channel (frames also go to the frame buffer, as in the
// program), the transmit thread's CPU time while its pipe is empty, and
// the delay from a push to the start of its batch; and Timing send of
// 1,000 and 10,000 tasks at intervals spread over 10-1,000 ms (10,000 also
// over 100-10,000 ms, which the bus can carry): each cycle's lateness
// against its drift-free schedule, frames sent against expected, threads,
// CPU per frame.
//
//   bench_send [--frames N] [--seconds S] [--tasks N [--min-interval MS]]
//   (--tasks N: one run, intervals MS to 100 x MS; default 10)

#include "canwritethread.h"
#include "controlcan.h"
#include "devcan.h"
#include "procstatus.h"
#include "taskthread.h"
#include "ultimingscheduler.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "ulpipe.h"
#include "vcisim.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t Type = VCI_KELMO_USB2;
constexpr uint32_t Channel = 0;

double cpuSeconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

uint64_t transmitted()
{
    VCISIM_STATS stats{};
    VCISIM_GetStats(Type, 0, Channel, &stats);
    return stats.transmitted;
}

bool openChannel()
{
    DevCan &device = DevCan::instance();
    if (device.openDevice(Type, 0, 0) != 1)
        return false;
    VCI_INIT_CONFIG config{};
    config.MaskCode = 0xFFFFFFFF;
    config.BTR0 = 0x00;
    config.BTR1 = 0x14;  // 1 Mbit/s
    return device.initCAN(Channel, &config) == 1 && device.StartCAN(Channel) == 1;
}

void benchTaskThread(int frames)
{
    CanObj f;
    f.ID = 0x100;
    f.DataLen = 8;
    CanData d;
    d.push(f);
    taskObj task;
    task.frames.append(d);
    task.Frames = taskThread::BurstSize;
    task.Times = frames;
    task.IdIncrease = 1;
    task.DataIncrease = 1;
    taskQueue queue;
    queue.enqueue(task);

    taskThread thread(Channel);
    thread.setTaskQueue(queue);
    thread.setPage(taskThread::BasePage);
    const uint64_t before = transmitted();
    const double cpu = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    QElapsedTimer timer;
    timer.start();
    thread.start();
    thread.waitForFinish();
    const double s = double(timer.nsecsElapsed()) / 1e9;
    const double used = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpu;
    const uint64_t sent = transmitted() - before;
    std::printf("taskThread     %llu frames in bursts of %d: %.3f s, %.0f frames/s, %.2f us CPU/frame\n",
                static_cast<unsigned long long>(sent), taskThread::BurstSize, s, double(sent) / s,
                used * 1e6 / double(sent));
}

void benchWriteThread(int frames)
{
    UlPipe &pipe = UlPipe::instance(int(Channel));
    CanWriteThread thread(Channel);
    std::atomic<int> batches{0};
    QObject::connect(&thread, &CanWriteThread::sendSignal, &thread, [&](uint) { ++batches; },
                     Qt::DirectConnection);
    thread.start();

    // Idle: CPU the thread uses in one second with nothing to send.
    const double idleCpu = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    QThread::sleep(1);
    const double idle = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - idleCpu;

    // Latency: push one frame, wait for its batch to start.
    std::vector<double> delays;
    CanObj one;
    one.ID = 0x200;
    one.DataLen = 1;
    for (int i = 0; i < 200; ++i) {
        CanData unit;
        unit.push(one);
        const int seen = batches;
        const auto t0 = std::chrono::steady_clock::now();
        pipe.push(unit);
        while (batches == seen) {
        }
        delays.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
        QThread::usleep(500);
    }
    std::sort(delays.begin(), delays.end());

    // Throughput: units of 100 frames.
    CanData unit;
    for (int i = 0; i < 100; ++i) {
        CanObj f;
        f.ID = 0x300 + uint32_t(i);
        f.DataLen = 8;
        unit.push(f);
    }
    const int target = batches + frames / 100;
    const uint64_t before = transmitted();
    const double cpu = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < frames / 100; ++i)
        pipe.push(unit);
    while (batches < target)
        QThread::usleep(100);
    const double s = double(timer.nsecsElapsed()) / 1e9;
    const double used = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpu;
    const uint64_t sent = transmitted() - before;
    thread.stop();
    thread.waitForFinish();

    std::printf("CanWriteThread %llu frames in units of 100: %.3f s, %.0f frames/s, %.2f us CPU/frame\n",
                static_cast<unsigned long long>(sent), s, double(sent) / s, used * 1e6 / double(sent));
    std::printf("CanWriteThread idle: %.1f ms CPU per second\n", idle * 1000.0);
    std::printf("CanWriteThread push to batch: median %.0f us, 99th percentile %.0f us\n",
                delays[delays.size() / 2], delays[delays.size() * 99 / 100]);
}

// What the timing run's device calls saw: each accepted frame is one
// cycle of its task (Times 1), late by this much against start + k × Interval.
struct TimingProbe {
    std::atomic<std::chrono::steady_clock::rep> start{0};  // schedule origin, clock ticks
    std::vector<int64_t> intervalNs;  // per task
    std::vector<int64_t> cycles;      // per task
    std::vector<double> lateUs;       // per accepted frame
    uint64_t refused = 0;
};
TimingProbe *probe = nullptr;

uint32_t probedTransmit(uint32_t type, uint32_t index, uint32_t channel, VCI_CAN_OBJ *frames, uint32_t count)
{
    const auto now = std::chrono::steady_clock::now();
    const uint32_t sent = VCI_Transmit(type, index, channel, frames, count);
    if (sent != count) {
        ++probe->refused;
        return sent;
    }
    const std::size_t task = frames[0].ID - 1;  // one frame per call
    if (task < probe->cycles.size()) {
        const int64_t k = ++probe->cycles[task];
        const auto due = std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(probe->start.load()))
                         + std::chrono::nanoseconds(k * probe->intervalNs[task]);
        probe->lateUs.push_back(std::chrono::duration<double, std::micro>(now - due).count());
    }
    return sent;
}

double percentile(const std::vector<double> &sorted, double p)
{
    if (sorted.empty())
        return 0.0;
    return sorted[std::min(sorted.size() - 1, std::size_t(double(sorted.size()) * p))];
}

void benchTiming(int tasks, int seconds, int minMs)
{
    taskQueue queue;
    TimingProbe seen;
    for (int i = 0; i < tasks; ++i) {
        CanObj f;
        f.ID = uint32_t(i + 1);
        f.ExternFlag = 1;
        f.DataLen = 8;
        CanData d;
        d.push(f);
        taskObj task;
        task.frames.append(d);
        task.Frames = 1;
        task.Times = 1;
        task.Interval = tasks > 1 ? minMs + int(int64_t(i) * 99 * minMs / (tasks - 1)) : minMs;
        queue.enqueue(task);
        seen.intervalNs.push_back(int64_t(task.Interval) * 1000000);
    }
    seen.cycles.assign(std::size_t(tasks), 0);
    double perSecond = 0;
    for (int64_t ns : seen.intervalNs)
        perSecond += 1e9 / double(ns);
    seen.lateUs.reserve(std::size_t(perSecond * seconds * 1.2) + 1024);
    probe = &seen;
    DevCan &device = DevCan::instance();
    device.pTransmit = &probedTransmit;
    UlGlobalSet::instance().channel[Channel].sendMode = 2;

    // The send-task thread hands a timing run to one such scheduler and
    // ends; the scheduler is run here directly to know its schedule's origin.
    UlTimingScheduler scheduler(Channel, queue);
    const int threadsBefore = ProcStatus::threadCount();
    const uint64_t before = transmitted();
    const double cpu = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const auto handOver = std::chrono::steady_clock::now();
    scheduler.start();
    while (scheduler.scheduleStart().time_since_epoch().count() == 0)
        QThread::usleep(10);
    // Known long before the first cycle is due, 10 ms later.
    seen.start = scheduler.scheduleStart().time_since_epoch().count();
    const double startUs = std::chrono::duration<double, std::micro>(scheduler.scheduleStart() - handOver).count();
    QThread::msleep(unsigned(seconds) * 500);
    const int threadsDuring = ProcStatus::threadCount();
    QThread::msleep(unsigned(seconds) * 500);
    QElapsedTimer stopTimer;
    stopTimer.start();
    scheduler.stop();
    scheduler.wait();
    const double stopMs = double(stopTimer.nsecsElapsed()) / 1e6;
    const double ran = std::chrono::duration<double>(std::chrono::steady_clock::now() - scheduler.scheduleStart()).count();
    const double used = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpu;
    device.pTransmit = &VCI_Transmit;
    probe = nullptr;
    UlGlobalSet::instance().channel[Channel].sendMode = 0;

    int64_t expected = 0;
    for (int64_t ns : seen.intervalNs)
        expected += int64_t(ran * 1e9) / ns;
    const uint64_t sent = transmitted() - before;
    std::vector<double> late = seen.lateUs;
    std::sort(late.begin(), late.end());
    std::printf("Timing send    %d tasks, intervals %d-%d ms (%.0f frames/s), %.1f s: %llu frames sent of %lld due,"
                " %llu refused calls\n",
                tasks, minMs, 100 * minMs, perSecond, ran, static_cast<unsigned long long>(sent), static_cast<long long>(expected),
                static_cast<unsigned long long>(seen.refused));
    std::printf("               lateness per cycle: median %.0f us, p99 %.0f us, max %.0f us, earliest %.0f us\n",
                percentile(late, 0.5), percentile(late, 0.99), late.empty() ? 0.0 : late.back(),
                late.empty() ? 0.0 : late.front());
    std::printf("               threads: process %d during the run (%d before); %.2f us CPU/frame; start %.0f us;"
                " stop %.1f ms\n",
                threadsDuring, threadsBefore, sent ? used * 1e6 / double(sent) : 0.0, startUs, stopMs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int frames = 100000;
    int seconds = 10;
    int tasks = 0;
    int minMs = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--frames") == 0)
            frames = std::max(100, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--tasks") == 0)
            tasks = std::max(0, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--min-interval") == 0)
            minMs = std::max(1, std::atoi(argv[i + 1]));
    }
    if (!openChannel()) {
        std::fprintf(stderr, "cannot open the simulated device\n");
        return 1;
    }
    UlBuffer::instance(int(Channel)).setChannel(int(Channel));
    benchTaskThread(frames);
    benchWriteThread(frames);
    if (tasks > 0) {
        benchTiming(tasks, seconds, minMs);
    } else {
        // 10,000 tasks at 10-1,000 ms offer 46,500 frames/s, five times what
        // the bus carries: spread over 100-10,000 ms they offer what 1,000
        // tasks at 10-1,000 ms do; the last run shows the bus overloaded.
        benchTiming(1000, seconds, 10);
        benchTiming(10000, seconds, 100);
        benchTiming(10000, seconds, 10);
    }
    DevCan::instance().closeDevice();
    return 0;
}
