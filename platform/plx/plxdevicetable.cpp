#include "plxdevicetable.h"

#include <vector>

PlxDeviceTable &PlxDeviceTable::instance()
{
    // Never destroyed: a driver's device object closes its board from its
    // own static destructor, which may run after ours would.
    static PlxDeviceTable *table = new PlxDeviceTable;
    return *table;
}

uint32_t PlxDeviceTable::add(std::shared_ptr<PlxOpenDevice> device)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const uint32_t handle = m_next++;
    m_devices[handle] = std::move(device);
    return handle;
}

std::shared_ptr<PlxOpenDevice> PlxDeviceTable::find(uint32_t handle) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_devices.find(handle);
    return it == m_devices.end() ? nullptr : it->second;
}

std::shared_ptr<PlxOpenDevice> PlxDeviceTable::remove(uint32_t handle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_devices.find(handle);
    if (it == m_devices.end())
        return nullptr;
    std::shared_ptr<PlxOpenDevice> device = std::move(it->second);
    m_devices.erase(it);
    return device;
}

void PlxDeviceTable::closeAll()
{
    std::vector<std::shared_ptr<PlxOpenDevice>> devices;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto &entry : m_devices)
            devices.push_back(std::move(entry.second));
        m_devices.clear();
    }
    for (auto &device : devices)
        device->close();
}
