// The simulated bus of one device: its channels, the frames waiting for
// the bus and the one frame on it. With bus time (the default) a frame
// occupies the bus for FrameBits::length bits at its sender's bit rate;
// waiting frames go in arbitration order; receivers get a frame at the end
// of its bus time, stamped with that time. A bus thread, running while the
// device is open, sleeps until the frame on the bus ends (at least a tick)
// and then hands out every frame that ended meanwhile. In overload mode
// frames reach the receivers inside the call that sends them, at any rate.
#pragma once

#include "backgroundnode.h"
#include "simchannel.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class SimBus
{
public:
    using Clock = std::chrono::steady_clock;
    // Granularity of the bus thread: frames are handed out at most this
    // late; their time stamps are exact.
    static constexpr std::chrono::microseconds kTick{1000};
    // Room a waiting VCI_Transmit wants before it refills (or what it still has).
    static constexpr uint32_t kRefill = 32;

    explicit SimBus(uint32_t channelCount);
    ~SimBus();
    SimBus(const SimBus &) = delete;
    SimBus &operator=(const SimBus &) = delete;

    uint32_t channelCount() const { return uint32_t(m_channels.size()); }
    // nullptr when index is out of range.
    SimChannel *channel(uint32_t index) const;

    // VCI_Transmit on channel sender: queues what the sender accepts and its
    // transmit queue holds, waiting up to VCISIM_TX_WAIT_MS for room.
    // Returns the number queued. The frames go to every other channel (same
    // bit rate, filter) and, for SendType 2/3 or self-test mode, back to
    // the sender.
    uint32_t transmit(uint32_t sender, const VCI_CAN_OBJ *frames, uint32_t count);
    // Frames of a node running at the target's rate, to that channel only;
    // 0 unless the target is started. Returns the number queued.
    uint32_t inject(uint32_t target, const VCI_CAN_OBJ *frames, uint32_t count);
    // Overload mode: background frames at bitRate, offered to every channel.
    void broadcast(const VCI_CAN_OBJ *frames, uint32_t count, uint32_t bitRate);
    // Bus-time mode: the background node (framesPerSecond 0 stops it). Set
    // while closed, it starts when the bus opens.
    void setBackground(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond);

    // Starts the channels and the bus afresh; time counts from epoch.
    void open(Clock::time_point epoch, bool overload);
    // Stops the bus thread and every channel; waiting frames are dropped
    // and the background node stops.
    void close();
    void forgetSettings();
    bool overloaded() const;

    // Frames the bus carried and background frames it could not carry
    // since it was opened.
    void busCounters(uint64_t *carried, uint64_t *notCarried);

private:
    enum : uint32_t { kInjected = 0xFFFFFFFEu, kBackground = 0xFFFFFFFFu };
    struct Pending {
        VCI_CAN_OBJ frame;
        int64_t readyNs;   // when it was queued, ns of bus time
        uint32_t bitRate;
        uint32_t tag;      // sender generation, or target channel
    };
    struct OnBus {
        VCI_CAN_OBJ frame;
        uint32_t source;   // channel index, kInjected or kBackground
        uint32_t target;   // kInjected: the receiving channel
        uint32_t bitRate;
        int64_t endNs;
    };

    int64_t nowNs() const;
    void run();
    // Puts frames on the bus until the one on it ends after nowNs; ended
    // frames go to ended. True when a transmit queue got room.
    bool advanceLocked(int64_t nowNs, std::vector<OnBus> &ended);
    // A transmitter waiting for room brings the bus up to the present
    // itself: room frees by bus time, however late a loaded host runs the
    // bus thread, which still hands out what ended (m_ended).
    void catchUpLocked();
    // Starts the frame that wins the bus when it goes free, if by nowNs.
    bool startNextLocked(int64_t nowNs, bool *room);
    // Hands the ended frames to the channels, one call per channel.
    void deliver(const std::vector<OnBus> &ended, std::vector<SimChannel::Arrival> &arrivals);
    void dropStaleLocked(uint32_t channel);

    std::vector<std::unique_ptr<SimChannel>> m_channels;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake; // the bus thread
    std::condition_variable m_room; // transmitters waiting for queue room
    bool m_open = false;
    bool m_overload = false;
    bool m_stopping = false;
    uint32_t m_txWaiters = 0; // VCI_Transmit calls waiting for room
    std::thread m_thread;
    Clock::time_point m_epoch;
    std::vector<std::deque<Pending>> m_queues; // per channel, VCISIM_TX_QUEUE_DEPTH at most
    std::deque<Pending> m_injected;            // VCISIM_INJECT_CAPACITY at most
    BackgroundNode m_background;
    uint32_t m_pendingRate = 0, m_pendingId = 0, m_pendingFps = 0; // set while closed
    bool m_busy = false;
    OnBus m_current{};
    std::vector<OnBus> m_ended; // ended, in bus order, for the bus thread to hand out
    int64_t m_freeNs = 0; // when the bus went idle
    uint64_t m_carried = 0;
    uint64_t m_notCarried = 0;
};
