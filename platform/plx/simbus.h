// The timeline of a simulated board's CAN bus: frames wait for the bus,
// go out one at a time in arbitration order and occupy it for their
// length in bits at their bit rate. Controllers at different bit rates
// cannot share a wire, so each bit rate is a bus of its own.
//
// Time is kept on the bus, not by a thread: callers pass the present and
// take the frames whose bus time has ended by then (nextEnded), in the
// order they ended. A frame starts when its bus is free, among the frames
// waiting at that moment, so a late caller sees the same schedule as a
// punctual one. With the overload switch frames take no bus time.
// Not thread-safe: the owning board serialises every call.
#pragma once

#include "vci.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <vector>

class SimBus
{
public:
    using Clock = std::chrono::steady_clock;

    enum class Source { Controller, Partner, Traffic };

    struct Frame {
        VCI_CAN_OBJ frame{};
        uint32_t bitRate = 0;
        Source source = Source::Partner;
        const void *owner = nullptr; // the sending controller
        Clock::time_point since;     // waiting from
        uint64_t key = 0;            // arbitration key (FrameBits), set when queued
        uint64_t order = 0;          // queueing order, for equal keys
        uint64_t batch = 0;          // partner frames: their send call
        bool withdrawn = false;      // sender gave up while on the bus
        Clock::time_point start, end;
    };

    // Background frames waiting beyond this are not carried.
    static constexpr size_t kTrafficQueue = 256;

    void setOverload(bool overload) { m_overload = overload; }
    bool overload() const { return m_overload; }

    // Time on the bus of one frame at bitRate.
    Clock::duration busTime(const VCI_CAN_OBJ &frame, uint32_t bitRate) const;

    // A controller asks for the bus (its one transmit buffer: an earlier
    // request of the same owner is replaced).
    void request(const void *owner, const VCI_CAN_OBJ &frame, uint32_t bitRate, Clock::time_point since);
    // The controller dropped its request; a frame already on the bus is
    // cut short by an error frame (it ends, but reaches nobody).
    void withdraw(const void *owner);
    void sendPartner(const VCI_CAN_OBJ &frame, uint32_t bitRate, uint64_t batch, Clock::time_point since);
    // False when the background traffic's queue is full.
    bool offerTraffic(const VCI_CAN_OBJ &frame, uint32_t bitRate, Clock::time_point since);
    void dropTraffic();
    // Everything waiting or on the bus is forgotten; the buses are idle.
    void clear();

    // The next frame whose bus time ended by now; false when there is none.
    bool nextEnded(Clock::time_point now, Frame &out);
    // When the next frame ends or a waiting one may start; max() if never.
    Clock::time_point nextEvent() const;

private:
    struct Lane {
        bool busy = false;
        Frame onBus;
        Clock::time_point freeAt;
    };

    void startIfIdle(uint32_t bitRate, Lane &lane, Clock::time_point now);
    void enqueue(const VCI_CAN_OBJ &frame, uint32_t bitRate, Source source, Clock::time_point since,
                 const void *owner = nullptr, uint64_t batch = 0);

    bool m_overload = false;
    uint64_t m_order = 0;
    std::vector<Frame> m_waiting;
    std::map<uint32_t, Lane> m_lanes;
    size_t m_trafficWaiting = 0;
};
