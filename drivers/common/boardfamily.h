// What tells the two board drivers apart: their boards, how the register
// windows are mapped, and the few register steps that differ.
#pragma once

#include "cwrapplxpci.h"

#include <cstddef>
#include <cstdint>

struct BoardType {
    uint32_t devType;  // VCI_ device type
    uint16_t deviceId; // PCI device id (vendor 0x10B5)
    uint32_t channels;
};

struct BoardFamily {
    // PciExpress (Dravex): one window, a self-test flag per channel, set
    // register allowed. Pci (Dravin): a window per channel, CDR written on
    // start and recovery, abort before each load, the last send type kept
    // per channel, a message when the bit timing does not stick.
    enum class Kind { PciExpress, Pci };

    Kind kind;
    const char *hardwareType; // VCI_BOARD_INFO.HardwareType
    CWrapPlxPCI::Windows windows;
    const BoardType *types;
    size_t typeCount;

    const BoardType *find(uint32_t devType) const
    {
        for (size_t i = 0; i < typeCount; ++i) {
            if (types[i].devType == devType)
                return &types[i];
        }
        return nullptr;
    }
};
