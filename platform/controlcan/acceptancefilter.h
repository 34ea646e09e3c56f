// Acceptance filter of one simulated channel, applied exactly as an SJA1000
// in PeliCAN mode applies its acceptance code and mask registers.
#pragma once

#include "vci.h"

class AcceptanceFilter
{
public:
    // Accepts every frame (code 0, mask all ones, single filter).
    AcceptanceFilter() = default;
    // code/mask: ACR0..ACR3 / AMR0..AMR3, register 0 in the most
    // significant byte; a mask bit of 1 means "don't care".
    // singleFilter: true for single filter mode, false for dual.
    AcceptanceFilter(uint32_t code, uint32_t mask, bool singleFilter);

    // Whether the controller would store the frame. The frame's ID,
    // RemoteFlag, ExternFlag, DataLen (clamped to 8) and Data are used.
    bool accepts(const VCI_CAN_OBJ &frame) const;

private:
    bool acceptsSingle(const VCI_CAN_OBJ &frame) const;
    bool acceptsDual(const VCI_CAN_OBJ &frame) const;
    // True when the bits of word selected by care equal those of the code.
    bool matches(uint32_t word, uint32_t care) const { return ((word ^ m_code) & care) == 0; }

    uint32_t m_code = 0;
    uint32_t m_mask = 0xFFFFFFFFu;
    bool m_single = true;
};
