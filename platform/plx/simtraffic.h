// The partner node's background traffic on a simulated bus: a thread that
// offers each frame to the bus when its schedule says (frames per second);
// the bus decides when it goes out. After a late wake-up the frames due
// meanwhile are offered at once; a backlog of over a second is dropped.
// start() and stop() must not be called concurrently (the board
// serialises them).
#pragma once

#include "vci.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

class SimTraffic
{
public:
    // Called on the traffic thread for every frame due, with its bit rate.
    using Sender = std::function<void(const VCI_CAN_OBJ &frame, uint32_t bitRate)>;

    explicit SimTraffic(Sender sender);
    ~SimTraffic();
    SimTraffic(const SimTraffic &) = delete;
    SimTraffic &operator=(const SimTraffic &) = delete;

    // Replaces any running traffic: standard frames of id with dataLength
    // data bytes (0..8, zero; the sender fills them).
    void start(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond, uint8_t dataLength = 8);
    void stop();

private:
    void run(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond, uint8_t dataLength);

    Sender m_sender;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::thread m_thread;
};
