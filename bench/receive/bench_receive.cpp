// Opens a simulated 4-channel device at 1 Mbit/s, lets a node on its bus
// send to every channel at a given rate, runs the real receive threads into
// the real frame buffers for a given time and reports frames generated,
// received and lost, throughput, CPU time per frame and memory. The bus
// carries at most its capacity (about 8,000 of these frames/s); --overload
// turns the simulator's overload switch on, so that the node can exceed it
// (receive-path stress only: no real bus does that).
//
//   bench_receive [--rate FPS] [--seconds S] [--channels N] [--ring N] [--watch] [--overload]
//
// Exits with 1 when a frame was lost or a display ring exceeded its bound.

#include "canreadthread.h"
#include "devcan.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "vcisim.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <sys/resource.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr uint32_t Type = VCI_DRAVIN_PCI4;
constexpr uint8_t Btr0 = 0x00;  // 1 Mbit/s at 16 MHz: BRP 0,
constexpr uint8_t Btr1 = 0x14;  // TSEG1 5, TSEG2 2

struct Options {
    uint32_t rate = 7500;   // frames/s of the node, heard by every channel (about 90 % bus load)
    int seconds = 60;
    int channels = 4;
    int ring = UlBuffer::DefaultMaxCount;
    bool watch = false;
    bool overload = false;
};

// The real receive loop, plus the CPU time its thread used.
class TimedReadThread : public CanReadThread
{
public:
    using CanReadThread::CanReadThread;
    ~TimedReadThread() override { finish(); }
    double cpuSeconds = 0;

protected:
    void run() override
    {
        CanReadThread::run();
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        cpuSeconds = double(t.tv_sec) + double(t.tv_nsec) / 1e9;
    }
};

double processCpuSeconds()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec)
        + double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

long maxRssKb()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return use.ru_maxrss;
}

bool parse(int argc, char **argv, Options &o)
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(arg, "--rate") && hasValue)
            o.rate = uint32_t(std::strtoul(argv[++i], nullptr, 10));
        else if (!std::strcmp(arg, "--seconds") && hasValue)
            o.seconds = std::atoi(argv[++i]);
        else if (!std::strcmp(arg, "--channels") && hasValue)
            o.channels = std::atoi(argv[++i]);
        else if (!std::strcmp(arg, "--ring") && hasValue)
            o.ring = std::atoi(argv[++i]);
        else if (!std::strcmp(arg, "--watch"))
            o.watch = true;
        else if (!std::strcmp(arg, "--overload"))
            o.overload = true;
        else
            return false;
    }
    return o.channels >= 1 && o.channels <= 4 && o.seconds > 0 && o.ring >= 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr,
                     "usage: %s [--rate FPS] [--seconds S] [--channels 1-4] [--ring N] [--watch] [--overload]\n",
                     argv[0]);
        return 2;
    }

    setenv("VCISIM_SIMULATE_PCI", "1", 0); // the four-channel PCI type, simulated
    DevCan &device = DevCan::instance();
    VCISIM_SetOverload(Type, 0, o.overload ? 1 : 0);
    if (device.openDevice(Type, 0, 0) != 1) {
        std::fprintf(stderr, "cannot open the simulated device\n");
        return 2;
    }
    VCI_INIT_CONFIG config{};
    config.MaskCode = 0xFFFFFFFF;
    config.FilterMode = 1;
    config.BTR0 = Btr0;
    config.BTR1 = Btr1;
    const int bitRate = DevCan::bitRate(Btr0, Btr1);
    for (int ch = 0; ch < o.channels; ++ch) {
        if (device.initCAN(uint32_t(ch), &config) != 1 || device.StartCAN(uint32_t(ch)) != 1) {
            std::fprintf(stderr, "cannot start channel %d\n", ch);
            return 2;
        }
        UlBuffer::instance(ch).setMaxCount(o.ring);
    }
    UlGlobalSet::instance().watch = o.watch;

    std::printf("%d channel(s) at %d bit/s, %u frames/s each, %d s, display ring %d, watch %s\n",
                o.channels, bitRate, o.rate, o.seconds, o.ring, o.watch ? "on" : "off");
    if (o.overload)
        std::printf("OVERLOAD switch on: no bus time, the node may exceed the bus\n");
    std::vector<std::unique_ptr<TimedReadThread>> threads;
    for (int ch = 0; ch < o.channels; ++ch) {
        threads.emplace_back(new TimedReadThread(uint32_t(ch)));
        threads.back()->start(QThread::HighPriority);
    }

    const double cpuBefore = processCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    VCISIM_SetBackgroundTraffic(Type, 0, uint32_t(bitRate), 0x123, o.rate);
    for (int s = 1; s <= o.seconds; ++s) {
        QThread::msleep(uint32_t(qMax<qint64>(0, s * 1000 - clock.elapsed())));
        if (s % 10 == 0 && s < o.seconds)
            std::printf("  %d s\n", s);
        std::fflush(stdout);
    }
    VCISIM_SetBackgroundTraffic(Type, 0, uint32_t(bitRate), 0x123, 0);
    const double generateSeconds = clock.elapsed() / 1000.0;
    QThread::msleep(20); // the frame on the bus when the node stopped still arrives

    // Let the receive threads take what is still in the device stores.
    std::vector<VCISIM_STATS> stats(std::size_t(o.channels));
    QElapsedTimer drain;
    drain.start();
    for (bool done = false; !done && drain.elapsed() < 2000;) {
        done = true;
        for (int ch = 0; ch < o.channels; ++ch) {
            VCISIM_GetStats(Type, 0, uint32_t(ch), &stats[std::size_t(ch)]);
            if (UlGlobalSet::instance().channel[ch].counters.received < qint64(stats[std::size_t(ch)].received))
                done = false;
        }
        if (!done)
            QThread::msleep(10);
    }
    for (auto &t : threads) {
        t->stop();
        t->waitForFinish();
    }
    const double cpu = processCpuSeconds() - cpuBefore;

    uint64_t generated = 0;
    uint64_t received = 0;
    bool ringInBound = true;
    double threadCpu = 0;
    std::printf("\nch  generated   received  lost(device)  lost(total)  ring\n");
    for (int ch = 0; ch < o.channels; ++ch) {
        const VCISIM_STATS &s = stats[std::size_t(ch)];
        const UlBuffer &buffer = UlBuffer::instance(ch);
        const uint64_t got = uint64_t(UlGlobalSet::instance().channel[ch].counters.received.load());
        generated += s.generated;
        received += got;
        threadCpu += threads[std::size_t(ch)]->cpuSeconds;
        ringInBound = ringInBound && buffer.count() <= o.ring;
        std::printf("%-3d %10llu %10llu %13llu %12lld  %d\n", ch, (unsigned long long)s.generated,
                    (unsigned long long)got, (unsigned long long)s.dropped,
                    (long long)(s.generated - got), buffer.count());
    }
    const uint64_t lost = generated - received;
    std::printf("\nframes generated      %llu (%.0f/s over %.1f s)\n", (unsigned long long)generated,
                generated / generateSeconds, generateSeconds);
    std::printf("frames received       %llu (%.0f/s)\n", (unsigned long long)received, received / generateSeconds);
    std::printf("frames lost           %llu\n", (unsigned long long)lost);
    if (!o.overload && o.channels > 0) {
        const VCISIM_STATS &s = stats[0];
        std::printf("bus                   %llu frames carried, %llu asked for but not carried (bus full)\n",
                    (unsigned long long)s.carried, (unsigned long long)s.notCarried);
    }
    if (received > 0) {
        std::printf("process CPU           %.2f s, %.0f ns per frame\n", cpu, cpu * 1e9 / received);
        std::printf("receive threads CPU   %.2f s, %.0f ns per frame (device reads and frame buffers;\n"
                    "                      the rest is the simulated bus and this program's main thread)\n",
                    threadCpu, threadCpu * 1e9 / received);
    }
    std::printf("max resident memory   %.1f MB\n", maxRssKb() / 1024.0);
    std::printf("display rings         %s\n", ringInBound ? "within bound" : "ABOVE BOUND");
    device.closeDevice();
    return lost == 0 && ringInBound ? 0 : 1;
}
