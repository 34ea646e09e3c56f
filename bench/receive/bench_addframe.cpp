// Cost of UlBuffer::addFrame per frame on the receive path, and memory of
// the display ring and watch list.
//
//   bench_addframe [--benchmark_filter=REGEX]

#include "ulbuffer.h"
#include "ulglobalset.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int WatchedIds = 30000;

std::vector<VCI_CAN_OBJ> distinctFrames(int n)
{
    std::vector<VCI_CAN_OBJ> frames(std::size_t(n), VCI_CAN_OBJ{});
    for (int i = 0; i < n; ++i) {
        VCI_CAN_OBJ &f = frames[std::size_t(i)];
        f.ID = uint32_t(i) * 7919u % 0x20000000u;  // spread over the 29-bit range
        f.ExternFlag = 1;
        f.DeviceTime = uint32_t(i) + 1;
        f.HasDeviceTime = 1;
        f.DataLen = 8;
        f.Data[0] = uint8_t(i);
        f.Data[1] = uint8_t(i >> 8);
    }
    return frames;
}

double residentMb()
{
    long pages = 0;
    long resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Memory one channel needs for a full default ring and 30000 watched IDs
// (first, so that no freed memory of another benchmark is reused).
void BM_MemoryPerChannel(benchmark::State &state)
{
    UlGlobalSet::instance().watch = true;
    UlBuffer &buffer = UlBuffer::instance(2);
    const std::vector<VCI_CAN_OBJ> frames = distinctFrames(WatchedIds);
    for (auto _ : state) {
        buffer.reset();
        const double before = residentMb();
        for (int i = 0; i < WatchedIds; i += 32)
            buffer.addFrame(frames.data() + i, qMin(32, WatchedIds - i), false);
        state.counters["channel_MB"] = residentMb() - before;
    }
    if (buffer.count() != WatchedIds || buffer.countW() != WatchedIds)
        state.SkipWithError("ring or watch list not full");
    UlGlobalSet::instance().watch = false;
}
BENCHMARK(BM_MemoryPerChannel)->Iterations(1)->Unit(benchmark::kMillisecond);

// Receive batches of range(0) frames cycling through 30000 IDs, watch list
// on (range(1) = 1) or off, display ring at its default bound.
void BM_AddFrame(benchmark::State &state)
{
    const int batch = int(state.range(0));
    UlGlobalSet::instance().watch = state.range(1) != 0;
    UlBuffer &buffer = UlBuffer::instance(0);
    buffer.setMaxCount(UlBuffer::DefaultMaxCount);
    buffer.reset();
    buffer.clearW();
    const std::vector<VCI_CAN_OBJ> frames = distinctFrames(WatchedIds + batch);
    for (int i = 0; i < WatchedIds; i += 32)
        buffer.addFrame(frames.data() + i, 32, false);
    int next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(buffer.addFrame(frames.data() + next, batch, false));
        next = (next + batch) % WatchedIds;
    }
    if (state.range(1) && buffer.countW() != WatchedIds)
        state.SkipWithError("watch list does not hold every ID");
    state.SetItemsProcessed(state.iterations() * batch);
    state.counters["per_frame"] = benchmark::Counter(double(state.iterations()) * batch,
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    UlGlobalSet::instance().watch = false;
}
BENCHMARK(BM_AddFrame)->ArgNames({"batch", "watch"})->Args({32, 1})->Args({1, 1})->Args({32, 0});

// A full 10,000,000-frame ring: appends drop the oldest in O(1).
void BM_AddFrameFullLargeRing(benchmark::State &state)
{
    UlBuffer &buffer = UlBuffer::instance(1);
    buffer.setMaxCount(10000000);
    const std::vector<VCI_CAN_OBJ> frames = distinctFrames(32);
    while (buffer.count() < buffer.getMaxCount())
        buffer.addFrame(frames.data(), 32, false);
    for (auto _ : state)
        benchmark::DoNotOptimize(buffer.addFrame(frames.data(), 32, false));
    state.counters["per_frame"] = benchmark::Counter(double(state.iterations()) * 32,
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["resident_MB"] = residentMb();
    buffer.setMaxCount(UlBuffer::DefaultMaxCount);
}
BENCHMARK(BM_AddFrameFullLargeRing)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
