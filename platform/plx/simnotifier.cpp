#include "simnotifier.h"

#include "plxapi.h"

#include <chrono>

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
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_signalled || m_cancelled; });
    if (m_cancelled)
        return PLX_STATUS_CANCELED;
    if (!m_signalled)
        return PLX_STATUS_TIMEOUT;
    m_signalled = false;
    return PLX_STATUS_OK;
}

void SimNotifier::cancel()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_cancelled = true;
    }
    m_changed.notify_all();
}
