// The partner node's background traffic on a simulated bus: a thread that
// sends each frame when its schedule says (frames per second) and never
// two frames closer than one frame's length on the bus: after a late
// wake-up it catches up at bus speed, not in a burst, and drops a backlog
// of over a second. start() and stop() must not be
// called concurrently (the board serialises them).
#pragma once

#include "vci.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

class SimTraffic
{
public:
    // Called on the traffic thread for every frame sent, with its bit rate.
    using Sender = std::function<void(const VCI_CAN_OBJ &frame, uint32_t bitRate)>;

    explicit SimTraffic(Sender sender);
    ~SimTraffic();
    SimTraffic(const SimTraffic &) = delete;
    SimTraffic &operator=(const SimTraffic &) = delete;

    // Replaces any running traffic; the frame counter restarts at 0.
    void start(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond);
    void stop();
    uint64_t generated() const { return m_generated.load(std::memory_order_relaxed); }

    // Bits of a data frame on the bus, stuff bits not counted.
    static uint32_t frameBits(bool extended, uint8_t dataBytes);

private:
    void run(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond);

    Sender m_sender;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::thread m_thread;
    std::atomic<uint64_t> m_generated{0};
};
