// Background traffic of one device's bus in overload mode (with bus time
// the bus's own BackgroundNode sends it): a thread that, every ~1 ms,
// sends as many frames as are due by a steady-clock schedule (not one
// sleep per frame), so the long-run rate is exact and the cost is one
// wake-up per tick. start() and stop() must not be called concurrently
// (the owning device serialises them).
#pragma once

#include "vci.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class SimBus;

class TrafficGenerator
{
public:
    // Highest rate start() accepts, frames per second.
    static constexpr uint32_t kMaxRate = 1000000;

    explicit TrafficGenerator(SimBus &bus);
    ~TrafficGenerator();
    TrafficGenerator(const TrafficGenerator &) = delete;
    TrafficGenerator &operator=(const TrafficGenerator &) = delete;

    // Replaces any running traffic; the frame counter restarts at 0.
    // framesPerSecond 0 just stops. False for a rate above kMaxRate or a
    // bit rate of 0 with a non-zero frame rate.
    bool start(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond);
    void stop();

private:
    void run(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond);
    bool waitUntil(std::chrono::steady_clock::time_point when); // false when stopping

    SimBus &m_bus;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::thread m_thread;
};
