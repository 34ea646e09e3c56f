#include "linuxpcidevice.h"

#include "uionotifier.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr off_t kCommandHigh = 5;          // upper byte of the command register
constexpr uint8_t kInterruptDisable = 0x04; // bit 10 of the command register

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

} // namespace

LinuxPciDevice::LinuxPciDevice(std::string path, std::string uioNode)
    : m_path(std::move(path)), m_uioNode(std::move(uioNode))
{
}

uint32_t LinuxPciDevice::reset()
{
    const Fd fd(::open((m_path + "/reset").c_str(), O_WRONLY | O_CLOEXEC));
    return fd.get() >= 0 && ::write(fd.get(), "1", 1) == 1 ? PLX_STATUS_OK : PLX_STATUS_FAILED;
}

uint32_t LinuxPciDevice::readEeprom(uint32_t, uint16_t *value)
{
    // The bridge's serial EEPROM is not reachable through sysfs.
    *value = 0;
    return PLX_STATUS_UNSUPPORTED;
}

uint32_t LinuxPciDevice::enableInterrupt(const PlxInterrupt &)
{
    const Fd fd(::open((m_path + "/config").c_str(), O_RDWR | O_CLOEXEC));
    uint8_t command = 0;
    if (fd.get() < 0 || ::pread(fd.get(), &command, 1, kCommandHigh) != 1)
        return PLX_STATUS_FAILED;
    if (!(command & kInterruptDisable))
        return PLX_STATUS_OK;
    command &= uint8_t(~kInterruptDisable);
    return ::pwrite(fd.get(), &command, 1, kCommandHigh) == 1 ? PLX_STATUS_OK : PLX_STATUS_FAILED;
}

uint32_t LinuxPciDevice::mapWindow(uint8_t bar, Window &window)
{
    const std::string file = m_path + "/resource" + std::to_string(bar);
    const Fd fd(::open(file.c_str(), O_RDWR | O_SYNC | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || st.st_size <= 0)
        return PLX_STATUS_INVALID_ADDR;
    void *base = ::mmap(nullptr, size_t(st.st_size), PROT_READ | PROT_WRITE, MAP_SHARED, fd.get(), 0);
    if (base == MAP_FAILED)
        return PLX_STATUS_INSUFFICIENT_RES;
    window.base = static_cast<uint8_t *>(base);
    window.size = size_t(st.st_size);
    return PLX_STATUS_OK;
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
    status = notifier ? PLX_STATUS_OK : PLX_STATUS_NO_DRIVER;
    return notifier;
}
