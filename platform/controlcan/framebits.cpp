#include "framebits.h"

#include <algorithm>

namespace {

// The stuffed part of a frame, one bit per entry: at most 1 + 32 + 6 + 64
// + 15 bits for an extended frame with 8 data bytes.
class BitString
{
public:
    void append(uint32_t value, uint32_t width)
    {
        for (uint32_t i = width; i-- > 0;)
            m_bits[m_size++] = uint8_t((value >> i) & 1u);
    }
    uint32_t size() const { return m_size; }
    uint8_t operator[](uint32_t i) const { return m_bits[i]; }

private:
    uint8_t m_bits[128] = {};
    uint32_t m_size = 0;
};

uint16_t crcOf(const BitString &s)
{
    uint16_t crc = 0;
    for (uint32_t i = 0; i < s.size(); ++i) {
        const bool feedback = ((crc >> 14) & 1u) != s[i];
        crc = uint16_t((crc << 1) & 0x7FFFu);
        if (feedback)
            crc ^= 0x4599u;
    }
    return crc;
}

uint32_t stuffBits(const BitString &s)
{
    uint32_t stuffed = 0;
    uint32_t run = 0;
    uint8_t last = 2;
    for (uint32_t i = 0; i < s.size(); ++i) {
        if (s[i] == last) {
            ++run;
        } else {
            last = s[i];
            run = 1;
        }
        if (run == 5) {
            // The complement goes in and starts the next run.
            ++stuffed;
            last = uint8_t(1u - last);
            run = 1;
        }
    }
    return stuffed;
}

} // namespace

uint16_t FrameBits::crc15(const uint8_t *bits, uint32_t count)
{
    uint16_t crc = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const bool bit = (bits[i / 8] >> (7 - i % 8)) & 1u;
        const bool feedback = ((crc >> 14) & 1u) != bit;
        crc = uint16_t((crc << 1) & 0x7FFFu);
        if (feedback)
            crc ^= 0x4599u;
    }
    return crc;
}

uint32_t FrameBits::length(const VCI_CAN_OBJ &frame)
{
    const bool ext = frame.ExternFlag != 0;
    const bool rtr = frame.RemoteFlag != 0;
    // A controller sends the 4-bit length code as written; codes 9-15
    // carry 8 bytes.
    const uint32_t code = std::min<uint32_t>(frame.DataLen, 15);
    const uint32_t dlc = std::min<uint32_t>(code, 8);
    BitString s;
    s.append(0, 1); // start of frame
    if (ext) {
        const uint32_t id = frame.ID & 0x1FFFFFFFu;
        s.append(id >> 18, 11);
        s.append(1, 1); // SRR
        s.append(1, 1); // IDE
        s.append(id & 0x3FFFFu, 18);
        s.append(rtr ? 1 : 0, 1);
        s.append(0, 2); // r1, r0
    } else {
        s.append(frame.ID & 0x7FFu, 11);
        s.append(rtr ? 1 : 0, 1);
        s.append(0, 2); // IDE, r0
    }
    s.append(code, 4);
    if (!rtr) {
        for (uint32_t i = 0; i < dlc; ++i)
            s.append(frame.Data[i], 8);
    }
    s.append(crcOf(s), 15);
    // CRC delimiter, ACK slot, ACK delimiter, 7 EOF, 3 intermission.
    return s.size() + stuffBits(s) + 13;
}

uint64_t FrameBits::durationNs(const VCI_CAN_OBJ &frame, uint32_t bitRate)
{
    if (bitRate == 0)
        return 0;
    return uint64_t(length(frame)) * 1000000000ull / bitRate;
}

uint64_t FrameBits::arbitrationKey(const VCI_CAN_OBJ &f)
{
    const uint64_t rtr = f.RemoteFlag ? 1 : 0;
    if (f.ExternFlag) {
        const uint64_t id = f.ID & 0x1FFFFFFFu;
        return (id >> 18) << 21 | 1u << 20 | 1u << 19 | (id & 0x3FFFFu) << 1 | rtr;
    }
    return uint64_t(f.ID & 0x7FFu) << 21 | rtr << 20;
}
