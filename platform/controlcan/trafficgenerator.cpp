#include "trafficgenerator.h"

#include "simbus.h"

#include <algorithm>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTick = std::chrono::milliseconds(1);
constexpr uint64_t kNsPerSecond = 1000000000ull;
constexpr uint32_t kChunk = 1024; // frames per broadcast call

// Frames due after elapsed ns at rate frames/s (no overflow for any
// realistic run time: rem * rate < 1e9 * 1e6).
uint64_t framesDue(uint64_t elapsedNs, uint64_t rate)
{
    return elapsedNs / kNsPerSecond * rate + elapsedNs % kNsPerSecond * rate / kNsPerSecond;
}

// Time (ns from the schedule start) at which frame number n (1-based) is due.
uint64_t dueTimeNs(uint64_t n, uint64_t rate)
{
    return n / rate * kNsPerSecond + (n % rate * kNsPerSecond + rate - 1) / rate;
}

} // namespace

TrafficGenerator::TrafficGenerator(SimBus &bus) : m_bus(bus)
{
}

TrafficGenerator::~TrafficGenerator()
{
    stop();
}

bool TrafficGenerator::start(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond)
{
    if (framesPerSecond > kMaxRate || (framesPerSecond != 0 && bitRate == 0))
        return false;
    stop();
    if (framesPerSecond == 0)
        return true;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = false;
    }
    m_thread = std::thread([this, bitRate, id, framesPerSecond] { run(bitRate, id, framesPerSecond); });
    return true;
}

void TrafficGenerator::stop()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

bool TrafficGenerator::waitUntil(Clock::time_point when)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return !m_wake.wait_until(lock, when, [this] { return m_stopping; });
}

void TrafficGenerator::run(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond)
{
    const uint64_t rate = framesPerSecond;
    const Clock::time_point begin = Clock::now();
    uint64_t scheduled = 0; // frames the schedule has handed out so far
    uint32_t counter = 0;   // frames actually sent: data bytes 0..3
    std::vector<VCI_CAN_OBJ> batch(std::min<uint64_t>(rate, kChunk));
    for (VCI_CAN_OBJ &f : batch) {
        f = VCI_CAN_OBJ{};
        f.ID = id & 0x7FFu;
        f.DataLen = 8;
    }
    Clock::time_point next = begin + kTick;
    while (waitUntil(next)) {
        const Clock::time_point now = Clock::now();
        const uint64_t elapsed = uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(now - begin).count());
        const uint64_t due = framesDue(elapsed, rate);
        // After a stall (debugger, overloaded machine) send at most one
        // second of backlog: a real node would not have queued more.
        if (due - scheduled > rate)
            scheduled = due - rate;
        while (scheduled < due) {
            const uint32_t n = uint32_t(std::min<uint64_t>(due - scheduled, batch.size()));
            for (uint32_t i = 0; i < n; ++i) {
                const uint32_t c = counter++;
                batch[i].Data[0] = uint8_t(c);
                batch[i].Data[1] = uint8_t(c >> 8);
                batch[i].Data[2] = uint8_t(c >> 16);
                batch[i].Data[3] = uint8_t(c >> 24);
            }
            m_bus.broadcast(batch.data(), n, bitRate);
            scheduled += n;
        }
        // Wake at the next tick, or later when the next frame is not due yet.
        const Clock::time_point nextFrame = begin + std::chrono::nanoseconds(dueTimeNs(scheduled + 1, rate));
        next = std::max(now + kTick, nextFrame);
    }
}
