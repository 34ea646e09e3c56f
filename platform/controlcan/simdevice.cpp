#include "simdevice.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// One unsigned field of base base, ending at separator; advances text.
bool takeField(const char *&text, int base, char separator, uint32_t *value)
{
    if (*text < '0' || *text > '9') // strtoul would also take blanks and signs
        return false;
    char *end = nullptr;
    const unsigned long v = std::strtoul(text, &end, base);
    if (*end != separator || v > 0xFFFFFFFFul)
        return false;
    *value = uint32_t(v);
    text = end + 1;
    return true;
}

// VCISIM_DEMO_TRAFFIC="<bit rate>:<id hex>:<frames per second>", for
// instance "500000:0x123:50". False when unset or malformed.
bool demoTraffic(uint32_t *bitRate, uint32_t *id, uint32_t *framesPerSecond)
{
    const char *text = std::getenv("VCISIM_DEMO_TRAFFIC");
    if (!text || !*text)
        return false;
    const char *p = text;
    if (takeField(p, 10, ':', bitRate) && takeField(p, 16, ':', id) && takeField(p, 10, '\0', framesPerSecond))
        return true;
    std::fprintf(stderr, "VCISIM_DEMO_TRAFFIC: expected <bit rate>:<id hex>:<frames per second>, not \"%s\"\n", text);
    return false;
}

// VCISIM_OVERLOAD set to anything but "" or "0".
bool overloadFromEnvironment()
{
    const char *text = std::getenv("VCISIM_OVERLOAD");
    return text && *text && std::strcmp(text, "0") != 0;
}

const char *familyName(uint32_t type)
{
    switch (type) {
    case VCI_DRAVIN_PCI1:
    case VCI_DRAVIN_PCI2:
    case VCI_DRAVIN_PCI4:
        return "DRAVIN PCI";
    case VCI_KELMO_USB1:
    case VCI_KELMO_USB2:
        return "KELMO USB";
    case VCI_VARNET_UDP:
        return "VARNET UDP";
    case VCI_VARNET_TCP:
        return "VARNET TCP";
    case VCI_DRAVEX_PCIE2:
    case VCI_DRAVEX_PCIE1:
        return "DRAVEX PCIe";
    default:
        return "VCI";
    }
}

} // namespace

SimDevice::SimDevice(uint32_t type, uint32_t index)
    : m_type(type), m_index(index), m_bus(vciChannelCount(type)), m_traffic(m_bus)
{
}

void SimDevice::open()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_handles++ == 0) {
        m_bus.open(std::chrono::steady_clock::now(), overloadWantedLocked());
        m_open.store(true, std::memory_order_release);
        uint32_t bitRate = 0, id = 0, framesPerSecond = 0;
        if (demoTraffic(&bitRate, &id, &framesPerSecond) && !setTrafficLocked(bitRate, id, framesPerSecond))
            std::fprintf(stderr, "VCISIM_DEMO_TRAFFIC: rate refused\n");
    }
}

bool SimDevice::close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_handles == 0)
        return false;
    if (--m_handles == 0)
        stopLocked();
    return true;
}

void SimDevice::resetAll()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_handles = 0;
    stopLocked();
    m_bus.forgetSettings();
    m_overload = false;
}

void SimDevice::stopLocked()
{
    m_open.store(false, std::memory_order_release);
    m_traffic.stop();
    m_bus.close();
}

bool SimDevice::boardInfo(VCI_BOARD_INFO *info) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_handles == 0)
        return false;
    *info = VCI_BOARD_INFO{};
    info->HardwareVersion = 0x0100;
    info->FirmwareVersion = 0x0102;
    info->DriverVersion = 0x0203;
    info->InterfaceVersion = 0x0202;
    info->InterruptNumber = 0;
    info->ChannelCount = uint8_t(m_bus.channelCount());
    std::snprintf(info->SerialNumber, sizeof info->SerialNumber, "SIM-T%u-I%u", m_type, m_index);
    std::snprintf(info->HardwareType, sizeof info->HardwareType, "%s %uch (simulated, type %u)",
                  familyName(m_type), m_bus.channelCount(), m_type);
    return true;
}

bool SimDevice::setTraffic(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return setTrafficLocked(bitRate, id, framesPerSecond);
}

bool SimDevice::setTrafficLocked(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond)
{
    if (framesPerSecond > TrafficGenerator::kMaxRate || (framesPerSecond != 0 && bitRate == 0))
        return false;
    const bool overload = m_handles != 0 ? m_bus.overloaded() : overloadWantedLocked();
    if (overload)
        return m_traffic.start(bitRate, id, framesPerSecond);
    m_traffic.stop();
    m_bus.setBackground(bitRate, id, framesPerSecond);
    return true;
}

void SimDevice::setOverload(bool on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_overload = on;
}

bool SimDevice::overloadWantedLocked() const
{
    return m_overload || overloadFromEnvironment();
}
