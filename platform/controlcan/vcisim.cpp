// The extern "C" layer of the extra test API declared in vcisim.h.
#include "vcisim.h"

#include "deviceregistry.h"
#include "driverdispatch.h"

namespace {

SimChannel *channel(uint32_t type, uint32_t index, uint32_t canIndex)
{
    SimDevice *d = DeviceRegistry::instance().find(type, index);
    return d ? d->channel(canIndex) : nullptr;
}

// For settings that may be made before the device is first opened.
SimChannel *channelCreating(uint32_t type, uint32_t index, uint32_t canIndex)
{
    SimDevice *d = DeviceRegistry::instance().obtain(type, index);
    return d ? d->channel(canIndex) : nullptr;
}

} // namespace

uint32_t VCISIM_InjectFrames(uint32_t devType, uint32_t devIndex, uint32_t canIndex, const VCI_CAN_OBJ *frames,
                             uint32_t count)
{
    SimDevice *d = DeviceRegistry::instance().find(devType, devIndex);
    if (!d || !frames || count == 0)
        return 0;
    return d->bus().inject(canIndex, frames, count);
}

uint32_t VCISIM_InjectError(uint32_t devType, uint32_t devIndex, uint32_t canIndex, const VCI_ERR_INFO *error)
{
    SimChannel *c = channel(devType, devIndex, canIndex);
    return c && error && c->pushError(*error) ? 1 : 0;
}

uint32_t VCISIM_SetStatus(uint32_t devType, uint32_t devIndex, uint32_t canIndex, const VCI_CAN_STATUS *status)
{
    if (!status)
        return 0;
    SimChannel *c = channelCreating(devType, devIndex, canIndex);
    if (!c)
        return 0;
    c->setStatus(*status);
    return 1;
}

uint32_t VCISIM_SetTransmitLimit(uint32_t devType, uint32_t devIndex, uint32_t canIndex, int32_t limit)
{
    SimChannel *c = channelCreating(devType, devIndex, canIndex);
    if (!c)
        return 0;
    c->setTransmitLimit(limit);
    return 1;
}

uint32_t VCISIM_SetBackgroundTraffic(uint32_t devType, uint32_t devIndex, uint32_t bitRate, uint32_t id,
                                     uint32_t framesPerSecond)
{
    SimDevice *d = DeviceRegistry::instance().obtain(devType, devIndex);
    return d && d->setTraffic(bitRate, id, framesPerSecond) ? 1 : 0;
}

uint32_t VCISIM_GetStats(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCISIM_STATS *stats)
{
    if (!stats)
        return 0;
    if (devIndex > DeviceRegistry::kMaxIndex || canIndex >= vciChannelCount(devType))
        return 0;
    SimDevice *d = DeviceRegistry::instance().find(devType, devIndex);
    SimChannel *c = d ? d->channel(canIndex) : nullptr;
    *stats = c ? c->stats() : VCISIM_STATS{};
    if (c)
        d->bus().busCounters(&stats->carried, &stats->notCarried);
    return 1;
}

uint32_t VCISIM_SetOverload(uint32_t devType, uint32_t devIndex, uint32_t enable)
{
    SimDevice *d = DeviceRegistry::instance().obtain(devType, devIndex);
    if (!d)
        return 0;
    d->setOverload(enable != 0);
    return 1;
}

void VCISIM_ResetAll(void)
{
    DriverDispatch::instance().closeAll();
    DeviceRegistry::instance().resetAll();
}
