// One opened PCI device of either back-end: its mapped BARs, through which
// every register access is checked, and its notifications. The back-end
// supplies the mapping, the byte access and the interrupt plumbing.
// Thread-safe; register accesses run under a shared lock so that an unmap
// or close waits for them.
#pragma once

#include "plxapi.h"
#include "plxnotifier.h"

#include <atomic>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <vector>

class PlxOpenDevice
{
public:
    virtual ~PlxOpenDevice() = default;
    PlxOpenDevice(const PlxOpenDevice &) = delete;
    PlxOpenDevice &operator=(const PlxOpenDevice &) = delete;

    uint32_t mapBar(uint8_t bar, void **address);
    uint32_t unmapBar(void **address);
    uint32_t read8(const void *address, uint8_t *value);
    uint32_t write8(void *address, uint8_t value);

    uint32_t registerNotification(const PlxInterrupt &interrupt, PlxNotification *notification);
    uint32_t waitNotification(const PlxNotification &notification, uint64_t timeoutMs);
    uint32_t cancelNotification(const PlxNotification &notification);

    // Cancels every notification and unmaps every BAR; later calls fail.
    void close();

    virtual uint32_t reset() = 0;
    virtual uint32_t readEeprom(uint32_t offset, uint16_t *value) = 0;
    virtual uint32_t enableInterrupt(const PlxInterrupt &interrupt) = 0;
    virtual uint32_t disableInterrupt(const PlxInterrupt &interrupt) = 0;

protected:
    struct Window {
        uint8_t bar;
        uint8_t *base;
        size_t size;
    };

    PlxOpenDevice() = default;

    // Fills window.base and window.size for the BAR, or returns a failure.
    virtual uint32_t mapWindow(uint8_t bar, Window &window) = 0;
    virtual void unmapWindow(const Window &window) = 0;
    virtual uint8_t readWindow(const Window &window, size_t offset) = 0;
    virtual void writeWindow(const Window &window, size_t offset, uint8_t value) = 0;
    // A notifier for the record, or nullptr with the failure in status.
    virtual std::shared_ptr<PlxNotifier> makeNotifier(const PlxInterrupt &interrupt, uint32_t &status) = 0;
    // After close() has released everything of the base.
    virtual void closed() {}

private:
    const Window *windowAt(const void *address, size_t &offset) const; // m_windowMutex held
    std::shared_ptr<PlxNotifier> notifier(uint32_t id);

    std::shared_mutex m_windowMutex;
    std::vector<Window> m_windows;
    std::mutex m_notifierMutex;
    std::map<uint32_t, std::shared_ptr<PlxNotifier>> m_notifiers;
    uint32_t m_nextNotifier = 1;
    std::atomic<bool> m_closed{false};
};
