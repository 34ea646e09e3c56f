#include "driverdispatch.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

uint64_t deviceKey(uint32_t type, uint32_t index)
{
    return uint64_t(type) << 32 | index;
}

std::string ownFolder()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void *>(&deviceKey), &info) || !info.dli_fname)
        return ".";
    const std::string path = info.dli_fname;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

} // namespace

DriverDispatch &DriverDispatch::instance()
{
    static DriverDispatch dispatch;
    return dispatch;
}

DriverDispatch::DriverDispatch()
{
    m_drivers[0].file = "libDravex.so";
    m_drivers[1].file = "libDravin.so";
}

DriverDispatch::Driver *DriverDispatch::driverFor(uint32_t type)
{
    switch (type) {
    case VCI_DRAVEX_PCIE2:
    case VCI_DRAVEX_PCIE1:
        return &m_drivers[0];
    case VCI_DRAVIN_PCI1:
    case VCI_DRAVIN_PCI2:
    case VCI_DRAVIN_PCI4:
        return &m_drivers[1];
    default:
        return nullptr;
    }
}

bool DriverDispatch::simulationAsked()
{
    const char *value = std::getenv("VCISIM_SIMULATE_PCI");
    return value && *value && std::strcmp(value, "0") != 0;
}

bool DriverDispatch::load(Driver &driver)
{
    if (driver.tried)
        return driver.loaded;
    driver.tried = true;
    // Local binding: the driver's VCI_ names must not resolve to ours.
    const std::string path = ownFolder() + '/' + driver.file;
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *reason = dlerror();
        std::fprintf(stderr, "ControlCAN: cannot load the board driver %s: %s\n", path.c_str(),
                     reason ? reason : "unknown error");
        return false;
    }
    Functions &f = driver.functions;
    const auto bind = [handle](auto &fn, const char *name) {
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(handle, name));
        return fn != nullptr;
    };
    driver.loaded = bind(f.open, "VCI_OpenDevice") && bind(f.close, "VCI_CloseDevice")
                 && bind(f.initCAN, "VCI_InitCAN") && bind(f.readBoardInfo, "VCI_ReadBoardInfo")
                 && bind(f.readErrInfo, "VCI_ReadErrInfo") && bind(f.readCANStatus, "VCI_ReadCANStatus")
                 && bind(f.getReference, "VCI_GetReference") && bind(f.setReference, "VCI_SetReference")
                 && bind(f.getReceiveNum, "VCI_GetReceiveNum") && bind(f.clearBuffer, "VCI_ClearBuffer")
                 && bind(f.startCAN, "VCI_StartCAN") && bind(f.resetCAN, "VCI_ResetCAN")
                 && bind(f.transmit, "VCI_Transmit") && bind(f.receive, "VCI_Receive");
    if (!driver.loaded)
        std::fprintf(stderr, "ControlCAN: the board driver %s lacks a VCI_ function\n", path.c_str());
    return driver.loaded;
}

DriverDispatch::Open DriverDispatch::open(uint32_t type, uint32_t index, uint32_t reserved)
{
    Driver *driver = driverFor(type);
    if (!driver)
        return Open::Simulated;
    std::lock_guard<std::mutex> lock(m_mutex);
    const uint64_t serving = driver->serving.load();
    if (serving == deviceKey(type, index)) {
        ++driver->handles;
        return Open::Opened;
    }
    if (serving != kNone)
        return Open::Refused; // the driver serves one board per process
    // The driver prints why it found no usable board.
    if (!load(*driver) || driver->functions.open(type, index, reserved) != 1)
        return simulationAsked() ? Open::Simulated : Open::Refused;
    driver->handles = 1;
    driver->serving.store(deviceKey(type, index));
    return Open::Opened;
}

bool DriverDispatch::close(uint32_t type, uint32_t index)
{
    Driver *driver = driverFor(type);
    if (!driver)
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (driver->serving.load() != deviceKey(type, index))
        return false;
    if (--driver->handles == 0) {
        driver->serving.store(kNone);
        driver->functions.close(type, index);
    }
    return true;
}

const DriverDispatch::Functions *DriverDispatch::route(uint32_t type, uint32_t index) const
{
    const uint64_t key = deviceKey(type, index);
    for (const Driver &driver : m_drivers) {
        if (driver.serving.load(std::memory_order_acquire) == key)
            return &driver.functions;
    }
    return nullptr;
}

void DriverDispatch::closeAll()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (Driver &driver : m_drivers) {
        const uint64_t serving = driver.serving.exchange(kNone);
        if (serving != kNone)
            driver.functions.close(uint32_t(serving >> 32), uint32_t(serving));
        driver.handles = 0;
    }
}
