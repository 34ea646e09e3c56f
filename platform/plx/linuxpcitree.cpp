#include "linuxpcitree.h"

#include "linuxaccess.h"
#include "linuxpcidevice.h"
#include "plxkey.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

std::string environment(const char *name, const char *fallback)
{
    const char *value = std::getenv(name);
    return value && *value ? value : fallback;
}

std::vector<std::string> entries(const std::string &folder)
{
    std::vector<std::string> names;
    if (DIR *dir = opendir(folder.c_str())) {
        while (const dirent *e = readdir(dir)) {
            if (e->d_name[0] != '.')
                names.emplace_back(e->d_name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A sysfs id file holds "0x10b5\n".
bool readId(const std::string &path, uint16_t &id)
{
    std::ifstream in(path);
    std::string text;
    if (!(in >> text))
        return false;
    char *end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 16);
    if (*end || value > 0xFFFF)
        return false;
    id = uint16_t(value);
    return true;
}

bool parseAddress(const std::string &name, PlxDeviceKey &key)
{
    unsigned domain = 0, bus = 0, slot = 0, function = 0;
    char tail = 0;
    if (std::sscanf(name.c_str(), "%x:%x:%x.%x%c", &domain, &bus, &slot, &function, &tail) != 4
        || domain > 0xFFFF || bus > 0xFF || slot > 0x1F || function > 7)
        return false;
    key.domain = uint16_t(domain);
    key.bus = uint8_t(bus);
    key.slot = uint8_t(slot);
    key.function = uint8_t(function);
    return true;
}

std::string addressName(const PlxDeviceKey &key)
{
    char name[32];
    std::snprintf(name, sizeof name, "%04x:%02x:%02x.%x", unsigned(key.domain), unsigned(key.bus),
                  unsigned(key.slot), unsigned(key.function));
    return name;
}

} // namespace

std::string LinuxPciTree::sysfsRoot()
{
    return environment("PLX_SYSFS_ROOT", "/sys/bus/pci/devices");
}

std::string LinuxPciTree::devRoot()
{
    return environment("PLX_DEV_ROOT", "/dev");
}

uint32_t LinuxPciTree::find(PlxDeviceKey &key, uint16_t matchIndex)
{
    const std::string root = sysfsRoot();
    uint32_t count = 0;
    for (const std::string &name : entries(root)) {
        PlxDeviceKey found{};
        const std::string path = root + '/' + name;
        if (!parseAddress(name, found) || !readId(path + "/vendor", found.vendorId)
            || !readId(path + "/device", found.deviceId) || !PlxKey::matches(key, found))
            continue;
        if (count++ == matchIndex) {
            found.source = 0;
            key = found;
            return PLX_STATUS_OK;
        }
    }
    return PLX_STATUS_NOT_FOUND;
}

uint32_t LinuxPciTree::open(const PlxDeviceKey &key, std::shared_ptr<PlxOpenDevice> &device)
{
    const std::string path = sysfsRoot() + '/' + addressName(key);
    PlxDeviceKey found{};
    if (!readId(path + "/vendor", found.vendorId) || !readId(path + "/device", found.deviceId)
        || found.vendorId != key.vendorId || found.deviceId != key.deviceId)
        return PLX_STATUS_INVALID_OBJECT;
    // A board another kernel driver owns is not ours to touch.
    const std::vector<std::string> uio = entries(path + "/uio");
    if (uio.empty()) {
        char target[256] = {};
        const ssize_t n = ::readlink((path + "/driver").c_str(), target, sizeof target - 1);
        const std::string driver = n > 0 ? std::string(target, size_t(n)) : std::string();
        const size_t slash = driver.rfind('/');
        LinuxAccess::report(path, "cannot open the board",
                            "not bound to uio_pci_generic ("
                                + (driver.empty() ? std::string("no driver bound")
                                                  : "bound to " + driver.substr(slash + 1))
                                + ", see the README)");
        return PLX_STATUS_NO_DRIVER;
    }
    device = std::make_shared<LinuxPciDevice>(path, devRoot() + '/' + uio.front(), key.deviceId);
    return PLX_STATUS_OK;
}
