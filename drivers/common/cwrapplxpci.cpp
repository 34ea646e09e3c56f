#include "cwrapplxpci.h"

#include "plxstatusname.h"

#include <cstring>

namespace {

constexpr uint16_t kMatchIndices = 32;
constexpr uint16_t kFourChannelBoard = 0x1400;
constexpr uint32_t kChannelStride = 256;

} // namespace

CWrapPlxPCI::CWrapPlxPCI(Windows windows) : m_layout(windows)
{
}

CWrapPlxPCI::~CWrapPlxPCI()
{
    close();
}

void CWrapPlxPCI::fail(uint32_t status)
{
    m_lastError = plxStatusName(status);
}

uint32_t CWrapPlxPCI::open(uint32_t deviceIndex, uint16_t deviceId, uint32_t channels)
{
    close();
    uint32_t matches = 0;
    for (uint16_t i = 0; i < kMatchIndices; ++i) {
        PlxDeviceKey key;
        std::memset(&key, 0xFF, sizeof key);
        if (PlxPci_DeviceFind(&key, i) != PLX_STATUS_OK || key.vendorId != kPlxVendor || key.deviceId != deviceId)
            continue;
        if (matches++ != deviceIndex)
            continue;

        m_key = key;
        m_device = PlxDevice{};
        const uint32_t opened = PlxPci_DeviceOpen(&m_key, &m_device);
        if (opened != PLX_STATUS_OK) {
            fail(opened);
            return PLX_STATUS_FAILED;
        }
        m_deviceOpen = true;
        PlxPci_DeviceReset(&m_device);
        if (m_layout == Windows::SharedBar2) {
            void *bar = nullptr;
            const uint32_t mapped = PlxPci_PciBarMap(&m_device, 2, &bar);
            if (mapped != PLX_STATUS_OK) {
                fail(mapped);
                close(); // a board without its registers is of no use
                return PLX_STATUS_FAILED;
            }
            m_windows[0] = static_cast<uint8_t *>(bar);
        } else {
            for (uint32_t k = 0; k < kMaxChannels && k < channels; ++k) {
                const auto bar = uint8_t(deviceId == kFourChannelBoard ? 5 - k : k + 2);
                void *address = nullptr;
                const uint32_t mapped = PlxPci_PciBarMap(&m_device, bar, &address);
                if (mapped != PLX_STATUS_OK) {
                    fail(mapped);
                    close();
                    return PLX_STATUS_FAILED;
                }
                m_windows[k] = static_cast<uint8_t *>(address);
            }
        }
        return PLX_STATUS_OK;
    }
    m_lastError = L"设备不存在";
    return PLX_STATUS_FAILED;
}

void CWrapPlxPCI::close()
{
    if (!m_deviceOpen)
        return;
    if (m_notification.id)
        PlxPci_NotificationCancel(&m_device, &m_notification);
    for (uint8_t *&w : m_windows) {
        if (w) {
            void *address = w;
            PlxPci_PciBarUnmap(&m_device, &address);
            w = nullptr;
        }
    }
    PlxPci_DeviceClose(&m_device);
    m_notification = PlxNotification{};
    m_deviceOpen = false;
}

uint8_t *CWrapPlxPCI::window(uint32_t channel) const
{
    if (m_layout == Windows::SharedBar2)
        return channel < 2 && m_windows[0] ? m_windows[0] + kChannelStride * channel : nullptr;
    return channel < kMaxChannels ? m_windows[channel] : nullptr;
}

uint8_t CWrapPlxPCI::readRegister(uint32_t channel, uint8_t reg)
{
    std::lock_guard<DrvPort::CriticalSection> lock(m_registerLock);
    uint8_t *w = window(channel);
    uint8_t value = 0xFF;
    if (w)
        PlxPci_WindowRead8(&m_device, w + reg, &value);
    m_spinSink = DrvPort::spin(kReadDelay);
    return value;
}

uint8_t CWrapPlxPCI::pollRegister(uint32_t channel, uint8_t reg)
{
    uint8_t value = 0xFF;
    {
        std::lock_guard<DrvPort::CriticalSection> lock(m_registerLock);
        if (uint8_t *w = window(channel))
            PlxPci_WindowRead8(&m_device, w + reg, &value);
    }
    m_pollSink.store(DrvPort::spin(kReadDelay), std::memory_order_relaxed);
    return value;
}

void CWrapPlxPCI::writeRegister(uint32_t channel, uint8_t reg, uint8_t value)
{
    std::lock_guard<DrvPort::CriticalSection> lock(m_registerLock);
    if (uint8_t *w = window(channel))
        PlxPci_WindowWrite8(&m_device, w + reg, value);
    m_spinSink = DrvPort::spin(kWriteDelay);
}

uint16_t CWrapPlxPCI::readEeprom(uint32_t offset)
{
    uint16_t value = 0;
    PlxPci_EepromReadByOffset_16(&m_device, offset, &value);
    return value;
}

uint32_t CWrapPlxPCI::registerNotification(const PlxInterrupt &interrupt)
{
    return PlxPci_NotificationRegisterFor(&m_device, &interrupt, &m_notification);
}

uint32_t CWrapPlxPCI::enableInterrupt(const PlxInterrupt &interrupt)
{
    return PlxPci_InterruptEnable(&m_device, &interrupt);
}

uint32_t CWrapPlxPCI::waitNotification(uint64_t timeoutMs)
{
    return PlxPci_NotificationWait(&m_device, &m_notification, timeoutMs);
}

void CWrapPlxPCI::cancelNotification()
{
    PlxPci_NotificationCancel(&m_device, &m_notification);
}
