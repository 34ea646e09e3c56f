// A notification of a simulated board: an auto-reset event that the
// board signals on its interrupt, and a cancel that sticks.
#pragma once

#include "plxnotifier.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>

class SimNotifier : public PlxNotifier
{
public:
    explicit SimNotifier(uint32_t sources) : m_sources(sources) {}

    // Whether the registration covers the given interrupt sources.
    bool listensTo(uint32_t sources) const { return (m_sources & sources) != 0; }
    void signal();

    uint32_t wait(uint64_t timeoutMs) override;
    void cancel() override;

private:
    const uint32_t m_sources;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_signalled = false;
    bool m_cancelled = false;
};
