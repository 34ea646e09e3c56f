// A CAN frame as the 13 bytes of the SJA1000 frame buffer (registers 16
// to 28): frame information, two (standard) or four (extended) identifier
// bytes, then the data.
#pragma once

#include "sja1000.h"
#include "vci.h"

#include <array>

namespace SjaFrame {

using Bytes = std::array<uint8_t, Sja1000::kFrameBytes>;

// Writes the frame into staging. A DataLen above 8 is sent as 8; staging
// bytes after the data keep what they held.
void encode(const VCI_CAN_OBJ &frame, Bytes &staging);
// The frame of received bytes: ID, flags, DataLen (a length code above 8
// gives 8) and the data bytes (none for a remote frame); every other field
// and data byte is 0.
VCI_CAN_OBJ decode(const Bytes &raw);

} // namespace SjaFrame
