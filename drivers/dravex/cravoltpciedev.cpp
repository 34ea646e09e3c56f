#include "cravoltpciedev.h"

namespace {

const BoardType kTypes[] = {
    {VCI_DRAVEX_PCIE2, 0x2210, 2},
    {VCI_DRAVEX_PCIE1, 0x2110, 1},
};

const BoardFamily kFamily = {BoardFamily::Kind::PciExpress, "DRAVEX", CWrapPlxPCI::Windows::SharedBar2, kTypes,
                             sizeof kTypes / sizeof kTypes[0]};

// Created when the library is loaded, closed when it is unloaded.
CRavoltPCIEDev g_device;

} // namespace

CRavoltPCIEDev::CRavoltPCIEDev() : CRavoltBoardDev(kFamily)
{
}

CRavoltBoardDev &driverDevice()
{
    return g_device;
}
