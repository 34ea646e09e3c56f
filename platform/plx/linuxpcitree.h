// The Linux back-end's view of the PCI bus: the entries of
// $PLX_SYSFS_ROOT (default /sys/bus/pci/devices), named by PCI address
// ("0000:03:00.0") and taken in the order of their names.
#pragma once

#include "plxapi.h"
#include "plxopendevice.h"

#include <memory>
#include <string>

namespace LinuxPciTree {

std::string sysfsRoot();
std::string devRoot(); // $PLX_DEV_ROOT, default /dev: where uioN nodes live

uint32_t find(PlxDeviceKey &key, uint16_t matchIndex);
// Opens the device the key names; PLX_STATUS_NO_DRIVER unless it is bound
// to a UIO driver.
uint32_t open(const PlxDeviceKey &key, std::shared_ptr<PlxOpenDevice> &device);

} // namespace LinuxPciTree
