// One simulated SJA1000 CAN controller as the board drivers use it: its
// 128 registers, receive FIFO, transmit buffer, error counters and
// interrupt output. A transmission request asks the bus for its frame;
// the bus reports the end of the frame's bus time (transmissionEnded).
//
// Modes. After power-up the controller is in BasicCAN mode (CDR bit 7
// clear) and in reset mode. BasicCAN is kept to what matters for the
// switch: register 0 is the control register (bit 0 reset request, the
// other bits stored but without effect) and register 31 is CDR; every
// other register reads 0xFF and ignores writes. Setting CDR bit 7 in reset
// mode selects PeliCAN mode with MOD 0x01: mode bits written to register 0
// before the switch are lost.
//
// PeliCAN mode follows the data sheet where the drivers can see it:
// - MOD: LOM, STM and AFM change only in a write made in reset mode (the
//   write that enters reset mode keeps them); entering reset mode empties
//   the receive FIFO and drops a pending transmission; sleep is ignored.
// - BTR0, BTR1, OCR, EWLR, RXERR, TXERR, ACR/AMR (16..23) and RBSA are
//   writable in reset mode only; CDR bits 7..5 too.
// - 16..28 in operating mode: reads give the oldest received message
//   (FIFO bytes from RBSA on), writes fill the transmit buffer while it is
//   free; in reset mode 24..28 read 0.
// - IR: latched flags only for enabled sources, cleared by the read; RI
//   follows "FIFO not empty and RIE" and survives the read. ALC and ECC
//   capture once until read.
// - 64-byte FIFO: a message takes 3 (standard) or 5 (extended) bytes plus
//   its data; one that does not fit is lost and sets data overrun.
// - Transmission: acknowledged when another node at the same bit rate can
//   acknowledge (the bus decides) or in self-test mode; without one the
//   request stays pending and is sent again, each attempt counting an
//   acknowledge error (TXERR +8 up to error passive, bus error 0xD9)
//   until aborted. Listen only never transmits. TR|AT is a single shot:
//   one attempt. An abort drops the request; a frame already on the bus
//   is cut short by an error frame and reaches nobody.
// - Bus off when TXERR passes 255: reset mode, TXERR 127, RXERR 0. Leaving
//   reset mode then recovers at once (TXERR and RXERR 0); writing TXERR in
//   reset mode ends bus off as well.
// Not thread-safe: the owning board serialises every call.
#pragma once

#include "vci.h"

#include <cstdint>

class SimSja1000
{
public:
    // What the controller needs of the bus it sits on.
    class Bus
    {
    public:
        // sender wants the bus for its transmit buffer's frame.
        virtual void requestBus(SimSja1000 &sender, const VCI_CAN_OBJ &frame) = 0;
        // sender no longer wants it (abort, reset mode).
        virtual void withdrawBus(SimSja1000 &sender) = 0;

    protected:
        ~Bus() = default;
    };

    struct Stats {
        uint64_t received = 0;    // messages stored in the FIFO
        uint64_t overruns = 0;    // accepted messages lost to a full FIFO
        uint64_t transmitted = 0; // transmissions completed
        uint64_t requested = 0;   // transmissions the host asked for
    };

    static constexpr uint8_t kRegisters = 128;
    static constexpr uint32_t kFifoSize = 64;

    explicit SimSja1000(Bus &bus);

    // Hardware reset: BasicCAN, reset mode, registers at their reset values.
    void powerUp();
    // An absent controller reads 0xFF and ignores writes (a dead chip).
    void setPresent(bool present) { m_present = present; }

    uint8_t read(uint8_t reg);
    void write(uint8_t reg, uint8_t value);
    // The register's value without the side effects of a read.
    uint8_t peek(uint8_t reg) const;

    // The interrupt output: some enabled source is pending.
    bool interruptPending() const;

    // Bit rate of the timing registers (16 MHz clock), bit/s.
    uint32_t bitRate() const;
    // Whether this controller would acknowledge a frame at bitRate.
    bool acknowledges(uint32_t bitRate) const;
    bool selfTest() const;
    bool errorPassive() const { return m_r.txerr >= 128 || m_r.rxerr >= 128; }
    // The bus time of this controller's frame has passed. True when the
    // request stays pending for another attempt.
    bool transmissionEnded(bool acknowledged);
    // A frame another node sent at bitRate; true when it was stored.
    bool receive(const VCI_CAN_OBJ &frame, uint32_t bitRate);

    // Bus events caused by the test API. ecc as the ECC register encodes
    // it (bit 5 set: during reception, else transmission).
    void busError(uint8_t ecc);
    void arbitrationLost(uint8_t bitNumber);

    const Stats &stats() const { return m_stats; }

private:
    enum : uint8_t {
        kRM = 0x01, kLOM = 0x02, kSTM = 0x04, kAFM = 0x08,
        kTR = 0x01, kAT = 0x02, kRRB = 0x04, kCDO = 0x08, kSRR = 0x10,
        kRI = 0x01, kTI = 0x02, kEI = 0x04, kDOI = 0x08, kEPI = 0x20, kALI = 0x40, kBEI = 0x80,
    };

    bool peliCan() const { return (m_r.cdr & 0x80) != 0; }
    void writeClockDivider(uint8_t value);
    bool resetMode() const { return (m_r.mod & kRM) != 0; }
    uint8_t status() const;
    uint8_t interrupts() const;
    void writePeliCan(uint8_t reg, uint8_t value);
    uint8_t readPeliCan(uint8_t reg);
    void writeMode(uint8_t value);
    void enterResetMode();
    void command(uint8_t value);
    void requestTransmission(bool selfReception, bool singleShot);
    void abortTransmission();
    VCI_CAN_OBJ transmitFrame() const;
    bool store(const VCI_CAN_OBJ &frame);
    bool accepts(const VCI_CAN_OBJ &frame) const;
    void releaseMessage();
    uint32_t messageLength(uint32_t at) const;
    // Latches flag when its source is enabled (IER has the IR layout).
    void raise(uint8_t flag);
    void setErrorCounters(int rx, int tx);
    void goBusOff();

    // Register state, as after power-up.
    struct Registers {
        uint8_t cdr = 0;
        uint8_t control = kRM; // BasicCAN register 0
        uint8_t mod = kRM;
        uint8_t ier = 0;
        uint8_t ir = 0; // latched flags, RI excluded
        uint8_t btr0 = 0, btr1 = 0, ocr = 0;
        uint8_t ewlr = 96, rxerr = 0, txerr = 0;
        uint8_t alc = 0, ecc = 0;
        bool alcHeld = false, eccHeld = false;
        bool busOff = false;
        bool dataOverrun = false;
        bool txPending = false, txComplete = true;
        bool selfReception = false, singleShot = false;
        uint8_t acr[4] = {}, amr[4] = {0xFF, 0xFF, 0xFF, 0xFF};
        uint8_t txBuffer[13] = {};
        uint8_t fifo[kFifoSize] = {};
        uint32_t rbsa = 0;     // start of the oldest message
        uint32_t used = 0;     // bytes held
        uint32_t messages = 0;
    };

    Bus &m_bus;
    bool m_present = true;
    Registers m_r;
    Stats m_stats;
};
