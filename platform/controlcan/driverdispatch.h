// Hands the device types of the board drivers to the driver library when
// it has a board for them: types 24 and 25 to libDravex.so, 2, 5 and 14 to
// libDravin.so, loaded from this library's folder on first use and never
// unloaded. A driver serves one board; while it does, this library counts
// the handles on that (type, index) and forwards every call for it. When
// the driver is missing or finds no board the open fails (the driver, or
// this library for a driver it cannot load, says why on stderr), unless
// the simulation of these types was asked for: VCISIM_SIMULATE_PCI set to
// anything but "" or "0", read at every open. The device is then
// simulated here like the USB types.
// route() takes no lock, so calls of open devices never wait on an open or
// close of another.
#pragma once

#include "vci.h"

#include <atomic>
#include <cstdint>
#include <mutex>

class DriverDispatch
{
public:
    struct Functions {
        VCI_OpenDeviceFn open;
        VCI_CloseDeviceFn close;
        VCI_InitCANFn initCAN;
        VCI_ReadBoardInfoFn readBoardInfo;
        VCI_ReadErrInfoFn readErrInfo;
        VCI_ReadCANStatusFn readCANStatus;
        VCI_GetReferenceFn getReference;
        VCI_SetReferenceFn setReference;
        VCI_GetReceiveNumFn getReceiveNum;
        VCI_ClearBufferFn clearBuffer;
        VCI_StartCANFn startCAN;
        VCI_ResetCANFn resetCAN;
        VCI_TransmitFn transmit;
        VCI_ReceiveFn receive;
    };
    enum class Open { Simulated, Opened, Refused };

    static DriverDispatch &instance();

    // Simulated: the device is not the drivers' (or no board and the
    // simulation is asked for): open it here.
    Open open(uint32_t type, uint32_t index, uint32_t reserved);
    // True when a driver served the device; the handle is then dropped.
    bool close(uint32_t type, uint32_t index);
    // The driver's functions while it serves (type, index), else nullptr.
    const Functions *route(uint32_t type, uint32_t index) const;
    // Closes every device a driver serves.
    void closeAll();

private:
    struct Driver {
        const char *file;
        bool tried = false;
        bool loaded = false;
        Functions functions{};
        std::atomic<uint64_t> serving{kNone}; // type << 32 | index
        uint32_t handles = 0;
    };
    static constexpr uint64_t kNone = ~uint64_t(0);

    DriverDispatch();
    Driver *driverFor(uint32_t type);
    static bool simulationAsked();
    bool load(Driver &driver); // m_mutex held

    std::mutex m_mutex; // open, close, loading
    Driver m_drivers[2];
};
