// The register steps behind the channel operations of a board's SJA1000
// controllers (initialise, start, reset, clear, status, register get and
// set) and the transmit of one frame, with the per-channel state they
// keep: the acceptance code and mask of the last initialisation and the
// transmit mode. Every register access goes through the board.
//
// Lock order: a channel's own transmit mutex, then the handshake (counters
// only), then the transmit lock, then the board's register lock. The
// transmit lock guards the one staging buffer and the per-channel state;
// it and the handshake are held only while a frame is loaded and
// commanded, never while a transmitter polls for its completion. Callers
// check the channel.
//
// Board gone: a controller that was initialised answers its status and
// interrupt registers with 0xFF only when the board is no longer there
// (no SJA1000 reads all ones there while IER is 0xC9). From then on every
// transmit fails and the receive thread leaves the board alone.
#pragma once

#include "boardfamily.h"
#include "ctxrxhandshake.h"
#include "sjaframe.h"
#include "vci.h"

#include <array>
#include <atomic>
#include <mutex>

class CSjaChannelControl
{
public:
    static constexpr uint32_t kPace = 38000;         // busy steps before each frame
    static constexpr uint32_t kStatusPolls = 131070; // SR reads before giving up
    static constexpr int kAttempts = 3;

    // closing: set while the device closes; waits for the controller stop early.
    CSjaChannelControl(CWrapPlxPCI &board, const BoardFamily &family, CTxRxHandshake &handshake,
                       const std::atomic<bool> &closing);

    // The board was opened (and reset): every channel back to normal mode,
    // none initialised, the board there.
    void forgetChannels();

    // A channel whose last initialisation read back: the receive thread
    // serves it, and 0xFF from it means the board is gone.
    bool initialised(uint32_t channel) const { return m_initialised[channel].load(); }
    bool gone() const { return m_gone.load(); }
    // True when value, read from the channel's status or interrupt
    // register, cannot be used: 0xFF (marking the board gone when the
    // channel was initialised) or the board is gone already.
    bool unusable(uint32_t channel, uint8_t value);

    // Reset mode, PeliCAN, the configuration's mode bits (the old ones do not
    // stick), timing, filter. False when BTR0/BTR1 do not read back.
    bool init(uint32_t channel, const VCI_INIT_CONFIG &config);
    bool start(uint32_t channel); // IER reads back 0xC9
    void reset(uint32_t channel);
    // Releases the controller's receive buffer; the mode bits stay.
    void releaseReceiveBuffer(uint32_t channel);
    // Reads the status registers. Reading IR clears the controller's error
    // flags: the value read is returned for the caller to file them.
    VCI_CAN_STATUS readStatus(uint32_t channel);
    uint8_t readRegister(uint32_t channel, uint8_t reg) { return m_board.readRegister(channel, reg); }
    void writeRegister(uint32_t channel, uint8_t reg, uint8_t value) { m_board.writeRegister(channel, reg, value); }

    // Sends one frame and waits for its completion. A SendType above 3 is
    // refused without touching the controller.
    bool transmit(uint32_t channel, const VCI_CAN_OBJ &frame);
    // Receive thread, for a bus-off channel: the last initialisation's
    // code and mask again, then out of reset mode to rejoin the bus.
    void recoverBusOff(uint32_t channel);

private:
    void load(uint32_t channel, const VCI_CAN_OBJ &frame);
    void abort(uint32_t channel);
    void setSendMode(uint32_t channel, uint8_t sendType);
    void enterSelfTest(uint32_t channel, uint8_t sendType);
    void leaveSelfTest(uint32_t channel);
    bool waitForStatus(uint32_t channel, uint8_t bit);
    void writeAcceptance(uint32_t channel, uint32_t code, uint32_t mask);
    bool isPci() const { return m_family.kind == BoardFamily::Kind::Pci; }

    CWrapPlxPCI &m_board;
    const BoardFamily &m_family;
    CTxRxHandshake &m_handshake;
    const std::atomic<bool> &m_closing;

    std::array<std::mutex, CWrapPlxPCI::kMaxChannels> m_channelTransmit; // one frame at a time per channel
    DrvPort::CriticalSection m_transmitLock;
    SjaFrame::Bytes m_staging{};
    std::array<uint32_t, CWrapPlxPCI::kMaxChannels> m_accCode{};
    std::array<uint32_t, CWrapPlxPCI::kMaxChannels> m_maskCode{};
    std::array<bool, CWrapPlxPCI::kMaxChannels> m_selfTest{};        // PCI Express
    std::array<uint8_t, CWrapPlxPCI::kMaxChannels> m_lastSendType{}; // PCI
    std::array<std::atomic<bool>, CWrapPlxPCI::kMaxChannels> m_initialised{};
    std::atomic<bool> m_gone{false};
};
