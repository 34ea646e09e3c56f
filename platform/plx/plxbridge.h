// The interrupt control/status register (INTCSR) of the PLX bridge behind
// each supported board, reached in the bridge's own register BAR 0:
// - PCI boards 0x5201, 0x1101, 0x1400: a PCI9030/PCI9052 local bus bridge,
//   INTCSR at 0x4C: bit 0 LINTi1 enable, bit 2 LINTi1 active (read only),
//   bit 3 LINTi2 enable, bit 6 PCI interrupt enable;
// - PCI Express boards 0x2210, 0x2110: a PEX8311 (9056 register set),
//   INTCSR at 0x68: bit 8 PCI interrupt enable, bit 11 local interrupt
//   input enable, bit 15 local interrupt input active (read only).
// A controller's interrupt reaches the host only while both the local
// input and the PCI interrupt are enabled there.
#pragma once

#include <cstddef>
#include <cstdint>

struct PlxBridge {
    const char *name;
    uint32_t intcsr;       // byte offset of INTCSR in BAR 0
    size_t registerSpan;   // size of BAR 0
    uint32_t pciEnable;
    uint32_t local1Enable;
    uint32_t local2Enable; // 0: the bridge has no second local input
    uint32_t local1Active;

    // The INTCSR enable bits of PlxInterrupt sources; enabling any source
    // also enables the PCI interrupt, without which none reaches the host.
    uint32_t enableBits(uint32_t sources) const;
    // The bits a disable of those sources clears.
    uint32_t disableBits(uint32_t sources) const;
    // Bits a write to INTCSR can change (the enables modelled here).
    uint32_t writable() const { return pciEnable | local1Enable | local2Enable; }

    // The bridge of a board by PCI device id; nullptr for other devices.
    static const PlxBridge *forDevice(uint16_t deviceId);
};
