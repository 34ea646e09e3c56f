// Helpers shared by the tests of the simulated ControlCAN library.
#pragma once

#include "controlcan.h"
#include "vcisim.h"

#include <chrono>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace simtest {

// BTR pairs of the standard table of the bit-rate probe.
constexpr uint8_t kBtr0_500k = 0x00, kBtr1_500k = 0x1C; // 500000 bit/s
constexpr uint8_t kBtr0_250k = 0x01, kBtr1_250k = 0x1C; // 250000 bit/s
constexpr uint8_t kBtr0_125k = 0x03, kBtr1_125k = 0x1C; // 125000 bit/s
constexpr uint8_t kBtr0_1M = 0x00, kBtr1_1M = 0x14;     // 1000000 bit/s

inline VCI_INIT_CONFIG config(uint8_t btr0 = kBtr0_500k, uint8_t btr1 = kBtr1_500k, uint8_t workMode = 0,
                              uint32_t acc = 0, uint32_t mask = 0xFFFFFFFFu, uint8_t filterMode = 1)
{
    VCI_INIT_CONFIG c{};
    c.AccCode = acc;
    c.MaskCode = mask;
    c.FilterMode = filterMode;
    c.BTR0 = btr0;
    c.BTR1 = btr1;
    c.WorkMode = workMode;
    return c;
}

inline VCI_CAN_OBJ frame(uint32_t id, std::initializer_list<uint8_t> data = {}, bool ext = false, bool rtr = false,
                         uint8_t sendType = 0)
{
    VCI_CAN_OBJ f{};
    f.ID = id;
    f.ExternFlag = ext ? 1 : 0;
    f.RemoteFlag = rtr ? 1 : 0;
    f.SendType = sendType;
    f.DataLen = uint8_t(data.size());
    uint8_t i = 0;
    for (uint8_t b : data)
        f.Data[i++] = b;
    return f;
}

// Opens (type, index) and inits and starts each listed channel with cfg.
inline bool openAndStart(uint32_t type, uint32_t index, std::initializer_list<uint32_t> channels,
                         VCI_INIT_CONFIG cfg = config())
{
    if (VCI_OpenDevice(type, index, 0) != 1)
        return false;
    for (uint32_t ch : channels) {
        if (VCI_InitCAN(type, index, ch, &cfg) != 1 || VCI_StartCAN(type, index, ch) != 1)
            return false;
    }
    return true;
}

inline bool startWith(uint32_t type, uint32_t index, uint32_t ch, VCI_INIT_CONFIG cfg)
{
    return VCI_InitCAN(type, index, ch, &cfg) == 1 && VCI_StartCAN(type, index, ch) == 1;
}

// Sends all count frames, calling VCI_Transmit again for what a full
// transmit queue did not take. A call takes nothing when the bus thread
// freed no room within the call's 100 ms wait, which a loaded machine can
// do; false only when nothing was taken for 10 s.
inline bool sendAll(uint32_t type, uint32_t index, uint32_t ch, VCI_CAN_OBJ *frames, uint32_t count)
{
    using Clock = std::chrono::steady_clock;
    Clock::time_point lastTaken = Clock::now();
    while (count != 0) {
        const uint32_t n = VCI_Transmit(type, index, ch, frames, count);
        if (n > count)
            return false;
        if (n == 0) {
            if (Clock::now() - lastTaken > std::chrono::seconds(10))
                return false;
            continue;
        }
        lastTaken = Clock::now();
        frames += n;
        count -= n;
    }
    return true;
}

// Sends a frame of markerId that ch hears itself (SendType 2) and takes
// ch's frames until it came back, within 10 s: whatever the bus carried
// before the marker has then been handed out. Returns every frame taken,
// the marker last unless more came after it.
inline std::vector<VCI_CAN_OBJ> takeThroughMarker(uint32_t type, uint32_t index, uint32_t ch, uint32_t markerId)
{
    std::vector<VCI_CAN_OBJ> got;
    VCI_CAN_OBJ marker = frame(markerId, {}, false, false, 2);
    if (VCI_Transmit(type, index, ch, &marker, 1) != 1)
        return got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool seen = false;
    while (!seen && std::chrono::steady_clock::now() < deadline) {
        VCI_CAN_OBJ batch[256];
        const uint32_t n = VCI_Receive(type, index, ch, batch, 256, 50);
        for (uint32_t i = 0; i < n; ++i) {
            seen = seen || batch[i].ID == markerId;
            got.push_back(batch[i]);
        }
    }
    return got;
}

inline VCISIM_STATS stats(uint32_t type, uint32_t index, uint32_t ch)
{
    VCISIM_STATS s{};
    VCISIM_GetStats(type, index, ch, &s);
    return s;
}

} // namespace simtest
