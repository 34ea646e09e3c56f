#include "plxbridge.h"

#include "plxapi.h"

namespace {

const PlxBridge kPci9052{"PCI9030/PCI9052", 0x4C, 128, 1u << 6, 1u << 0, 1u << 3, 1u << 2};
const PlxBridge kPex8311{"PEX8311", 0x68, 256, 1u << 8, 1u << 11, 0, 1u << 15};

} // namespace

uint32_t PlxBridge::enableBits(uint32_t sources) const
{
    uint32_t bits = pciEnable;
    if (sources & (PLX_INT_LOCAL_1 | PLX_INT_LOCAL_1_EDGE))
        bits |= local1Enable;
    if (sources & PLX_INT_LOCAL_2)
        bits |= local2Enable;
    return bits;
}

uint32_t PlxBridge::disableBits(uint32_t sources) const
{
    uint32_t bits = 0;
    if (sources & PLX_INT_PCI_MAIN)
        bits |= pciEnable;
    if (sources & (PLX_INT_LOCAL_1 | PLX_INT_LOCAL_1_EDGE))
        bits |= local1Enable;
    if (sources & PLX_INT_LOCAL_2)
        bits |= local2Enable;
    return bits;
}

const PlxBridge *PlxBridge::forDevice(uint16_t deviceId)
{
    switch (deviceId) {
    case 0x5201:
    case 0x1101:
    case 0x1400:
        return &kPci9052;
    case 0x2210:
    case 0x2110:
        return &kPex8311;
    default:
        return nullptr;
    }
}
