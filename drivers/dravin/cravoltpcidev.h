// The device object of Dravin, the driver of the PCI boards: types 5
// (0x5201, two channels), 2 (0x1101, one channel) and 14 (0x1400, four
// channels), each channel's registers in a BAR of its own.
#pragma once

#include "cravoltboarddev.h"

class CRavoltPCIDev : public CRavoltBoardDev
{
public:
    CRavoltPCIDev();
};
