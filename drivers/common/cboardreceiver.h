// The receive thread of an open board: waits up to 100 ms for the board's
// interrupt (re-enabling it before every wait) and after each interrupt or
// time-out visits every initialised channel under the receive side of the
// handshake. Per channel it moves the received frames into the channel's
// store (further frames of the same round while the receive flag stays
// set, so the 64-byte FIFO keeps up at full bus load), reading of each
// only the bytes it has; files a record for every error flag of each
// interrupt-register value it read, clears a data overrun and recovers a
// bus-off channel. Once the board is gone (csjachannelcontrol.h) it files
// one 0xE5 record with every field 0xFF per initialised channel and
// touches the board no more.
//
// A failed interrupt enable or a notification wait that fails other than
// by a time-out (a UIO node that hung up, a board gone from the bus) ends
// the thread for good: every channel gets a bus error record (0xE5), one
// line goes to stderr, and failed() stays true until the next start().
//
// start() and stop() come from the VCI_ open and close; start() returns
// once the thread waits for the first interrupt (false when it could not
// enable it and ended), stop() once the thread has ended.
#pragma once

#include "cchannelstore.h"
#include "csjachannelcontrol.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

class CBoardReceiver
{
public:
    using Stores = std::array<CChannelStore, CWrapPlxPCI::kMaxChannels>;

    static constexpr uint64_t kWaitMs = 100;
    static constexpr uint32_t kFramesPerRound = 32; // more than a FIFO holds

    CBoardReceiver(CWrapPlxPCI &board, CSjaChannelControl &control, CTxRxHandshake &handshake, Stores &stores);
    ~CBoardReceiver();
    CBoardReceiver(const CBoardReceiver &) = delete;
    CBoardReceiver &operator=(const CBoardReceiver &) = delete;

    // The record the board's notification is registered with.
    const PlxInterrupt &interrupt() const { return m_interrupt; }

    bool start(uint32_t channels);
    void stop();
    // The thread ended on a failure of the board (see above).
    bool failed() const { return m_failed.load(); }

    // Files the error records for the flags of one interrupt-register
    // value (bus error 0xE3, overrun 0xE1, arbitration lost 0xE4) and
    // clears a data overrun.
    void fileErrors(uint32_t channel, uint8_t interrupts);

private:
    enum class State { Starting, Listening, Ended };

    void run();
    void setState(State state);
    void serviceChannel(uint32_t channel);
    void fail(const char *step, uint32_t status);
    // One frame from the receive buffer: frame information, identifier and
    // data bytes as the frame has them; the rest of the record is 0.
    SjaFrame::Bytes readFrame(uint32_t channel);
    void reportGone();

    CWrapPlxPCI &m_board;
    CSjaChannelControl &m_control;
    CTxRxHandshake &m_handshake;
    Stores &m_stores;
    PlxInterrupt m_interrupt{};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_failed{false};
    uint32_t m_channels = 0; // set before the thread starts
    bool m_goneReported = false; // receive thread only
    std::mutex m_stateMutex;
    std::condition_variable m_stateChanged;
    State m_state = State::Ended;
    bool m_listened = false; // reached Listening since start(); under m_stateMutex
    long m_threadId = 0; // set by the thread before it leaves Starting
    std::thread m_thread;
};
