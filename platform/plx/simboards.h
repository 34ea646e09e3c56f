// The simulated back-end: the boards of PLXSIM_BOARDS (or of
// PLXSIM_SetBoards), found as PCI devices of vendor 0x10B5 on buses 1, 2,
// ... in list order.
#pragma once

#include "plxopendevice.h"
#include "simboard.h"

#include <memory>
#include <mutex>
#include <vector>

class SimBoards
{
public:
    static SimBoards &instance();

    // nullptr: follow PLXSIM_BOARDS again. Boards of an earlier list live
    // on while a device still holds them.
    void configure(const char *list);
    // Whether the simulated boards stand in for the Linux tree.
    bool active();
    std::shared_ptr<SimBoard> board(uint32_t index);
    uint32_t count();

    uint32_t find(PlxDeviceKey &key, uint16_t matchIndex);
    uint32_t open(const PlxDeviceKey &key, std::shared_ptr<PlxOpenDevice> &device);

private:
    SimBoards() = default;
    void configureLocked(const char *list);
    void ensureConfigured();

    std::mutex m_mutex;
    bool m_configured = false;
    bool m_active = false;
    std::vector<std::shared_ptr<SimBoard>> m_boards;
};
