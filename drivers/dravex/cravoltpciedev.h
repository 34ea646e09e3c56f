// The device object of Dravex, the driver of the PCI Express boards:
// types 24 (0x2210, two channels) and 25 (0x2110, one channel), both
// channels' registers in BAR 2.
#pragma once

#include "cravoltboarddev.h"

class CRavoltPCIEDev : public CRavoltBoardDev
{
public:
    CRavoltPCIEDev();
};
