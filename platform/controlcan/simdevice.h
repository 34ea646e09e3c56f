// One simulated device (type, index): reference-counted open state, board
// identity, its bus with the channels, and its background traffic.
#pragma once

#include "simbus.h"
#include "trafficgenerator.h"

#include <atomic>
#include <mutex>

class SimDevice
{
public:
    SimDevice(uint32_t type, uint32_t index);
    SimDevice(const SimDevice &) = delete;
    SimDevice &operator=(const SimDevice &) = delete;

    uint32_t type() const { return m_type; }
    uint32_t index() const { return m_index; }
    bool isOpen() const { return m_open.load(std::memory_order_acquire); }
    SimBus &bus() { return m_bus; }
    // nullptr when index is not a channel of this device type.
    SimChannel *channel(uint32_t index) const { return m_bus.channel(index); }

    // Adds a handle; the first one starts the device afresh.
    void open();
    // Drops a handle; false when the device is not open. The last handle
    // stops the background traffic and every channel.
    bool close();
    // Closes whatever handles exist and forgets every setting.
    void resetAll();

    bool boardInfo(VCI_BOARD_INFO *info) const;
    bool setTraffic(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond);
    // Overload mode from the next open from closed on (VCISIM_SetOverload).
    void setOverload(bool on);

private:
    void stopLocked();
    bool setTrafficLocked(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond);
    bool overloadWantedLocked() const;

    const uint32_t m_type;
    const uint32_t m_index;
    mutable std::mutex m_mutex; // open, close, traffic, board info
    uint32_t m_handles = 0;
    std::atomic<bool> m_open{false};
    bool m_overload = false; // the test setting; VCISIM_OVERLOAD also counts
    SimBus m_bus;
    TrafficGenerator m_traffic; // overload mode only; declared after m_bus: stopped before it goes
};
