#include "backgroundnode.h"

namespace {

constexpr uint64_t kNsPerSecond = 1000000000ull;

// Frames due within elapsed ns at rate frames/s (no overflow for any
// realistic run time: rem * rate < 1e9 * 1e6).
uint64_t framesDue(uint64_t elapsedNs, uint64_t rate)
{
    return elapsedNs / kNsPerSecond * rate + elapsedNs % kNsPerSecond * rate / kNsPerSecond;
}

// Time (ns from the schedule start) at which frame number n (1-based) is due.
uint64_t dueTimeNs(uint64_t n, uint64_t rate)
{
    return n / rate * kNsPerSecond + (n % rate * kNsPerSecond + rate - 1) / rate;
}

} // namespace

void BackgroundNode::start(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond, int64_t beginNs)
{
    m_rate = framesPerSecond;
    m_bitRate = bitRate;
    m_id = id & 0x7FFu;
    m_begin = beginNs;
    m_next = 1;
    m_counter = 0;
}

int64_t BackgroundNode::dueNs() const
{
    return m_begin + int64_t(dueTimeNs(m_next, m_rate));
}

VCI_CAN_OBJ BackgroundNode::take(int64_t startNs, uint64_t *notCarried)
{
    VCI_CAN_OBJ f{};
    f.ID = m_id;
    f.DataLen = 8;
    const uint32_t c = m_counter++;
    f.Data[0] = uint8_t(c);
    f.Data[1] = uint8_t(c >> 8);
    f.Data[2] = uint8_t(c >> 16);
    f.Data[3] = uint8_t(c >> 24);
    const uint64_t due = startNs > m_begin ? framesDue(uint64_t(startNs - m_begin), m_rate) : 0;
    *notCarried = due > m_next ? due - m_next : 0;
    m_next = (due > m_next ? due : m_next) + 1;
    return f;
}
