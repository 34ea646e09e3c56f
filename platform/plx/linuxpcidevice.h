// An open PCI device of the Linux back-end: BARs mapped from the sysfs
// resourceN files, register bytes accessed as volatile memory, interrupts
// from the device's UIO node. Every failure of a file is reported on
// stderr (linuxaccess.h).
#pragma once

#include "plxbridge.h"
#include "plxopendevice.h"

#include <mutex>
#include <string>

class LinuxPciDevice : public PlxOpenDevice
{
public:
    // path: the device's sysfs folder; uioNode: its /dev/uioN.
    LinuxPciDevice(std::string path, std::string uioNode, uint16_t deviceId);
    ~LinuxPciDevice() override;

    uint32_t reset() override;
    uint32_t readEeprom(uint32_t offset, uint16_t *value) override;
    // Programs the bridge's INTCSR (known boards), then clears the INTx
    // disable bit of the command register, which uio_pci_generic sets when
    // the interrupt fires; config is opened for writing only then.
    uint32_t enableInterrupt(const PlxInterrupt &interrupt) override;
    uint32_t disableInterrupt(const PlxInterrupt &interrupt) override;

protected:
    uint32_t mapWindow(uint8_t bar, Window &window) override;
    void unmapWindow(const Window &window) override;
    uint8_t readWindow(const Window &window, size_t offset) override;
    void writeWindow(const Window &window, size_t offset, uint8_t value) override;
    // Also opens config read-only and maps the bridge's registers, so that
    // a board whose interrupt could never be enabled fails here.
    std::shared_ptr<PlxNotifier> makeNotifier(const PlxInterrupt &interrupt, uint32_t &status) override;
    void closed() override;

private:
    uint32_t mapResource(uint8_t bar, uint8_t *&base, size_t &size) const;
    uint32_t prepareInterrupt(); // m_irqMutex held
    void releaseInterrupt();     // m_irqMutex held
    // Sets and clears INTCSR bits; m_irqMutex held, BAR 0 mapped.
    void updateIntcsr(uint32_t set, uint32_t clear);

    const std::string m_path;
    const std::string m_uioNode;
    const PlxBridge *const m_bridge; // nullptr: no INTCSR to program

    std::mutex m_irqMutex;
    int m_configRead = -1;
    int m_configWrite = -1; // opened on the first write
    uint8_t *m_bridgeRegisters = nullptr;
    size_t m_bridgeSize = 0;
};
