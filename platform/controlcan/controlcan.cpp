// The thin extern "C" layer of the 14 VCI_ functions over the simulated
// devices, or over a board driver for a device it serves. Every function
// finds its device without a lock; the work is done under the device's or
// the channel's own mutex.
#include "controlcan.h"

#include "deviceregistry.h"
#include "driverdispatch.h"

#include <type_traits>

static_assert(std::is_same<decltype(&VCI_OpenDevice), VCI_OpenDeviceFn>::value, "VCI_OpenDevice");
static_assert(std::is_same<decltype(&VCI_CloseDevice), VCI_CloseDeviceFn>::value, "VCI_CloseDevice");
static_assert(std::is_same<decltype(&VCI_InitCAN), VCI_InitCANFn>::value, "VCI_InitCAN");
static_assert(std::is_same<decltype(&VCI_ReadBoardInfo), VCI_ReadBoardInfoFn>::value, "VCI_ReadBoardInfo");
static_assert(std::is_same<decltype(&VCI_ReadErrInfo), VCI_ReadErrInfoFn>::value, "VCI_ReadErrInfo");
static_assert(std::is_same<decltype(&VCI_ReadCANStatus), VCI_ReadCANStatusFn>::value, "VCI_ReadCANStatus");
static_assert(std::is_same<decltype(&VCI_GetReference), VCI_GetReferenceFn>::value, "VCI_GetReference");
static_assert(std::is_same<decltype(&VCI_SetReference), VCI_SetReferenceFn>::value, "VCI_SetReference");
static_assert(std::is_same<decltype(&VCI_GetReceiveNum), VCI_GetReceiveNumFn>::value, "VCI_GetReceiveNum");
static_assert(std::is_same<decltype(&VCI_ClearBuffer), VCI_ClearBufferFn>::value, "VCI_ClearBuffer");
static_assert(std::is_same<decltype(&VCI_StartCAN), VCI_StartCANFn>::value, "VCI_StartCAN");
static_assert(std::is_same<decltype(&VCI_ResetCAN), VCI_ResetCANFn>::value, "VCI_ResetCAN");
static_assert(std::is_same<decltype(&VCI_Transmit), VCI_TransmitFn>::value, "VCI_Transmit");
static_assert(std::is_same<decltype(&VCI_Receive), VCI_ReceiveFn>::value, "VCI_Receive");

namespace {

const DriverDispatch::Functions *driver(uint32_t type, uint32_t index)
{
    return DriverDispatch::instance().route(type, index);
}

SimDevice *device(uint32_t type, uint32_t index)
{
    return DeviceRegistry::instance().find(type, index);
}

// The channel object, open or not (each channel checks that itself under
// its own lock); nullptr for an unknown device or a bad channel index.
SimChannel *channel(uint32_t type, uint32_t index, uint32_t canIndex)
{
    SimDevice *d = device(type, index);
    return d ? d->channel(canIndex) : nullptr;
}

} // namespace

uint32_t VCI_OpenDevice(uint32_t devType, uint32_t devIndex, uint32_t reserved)
{
    switch (DriverDispatch::instance().open(devType, devIndex, reserved)) {
    case DriverDispatch::Open::Opened:
        return 1;
    case DriverDispatch::Open::Refused:
        return 0;
    case DriverDispatch::Open::Simulated:
        break;
    }
    SimDevice *d = DeviceRegistry::instance().obtain(devType, devIndex);
    if (!d)
        return 0;
    d->open();
    return 1;
}

uint32_t VCI_CloseDevice(uint32_t devType, uint32_t devIndex)
{
    if (DriverDispatch::instance().close(devType, devIndex))
        return 1;
    SimDevice *d = device(devType, devIndex);
    return d && d->close() ? 1 : 0;
}

uint32_t VCI_InitCAN(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCI_INIT_CONFIG *config)
{
    if (const auto *d = driver(devType, devIndex))
        return d->initCAN(devType, devIndex, canIndex, config);
    SimChannel *c = channel(devType, devIndex, canIndex);
    return c && config && c->init(*config) ? 1 : 0;
}

uint32_t VCI_ReadBoardInfo(uint32_t devType, uint32_t devIndex, VCI_BOARD_INFO *info)
{
    if (const auto *d = driver(devType, devIndex))
        return d->readBoardInfo(devType, devIndex, info);
    SimDevice *d = device(devType, devIndex);
    return d && info && d->boardInfo(info) ? 1 : 0;
}

uint32_t VCI_ReadErrInfo(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCI_ERR_INFO *err)
{
    if (const auto *d = driver(devType, devIndex))
        return d->readErrInfo(devType, devIndex, canIndex, err);
    if (!err)
        return 0;
    SimChannel *c = channel(devType, devIndex, canIndex);
    if (!c) {
        *err = VCI_ERR_INFO{};
        return 0;
    }
    return c->popError(err) ? 1 : 0;
}

uint32_t VCI_ReadCANStatus(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCI_CAN_STATUS *status)
{
    if (const auto *d = driver(devType, devIndex))
        return d->readCANStatus(devType, devIndex, canIndex, status);
    SimChannel *c = channel(devType, devIndex, canIndex);
    return c && status && c->status(status) ? 1 : 0;
}

uint32_t VCI_GetReference(uint32_t devType, uint32_t devIndex, uint32_t canIndex, uint32_t refType, void *data)
{
    if (const auto *d = driver(devType, devIndex))
        return d->getReference(devType, devIndex, canIndex, refType, data);
    SimChannel *c = channel(devType, devIndex, canIndex);
    return c && data && c->reference(refType, data) ? 1 : 0;
}

uint32_t VCI_SetReference(uint32_t devType, uint32_t devIndex, uint32_t canIndex, uint32_t refType, void *data)
{
    if (const auto *d = driver(devType, devIndex))
        return d->setReference(devType, devIndex, canIndex, refType, data);
    SimChannel *c = channel(devType, devIndex, canIndex);
    return c && data && c->setReference(refType, data) ? 1 : 0;
}

uint32_t VCI_GetReceiveNum(uint32_t devType, uint32_t devIndex, uint32_t canIndex)
{
    if (const auto *d = driver(devType, devIndex))
        return d->getReceiveNum(devType, devIndex, canIndex);
    SimChannel *c = channel(devType, devIndex, canIndex);
    return c ? c->pending() : 0;
}

uint32_t VCI_ClearBuffer(uint32_t devType, uint32_t devIndex, uint32_t canIndex)
{
    if (const auto *d = driver(devType, devIndex))
        return d->clearBuffer(devType, devIndex, canIndex);
    SimChannel *c = channel(devType, devIndex, canIndex);
    return c && c->clearBuffer() ? 1 : 0;
}

uint32_t VCI_StartCAN(uint32_t devType, uint32_t devIndex, uint32_t canIndex)
{
    if (const auto *d = driver(devType, devIndex))
        return d->startCAN(devType, devIndex, canIndex);
    SimChannel *c = channel(devType, devIndex, canIndex);
    return c && c->start() ? 1 : 0;
}

uint32_t VCI_ResetCAN(uint32_t devType, uint32_t devIndex, uint32_t canIndex)
{
    if (const auto *d = driver(devType, devIndex))
        return d->resetCAN(devType, devIndex, canIndex);
    SimChannel *c = channel(devType, devIndex, canIndex);
    return c && c->reset() ? 1 : 0;
}

uint32_t VCI_Transmit(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCI_CAN_OBJ *frames, uint32_t count)
{
    if (const auto *d = driver(devType, devIndex))
        return d->transmit(devType, devIndex, canIndex, frames, count);
    SimDevice *d = device(devType, devIndex);
    if (!d || !frames || count == 0)
        return 0;
    return d->bus().transmit(canIndex, frames, count);
}

uint32_t VCI_Receive(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCI_CAN_OBJ *frames,
                     uint32_t capacity, uint32_t waitMs)
{
    if (const auto *d = driver(devType, devIndex))
        return d->receive(devType, devIndex, canIndex, frames, capacity, waitMs);
    SimChannel *c = channel(devType, devIndex, canIndex);
    if (!c || !frames || capacity == 0)
        return 0;
    return c->receive(frames, capacity, waitMs);
}
