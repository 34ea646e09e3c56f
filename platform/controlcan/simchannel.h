// One simulated CAN channel: its controller settings, receive store, error
// store, status registers, reference values and counters, all guarded by
// the channel's own mutex. Every member function is thread-safe.
#pragma once

#include "acceptancefilter.h"
#include "framering.h"
#include "vcisim.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

class SimChannel
{
public:
    // Where frames offered to deliver() come from.
    enum class Source {
        Bus,        // another channel of the device sent them: bit rate must match
        Own,        // this channel sent them: stored when self reception applies
        Injected,   // VCISIM_InjectFrames: another node at this channel's rate
        Background, // background traffic: bit rate must match; counted as generated
    };
    // What VCI_Transmit may send: at most accepted frames (0 = refused) at
    // bitRate, while generation() still equals generation.
    struct TxGrant {
        uint32_t accepted = 0;
        uint32_t bitRate = 0;
        uint32_t generation = 0;
    };

    SimChannel();
    SimChannel(const SimChannel &) = delete;
    SimChannel &operator=(const SimChannel &) = delete;

    // Device opened: forgets frames, errors, references, counters and the
    // controller settings (not initialised, stopped). Device time counts
    // from epoch. Status and transmit limit are kept (see forgetSettings).
    void open(std::chrono::steady_clock::time_point epoch);
    // Device closed: stops the channel and wakes blocked receivers.
    void close();
    // Forgets the test settings: status registers and transmit limit.
    void forgetSettings();

    bool init(const VCI_INIT_CONFIG &config); // leaves the channel stopped
    bool start();                             // needs a previous init
    bool reset();                             // stops; keeps stored frames

    TxGrant beginTransmit(uint32_t count);
    // Frames that VCI_Transmit handed to the bus.
    void countTransmitted(uint32_t count);
    // Changes whenever the controller stops or is set up again: frames it
    // queued before then are not sent. Lock-free.
    uint32_t generation() const { return m_generation.load(std::memory_order_acquire); }
    // The bit rate of a started channel on an open device, else 0.
    uint32_t receivingRate();
    // Stores the frames this channel receives, time-stamped at (the end of
    // their bus time); returns how many were stored.
    uint32_t deliver(const VCI_CAN_OBJ *frames, uint32_t count, Source source, uint32_t bitRate,
                     std::chrono::steady_clock::time_point at);
    // One frame each, under one lock: what the bus handed out in one round.
    struct Arrival {
        const VCI_CAN_OBJ *frame;
        Source source;
        uint32_t bitRate;
        std::chrono::steady_clock::time_point at;
    };
    uint32_t deliver(const Arrival *arrivals, uint32_t count);

    uint32_t receive(VCI_CAN_OBJ *out, uint32_t capacity, uint32_t waitMs);
    uint32_t pending();
    bool clearBuffer();

    bool pushError(const VCI_ERR_INFO &error);
    bool popError(VCI_ERR_INFO *out); // zeroes *out when nothing is waiting

    void setStatus(const VCI_CAN_STATUS &status);
    bool status(VCI_CAN_STATUS *out);
    void setTransmitLimit(int32_t limit);

    // data points to a 32-bit value, stored per reference type.
    bool setReference(uint32_t refType, const void *data);
    bool reference(uint32_t refType, void *data);

    VCISIM_STATS stats();

private:
    static constexpr uint32_t kMaxReferences = 16;
    struct Reference {
        uint32_t type;
        uint32_t value;
    };

    uint32_t deviceTimeLocked(std::chrono::steady_clock::time_point at) const;
    void stoppedLocked();
    bool pushErrorLocked(const VCI_ERR_INFO &error);
    void deliverLocked(const VCI_CAN_OBJ &frame, Source source, uint32_t bitRate,
                       std::chrono::steady_clock::time_point at, uint32_t &stored);
    void storeLocked(const VCI_CAN_OBJ &frame, uint32_t &stored);

    std::mutex m_mutex;
    std::atomic<uint32_t> m_generation{0};
    std::condition_variable m_frameArrived;
    uint32_t m_waiters = 0;
    uint64_t m_wakeGeneration = 0;

    bool m_open = false;
    bool m_initialised = false;
    bool m_started = false;
    uint8_t m_workMode = 0;
    uint32_t m_bitRate = 0;
    AcceptanceFilter m_filter;
    std::chrono::steady_clock::time_point m_epoch;

    FrameRing m_rx;
    bool m_overflowing = false;
    std::deque<VCI_ERR_INFO> m_errors;
    VCI_CAN_STATUS m_status{};
    int32_t m_txLimit = -1;
    Reference m_references[kMaxReferences]{};
    uint32_t m_referenceCount = 0;
    VCISIM_STATS m_stats{};
};
