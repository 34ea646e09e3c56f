#include "devcan.h"

#include "ulsystem.h"

#include <QLibrary>
#include <QtDebug>

DevCan &DevCan::instance()
{
    static DevCan device;
    return device;
}

DevCan::DevCan()
    : DevCan(UlSystem::programFolder() + QLatin1Char('/') + UlSystem::interfaceLibraryName())
{
}

DevCan::DevCan(const QString &libraryPath)
{
    resetChannels();
    load(libraryPath);
}

DevCan::~DevCan() = default;

DevCan::DevCan(const DevCan &other)
{
    *this = other;
}

DevCan &DevCan::operator=(const DevCan &other)
{
    if (this == &other)
        return *this;
    devType = other.devType.load();
    devIndex = other.devIndex.load();
    product = other.product.load();
    deviceState = other.deviceState.load();
    for (uint32_t ch = 0; ch < VCI_MAX_CHANNELS; ++ch) {
        channelState[ch] = other.channelState[ch].load();
        baudrate[ch] = other.baudrate[ch].load();
    }
    channels = other.channels.load();
    library = other.library;
    pOpenDevice = other.pOpenDevice;
    pCloseDevice = other.pCloseDevice;
    pInitCAN = other.pInitCAN;
    pReadBoardInfo = other.pReadBoardInfo;
    pReadErrInfo = other.pReadErrInfo;
    pReadCANStatus = other.pReadCANStatus;
    pGetReference = other.pGetReference;
    pSetReference = other.pSetReference;
    pGetReceiveNum = other.pGetReceiveNum;
    pClearBuffer = other.pClearBuffer;
    pStartCAN = other.pStartCAN;
    pResetCAN = other.pResetCAN;
    pTransmit = other.pTransmit;
    pReceive = other.pReceive;
    return *this;
}

void DevCan::resetChannels()
{
    for (uint32_t ch = 0; ch < VCI_MAX_CHANNELS; ++ch) {
        channelState[ch] = NotInitialised;
        baudrate[ch] = 1;
    }
}

void DevCan::load(const QString &path)
{
    auto lib = std::make_shared<QLibrary>(path);
    if (!lib->load()) {
        static bool reported = false;
        if (!reported) {
            reported = true;
            qWarning("DevCan: cannot load the interface library: %s", qPrintable(lib->errorString()));
        }
        return;
    }
    library = lib;
    const auto bind = [&lib](auto &fn, const char *name) {
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(lib->resolve(name));
    };
    bind(pOpenDevice, "VCI_OpenDevice");
    bind(pCloseDevice, "VCI_CloseDevice");
    bind(pInitCAN, "VCI_InitCAN");
    bind(pReadBoardInfo, "VCI_ReadBoardInfo");
    bind(pReadErrInfo, "VCI_ReadErrInfo");
    bind(pReadCANStatus, "VCI_ReadCANStatus");
    bind(pGetReference, "VCI_GetReference");
    bind(pSetReference, "VCI_SetReference");
    bind(pGetReceiveNum, "VCI_GetReceiveNum");
    bind(pClearBuffer, "VCI_ClearBuffer");
    bind(pStartCAN, "VCI_StartCAN");
    bind(pResetCAN, "VCI_ResetCAN");
    bind(pTransmit, "VCI_Transmit");
    bind(pReceive, "VCI_Receive");
}

bool DevCan::isLibraryLoaded() const
{
    return library && pOpenDevice && pCloseDevice && pInitCAN && pReadBoardInfo && pReadErrInfo
        && pReadCANStatus && pGetReference && pSetReference && pGetReceiveNum && pClearBuffer
        && pStartCAN && pResetCAN && pTransmit && pReceive;
}

int DevCan::bitRate(uint8_t btr0, uint8_t btr1)
{
    // 16 MHz controller clock: prescaler in BTR0 bits 0-5, time segments
    // in BTR1 bits 0-3 and 4-6.
    const unsigned brp = btr0 & 0x3Fu;
    const unsigned tseg1 = btr1 & 0x0Fu;
    const unsigned tseg2 = (btr1 >> 4) & 0x07u;
    return int(16000000u / (2u * (brp + 1) * (tseg1 + tseg2 + 3)));
}

uint32_t DevCan::openDevice(uint32_t type, uint32_t index, uint32_t reserved)
{
    if (!pOpenDevice || pOpenDevice(type, index, reserved) != 1)
        return 0;
    devType = type;
    devIndex = index;
    channels = vciChannelCount(type);
    resetChannels();
    deviceState = Open;
    return 1;
}

uint32_t DevCan::closeDevice()
{
    // Only this handle's own open is undone: the probe holds a second
    // handle on the device the program has open.
    if (pCloseDevice && deviceState != Closed)
        pCloseDevice(devType, devIndex);
    deviceState = Closed;
    resetChannels();
    return 1;
}

uint32_t DevCan::initCAN(uint32_t channel, VCI_INIT_CONFIG *config)
{
    if (!isValid(channel) || !pInitCAN || !config)
        return 0;
    const uint32_t result = pInitCAN(devType, devIndex, channel, config);
    if (result == 1) {
        channelState[channel] = Initialised;
        baudrate[channel] = bitRate(config->BTR0, config->BTR1);
    }
    return result;
}

uint32_t DevCan::readBoardInfo(VCI_BOARD_INFO *info)
{
    return pReadBoardInfo ? pReadBoardInfo(devType, devIndex, info) : 0;
}

uint32_t DevCan::readErrInfo(uint32_t channel, VCI_ERR_INFO *err)
{
    return pReadErrInfo ? pReadErrInfo(devType, devIndex, channel, err) : 0;
}

uint32_t DevCan::readCANStatus(uint32_t channel, VCI_CAN_STATUS *status)
{
    if (!isValid(channel) || !pReadCANStatus)
        return 0;
    return pReadCANStatus(devType, devIndex, channel, status);
}

uint32_t DevCan::getReference(uint32_t channel, uint32_t refType, void *data)
{
    if (!isValid(channel) || !pGetReference)
        return 0;
    return pGetReference(devType, devIndex, channel, refType, data);
}

uint32_t DevCan::setReference(uint32_t channel, uint32_t refType, void *data)
{
    if (!isValid(channel) || !pSetReference)
        return 0;
    return pSetReference(devType, devIndex, channel, refType, data);
}

uint32_t DevCan::getReceiveNum(uint32_t channel)
{
    return pGetReceiveNum ? pGetReceiveNum(devType, devIndex, channel) : 0;
}

uint32_t DevCan::clearBuffer(uint32_t channel)
{
    return pClearBuffer ? pClearBuffer(devType, devIndex, channel) : 0;
}

uint32_t DevCan::StartCAN(uint32_t channel)
{
    if (!isValid(channel) || !pStartCAN)
        return 0;
    const uint32_t result = pStartCAN(devType, devIndex, channel);
    channelState[channel] = result == 1 ? Started : Reset;
    return result;
}

uint32_t DevCan::ResetCAN(uint32_t channel)
{
    if (!isValid(channel) || !pResetCAN)
        return 0;
    const uint32_t result = pResetCAN(devType, devIndex, channel);
    channelState[channel] = result == 1 ? Reset : Started;
    return result;
}

uint32_t DevCan::Transmit(uint32_t channel, VCI_CAN_OBJ *frames, uint32_t count)
{
    return pTransmit ? pTransmit(devType, devIndex, channel, frames, count) : 0;
}

uint32_t DevCan::Receive(uint32_t channel, VCI_CAN_OBJ *frames, uint32_t capacity, uint32_t waitMs)
{
    if (!pReceive)
        return 0;
    const uint32_t n = pReceive(devType, devIndex, channel, frames, capacity, waitMs);
    // A result above the capacity (e.g. an all-ones error value) is no frames.
    return n <= capacity ? n : 0;
}

int DevCan::maxBaudrate(uint32_t channel) const
{
    return channel < VCI_MAX_CHANNELS ? baudrate[channel].load() : 1;
}
