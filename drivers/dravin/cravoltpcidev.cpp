#include "cravoltpcidev.h"

namespace {

const BoardType kTypes[] = {
    {VCI_DRAVIN_PCI2, 0x5201, 2},
    {VCI_DRAVIN_PCI1, 0x1101, 1},
    {VCI_DRAVIN_PCI4, 0x1400, 4},
};

const BoardFamily kFamily = {BoardFamily::Kind::Pci, "DRAVIN", CWrapPlxPCI::Windows::OneBarPerChannel, kTypes,
                             sizeof kTypes / sizeof kTypes[0]};

// Created when the library is loaded, closed when it is unloaded.
CRavoltPCIDev g_device;

} // namespace

CRavoltPCIDev::CRavoltPCIDev() : CRavoltBoardDev(kFamily)
{
}

CRavoltBoardDev &driverDevice()
{
    return g_device;
}
