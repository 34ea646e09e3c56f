#include "acceptancefilter.h"

// Bit layout of the 32-bit code/mask word (ACR0 = bits 31..24, ACR3 = 7..0)
// against the frame, after the SJA1000 data sheet (PeliCAN mode, 6.4.15):
//
// single filter, standard frame:
//   bits 31..21 ID.10..ID.0, bit 20 RTR, bits 19..16 unused,
//   bits 15..8 data byte 1, bits 7..0 data byte 2
// single filter, extended frame:
//   bits 31..3 ID.28..ID.0, bit 2 RTR, bits 1..0 unused
// dual filter, standard frame:
//   filter 1: bits 31..21 ID.10..ID.0, bit 20 RTR, bits 19..16 data byte 1
//             bits 7..4, bits 3..0 data byte 1 bits 3..0
//   filter 2: bits 15..5 ID.10..ID.0, bit 4 RTR
// dual filter, extended frame (RTR not compared):
//   filter 1: bits 31..16 ID.28..ID.13
//   filter 2: bits 15..0 ID.28..ID.13
//
// Data bytes that the frame does not carry (remote frame, or DLC too
// small) are not compared, so such frames may pass on their identifier.

namespace {

uint8_t dataLength(const VCI_CAN_OBJ &frame)
{
    if (frame.RemoteFlag)
        return 0;
    return frame.DataLen > 8 ? 8 : frame.DataLen;
}

} // namespace

AcceptanceFilter::AcceptanceFilter(uint32_t code, uint32_t mask, bool singleFilter)
    : m_code(code), m_mask(mask), m_single(singleFilter)
{
}

bool AcceptanceFilter::accepts(const VCI_CAN_OBJ &frame) const
{
    return m_single ? acceptsSingle(frame) : acceptsDual(frame);
}

bool AcceptanceFilter::acceptsSingle(const VCI_CAN_OBJ &frame) const
{
    const uint32_t rtr = frame.RemoteFlag ? 1u : 0u;
    uint32_t care = ~m_mask;
    uint32_t word;
    if (frame.ExternFlag) {
        word = ((frame.ID & 0x1FFFFFFFu) << 3) | (rtr << 2);
        care &= 0xFFFFFFFCu;
    } else {
        const uint8_t len = dataLength(frame);
        word = ((frame.ID & 0x7FFu) << 21) | (rtr << 20)
               | (uint32_t(frame.Data[0]) << 8) | frame.Data[1];
        care &= 0xFFF0FFFFu;
        if (len < 1)
            care &= ~0x0000FF00u;
        if (len < 2)
            care &= ~0x000000FFu;
    }
    return matches(word, care);
}

bool AcceptanceFilter::acceptsDual(const VCI_CAN_OBJ &frame) const
{
    const uint32_t care = ~m_mask;
    if (frame.ExternFlag) {
        const uint32_t high = (frame.ID & 0x1FFFFFFFu) >> 13; // ID.28..ID.13
        return matches(high << 16, care & 0xFFFF0000u) || matches(high, care & 0x0000FFFFu);
    }
    const uint32_t id = frame.ID & 0x7FFu;
    const uint32_t rtr = frame.RemoteFlag ? 1u : 0u;
    const uint32_t byte1 = frame.Data[0];
    uint32_t care1 = care & 0xFFFF000Fu;
    if (dataLength(frame) < 1)
        care1 &= ~0x000F000Fu;
    const uint32_t word1 = (id << 21) | (rtr << 20) | ((byte1 >> 4) << 16) | (byte1 & 0x0Fu);
    const uint32_t word2 = (id << 5) | (rtr << 4);
    return matches(word1, care1) || matches(word2, care & 0x0000FFF0u);
}
