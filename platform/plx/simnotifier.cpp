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

uint32_t SimNotifier::wait(uint64_t timeoutMs)
{
    using SteadyClock = std::chrono::steady_clock;
    const SteadyClock::time_point deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        SteadyClock::time_point until = deadline;
        if (m_clock)
            until = std::min(until, m_clock());
        std::unique_lock<std::mutex> lock(m_mutex);
        ++m_waiters;
        m_changed.wait_until(lock, until, [this] { return m_signalled || m_cancelled; });
        --m_waiters;
        if (m_cancelled)
            return PLX_STATUS_CANCELED;
        if (m_signalled) {
            m_signalled = false;
            return PLX_STATUS_OK;
        }
        if (SteadyClock::now() >= deadline)
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
