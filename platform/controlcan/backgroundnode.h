// The schedule of the background node of a bus with bus time: frame n
// (1-based) falls due n/rate seconds after the schedule begins and waits
// for the bus. The node holds one frame: frames that fall due while it
// still waits are not carried (counted), so a rate above what the bus can
// carry is carried at the bus's capacity. Not thread-safe: the bus guards it.
#pragma once

#include "vci.h"

#include <cstdint>

class BackgroundNode
{
public:
    void start(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond, int64_t beginNs);
    void stop() { m_rate = 0; }
    bool active() const { return m_rate != 0; }
    uint32_t bitRate() const { return m_bitRate; }
    uint32_t id() const { return m_id; }

    // When the waiting frame fell due, ns of bus time.
    int64_t dueNs() const;
    // The waiting frame, put on the bus at startNs; the next one waits
    // after it. *notCarried gets the frames skipped meanwhile.
    VCI_CAN_OBJ take(int64_t startNs, uint64_t *notCarried);

private:
    uint64_t m_rate = 0;   // frames per second, 0 = no node
    uint32_t m_bitRate = 0;
    uint32_t m_id = 0;
    int64_t m_begin = 0;   // ns of bus time
    uint64_t m_next = 1;   // schedule number of the waiting frame
    uint32_t m_counter = 0; // frames carried: data bytes 0..3
};
