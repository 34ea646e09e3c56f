// PlxApi: the PCI bridge library the board drivers use to reach boards
// behind a PLX bridge (vendor 0x10B5). Every operation returns a status;
// PLX_STATUS_OK (512) is success.
//
// Two back-ends serve the same calls: the simulated boards of plxsim.h when
// PLXSIM_BOARDS is set (or PLXSIM_SetBoards was called), else the boards of
// the Linux PCI tree:
// - found under $PLX_SYSFS_ROOT (default /sys/bus/pci/devices) by their
//   vendor and device files, in the order of their PCI addresses;
// - opened only when bound to a UIO driver (uio_pci_generic: the entry has
//   a uio/uioN folder), else PLX_STATUS_NO_DRIVER;
// - BARs mapped from their resourceN files (memory BARs only);
// - interrupts from $PLX_DEV_ROOT/uioN (default /dev): the notification
//   opens the node, maps BAR 0 (the bridge's registers) and opens the
//   config file read-only; an interrupt enable programs the bridge's
//   INTCSR and clears the INTx-disable bit of the command register that
//   uio_pci_generic sets on each interrupt (config is opened for writing
//   only when that bit is set); EEPROM words cannot be read
//   (PLX_STATUS_UNSUPPORTED, word 0);
// - every failure of a file prints one line on stderr, "PlxApi: <file>:
//   <what failed>: <reason>", the reason naming permissions, the kernel
//   lockdown ($PLX_LOCKDOWN_FILE, default /sys/kernel/security/lockdown)
//   or a board not bound to uio_pci_generic.
//
// Register windows are reached only through PlxPci_WindowRead8 and
// PlxPci_WindowWrite8: an address outside the device's mapped BARs is
// refused with PLX_STATUS_INVALID_ADDR and touches nothing.
//
// Thread safety: every call may come from any thread. A notification wait
// may run while another thread cancels it or closes the device.
#pragma once

#include <cstdint>

#define PLXAPI_EXPORT __attribute__((visibility("default")))

extern "C" {

enum PlxStatus : uint32_t {
    PLX_STATUS_OK = 512,
    PLX_STATUS_FAILED,
    PLX_STATUS_NULL_PARAM,
    PLX_STATUS_UNSUPPORTED,
    PLX_STATUS_NO_DRIVER,
    PLX_STATUS_INVALID_OBJECT,
    PLX_STATUS_VER_MISMATCH,
    PLX_STATUS_INVALID_OFFSET,
    PLX_STATUS_INVALID_DATA,
    PLX_STATUS_INVALID_SIZE,
    PLX_STATUS_INVALID_ADDR,
    PLX_STATUS_INVALID_ACCESS,
    PLX_STATUS_INSUFFICIENT_RES,
    PLX_STATUS_TIMEOUT,
    PLX_STATUS_CANCELED,
    PLX_STATUS_COMPLETE,
    PLX_STATUS_PAUSED,
    PLX_STATUS_IN_PROGRESS,
    PLX_STATUS_PAGE_GET_ERROR,
    PLX_STATUS_PAGE_LOCK_ERROR,
    PLX_STATUS_LOW_POWER,
    PLX_STATUS_IN_USE,
    PLX_STATUS_DISABLED,
    PLX_STATUS_PENDING,
    PLX_STATUS_NOT_FOUND,
    PLX_STATUS_INVALID_STATE,
    PLX_STATUS_BUFF_TOO_SMALL,
    PLX_STATUS_UNKNOWN,
};
static_assert(PLX_STATUS_TIMEOUT == 525 && PLX_STATUS_CANCELED == 526 && PLX_STATUS_BUFF_TOO_SMALL == 538,
              "status codes");

// Identity of a PCI device. A field whose bytes are all 0xFF is "ignore"
// for PlxPci_DeviceFind; found devices get every field filled.
struct PlxDeviceKey {
    uint16_t vendorId;
    uint16_t deviceId;
    uint16_t domain;
    uint8_t bus;
    uint8_t slot;
    uint8_t function;
    uint8_t source; // back-end that found it: 0 Linux, 1 simulated
    uint16_t reserved;
};

// An opened device; zero it before PlxPci_DeviceOpen. Copies share the
// open device; after PlxPci_DeviceClose every copy is refused.
struct PlxDevice {
    PlxDeviceKey key;
    uint32_t handle; // 0: not open
};

// Interrupt sources of PlxPci_NotificationRegisterFor and
// PlxPci_InterruptEnable (second word). The boards' controllers raise
// local interrupt 1.
enum PlxInterruptSource : uint32_t {
    PLX_INT_LOCAL_1 = 0x01,
    PLX_INT_LOCAL_1_EDGE = 0x02,
    PLX_INT_LOCAL_2 = 0x04,
    PLX_INT_PCI_MAIN = 0x08,
};
struct PlxInterrupt {
    uint32_t doorbell; // not used by these boards
    uint32_t sources;  // PlxInterruptSource bits
    uint32_t reserved[6];
};

// A registered notification of one open device.
struct PlxNotification {
    uint32_t id; // 0: not registered
    uint32_t reserved;
};

// matchIndex-th device (0..) that matches the fields of key not set to
// "ignore"; fills key. PLX_STATUS_NOT_FOUND past the last match.
PLXAPI_EXPORT uint32_t PlxPci_DeviceFind(PlxDeviceKey *key, uint16_t matchIndex);
PLXAPI_EXPORT uint32_t PlxPci_DeviceOpen(const PlxDeviceKey *key, PlxDevice *device);
// Resets the bridge and the board behind it (controllers to power-up
// state); disables the board's interrupt.
PLXAPI_EXPORT uint32_t PlxPci_DeviceReset(PlxDevice *device);
// Cancels the device's notifications, unmaps its BARs and closes it.
PLXAPI_EXPORT uint32_t PlxPci_DeviceClose(PlxDevice *device);

// Maps BAR bar (0..5) of the device; *address then identifies the BAR's
// first byte for the window calls. A BAR the board does not have gives
// PLX_STATUS_INVALID_ADDR and *address nullptr.
PLXAPI_EXPORT uint32_t PlxPci_PciBarMap(PlxDevice *device, uint8_t bar, void **address);
// Releases a mapping made by PlxPci_PciBarMap and sets *address to nullptr.
PLXAPI_EXPORT uint32_t PlxPci_PciBarUnmap(PlxDevice *device, void **address);

// The 16-bit word at an even byte offset of the board's EEPROM; *value is 0
// whenever the status is not PLX_STATUS_OK.
PLXAPI_EXPORT uint32_t PlxPci_EepromReadByOffset_16(PlxDevice *device, uint32_t offset, uint16_t *value);

// The notification is signalled on the board's interrupts from the sources
// of the record. The interrupt is then disabled until PlxPci_InterruptEnable;
// enabling it while the board still requests an interrupt signals at once.
PLXAPI_EXPORT uint32_t PlxPci_NotificationRegisterFor(PlxDevice *device, const PlxInterrupt *interrupt,
                                                      PlxNotification *notification);
// Enable sets the INTCSR enable bits of the record's sources, and the PCI
// interrupt enable, in the board's bridge (plxbridge.h names the bridges
// and bits); disable clears the bits of its sources (PLX_INT_PCI_MAIN: the
// PCI interrupt enable). A board whose interrupt is disabled there raises
// no notification.
PLXAPI_EXPORT uint32_t PlxPci_InterruptEnable(PlxDevice *device, const PlxInterrupt *interrupt);
PLXAPI_EXPORT uint32_t PlxPci_InterruptDisable(PlxDevice *device, const PlxInterrupt *interrupt);
// Waits up to timeoutMs: PLX_STATUS_OK on an interrupt, PLX_STATUS_TIMEOUT,
// or PLX_STATUS_CANCELED once the notification was cancelled (also for a
// wait that starts after the cancel).
PLXAPI_EXPORT uint32_t PlxPci_NotificationWait(PlxDevice *device, PlxNotification *notification,
                                               uint64_t timeoutMs);
PLXAPI_EXPORT uint32_t PlxPci_NotificationCancel(PlxDevice *device, PlxNotification *notification);

// One byte access at address inside a BAR the device has mapped.
PLXAPI_EXPORT uint32_t PlxPci_WindowRead8(PlxDevice *device, const void *address, uint8_t *value);
PLXAPI_EXPORT uint32_t PlxPci_WindowWrite8(PlxDevice *device, void *address, uint8_t value);
}
