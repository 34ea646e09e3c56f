// An open PCI device of the Linux back-end: BARs mapped from the sysfs
// resourceN files, register bytes accessed as volatile memory, interrupts
// from the device's UIO node.
#pragma once

#include "plxopendevice.h"

#include <string>

class LinuxPciDevice : public PlxOpenDevice
{
public:
    // path: the device's sysfs folder; uioNode: its /dev/uioN.
    LinuxPciDevice(std::string path, std::string uioNode);

    uint32_t reset() override;
    uint32_t readEeprom(uint32_t offset, uint16_t *value) override;
    // uio_pci_generic masks the interrupt (INTx disable) when it fires;
    // clearing that bit of the command register enables it again.
    uint32_t enableInterrupt(const PlxInterrupt &interrupt) override;

protected:
    uint32_t mapWindow(uint8_t bar, Window &window) override;
    void unmapWindow(const Window &window) override;
    uint8_t readWindow(const Window &window, size_t offset) override;
    void writeWindow(const Window &window, size_t offset, uint8_t value) override;
    std::shared_ptr<PlxNotifier> makeNotifier(const PlxInterrupt &interrupt, uint32_t &status) override;

private:
    const std::string m_path;
    const std::string m_uioNode;
};
