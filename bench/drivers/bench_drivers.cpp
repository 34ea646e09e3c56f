// The board drivers on a simulated four-channel PCI board (0x1400,
// Dravin) whose bus keeps time, with the drivers' delay loops at their
// full counts.
//
//   bench_drivers [--seconds S] [--frames N]
//
// Four receive runs of S seconds each (default 60), the partner's
// background traffic at the bus's full load on 1 Mbit/s (asked at 25,000
// frames/s, carried at capacity), one reader per receiving channel taking
// frames with VCI_Receive in batches of 32 and sleeping 50 ms when nothing
// waits, as the core's receive thread does:
//   (a) 8-byte frames, all four channels receiving;
//   (b) 0-byte frames, all four channels receiving;
//   (c) channel 0 transmitting back to back at 125 kbit/s (acknowledged by
//       the partner) while channels 1-3 receive 8-byte frames;
//   (d) channel 0 at 125 kbit/s where nobody acknowledges (each frame
//       fails after its status polls) while channels 1-3 receive.
// A frame can be lost at a controller (its 64-byte FIFO holds five 8-byte
// frames, 0.6 ms at 1 Mbit/s, so the receive thread was late) or between
// the FIFO and VCI_Receive (the driver dropped it: taken < stored, or the
// frame counters skip more often than the FIFOs overran).
// Then transmit: channel 0 sends N 8-byte frames (default 100000) in calls
// of 100 to the partner at 1 Mbit/s; the target is 95 % of what the
// register delays and the bus time allow (printed with its model).
// Exits with 1 if the driver lost a frame or the transmit misses its target.
#include "drvport.h"
#include "plxsim.h"
#include "framebits.h"
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
    bool counted = true; // frames carry the traffic's counter
    uint64_t taken = 0;
    uint64_t skipped = 0; // frames missing between two counters
    int64_t last = -1;
    std::thread thread;
};

VCI_INIT_CONFIG timing(uint8_t btr0)
{
    VCI_INIT_CONFIG config{};
    config.MaskCode = 0xFFFFFFFFu;
    config.FilterMode = 1;
    config.BTR0 = btr0; // 0x00: 1 Mbit/s, 0x07: 125 kbit/s (with BTR1 0x14)
    config.BTR1 = 0x14;
    return config;
}

// Channel 0 at channel0Btr0, the others at 1 Mbit/s.
bool openBoard(uint8_t channel0Btr0)
{
    if (VCI_OpenDevice(kType, 0, 0) != 1)
        return false;
    for (uint32_t ch = 0; ch < kChannels; ++ch) {
        VCI_INIT_CONFIG config = timing(ch == 0 ? channel0Btr0 : 0x00);
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
        for (uint32_t i = 0; i < n && reader.counted; ++i) {
            const uint8_t *d = frames[i].Data;
            const int64_t counter = int64_t(uint32_t(d[0] | d[1] << 8 | d[2] << 16 | uint32_t(d[3]) << 24));
            if (reader.last >= 0 && counter != reader.last + 1)
                reader.skipped += uint64_t(counter - reader.last - 1);
            reader.last = counter;
        }
        reader.taken += n;
    }
}

enum class Transmitter { None, BackToBack, Unacknowledged };

// One receive run (see the top of the file).
bool receiveRun(const char *name, double seconds, uint8_t dataLength, Transmitter transmitter)
{
    const bool transmitting = transmitter != Transmitter::None;
    if (!openBoard(transmitting ? 0x07 : 0x00))
        return false;
    PLXSIM_SetAcknowledge(0, transmitter == Transmitter::Unacknowledged ? 0 : 1);
    PLXSIM_SetTrafficLength(0, dataLength);
    const uint32_t first = transmitting ? 1 : 0;
    Reader readers[kChannels];
    PLXSIM_STATS before[kChannels] = {}, board0{};
    for (uint32_t ch = 0; ch < kChannels; ++ch)
        PLXSIM_GetStats(0, ch, &before[ch]);
    PLXSIM_GetStats(0, PLXSIM_BOARD, &board0);
    std::atomic<bool> stop{false};
    for (uint32_t ch = first; ch < kChannels; ++ch) {
        readers[ch].counted = dataLength >= 4;
        readers[ch].thread = std::thread(read, ch, std::ref(readers[ch]), std::cref(stop));
    }
    uint64_t sent = 0, failed = 0;
    std::thread sender;
    if (transmitting) {
        sender = std::thread([&] {
            std::vector<VCI_CAN_OBJ> batch(10);
            for (VCI_CAN_OBJ &f : batch) {
                f.ID = 0x100;
                f.DataLen = 8;
            }
            while (!stop) {
                const uint32_t n = VCI_Transmit(kType, 0, 0, batch.data(), uint32_t(batch.size()));
                sent += n;
                failed += n < batch.size() ? 1 : 0;
            }
        });
    }

    const double cpuBefore = processCpuSeconds();
    const double rxCpuBefore = threadCpuSeconds("board receive");
    const Clock::time_point start = Clock::now();
    PLXSIM_SetTraffic(0, kBitRate, kTrafficId, PLXSIM_MAX_TRAFFIC);
    std::this_thread::sleep_until(start + std::chrono::duration<double>(seconds));
    PLXSIM_SetTraffic(0, kBitRate, kTrafficId, 0);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    // Let the receive thread and the readers drain what is left.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    stop = true;
    if (sender.joinable())
        sender.join();
    for (Reader &r : readers) {
        if (r.thread.joinable())
            r.thread.join();
    }
    PLXSIM_STATS board{};
    PLXSIM_GetStats(0, PLXSIM_BOARD, &board);
    const uint64_t carried = board.generated - board0.generated;
    for (uint32_t ch = first; ch < kChannels; ++ch) {
        VCI_CAN_OBJ rest[32];
        while (uint32_t n = VCI_Receive(kType, 0, ch, rest, 32, 0))
            readers[ch].taken += n;
        // Frames lost after the last one taken leave no gap between two
        // counters: count them from the frames carried.
        Reader &r = readers[ch];
        if (r.counted && carried > 0)
            r.skipped += carried - 1 - uint64_t(r.last);
    }
    const double cpu = processCpuSeconds() - cpuBefore;
    const double rxCpu = threadCpuSeconds("board receive") - rxCpuBefore;

    uint64_t total = 0;
    bool ok = true;
    std::printf("%s: %u-byte frames at 1 Mbit/s for %.1f s, %llu carried (%.0f frames/s), %llu over capacity\n",
                name, dataLength, elapsed, static_cast<unsigned long long>(carried), double(carried) / elapsed,
                static_cast<unsigned long long>(board.notCarried - board0.notCarried));
    if (transmitting)
        std::printf("  channel 0 at 125 kbit/s: %llu frames sent, %llu calls stopped at a failed frame\n",
                    static_cast<unsigned long long>(sent), static_cast<unsigned long long>(failed));
    for (uint32_t ch = first; ch < kChannels; ++ch) {
        PLXSIM_STATS s{};
        PLXSIM_GetStats(0, ch, &s);
        const Reader &r = readers[ch];
        const uint64_t stored = s.received - before[ch].received, overruns = s.overruns - before[ch].overruns;
        const uint64_t dropped = stored - r.taken; // stored in the FIFO, never taken
        std::printf("  channel %u: %llu taken (%.0f frames/s); lost: %llu to FIFO overruns (%.3f %%), %llu by the"
                    " driver",
                    ch, static_cast<unsigned long long>(r.taken), double(r.taken) / elapsed,
                    static_cast<unsigned long long>(overruns), 100.0 * double(overruns) / double(stored + overruns),
                    static_cast<unsigned long long>(dropped));
        if (r.counted)
            std::printf(" (%llu counter gaps)", static_cast<unsigned long long>(r.skipped));
        std::printf("\n");
        total += r.taken;
        ok = ok && dropped == 0 && (!r.counted || r.skipped == overruns);
    }
    std::printf("  CPU per frame taken: %.2f us process (%.2f us in the receive thread)\n", cpu * 1e6 / double(total),
                rxCpu * 1e6 / double(total));
    VCI_CloseDevice(kType, 0);
    return ok;
}

// Rounds of the drivers' delay loop per second on this machine.
double roundsPerSecond()
{
    const Clock::time_point start = Clock::now();
    DrvPort::spin(100000000);
    return 1e8 / std::chrono::duration<double>(Clock::now() - start).count();
}

bool transmitBench(uint32_t frames)
{
    if (!openBoard(0x00))
        return false;
    PLXSIM_SetAcknowledge(0, 1);
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
    // What a real board allows: per frame the pacing loop, 15 register
    // writes (abort, 13 frame bytes, command) and one status read before
    // the command takes effect, each access 1 us on the PCI bus plus its
    // delay loop, then the frame's bus time; the status polls overlap the
    // bus time.
    double busTime = 0;
    for (const VCI_CAN_OBJ &f : batch)
        busTime += FrameBits::length(f) / double(kBitRate);
    busTime /= double(batch.size());
    const double round = 1.0 / roundsPerSecond();
    const double perFrame = 38000 * round + 15 * (1e-6 + 6000 * round) + (1e-6 + 1200 * round) + busTime;
    const double target = 0.95 / perFrame;
    std::printf("transmit: %u of %u frames in %.2f s, %.0f frames/s, %.1f us CPU per frame (%llu completed)\n", sent,
                frames, elapsed, rate, cpu * 1e6 / double(sent ? sent : 1), static_cast<unsigned long long>(s.transmitted));
    std::printf("  model: %.1f us bus time, %.2f ns per delay round: %.1f us per frame, %.0f frames/s; target %.0f\n",
                busTime * 1e6, round * 1e9, perFrame * 1e6, 1.0 / perFrame, target);
    VCI_CloseDevice(kType, 0);
    return sent == frames && rate >= target;
}

} // namespace

int main(int argc, char **argv)
{
    double seconds = 60;
    uint32_t frames = 100000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--seconds"))
            seconds = std::atof(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--frames"))
            frames = uint32_t(std::atoi(argv[i + 1]));
    }
    PLXSIM_SetBoards("0x1400");
    bool ok = true;
    ok = receiveRun("(a) receive", seconds, 8, Transmitter::None) && ok;
    ok = receiveRun("(b) receive", seconds, 0, Transmitter::None) && ok;
    ok = receiveRun("(c) receive beside a transmit", seconds, 8, Transmitter::BackToBack) && ok;
    ok = receiveRun("(d) receive beside a failing transmit", seconds, 8, Transmitter::Unacknowledged) && ok;
    ok = transmitBench(frames) && ok;
    return ok ? 0 : 1;
}
