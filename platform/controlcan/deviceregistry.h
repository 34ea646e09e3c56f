// Every simulated device of the process, found by (type, index) without a
// lock: devices are created on demand and live until the library unloads,
// so a pointer handed out stays valid while other threads open and close.
#pragma once

#include "simdevice.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

class DeviceRegistry
{
public:
    static constexpr uint32_t kMaxIndex = 7;   // device indices 0..7
    static constexpr uint32_t kMaxDevices = 256; // distinct (type, index) pairs

    static DeviceRegistry &instance();

    // The device if it was ever created, else nullptr. Lock-free.
    SimDevice *find(uint32_t type, uint32_t index) const;
    // The device, created on first use; nullptr for an index above kMaxIndex
    // or when kMaxDevices devices exist already.
    SimDevice *obtain(uint32_t type, uint32_t index);
    // Closes every device and forgets every setting.
    void resetAll();

private:
    DeviceRegistry() = default;
    // At exit or unload: stops every traffic thread and wakes blocked
    // receivers before the devices go.
    ~DeviceRegistry();

    std::mutex m_createMutex;
    std::array<std::atomic<SimDevice *>, kMaxDevices> m_slots{};
    std::atomic<uint32_t> m_count{0};
    std::vector<std::unique_ptr<SimDevice>> m_owned; // guarded by m_createMutex
};
