#include "framering.h"

#include <algorithm>
#include <cstring>

// The slots are left uninitialised (plain records): untouched pages of a
// large, mostly idle ring cost no memory.
FrameRing::FrameRing(uint32_t capacity)
    : m_slots(new VCI_CAN_OBJ[capacity ? capacity : 1]), m_capacity(capacity ? capacity : 1)
{
}

bool FrameRing::push(const VCI_CAN_OBJ &frame)
{
    if (m_size == m_capacity)
        return false;
    uint32_t tail = m_head + m_size;
    if (tail >= m_capacity)
        tail -= m_capacity;
    m_slots[tail] = frame;
    ++m_size;
    return true;
}

uint32_t FrameRing::pop(VCI_CAN_OBJ *out, uint32_t max)
{
    const uint32_t n = std::min(max, m_size);
    if (n == 0)
        return 0;
    const uint32_t first = std::min(n, m_capacity - m_head);
    std::memcpy(out, &m_slots[m_head], first * sizeof(VCI_CAN_OBJ));
    if (n > first)
        std::memcpy(out + first, &m_slots[0], (n - first) * sizeof(VCI_CAN_OBJ));
    m_head += n;
    if (m_head >= m_capacity)
        m_head -= m_capacity;
    m_size -= n;
    if (m_size == 0)
        m_head = 0;
    return n;
}

void FrameRing::clear()
{
    m_head = 0;
    m_size = 0;
}
