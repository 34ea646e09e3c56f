// The extern "C" layer of the bridge library: picks the back-end for find
// and open, and reaches an open device through its handle.
#include "plxapi.h"

#include "linuxpcitree.h"
#include "plxdevicetable.h"
#include "simboards.h"

namespace {

std::shared_ptr<PlxOpenDevice> openDevice(const PlxDevice *device)
{
    return device ? PlxDeviceTable::instance().find(device->handle) : nullptr;
}

} // namespace

uint32_t PlxPci_DeviceFind(PlxDeviceKey *key, uint16_t matchIndex)
{
    if (!key)
        return PLX_STATUS_NULL_PARAM;
    if (SimBoards::instance().active())
        return SimBoards::instance().find(*key, matchIndex);
    return LinuxPciTree::find(*key, matchIndex);
}

uint32_t PlxPci_DeviceOpen(const PlxDeviceKey *key, PlxDevice *device)
{
    if (!key || !device)
        return PLX_STATUS_NULL_PARAM;
    std::shared_ptr<PlxOpenDevice> opened;
    const uint32_t status = key->source == 1 ? SimBoards::instance().open(*key, opened)
                                             : LinuxPciTree::open(*key, opened);
    if (status != PLX_STATUS_OK)
        return status;
    device->key = *key;
    device->handle = PlxDeviceTable::instance().add(std::move(opened));
    return PLX_STATUS_OK;
}

uint32_t PlxPci_DeviceReset(PlxDevice *device)
{
    const auto d = openDevice(device);
    return d ? d->reset() : PLX_STATUS_INVALID_OBJECT;
}

uint32_t PlxPci_DeviceClose(PlxDevice *device)
{
    if (!device)
        return PLX_STATUS_NULL_PARAM;
    const auto d = PlxDeviceTable::instance().remove(device->handle);
    if (!d)
        return PLX_STATUS_INVALID_OBJECT;
    d->close();
    device->handle = 0;
    return PLX_STATUS_OK;
}

uint32_t PlxPci_PciBarMap(PlxDevice *device, uint8_t bar, void **address)
{
    if (!address)
        return PLX_STATUS_NULL_PARAM;
    *address = nullptr;
    const auto d = openDevice(device);
    return d ? d->mapBar(bar, address) : PLX_STATUS_INVALID_OBJECT;
}

uint32_t PlxPci_PciBarUnmap(PlxDevice *device, void **address)
{
    if (!address)
        return PLX_STATUS_NULL_PARAM;
    const auto d = openDevice(device);
    return d ? d->unmapBar(address) : PLX_STATUS_INVALID_OBJECT;
}

uint32_t PlxPci_EepromReadByOffset_16(PlxDevice *device, uint32_t offset, uint16_t *value)
{
    if (!value)
        return PLX_STATUS_NULL_PARAM;
    *value = 0;
    const auto d = openDevice(device);
    return d ? d->readEeprom(offset, value) : PLX_STATUS_INVALID_OBJECT;
}

uint32_t PlxPci_NotificationRegisterFor(PlxDevice *device, const PlxInterrupt *interrupt,
                                        PlxNotification *notification)
{
    if (!interrupt || !notification)
        return PLX_STATUS_NULL_PARAM;
    const auto d = openDevice(device);
    return d ? d->registerNotification(*interrupt, notification) : PLX_STATUS_INVALID_OBJECT;
}

uint32_t PlxPci_InterruptEnable(PlxDevice *device, const PlxInterrupt *interrupt)
{
    if (!interrupt)
        return PLX_STATUS_NULL_PARAM;
    const auto d = openDevice(device);
    return d ? d->enableInterrupt(*interrupt) : PLX_STATUS_INVALID_OBJECT;
}

uint32_t PlxPci_InterruptDisable(PlxDevice *device, const PlxInterrupt *interrupt)
{
    if (!interrupt)
        return PLX_STATUS_NULL_PARAM;
    const auto d = openDevice(device);
    return d ? d->disableInterrupt(*interrupt) : PLX_STATUS_INVALID_OBJECT;
}

uint32_t PlxPci_NotificationWait(PlxDevice *device, PlxNotification *notification, uint64_t timeoutMs)
{
    if (!notification)
        return PLX_STATUS_NULL_PARAM;
    const auto d = openDevice(device);
    return d ? d->waitNotification(*notification, timeoutMs) : PLX_STATUS_INVALID_OBJECT;
}

uint32_t PlxPci_NotificationCancel(PlxDevice *device, PlxNotification *notification)
{
    if (!notification)
        return PLX_STATUS_NULL_PARAM;
    const auto d = openDevice(device);
    return d ? d->cancelNotification(*notification) : PLX_STATUS_INVALID_OBJECT;
}

uint32_t PlxPci_WindowRead8(PlxDevice *device, const void *address, uint8_t *value)
{
    if (!value)
        return PLX_STATUS_NULL_PARAM;
    *value = 0xFF;
    const auto d = openDevice(device);
    return d ? d->read8(address, value) : PLX_STATUS_INVALID_OBJECT;
}

uint32_t PlxPci_WindowWrite8(PlxDevice *device, void *address, uint8_t value)
{
    const auto d = openDevice(device);
    return d ? d->write8(address, value) : PLX_STATUS_INVALID_OBJECT;
}
