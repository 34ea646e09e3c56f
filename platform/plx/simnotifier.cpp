#include "simnotifier.h"

#include "plxapi.h"

void SimNotifier::signal()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_signalled = true;
    }
    m_changed.notify_all();
}

void SimNotifier::nudge()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_nudges;
    }
    m_changed.notify_all();
}

uint32_t SimNotifier::wait(uint64_t timeoutMs)
{
    using SteadyClock = std::chrono::steady_clock;
    const SteadyClock::time_point deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        uint64_t nudges = 0;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            nudges = m_nudges;
        }
        // Read after the nudge count: a release from here on wakes the wait.
        const bool held = m_timeoutsHeld && m_timeoutsHeld();
        SteadyClock::time_point until = held ? SteadyClock::time_point::max() : deadline;
        if (m_clock)
            until = std::min(until, m_clock());
        std::unique_lock<std::mutex> lock(m_mutex);
        ++m_waiters;
        m_changed.wait_until(lock, until, [this, nudges] { return m_signalled || m_cancelled || m_nudges != nudges; });
        --m_waiters;
        if (m_cancelled)
            return PLX_STATUS_CANCELED;
        if (m_signalled) {
            m_signalled = false;
            return PLX_STATUS_OK;
        }
        if (!held && SteadyClock::now() >= deadline)
            return PLX_STATUS_TIMEOUT;
    }
}

void SimNotifier::cancel()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_cancelled = true;
    }
    m_changed.notify_all();
}

uint32_t SimNotifier::waiters()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_waiters;
}
