// One CAN board behind a PLX PCI bridge: finds it by device id among the
// bridge library's devices, opens, resets and maps it, gives serialised
// byte access to its SJA1000 registers, reads its EEPROM and closes it.
//
// Register windows: with SharedBar2 (PCI Express boards) channel c's
// registers lie in BAR 2 at 256 * c (two channels); with OneBarPerChannel
// (PCI boards) window k is BAR k + 2, or BAR 5 - k on the four-channel
// board 0x1400, register n at offset n. A channel without a mapped window
// is never touched: reads give 0xFF, writes are dropped.
//
// Every register access takes the register lock and runs its delay loop
// (1200 rounds after a read, 6000 after a write) inside it; only a status
// poll (pollRegister) runs its delay after the lock. Callers that
// need several accesses in a row hold registerLock() over them. Thread
// safety: register, EEPROM and notification calls may come from any
// thread while the board is open; open and close from one thread at a
// time, with no other call in flight.
#pragma once

#include "drvport.h"
#include "plxapi.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

class CWrapPlxPCI
{
public:
    enum class Windows { SharedBar2, OneBarPerChannel };
    static constexpr uint32_t kMaxChannels = 4;
    static constexpr uint16_t kPlxVendor = 0x10B5;
    static constexpr uint32_t kReadDelay = 1200;
    static constexpr uint32_t kWriteDelay = 6000;

    explicit CWrapPlxPCI(Windows windows);
    ~CWrapPlxPCI();
    CWrapPlxPCI(const CWrapPlxPCI &) = delete;
    CWrapPlxPCI &operator=(const CWrapPlxPCI &) = delete;

    // Opens the deviceIndex-th board (0..) of vendor 0x10B5 with deviceId
    // and maps the windows of its first `channels` channels:
    // PLX_STATUS_OK, or PLX_STATUS_FAILED with lastError() naming the
    // failed status (the board is then closed again). A board whose
    // registers cannot be mapped is of no use.
    uint32_t open(uint32_t deviceIndex, uint16_t deviceId, uint32_t channels);
    // Cancels the notification, unmaps every window, closes the device.
    void close();
    bool isOpen() const { return m_deviceOpen; }
    bool hasWindow(uint32_t channel) const { return window(channel) != nullptr; }
    const std::wstring &lastError() const { return m_lastError; }

    uint8_t readRegister(uint32_t channel, uint8_t reg);
    // A status poll: one read under the register lock, its delay loop run
    // after the lock is released, so that a poller preempted in its delay
    // does not hold up the board's other accesses.
    uint8_t pollRegister(uint32_t channel, uint8_t reg);
    void writeRegister(uint32_t channel, uint8_t reg, uint8_t value);
    DrvPort::CriticalSection &registerLock() { return m_registerLock; }

    uint16_t readEeprom(uint32_t offset);

    uint32_t registerNotification(const PlxInterrupt &interrupt);
    uint32_t enableInterrupt(const PlxInterrupt &interrupt);
    uint32_t waitNotification(uint64_t timeoutMs);
    void cancelNotification();

private:
    uint8_t *window(uint32_t channel) const;
    void fail(uint32_t status);

    PlxDeviceKey m_key{};
    PlxDevice m_device{};
    std::wstring m_lastError;
    std::array<uint8_t *, kMaxChannels> m_windows{};
    PlxNotification m_notification{};
    DrvPort::CriticalSection m_registerLock;
    uint32_t m_spinSink = 0; // guarded by m_registerLock
    std::atomic<uint32_t> m_pollSink{0};
    const Windows m_layout;
    bool m_deviceOpen = false;
};
