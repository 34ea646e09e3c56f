// Fixed-capacity FIFO of frames, allocated once. Not thread-safe: the
// owning channel guards it with its mutex.
#pragma once

#include "vci.h"

#include <memory>

class FrameRing
{
public:
    explicit FrameRing(uint32_t capacity);

    uint32_t capacity() const { return m_capacity; }
    uint32_t size() const { return m_size; }
    bool full() const { return m_size == m_capacity; }

    // Appends a copy; false (and nothing stored) when the ring is full.
    bool push(const VCI_CAN_OBJ &frame);
    // Moves up to max of the oldest frames to out; returns how many.
    uint32_t pop(VCI_CAN_OBJ *out, uint32_t max);
    void clear();

private:
    std::unique_ptr<VCI_CAN_OBJ[]> m_slots;
    uint32_t m_capacity;
    uint32_t m_head = 0; // index of the oldest frame
    uint32_t m_size = 0;
};
