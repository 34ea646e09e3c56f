// Throughput of the send-task thread and the transmit thread into a
// simulated channel (frames also go to the frame buffer, as in the
// program), the transmit thread's CPU time while its pipe is empty, and
// the delay from a push to the start of its batch.
//
//   bench_send [--frames N]

#include "canwritethread.h"
#include "devcan.h"
#include "taskthread.h"
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int frames = 1000000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--frames") == 0)
            frames = std::max(100, std::atoi(argv[i + 1]));
    }
    if (!openChannel()) {
        std::fprintf(stderr, "cannot open the simulated device\n");
        return 1;
    }
    UlBuffer::instance(int(Channel)).setChannel(int(Channel));
    benchTaskThread(frames);
    benchWriteThread(frames);
    DevCan::instance().closeDevice();
    return 0;
}
