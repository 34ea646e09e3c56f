// A CAN frame as the bus carries it: its length in bits, with the stuff
// bits its actual bits need and the real CRC-15, and its place in
// arbitration.
#pragma once

#include "vci.h"

#include <cstdint>

class SimFrameBits
{
public:
    // SOF through intermission: SOF, arbitration and control fields, data
    // (none for a remote frame, at most 8 bytes), CRC, then the unstuffed
    // CRC delimiter, ACK slot and delimiter, EOF and intermission. The
    // stuffed part gets one stuff bit after every five equal bits (stuff
    // bits count towards the next run), as a controller sends it.
    static uint32_t length(const VCI_CAN_OBJ &frame);
    // The bits of the arbitration field as a number: the lower wins.
    // A standard frame beats an extended one of the same base identifier,
    // a data frame a remote frame of the same identifier.
    static uint64_t arbitrationKey(const VCI_CAN_OBJ &frame);
    // CRC-15 (polynomial 0x4599) of the first count bits of bits, most
    // significant first in each byte.
    static uint16_t crc15(const uint8_t *bits, uint32_t count);

    // Bits after the CRC that are not stuffed: CRC delimiter, ACK slot,
    // ACK delimiter, seven bits of EOF, three of intermission.
    static constexpr uint32_t kTrailerBits = 13;
};
