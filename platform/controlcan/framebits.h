// Length on the wire of a classic CAN frame, as a controller sends it:
// start of frame, arbitration and control fields, data, CRC-15, the stuff
// bits those need (stuffing runs from start of frame through the CRC
// sequence), then CRC delimiter, ACK slot and delimiter, end of frame and
// the 3-bit intermission. Plain C++; no state.
#pragma once

#include "vci.h"

#include <cstdint>

class FrameBits
{
public:
    // CRC-15 of CAN (polynomial 0x4599, initial value 0) over the first
    // count bits of bits, most significant bit of each byte first.
    static uint16_t crc15(const uint8_t *bits, uint32_t count);
    // Bits the frame occupies on the bus, intermission included. Uses
    // ExternFlag, RemoteFlag, DataLen (the length code, at most 15) and,
    // for data frames, the first min(DataLen, 8) bytes; the ID is masked
    // to its width.
    static uint32_t length(const VCI_CAN_OBJ &frame);
    // Bus time of length(frame) at bitRate bit/s, in nanoseconds.
    static uint64_t durationNs(const VCI_CAN_OBJ &frame, uint32_t bitRate);
    // Arbitration field as the bus compares it, first bit most
    // significant; the lower value wins (dominant 0). Standard: ID, RTR,
    // IDE 0. Extended: base ID, SRR 1, IDE 1, ID extension, RTR. So at
    // equal base ID a standard frame wins, and a data frame wins over a
    // remote frame.
    static uint64_t arbitrationKey(const VCI_CAN_OBJ &frame);
};
