// Helpers shared by the tests of the bridge library.
#pragma once

#include "plxapi.h"
#include "plxsim.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace plxtest {

// Opens the matchIndex-th device of any vendor and id.
inline uint32_t openAt(uint16_t matchIndex, PlxDevice &device)
{
    PlxDeviceKey key;
    std::memset(&key, 0xFF, sizeof key);
    const uint32_t status = PlxPci_DeviceFind(&key, matchIndex);
    if (status != PLX_STATUS_OK)
        return status;
    device = PlxDevice{};
    return PlxPci_DeviceOpen(&key, &device);
}

// A device opened with one BAR mapped, closed at the end of the scope.
struct MappedBar {
    PlxDevice device{};
    uint8_t *base = nullptr;
    uint32_t status = PLX_STATUS_FAILED;

    MappedBar(uint16_t matchIndex, uint8_t bar)
    {
        status = openAt(matchIndex, device);
        if (status != PLX_STATUS_OK)
            return;
        void *address = nullptr;
        status = PlxPci_PciBarMap(&device, bar, &address);
        base = static_cast<uint8_t *>(address);
    }
    ~MappedBar() { PlxPci_DeviceClose(&device); }
    MappedBar(const MappedBar &) = delete;
    MappedBar &operator=(const MappedBar &) = delete;

    uint8_t read(size_t offset)
    {
        uint8_t value = 0;
        PlxPci_WindowRead8(&device, base + offset, &value);
        return value;
    }
    void write(size_t offset, uint8_t value) { PlxPci_WindowWrite8(&device, base + offset, value); }
};

// What fn prints on stderr while it runs.
template <typename Fn>
std::string stderrOf(Fn fn)
{
    std::fflush(stderr);
    FILE *capture = std::tmpfile();
    const int saved = dup(2);
    dup2(fileno(capture), 2);
    fn();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    std::rewind(capture);
    std::string text;
    char buffer[256];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, capture))
        text.append(buffer, n);
    std::fclose(capture);
    return text;
}

// Runs fn with the file access rights of an unprivileged user: as root
// the effective user becomes nobody for its length, so that file modes
// hold as they do for a normal user. False when that cannot be done.
template <typename Fn>
bool asUnprivileged(Fn fn)
{
    const uid_t user = geteuid();
    if (user == 0 && seteuid(65534) != 0)
        return false;
    fn();
    return user != 0 || seteuid(0) == 0;
}

} // namespace plxtest
