// A notification of a simulated board: an auto-reset event that the
// board signals on its interrupt, and a cancel that sticks. A waiter also
// keeps the board's bus time: it wakes when the next frame on the bus
// ends and lets the board raise the interrupt for it (the clock), so that
// the interrupt comes on time however late other threads look.
#pragma once

#include "plxnotifier.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

class SimNotifier : public PlxNotifier
{
public:
    // Brings the board up to the present; returns its next event.
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // Whether the board holds the waits' time-outs (PLXSIM_HoldTimeouts).
    using TimeoutsHeld = std::function<bool()>;

    explicit SimNotifier(uint32_t sources, Clock clock = nullptr, TimeoutsHeld timeoutsHeld = nullptr)
        : m_sources(sources), m_clock(std::move(clock)), m_timeoutsHeld(std::move(timeoutsHeld))
    {
    }

    // Whether the registration covers the given interrupt sources.
    bool listensTo(uint32_t sources) const { return (m_sources & sources) != 0; }
    void signal();
    // Wakes the waits to look at their time-out again.
    void nudge();

    uint32_t wait(uint64_t timeoutMs) override;
    void cancel() override;
    // Threads blocked in wait() now (PLXSIM_NotificationWaiters).
    uint32_t waiters();

private:
    const uint32_t m_sources;
    const Clock m_clock; // called without m_mutex: the board signals under its own lock
    const TimeoutsHeld m_timeoutsHeld; // likewise
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_signalled = false;
    bool m_cancelled = false;
    uint32_t m_waiters = 0;
    uint64_t m_nudges = 0;
};
