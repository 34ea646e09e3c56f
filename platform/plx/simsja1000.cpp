#include "simsja1000.h"

#include "acceptancefilter.h"

#include <algorithm>

namespace {

// Register numbers in PeliCAN mode.
enum : uint8_t {
    MOD = 0, CMR = 1, SR = 2, IR = 3, IER = 4, BTR0 = 6, BTR1 = 7, OCR = 8, ALC = 11, ECC = 12,
    EWLR = 13, RXERR = 14, TXERR = 15, FRAME = 16, FRAME_END = 28, RMC = 29, RBSA = 30, CDR = 31,
    FIFO_RAM = 32, TX_RAM = 96,
};

constexpr uint8_t kEccAckError = 0xD9; // other error, transmitting, in the acknowledge slot
constexpr uint8_t kEccReceiving = 0x20;
constexpr int kPassive = 128;

uint8_t dataBytes(const VCI_CAN_OBJ &frame)
{
    return frame.RemoteFlag ? 0 : std::min<uint8_t>(frame.DataLen, 8);
}

} // namespace

SimSja1000::SimSja1000(Bus &bus) : m_bus(bus)
{
}

void SimSja1000::powerUp()
{
    m_r = Registers{};
}

uint32_t SimSja1000::bitRate() const
{
    const uint32_t brp = m_r.btr0 & 0x3Fu;
    const uint32_t tseg1 = m_r.btr1 & 0x0Fu;
    const uint32_t tseg2 = (m_r.btr1 >> 4) & 0x07u;
    return 16000000u / (2u * (brp + 1u) * (tseg1 + tseg2 + 3u));
}

bool SimSja1000::acknowledges(uint32_t rate) const
{
    return m_present && peliCan() && !resetMode() && !m_r.busOff && !(m_r.mod & kLOM) && bitRate() == rate;
}

uint8_t SimSja1000::status() const
{
    const bool warning = m_r.rxerr >= m_r.ewlr || m_r.txerr >= m_r.ewlr;
    return uint8_t((m_r.messages > 0 ? 0x01 : 0) | (m_r.dataOverrun ? 0x02 : 0) | (m_r.txPending ? 0 : 0x04)
                   | (m_r.txComplete ? 0x08 : 0) | (m_r.txPending ? 0x20 : 0) | (warning ? 0x40 : 0)
                   | (m_r.busOff ? 0x80 : 0));
}

uint8_t SimSja1000::interrupts() const
{
    return uint8_t(m_r.ir | (m_r.messages > 0 && (m_r.ier & kRI) ? kRI : 0));
}

bool SimSja1000::interruptPending() const
{
    return m_present && peliCan() && interrupts() != 0;
}

uint8_t SimSja1000::peek(uint8_t reg) const
{
    if (!m_present || reg >= kRegisters)
        return 0xFF;
    if (!peliCan())
        return reg == 0 ? m_r.control : reg == CDR ? m_r.cdr : 0xFF;
    switch (reg) {
    case MOD: return m_r.mod;
    case CMR: return 0xFF;
    case SR: return status();
    case IR: return interrupts();
    case IER: return m_r.ier;
    case BTR0: return m_r.btr0;
    case BTR1: return m_r.btr1;
    case OCR: return m_r.ocr;
    case ALC: return m_r.alc;
    case ECC: return m_r.ecc;
    case EWLR: return m_r.ewlr;
    case RXERR: return m_r.rxerr;
    case TXERR: return m_r.txerr;
    case RMC: return uint8_t(m_r.messages);
    case RBSA: return uint8_t(m_r.rbsa);
    case CDR: return m_r.cdr;
    default: break;
    }
    if (reg >= FRAME && reg <= FRAME_END) {
        const uint32_t i = reg - FRAME;
        if (!resetMode())
            return m_r.fifo[(m_r.rbsa + i) % kFifoSize];
        return i < 4 ? m_r.acr[i] : i < 8 ? m_r.amr[i - 4] : 0;
    }
    if (reg >= FIFO_RAM && reg < FIFO_RAM + kFifoSize)
        return m_r.fifo[reg - FIFO_RAM];
    if (reg >= TX_RAM && reg < TX_RAM + sizeof m_r.txBuffer)
        return m_r.txBuffer[reg - TX_RAM];
    return 0;
}

uint8_t SimSja1000::read(uint8_t reg)
{
    const uint8_t value = peek(reg);
    if (!m_present || !peliCan())
        return value;
    if (reg == IR)
        m_r.ir = 0;
    else if (reg == ALC)
        m_r.alcHeld = false;
    else if (reg == ECC)
        m_r.eccHeld = false;
    return value;
}

void SimSja1000::write(uint8_t reg, uint8_t value)
{
    if (!m_present || reg >= kRegisters)
        return;
    if (reg == CDR) {
        writeClockDivider(value);
    } else if (!peliCan()) {
        if (reg == 0) {
            m_r.control = value & 0x1F;
            if (value & kRM)
                enterResetMode();
            else
                m_r.mod &= uint8_t(~kRM);
        }
    } else {
        writePeliCan(reg, value);
    }
}

void SimSja1000::writeClockDivider(uint8_t value)
{
    if (!resetMode()) {
        m_r.cdr = uint8_t((m_r.cdr & 0xE0) | (value & 0x1F));
        return;
    }
    const bool wasPeliCan = peliCan();
    m_r.cdr = value;
    if (!wasPeliCan && peliCan())
        m_r.mod = kRM;
    else if (wasPeliCan && !peliCan())
        m_r.control = kRM;
}

void SimSja1000::writePeliCan(uint8_t reg, uint8_t value)
{
    const bool reset = resetMode();
    switch (reg) {
    case MOD: writeMode(value); return;
    case CMR: command(value); return;
    case IER: m_r.ier = value; return;
    default: break;
    }
    if (reg >= FRAME && reg <= FRAME_END) {
        const uint32_t i = reg - FRAME;
        if (!reset) {
            if (!m_r.txPending)
                m_r.txBuffer[i] = value;
        } else if (i < 4) {
            m_r.acr[i] = value;
        } else if (i < 8) {
            m_r.amr[i - 4] = value;
        }
        return;
    }
    if (!reset)
        return;
    switch (reg) {
    case BTR0: m_r.btr0 = value; break;
    case BTR1: m_r.btr1 = value; break;
    case OCR: m_r.ocr = value; break;
    case EWLR: m_r.ewlr = value; break;
    case RXERR: m_r.rxerr = value; break;
    case TXERR:
        if (value == 0xFF) {
            goBusOff();
        } else {
            m_r.txerr = value;
            m_r.busOff = false;
        }
        break;
    case RBSA: m_r.rbsa = value % kFifoSize; break;
    default: break;
    }
}

void SimSja1000::writeMode(uint8_t value)
{
    const bool wasReset = resetMode();
    if (wasReset)
        m_r.mod = uint8_t((m_r.mod & kRM) | (value & (kLOM | kSTM | kAFM)));
    if (value & kRM) {
        if (!wasReset)
            enterResetMode();
        return;
    }
    m_r.mod &= uint8_t(~kRM);
    if (wasReset && m_r.busOff) {
        // Recovery is instant here; a real controller first waits for 128
        // bus-free periods while TXERR counts down.
        m_r.busOff = false;
        m_r.rxerr = 0;
        m_r.txerr = 0;
        raise(kEI);
    }
}

void SimSja1000::enterResetMode()
{
    m_r.mod |= kRM;
    m_r.rbsa = 0;
    m_r.used = 0;
    m_r.messages = 0;
    m_r.dataOverrun = false;
    if (m_r.txPending) {
        m_r.txPending = false;
        m_bus.withdrawBus(*this);
    }
}

void SimSja1000::command(uint8_t value)
{
    if (value & kCDO)
        m_r.dataOverrun = false;
    if (value & kRRB)
        releaseMessage();
    if (value & (kTR | kSRR))
        requestTransmission((value & kSRR) != 0, (value & kAT) != 0);
    else if (value & kAT)
        abortTransmission();
}

void SimSja1000::requestTransmission(bool selfReception, bool singleShot)
{
    if (resetMode() || m_r.txPending)
        return;
    m_r.txPending = true;
    ++m_stats.requested;
    m_r.txComplete = false;
    m_r.selfReception = selfReception;
    m_r.singleShot = singleShot;
    if (m_r.mod & kLOM)
        return; // listen only: the request never reaches the bus
    m_bus.requestBus(*this, transmitFrame());
}

bool SimSja1000::transmissionEnded(bool acknowledged)
{
    if (!m_r.txPending || !m_present)
        return false;
    if (acknowledged || (m_r.mod & kSTM)) {
        m_r.txPending = false;
        m_r.txComplete = true;
        ++m_stats.transmitted;
        const VCI_CAN_OBJ frame = transmitFrame();
        if (m_r.selfReception && accepts(frame))
            store(frame);
        setErrorCounters(m_r.rxerr, m_r.txerr > 0 ? m_r.txerr - 1 : 0);
        raise(kTI);
        return false;
    }
    // Acknowledge error; an error-passive transmitter does not count it.
    if (!m_r.eccHeld) {
        m_r.ecc = kEccAckError;
        m_r.eccHeld = true;
        raise(kBEI);
    }
    setErrorCounters(m_r.rxerr, m_r.txerr < kPassive ? m_r.txerr + 8 : m_r.txerr);
    if (m_r.singleShot && m_r.txPending) {
        m_r.txPending = false;
        raise(kTI);
    }
    return m_r.txPending;
}

void SimSja1000::abortTransmission()
{
    if (!m_r.txPending)
        return;
    m_r.txPending = false;
    m_bus.withdrawBus(*this);
    raise(kTI);
}

bool SimSja1000::selfTest() const
{
    return (m_r.mod & kSTM) != 0;
}

VCI_CAN_OBJ SimSja1000::transmitFrame() const
{
    const uint8_t *b = m_r.txBuffer;
    VCI_CAN_OBJ f{};
    f.ExternFlag = (b[0] & 0x80) ? 1 : 0;
    f.RemoteFlag = (b[0] & 0x40) ? 1 : 0;
    f.DataLen = b[0] & 0x0F;
    const uint8_t *data = nullptr;
    if (f.ExternFlag) {
        f.ID = (uint32_t(b[1]) << 21) | (uint32_t(b[2]) << 13) | (uint32_t(b[3]) << 5) | (b[4] >> 3);
        data = b + 5;
    } else {
        f.ID = (uint32_t(b[1]) << 3) | (b[2] >> 5);
        data = b + 3;
    }
    std::copy(data, data + dataBytes(f), f.Data);
    return f;
}

bool SimSja1000::receive(const VCI_CAN_OBJ &frame, uint32_t rate)
{
    if (!m_present || !peliCan() || resetMode() || m_r.busOff || rate != bitRate() || !accepts(frame))
        return false;
    if (!store(frame))
        return false;
    setErrorCounters(m_r.rxerr > 127 ? 119 : m_r.rxerr > 0 ? m_r.rxerr - 1 : 0, m_r.txerr);
    return true;
}

bool SimSja1000::accepts(const VCI_CAN_OBJ &frame) const
{
    const auto word = [](const uint8_t *r) {
        return (uint32_t(r[0]) << 24) | (uint32_t(r[1]) << 16) | (uint32_t(r[2]) << 8) | r[3];
    };
    return AcceptanceFilter(word(m_r.acr), word(m_r.amr), (m_r.mod & kAFM) != 0).accepts(frame);
}

bool SimSja1000::store(const VCI_CAN_OBJ &frame)
{
    const uint8_t n = dataBytes(frame);
    const bool ext = frame.ExternFlag != 0;
    const uint32_t length = (ext ? 5u : 3u) + n;
    if (m_r.used + length > kFifoSize) {
        ++m_stats.overruns;
        if (!m_r.dataOverrun) {
            m_r.dataOverrun = true;
            raise(kDOI);
        }
        return false;
    }
    uint8_t bytes[13];
    const uint8_t rtr = frame.RemoteFlag ? 1 : 0;
    bytes[0] = uint8_t((ext ? 0x80 : 0) | (rtr << 6) | (frame.DataLen & 0x0F));
    const uint32_t id = frame.ID;
    if (ext) {
        bytes[1] = uint8_t(id >> 21);
        bytes[2] = uint8_t(id >> 13);
        bytes[3] = uint8_t(id >> 5);
        bytes[4] = uint8_t(((id & 0x1F) << 3) | (rtr << 2));
    } else {
        bytes[1] = uint8_t(id >> 3);
        bytes[2] = uint8_t(((id & 0x07) << 5) | (rtr << 4));
    }
    std::copy(frame.Data, frame.Data + n, bytes + (ext ? 5 : 3));
    for (uint32_t i = 0; i < length; ++i)
        m_r.fifo[(m_r.rbsa + m_r.used + i) % kFifoSize] = bytes[i];
    m_r.used += length;
    ++m_r.messages;
    ++m_stats.received;
    return true;
}

uint32_t SimSja1000::messageLength(uint32_t at) const
{
    const uint8_t info = m_r.fifo[at % kFifoSize];
    const uint32_t n = (info & 0x40) ? 0 : std::min<uint32_t>(info & 0x0F, 8);
    return ((info & 0x80) ? 5u : 3u) + n;
}

void SimSja1000::releaseMessage()
{
    if (m_r.messages == 0)
        return;
    const uint32_t length = messageLength(m_r.rbsa);
    m_r.rbsa = (m_r.rbsa + length) % kFifoSize;
    m_r.used -= length;
    --m_r.messages;
}

void SimSja1000::busError(uint8_t ecc)
{
    if (!m_present || !peliCan() || resetMode())
        return;
    if (!m_r.eccHeld) {
        m_r.ecc = ecc;
        m_r.eccHeld = true;
        raise(kBEI);
    }
    if (ecc & kEccReceiving)
        setErrorCounters(std::min(m_r.rxerr + 1, 255), m_r.txerr);
    else
        setErrorCounters(m_r.rxerr, m_r.txerr + 8);
}

void SimSja1000::arbitrationLost(uint8_t bitNumber)
{
    if (!m_present || !peliCan() || resetMode() || m_r.alcHeld)
        return;
    m_r.alc = bitNumber & 0x1F;
    m_r.alcHeld = true;
    raise(kALI);
}

void SimSja1000::raise(uint8_t flag)
{
    if (m_r.ier & flag)
        m_r.ir |= flag;
}

void SimSja1000::setErrorCounters(int rx, int tx)
{
    if (tx > 255) {
        goBusOff();
        return;
    }
    const uint8_t before = status();
    const bool wasPassive = m_r.rxerr >= kPassive || m_r.txerr >= kPassive;
    m_r.rxerr = uint8_t(rx);
    m_r.txerr = uint8_t(tx);
    if ((before ^ status()) & 0x40)
        raise(kEI);
    if (wasPassive != (m_r.rxerr >= kPassive || m_r.txerr >= kPassive))
        raise(kEPI);
}

void SimSja1000::goBusOff()
{
    const bool wasPassive = m_r.rxerr >= kPassive || m_r.txerr >= kPassive;
    m_r.busOff = true;
    m_r.txerr = 127;
    m_r.rxerr = 0;
    enterResetMode();
    raise(kEI);
    if (wasPassive)
        raise(kEPI);
}
