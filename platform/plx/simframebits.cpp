#include "simframebits.h"

#include <algorithm>

namespace {

// The bits from SOF to the end of the CRC, one per byte.
class BitString
{
public:
    void put(uint32_t value, uint32_t bits)
    {
        for (uint32_t i = bits; i-- > 0;)
            m_bits[m_count++] = uint8_t((value >> i) & 1u);
    }
    const uint8_t *bits() const { return m_bits; }
    uint32_t count() const { return m_count; }

private:
    // SOF 1, arbitration 32, control 6, data 64, CRC 15.
    uint8_t m_bits[128] = {};
    uint32_t m_count = 0;
};

BitString stuffedPart(const VCI_CAN_OBJ &frame)
{
    BitString s;
    const uint32_t rtr = frame.RemoteFlag ? 1 : 0;
    s.put(0, 1); // SOF
    if (frame.ExternFlag) {
        const uint32_t id = frame.ID & 0x1FFFFFFFu;
        s.put(id >> 18, 11);
        s.put(1, 1); // SRR
        s.put(1, 1); // IDE
        s.put(id & 0x3FFFFu, 18);
        s.put(rtr, 1);
        s.put(0, 2); // r1, r0
    } else {
        s.put(frame.ID & 0x7FFu, 11);
        s.put(rtr, 1);
        s.put(0, 1); // IDE
        s.put(0, 1); // r0
    }
    s.put(frame.DataLen & 0x0Fu, 4);
    if (!frame.RemoteFlag) {
        const uint32_t n = std::min<uint32_t>(frame.DataLen & 0x0Fu, 8);
        for (uint32_t i = 0; i < n; ++i)
            s.put(frame.Data[i], 8);
    }
    s.put(SimFrameBits::crc15(s.bits(), s.count()), 15);
    return s;
}

} // namespace

uint16_t SimFrameBits::crc15(const uint8_t *bits, uint32_t count)
{
    uint16_t crc = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const bool next = (bits[i] != 0) != ((crc >> 14) & 1u);
        crc = uint16_t((crc << 1) & 0x7FFFu);
        if (next)
            crc ^= 0x4599u;
    }
    return crc;
}

uint32_t SimFrameBits::length(const VCI_CAN_OBJ &frame)
{
    const BitString s = stuffedPart(frame);
    uint32_t length = 0;
    uint32_t run = 0;
    uint8_t last = 2;
    for (uint32_t i = 0; i < s.count(); ++i) {
        const uint8_t bit = s.bits()[i];
        ++length;
        run = bit == last ? run + 1 : 1;
        last = bit;
        if (run == 5) {
            ++length; // the stuff bit, of the other level, starts a new run
            last = uint8_t(1 - bit);
            run = 1;
        }
    }
    return length + kTrailerBits;
}

uint64_t SimFrameBits::arbitrationKey(const VCI_CAN_OBJ &frame)
{
    // base(11) | RTR or SRR | IDE | extension(18) | RTR of an extended frame
    const uint64_t rtr = frame.RemoteFlag ? 1 : 0;
    if (frame.ExternFlag) {
        const uint64_t id = frame.ID & 0x1FFFFFFFu;
        return ((id >> 18) << 21) | (1u << 20) | (1u << 19) | ((id & 0x3FFFFu) << 1) | rtr;
    }
    return (uint64_t(frame.ID & 0x7FFu) << 21) | (rtr << 20);
}
