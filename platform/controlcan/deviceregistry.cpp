#include "deviceregistry.h"

DeviceRegistry &DeviceRegistry::instance()
{
    static DeviceRegistry registry;
    return registry;
}

DeviceRegistry::~DeviceRegistry()
{
    resetAll();
}

SimDevice *DeviceRegistry::find(uint32_t type, uint32_t index) const
{
    const uint32_t count = m_count.load(std::memory_order_acquire);
    for (uint32_t i = 0; i < count; ++i) {
        SimDevice *device = m_slots[i].load(std::memory_order_acquire);
        if (device && device->type() == type && device->index() == index)
            return device;
    }
    return nullptr;
}

SimDevice *DeviceRegistry::obtain(uint32_t type, uint32_t index)
{
    if (index > kMaxIndex)
        return nullptr;
    if (SimDevice *device = find(type, index))
        return device;
    std::lock_guard<std::mutex> lock(m_createMutex);
    if (SimDevice *device = find(type, index))
        return device;
    const uint32_t count = m_count.load(std::memory_order_relaxed);
    if (count == kMaxDevices)
        return nullptr;
    m_owned.push_back(std::make_unique<SimDevice>(type, index));
    SimDevice *device = m_owned.back().get();
    m_slots[count].store(device, std::memory_order_release);
    m_count.store(count + 1, std::memory_order_release);
    return device;
}

void DeviceRegistry::resetAll()
{
    std::lock_guard<std::mutex> lock(m_createMutex);
    for (auto &device : m_owned)
        device->resetAll();
}
