// Keeps transmits and receive rounds of one board apart: a receive round
// waits for the transmits in progress, and new transmits wait while a
// round waits or runs, so the receive side is never starved. Rounds run
// one at a time. The mutex guards only the counters; it is never held
// during a register access.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

class CTxRxHandshake
{
public:
    void enterTransmit();
    void leaveTransmit();
    void enterReceive();
    void leaveReceive();

    class Transmit
    {
    public:
        explicit Transmit(CTxRxHandshake &h) : m_h(h) { m_h.enterTransmit(); }
        ~Transmit() { m_h.leaveTransmit(); }
        Transmit(const Transmit &) = delete;
        Transmit &operator=(const Transmit &) = delete;

    private:
        CTxRxHandshake &m_h;
    };

    class Receive
    {
    public:
        explicit Receive(CTxRxHandshake &h) : m_h(h) { m_h.enterReceive(); }
        ~Receive() { m_h.leaveReceive(); }
        Receive(const Receive &) = delete;
        Receive &operator=(const Receive &) = delete;

    private:
        CTxRxHandshake &m_h;
    };

private:
    std::mutex m_mutex;
    std::condition_variable m_receiveCondition;
    std::condition_variable m_transmitCondition;
    uint32_t m_transmitters = 0;  // inside a transmit
    uint32_t m_receiveRounds = 0; // waiting or running
    bool m_receiveRunning = false;
};
