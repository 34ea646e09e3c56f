#include "plxopendevice.h"

uint32_t PlxOpenDevice::mapBar(uint8_t bar, void **address)
{
    *address = nullptr;
    if (bar > 5)
        return PLX_STATUS_INVALID_ADDR;
    std::unique_lock<std::shared_mutex> lock(m_windowMutex);
    if (m_closed)
        return PLX_STATUS_INVALID_OBJECT;
    Window window{bar, nullptr, 0};
    const uint32_t status = mapWindow(bar, window);
    if (status != PLX_STATUS_OK)
        return status;
    m_windows.push_back(window);
    *address = window.base;
    return PLX_STATUS_OK;
}

uint32_t PlxOpenDevice::unmapBar(void **address)
{
    std::unique_lock<std::shared_mutex> lock(m_windowMutex);
    for (auto it = m_windows.begin(); it != m_windows.end(); ++it) {
        if (it->base == *address) {
            unmapWindow(*it);
            m_windows.erase(it);
            *address = nullptr;
            return PLX_STATUS_OK;
        }
    }
    return PLX_STATUS_INVALID_ADDR;
}

const PlxOpenDevice::Window *PlxOpenDevice::windowAt(const void *address, size_t &offset) const
{
    const auto *p = static_cast<const uint8_t *>(address);
    for (const Window &w : m_windows) {
        // Compared as integers: the address may belong to no window at all.
        const auto at = reinterpret_cast<uintptr_t>(p);
        const auto base = reinterpret_cast<uintptr_t>(w.base);
        if (at >= base && at - base < w.size) {
            offset = at - base;
            return &w;
        }
    }
    return nullptr;
}

uint32_t PlxOpenDevice::read8(const void *address, uint8_t *value)
{
    std::shared_lock<std::shared_mutex> lock(m_windowMutex);
    size_t offset = 0;
    const Window *w = windowAt(address, offset);
    if (!w) {
        *value = 0xFF;
        return PLX_STATUS_INVALID_ADDR;
    }
    *value = readWindow(*w, offset);
    return PLX_STATUS_OK;
}

uint32_t PlxOpenDevice::write8(void *address, uint8_t value)
{
    std::shared_lock<std::shared_mutex> lock(m_windowMutex);
    size_t offset = 0;
    const Window *w = windowAt(address, offset);
    if (!w)
        return PLX_STATUS_INVALID_ADDR;
    writeWindow(*w, offset, value);
    return PLX_STATUS_OK;
}

uint32_t PlxOpenDevice::registerNotification(const PlxInterrupt &interrupt, PlxNotification *notification)
{
    uint32_t status = PLX_STATUS_OK;
    std::shared_ptr<PlxNotifier> n = makeNotifier(interrupt, status);
    if (!n)
        return status;
    std::lock_guard<std::mutex> lock(m_notifierMutex);
    if (m_closed)
        return PLX_STATUS_INVALID_OBJECT;
    notification->id = m_nextNotifier++;
    m_notifiers[notification->id] = std::move(n);
    return PLX_STATUS_OK;
}

std::shared_ptr<PlxNotifier> PlxOpenDevice::notifier(uint32_t id)
{
    std::lock_guard<std::mutex> lock(m_notifierMutex);
    const auto it = m_notifiers.find(id);
    return it == m_notifiers.end() ? nullptr : it->second;
}

uint32_t PlxOpenDevice::waitNotification(const PlxNotification &notification, uint64_t timeoutMs)
{
    const std::shared_ptr<PlxNotifier> n = notifier(notification.id);
    return n ? n->wait(timeoutMs) : PLX_STATUS_INVALID_OBJECT;
}

uint32_t PlxOpenDevice::cancelNotification(const PlxNotification &notification)
{
    const std::shared_ptr<PlxNotifier> n = notifier(notification.id);
    if (!n)
        return PLX_STATUS_INVALID_OBJECT;
    n->cancel();
    return PLX_STATUS_OK;
}

void PlxOpenDevice::close()
{
    {
        // Cancelled notifiers stay registered: a late wait still gets
        // PLX_STATUS_CANCELED rather than an unknown object.
        std::lock_guard<std::mutex> lock(m_notifierMutex);
        m_closed = true;
        for (auto &entry : m_notifiers)
            entry.second->cancel();
    }
    {
        std::unique_lock<std::shared_mutex> lock(m_windowMutex);
        m_closed = true;
        for (const Window &w : m_windows)
            unmapWindow(w);
        m_windows.clear();
    }
    closed();
}
