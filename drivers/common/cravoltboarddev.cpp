#include "cravoltboarddev.h"

#include "plxstatusname.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

using namespace Sja1000;

// Holds the device for one operation; refused while the device closes.
class CRavoltBoardDev::Call
{
public:
    explicit Call(CRavoltBoardDev &device) : m_device(device)
    {
        m_device.m_calls.fetch_add(1);
        m_admitted = !m_device.m_closing.load();
    }
    ~Call() { m_device.m_calls.fetch_sub(1); }
    Call(const Call &) = delete;
    Call &operator=(const Call &) = delete;
    explicit operator bool() const { return reachesStores() && !m_device.m_receiver.failed(); }
    // The stores stay readable after the receive thread failed: what was
    // received, and the record of the failure, are still handed out.
    bool reachesStores() const { return m_admitted && m_device.m_open.load(); }

private:
    CRavoltBoardDev &m_device;
    bool m_admitted = false;
};

CRavoltBoardDev::CRavoltBoardDev(const BoardFamily &family)
    : m_family(family)
    , m_board(family.windows)
    , m_control(m_board, family, m_handshake, m_closing)
    , m_receiver(m_board, m_control, m_handshake, m_stores)
{
}

CRavoltBoardDev::~CRavoltBoardDev()
{
    closeDevice();
}

bool CRavoltBoardDev::usable(uint32_t channel) const
{
    return channel < m_channels.load() && m_board.hasWindow(channel);
}

uint32_t CRavoltBoardDev::openDevice(uint32_t devType, uint32_t devIndex, uint32_t)
{
    std::lock_guard<std::mutex> lock(m_openMutex);
    const BoardType *type = m_family.find(devType);
    if (m_open || !type)
        return 0;
    for (CChannelStore &store : m_stores)
        store.clear();
    if (m_board.open(devIndex, type->deviceId, type->channels) != PLX_STATUS_OK) {
        std::fprintf(stderr, "%s: device type %u, index %u: no usable board 0x%04x: %s\n", m_family.hardwareType,
                     unsigned(devType), unsigned(devIndex), unsigned(type->deviceId),
                     DrvPort::toUtf8(m_board.lastError()).c_str());
        return 0;
    }
    const uint32_t registered = m_board.registerNotification(m_receiver.interrupt());
    if (registered != PLX_STATUS_OK) {
        std::fprintf(stderr, "%s: device type %u, index %u: no interrupt notification: %s\n", m_family.hardwareType,
                     unsigned(devType), unsigned(devIndex), DrvPort::toUtf8(plxStatusName(registered)).c_str());
        m_board.close();
        return 0;
    }
    m_control.forgetChannels();
    m_channels = type->channels;
    m_open = true;
    // Ready when open returns: the receive thread already listens, so a
    // frame right after the start cannot overrun a FIFO nobody serves.
    if (!m_receiver.start(type->channels)) {
        closeLocked();
        return 0;
    }
    return 1;
}

uint32_t CRavoltBoardDev::closeDevice()
{
    std::lock_guard<std::mutex> lock(m_openMutex);
    closeLocked();
    return 1;
}

void CRavoltBoardDev::closeLocked()
{
    if (!m_open)
        return;
    m_closing = true;
    while (m_calls.load() > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    m_receiver.stop();
    m_board.close();
    for (CChannelStore &store : m_stores)
        store.clear();
    m_channels = 0;
    m_open = false;
    m_closing = false;
}

uint32_t CRavoltBoardDev::initCAN(uint32_t channel, const VCI_INIT_CONFIG *config)
{
    const Call call(*this);
    if (!call || !usable(channel) || !config || config->FilterMode > 1 || config->WorkMode > 2)
        return 0;
    return m_control.init(channel, *config) ? 1 : 0;
}

uint32_t CRavoltBoardDev::readBoardInfo(VCI_BOARD_INFO *info)
{
    const Call call(*this);
    if (!call || !info)
        return 0;
    *info = VCI_BOARD_INFO{};
    info->HardwareVersion = m_board.readEeprom(112);
    info->DriverVersion = m_board.readEeprom(114);
    info->FirmwareVersion = m_board.readEeprom(116);
    info->InterfaceVersion = m_board.readEeprom(118);
    info->ChannelCount = uint8_t(m_channels.load());
    std::snprintf(info->HardwareType, sizeof info->HardwareType, "%s", m_family.hardwareType);
    std::snprintf(info->SerialNumber, sizeof info->SerialNumber, "%04x%04x%04x", unsigned(m_board.readEeprom(144)),
                  unsigned(m_board.readEeprom(146)), unsigned(m_board.readEeprom(148)));
    return 1;
}

uint32_t CRavoltBoardDev::readErrInfo(uint32_t channel, VCI_ERR_INFO *error)
{
    if (!error)
        return 0;
    *error = VCI_ERR_INFO{};
    const Call call(*this);
    if (!call.reachesStores() || !usable(channel))
        return 0;
    return m_stores[channel].takeError(error) ? 1 : 0;
}

uint32_t CRavoltBoardDev::readCANStatus(uint32_t channel, VCI_CAN_STATUS *status)
{
    const Call call(*this);
    if (!call || !usable(channel) || !status)
        return 0;
    // Like a receive round: the error flags this read clears are filed,
    // not lost to the receive thread.
    const CTxRxHandshake::Receive round(m_handshake);
    *status = m_control.readStatus(channel);
    m_receiver.fileErrors(channel, status->InterruptReg);
    return 1;
}

uint32_t CRavoltBoardDev::getReference(uint32_t channel, uint32_t, void *data)
{
    const Call call(*this);
    auto *bytes = static_cast<uint8_t *>(data);
    if (!call || !usable(channel) || !bytes || bytes[0] >= REGISTERS)
        return 0;
    bytes[1] = m_control.readRegister(channel, bytes[0]);
    return 1;
}

uint32_t CRavoltBoardDev::setReference(uint32_t channel, uint32_t, void *data)
{
    const Call call(*this);
    const auto *bytes = static_cast<const uint8_t *>(data);
    if (!call || !usable(channel) || !bytes || bytes[0] >= REGISTERS)
        return 0;
    if (m_family.kind == BoardFamily::Kind::PciExpress)
        m_control.writeRegister(channel, bytes[0], bytes[1]);
    return 1;
}

uint32_t CRavoltBoardDev::getReceiveNum(uint32_t channel)
{
    const Call call(*this);
    return call.reachesStores() && usable(channel) ? m_stores[channel].frameCount() : 0;
}

uint32_t CRavoltBoardDev::clearBuffer(uint32_t channel)
{
    const Call call(*this);
    if (!call || !usable(channel))
        return 0;
    m_stores[channel].clear();
    m_control.releaseReceiveBuffer(channel);
    return 1;
}

uint32_t CRavoltBoardDev::startCAN(uint32_t channel)
{
    const Call call(*this);
    return call && usable(channel) && m_control.start(channel) ? 1 : 0;
}

uint32_t CRavoltBoardDev::resetCAN(uint32_t channel)
{
    const Call call(*this);
    if (!call || !usable(channel))
        return 0;
    m_control.reset(channel);
    return 1;
}

uint32_t CRavoltBoardDev::transmit(uint32_t channel, const VCI_CAN_OBJ *frames, uint32_t count)
{
    const Call call(*this);
    if (!call || !usable(channel) || !frames)
        return 0;
    uint32_t sent = 0;
    while (sent < count && m_control.transmit(channel, frames[sent]))
        ++sent;
    return sent;
}

uint32_t CRavoltBoardDev::receive(uint32_t channel, VCI_CAN_OBJ *frames, uint32_t capacity)
{
    const Call call(*this);
    if (!call.reachesStores() || !usable(channel) || !frames)
        return 0;
    return m_stores[channel].takeFrames(frames, capacity);
}
