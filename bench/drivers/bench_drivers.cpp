// The board drivers at full bus load on a simulated four-channel PCI board
// (0x1400, Dravin), with the drivers' delay loops at their full counts.
//
//   bench_drivers [--seconds S] [--rate FPS] [--frames N]
//
// Receive: the partner sends FPS 8-byte frames/s at 1 Mbit/s (default
// 9000, the bus's limit) for S seconds (default 60); every channel hears
// all of them and a reader per channel takes them with VCI_Receive in
// batches of 32, sleeping 50 ms when nothing waits, as the core's receive
// thread does. A frame can be lost at a controller (its 64-byte FIFO holds
// five such frames, about 0.55 ms of traffic, so the receive thread was
// late) or between the FIFO and VCI_Receive (the driver dropped it; the
// frame counters then skip more often than the FIFOs overran). The partner
// skips its backlog after a stall of its own thread, so the rate sent can
// fall a little below FPS on a busy machine. Transmit: channel 0 sends N
// frames (default 100000) in calls of 100 to the partner. Prints rates and
// CPU per frame; exits with 1 if the driver lost a frame or the transmit
// stays under 9000 frames/s.
#include "plxsim.h"
#include "vciexports.h"

#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr uint32_t kType = VCI_DRAVIN_PCI4;
constexpr uint32_t kChannels = 4;
constexpr uint32_t kBitRate = 1000000;
constexpr uint32_t kTrafficId = 0x123;
using Clock = std::chrono::steady_clock;

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
         + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU seconds of the process's threads with this name.
double threadCpuSeconds(const char *name)
{
    double seconds = 0;
    if (DIR *dir = opendir("/proc/self/task")) {
        while (const dirent *e = readdir(dir)) {
            const std::string task = std::string("/proc/self/task/") + e->d_name;
            std::ifstream comm(task + "/comm");
            std::string threadName;
            if (e->d_name[0] == '.' || !std::getline(comm, threadName) || threadName != name)
                continue;
            std::ifstream stat(task + "/stat");
            std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
            const size_t close = text.rfind(')');
            unsigned long utime = 0, stime = 0;
            if (close != std::string::npos
                && std::sscanf(text.c_str() + close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime,
                               &stime)
                       == 2)
                seconds += double(utime + stime) / double(sysconf(_SC_CLK_TCK));
        }
        closedir(dir);
    }
    return seconds;
}

struct Reader {
    uint64_t taken = 0;
    uint64_t skipped = 0; // frames missing between two counters
    int64_t last = -1;
    std::thread thread;
};

bool openBoard()
{
    if (VCI_OpenDevice(kType, 0, 0) != 1)
        return false;
    VCI_INIT_CONFIG config{};
    config.MaskCode = 0xFFFFFFFFu;
    config.FilterMode = 1;
    config.BTR0 = 0x00;
    config.BTR1 = 0x14; // 1 Mbit/s
    for (uint32_t ch = 0; ch < kChannels; ++ch) {
        if (VCI_InitCAN(kType, 0, ch, &config) != 1 || VCI_StartCAN(kType, 0, ch) != 1)
            return false;
    }
    return true;
}

void read(uint32_t channel, Reader &reader, const std::atomic<bool> &stop)
{
    VCI_CAN_OBJ frames[32];
    while (!stop) {
        const uint32_t n = VCI_Receive(kType, 0, channel, frames, 32, 0);
        if (n == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            continue;
        }
        for (uint32_t i = 0; i < n; ++i) {
            const uint8_t *d = frames[i].Data;
            const int64_t counter = int64_t(uint32_t(d[0] | d[1] << 8 | d[2] << 16 | uint32_t(d[3]) << 24));
            if (reader.last >= 0 && counter != reader.last + 1)
                reader.skipped += uint64_t(counter - reader.last - 1);
            reader.last = counter;
        }
        reader.taken += n;
    }
}

bool receiveBench(double seconds, uint32_t rate)
{
    Reader readers[kChannels];
    std::atomic<bool> stop{false};
    for (uint32_t ch = 0; ch < kChannels; ++ch)
        readers[ch].thread = std::thread(read, ch, std::ref(readers[ch]), std::cref(stop));

    const double cpuBefore = processCpuSeconds();
    const double rxCpuBefore = threadCpuSeconds("board receive");
    const Clock::time_point start = Clock::now();
    PLXSIM_SetTraffic(0, kBitRate, kTrafficId, rate);
    std::this_thread::sleep_until(start + std::chrono::duration<double>(seconds));
    PLXSIM_SetTraffic(0, kBitRate, kTrafficId, 0);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    // Let the receive thread and the readers drain what is left.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    stop = true;
    for (Reader &r : readers)
        r.thread.join();
    for (uint32_t ch = 0; ch < kChannels; ++ch) {
        VCI_CAN_OBJ rest[32];
        while (uint32_t n = VCI_Receive(kType, 0, ch, rest, 32, 0))
            readers[ch].taken += n;
    }
    const double cpu = processCpuSeconds() - cpuBefore;
    const double rxCpu = threadCpuSeconds("board receive") - rxCpuBefore;

    PLXSIM_STATS board{};
    PLXSIM_GetStats(0, PLXSIM_BOARD, &board);
    uint64_t total = 0;
    bool ok = true;
    std::printf("receive: %u frames/s at 1 Mbit/s for %.1f s, %llu frames sent (%.0f frames/s)\n", rate, elapsed,
                static_cast<unsigned long long>(board.generated), double(board.generated) / elapsed);
    for (uint32_t ch = 0; ch < kChannels; ++ch) {
        PLXSIM_STATS s{};
        PLXSIM_GetStats(0, ch, &s);
        const Reader &r = readers[ch];
        const uint64_t dropped = s.received - r.taken; // stored in the FIFO, never taken
        std::printf("  channel %u: %llu taken (%.0f frames/s); lost: %llu to FIFO overruns, %llu by the driver"
                    " (%llu counter gaps)\n",
                    ch, static_cast<unsigned long long>(r.taken), double(r.taken) / elapsed,
                    static_cast<unsigned long long>(s.overruns), static_cast<unsigned long long>(dropped),
                    static_cast<unsigned long long>(r.skipped));
        total += r.taken;
        ok = ok && dropped == 0 && r.skipped == s.overruns;
    }
    std::printf("  CPU per frame taken: %.2f us process (%.2f us in the receive thread)\n", cpu * 1e6 / double(total),
                rxCpu * 1e6 / double(total));
    return ok;
}

bool transmitBench(uint32_t frames)
{
    for (uint32_t ch = 1; ch < kChannels; ++ch)
        VCI_ResetCAN(kType, 0, ch);
    std::vector<VCI_CAN_OBJ> batch(100);
    for (uint32_t i = 0; i < batch.size(); ++i) {
        batch[i].ID = 0x200 + i;
        batch[i].DataLen = 8;
        batch[i].Data[0] = uint8_t(i);
    }
    timespec cpuStart{}, cpuEnd{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuStart);
    const Clock::time_point start = Clock::now();
    uint32_t sent = 0;
    while (sent < frames) {
        const uint32_t n = VCI_Transmit(kType, 0, 0, batch.data(), std::min<uint32_t>(100, frames - sent));
        if (n == 0)
            break;
        sent += n;
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuEnd);
    const double cpu = double(cpuEnd.tv_sec - cpuStart.tv_sec) + double(cpuEnd.tv_nsec - cpuStart.tv_nsec) / 1e9;
    PLXSIM_STATS s{};
    PLXSIM_GetStats(0, 0, &s);
    const double rate = double(sent) / elapsed;
    std::printf("transmit: %u of %u frames in %.2f s, %.0f frames/s, %.1f us CPU per frame (%llu completed)\n", sent,
                frames, elapsed, rate, cpu * 1e6 / double(sent ? sent : 1), static_cast<unsigned long long>(s.transmitted));
    return sent == frames && rate >= 9000;
}

} // namespace

int main(int argc, char **argv)
{
    double seconds = 60;
    uint32_t rate = 9000;
    uint32_t frames = 100000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--seconds"))
            seconds = std::atof(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--rate"))
            rate = uint32_t(std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--frames"))
            frames = uint32_t(std::atoi(argv[i + 1]));
    }
    PLXSIM_SetBoards("0x1400");
    if (!openBoard()) {
        std::fprintf(stderr, "bench_drivers: the simulated board did not open\n");
        return 1;
    }
    const bool received = receiveBench(seconds, rate);
    const bool transmitted = transmitBench(frames);
    VCI_CloseDevice(kType, 0);
    return received && transmitted ? 0 : 1;
}
