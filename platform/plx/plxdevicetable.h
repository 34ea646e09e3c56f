// The open devices of the process by handle. Handles are never reused, so
// a stale or zeroed PlxDevice finds nothing instead of another device.
#pragma once

#include "plxopendevice.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

class PlxDeviceTable
{
public:
    static PlxDeviceTable &instance();

    uint32_t add(std::shared_ptr<PlxOpenDevice> device);
    std::shared_ptr<PlxOpenDevice> find(uint32_t handle) const;
    std::shared_ptr<PlxOpenDevice> remove(uint32_t handle);
    // Closes and forgets every open device.
    void closeAll();

private:
    PlxDeviceTable() = default;

    mutable std::mutex m_mutex;
    std::map<uint32_t, std::shared_ptr<PlxOpenDevice>> m_devices;
    uint32_t m_next = 1;
};
