#include "linuxpcidevice.h"

#include "linuxaccess.h"
#include "uionotifier.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>

namespace {

constexpr off_t kCommandHigh = 5;          // upper byte of the command register
constexpr uint8_t kInterruptDisable = 0x04; // bit 10 of the command register
constexpr unsigned long kIoResource = 0x100; // IORESOURCE_IO in the resource file

class Fd
{
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

uint32_t accessStatus(int err, uint32_t otherwise)
{
    return err == EACCES || err == EPERM ? PLX_STATUS_INVALID_ACCESS : otherwise;
}

// Whether line `bar` of the device's resource file flags an I/O port BAR.
bool isIoBar(const std::string &path, uint8_t bar)
{
    std::ifstream in(path + "/resource");
    std::string line;
    for (int i = 0; i <= bar; ++i) {
        if (!std::getline(in, line))
            return false;
    }
    unsigned long long start = 0, end = 0, flags = 0;
    return std::sscanf(line.c_str(), "%llx %llx %llx", &start, &end, &flags) == 3 && (flags & kIoResource);
}

} // namespace

LinuxPciDevice::LinuxPciDevice(std::string path, std::string uioNode, uint16_t deviceId)
    : m_path(std::move(path)), m_uioNode(std::move(uioNode)), m_bridge(PlxBridge::forDevice(deviceId))
{
}

LinuxPciDevice::~LinuxPciDevice()
{
    std::lock_guard<std::mutex> lock(m_irqMutex);
    releaseInterrupt();
}

uint32_t LinuxPciDevice::reset()
{
    const std::string file = m_path + "/reset";
    const Fd fd(::open(file.c_str(), O_WRONLY | O_CLOEXEC));
    if (fd.get() < 0 || ::write(fd.get(), "1", 1) != 1) {
        LinuxAccess::report(file, "cannot reset the board", errno);
        return PLX_STATUS_FAILED;
    }
    return PLX_STATUS_OK;
}

uint32_t LinuxPciDevice::readEeprom(uint32_t, uint16_t *value)
{
    // The bridge's serial EEPROM is not reachable through sysfs.
    *value = 0;
    return PLX_STATUS_UNSUPPORTED;
}

uint32_t LinuxPciDevice::prepareInterrupt()
{
    if (m_configRead < 0) {
        const std::string file = m_path + "/config";
        m_configRead = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (m_configRead < 0) {
            const int err = errno;
            LinuxAccess::report(file, "cannot open for reading", err);
            return accessStatus(err, PLX_STATUS_FAILED);
        }
    }
    if (m_bridge && !m_bridgeRegisters) {
        const uint32_t status = mapResource(0, m_bridgeRegisters, m_bridgeSize);
        if (status != PLX_STATUS_OK)
            return status;
        if (m_bridgeSize < m_bridge->intcsr + 4) {
            LinuxAccess::report(m_path + "/resource0", "cannot reach INTCSR",
                                std::string("BAR 0 is too small for a ") + m_bridge->name);
            ::munmap(m_bridgeRegisters, m_bridgeSize);
            m_bridgeRegisters = nullptr;
            return PLX_STATUS_INVALID_ADDR;
        }
    }
    return PLX_STATUS_OK;
}

void LinuxPciDevice::releaseInterrupt()
{
    if (m_configRead >= 0)
        ::close(m_configRead);
    if (m_configWrite >= 0)
        ::close(m_configWrite);
    if (m_bridgeRegisters)
        ::munmap(m_bridgeRegisters, m_bridgeSize);
    m_configRead = m_configWrite = -1;
    m_bridgeRegisters = nullptr;
}

void LinuxPciDevice::updateIntcsr(uint32_t set, uint32_t clear)
{
    auto *intcsr = reinterpret_cast<volatile uint32_t *>(m_bridgeRegisters + m_bridge->intcsr);
    const uint32_t old = *intcsr;
    const uint32_t value = (old | set) & ~clear;
    if (value != old)
        *intcsr = value;
}

uint32_t LinuxPciDevice::enableInterrupt(const PlxInterrupt &interrupt)
{
    std::lock_guard<std::mutex> lock(m_irqMutex);
    const uint32_t prepared = prepareInterrupt();
    if (prepared != PLX_STATUS_OK)
        return prepared;
    if (m_bridge)
        updateIntcsr(m_bridge->enableBits(interrupt.sources), 0);

    const std::string file = m_path + "/config";
    uint8_t command = 0;
    if (::pread(m_configRead, &command, 1, kCommandHigh) != 1) {
        LinuxAccess::report(file, "cannot read the command register", errno);
        return PLX_STATUS_FAILED;
    }
    if (!(command & kInterruptDisable))
        return PLX_STATUS_OK;
    if (m_configWrite < 0) {
        m_configWrite = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
        if (m_configWrite < 0) {
            const int err = errno;
            LinuxAccess::report(file, "cannot open for writing", err);
            return accessStatus(err, PLX_STATUS_FAILED);
        }
    }
    command &= uint8_t(~kInterruptDisable);
    if (::pwrite(m_configWrite, &command, 1, kCommandHigh) != 1) {
        const int err = errno;
        LinuxAccess::report(file, "cannot write the command register", err);
        return accessStatus(err, PLX_STATUS_FAILED);
    }
    return PLX_STATUS_OK;
}

uint32_t LinuxPciDevice::disableInterrupt(const PlxInterrupt &interrupt)
{
    std::lock_guard<std::mutex> lock(m_irqMutex);
    const uint32_t prepared = prepareInterrupt();
    if (prepared != PLX_STATUS_OK)
        return prepared;
    if (m_bridge)
        updateIntcsr(0, m_bridge->disableBits(interrupt.sources));
    return PLX_STATUS_OK;
}

uint32_t LinuxPciDevice::mapResource(uint8_t bar, uint8_t *&base, size_t &size) const
{
    const std::string file = m_path + "/resource" + std::to_string(bar);
    if (isIoBar(m_path, bar)) {
        LinuxAccess::report(file, "cannot map", "an I/O port BAR, which cannot be mapped");
        return PLX_STATUS_INVALID_ADDR;
    }
    const Fd fd(::open(file.c_str(), O_RDWR | O_SYNC | O_CLOEXEC));
    if (fd.get() < 0) {
        const int err = errno;
        LinuxAccess::report(file, "cannot open", err == ENOENT ? "no such file: the board has no such BAR"
                                                               : LinuxAccess::reason(err));
        return accessStatus(err, PLX_STATUS_INVALID_ADDR);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || st.st_size <= 0) {
        LinuxAccess::report(file, "cannot map", "the BAR is empty");
        return PLX_STATUS_INVALID_ADDR;
    }
    void *mapped = ::mmap(nullptr, size_t(st.st_size), PROT_READ | PROT_WRITE, MAP_SHARED, fd.get(), 0);
    if (mapped == MAP_FAILED) {
        const int err = errno;
        LinuxAccess::report(file, "cannot map", err);
        return accessStatus(err, PLX_STATUS_INSUFFICIENT_RES);
    }
    base = static_cast<uint8_t *>(mapped);
    size = size_t(st.st_size);
    return PLX_STATUS_OK;
}

uint32_t LinuxPciDevice::mapWindow(uint8_t bar, Window &window)
{
    return mapResource(bar, window.base, window.size);
}

void LinuxPciDevice::unmapWindow(const Window &window)
{
    ::munmap(window.base, window.size);
}

uint8_t LinuxPciDevice::readWindow(const Window &window, size_t offset)
{
    return *static_cast<volatile const uint8_t *>(window.base + offset);
}

void LinuxPciDevice::writeWindow(const Window &window, size_t offset, uint8_t value)
{
    *static_cast<volatile uint8_t *>(window.base + offset) = value;
}

std::shared_ptr<PlxNotifier> LinuxPciDevice::makeNotifier(const PlxInterrupt &, uint32_t &status)
{
    auto notifier = UioNotifier::open(m_uioNode);
    if (!notifier) {
        const int err = errno;
        LinuxAccess::report(m_uioNode, "cannot open", err);
        status = accessStatus(err, PLX_STATUS_NO_DRIVER);
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(m_irqMutex);
    status = prepareInterrupt();
    return status == PLX_STATUS_OK ? notifier : nullptr;
}

void LinuxPciDevice::closed()
{
    std::lock_guard<std::mutex> lock(m_irqMutex);
    releaseInterrupt();
}
