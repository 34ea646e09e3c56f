#include "csjachannelcontrol.h"

using namespace Sja1000;

CSjaChannelControl::CSjaChannelControl(CWrapPlxPCI &board, const BoardFamily &family, CTxRxHandshake &handshake,
                                       const std::atomic<bool> &closing)
    : m_board(board), m_family(family), m_handshake(handshake), m_closing(closing)
{
}

void CSjaChannelControl::forgetChannels()
{
    std::lock_guard<DrvPort::CriticalSection> lock(m_transmitLock);
    m_accCode.fill(0);
    m_maskCode.fill(0xFFFFFFFFu);
    m_selfTest.fill(false);
    m_lastSendType.fill(0);
    for (auto &initialised : m_initialised)
        initialised = false;
    m_gone = false;
}

bool CSjaChannelControl::unusable(uint32_t channel, uint8_t value)
{
    if (value == 0xFF && m_initialised[channel].load())
        m_gone = true;
    return value == 0xFF || m_gone.load();
}

void CSjaChannelControl::writeAcceptance(uint32_t channel, uint32_t code, uint32_t mask)
{
    // Most significant byte first.
    for (uint8_t i = 0; i < 4; ++i)
        m_board.writeRegister(channel, uint8_t(ACR + i), uint8_t(code >> (24 - 8 * i)));
    for (uint8_t i = 0; i < 4; ++i)
        m_board.writeRegister(channel, uint8_t(AMR + i), uint8_t(mask >> (24 - 8 * i)));
}

bool CSjaChannelControl::init(uint32_t channel, const VCI_INIT_CONFIG &config)
{
    {
        std::lock_guard<DrvPort::CriticalSection> lock(m_transmitLock);
        m_accCode[channel] = config.AccCode;
        m_maskCode[channel] = config.MaskCode;
    }
    const uint8_t mode = uint8_t((config.FilterMode ? SINGLE_FILTER : 0)
                                 | (config.WorkMode == 1 ? LISTEN_ONLY : config.WorkMode == 2 ? SELF_TEST : 0));
    // PeliCAN first: in BasicCAN mode register 0 has no mode bits. Then
    // reset mode, in which alone the mode bits are taken.
    m_board.writeRegister(channel, CDR, kPeliCan);
    m_board.writeRegister(channel, MOD, RESET_MODE);
    m_board.writeRegister(channel, MOD, uint8_t(mode | RESET_MODE));
    m_board.writeRegister(channel, CMR, 0x00);
    m_board.writeRegister(channel, EWLR, kWarningLimit);
    m_board.writeRegister(channel, IER, 0x00);
    m_board.writeRegister(channel, BTR0, config.BTR0);
    m_board.writeRegister(channel, BTR1, config.BTR1);
    m_board.writeRegister(channel, OCR, kOutput);
    m_board.writeRegister(channel, RXERR, 0);
    m_board.writeRegister(channel, TXERR, 0);
    writeAcceptance(channel, config.AccCode, config.MaskCode);
    const bool timed = m_board.readRegister(channel, BTR0) == config.BTR0
                    && m_board.readRegister(channel, BTR1) == config.BTR1;
    if (!timed && isPci())
        DrvPort::showMessage(L"波特率设置失败", L"测试");
    if (timed)
        m_initialised[channel] = true;
    return timed;
}

bool CSjaChannelControl::start(uint32_t channel)
{
    const uint8_t mode = m_board.readRegister(channel, MOD);
    if (isPci()) {
        m_board.writeRegister(channel, CDR, kPeliCan);
        m_board.writeRegister(channel, MOD, uint8_t(mode & ~RESET_MODE));
    } else {
        m_board.writeRegister(channel, MOD, uint8_t(mode & ~RESET_MODE));
        m_board.writeRegister(channel, CMR, ABORT);
        m_board.writeRegister(channel, FRAME, 0);
    }
    m_board.writeRegister(channel, IER, kEnabled);
    return m_board.readRegister(channel, IER) == kEnabled;
}

void CSjaChannelControl::reset(uint32_t channel)
{
    const uint8_t mode = m_board.readRegister(channel, MOD);
    m_board.writeRegister(channel, MOD, uint8_t(mode | RESET_MODE));
    m_board.writeRegister(channel, OCR, kOutput);
    m_board.writeRegister(channel, IER, 0x00);
}

void CSjaChannelControl::releaseReceiveBuffer(uint32_t channel)
{
    m_board.writeRegister(channel, CMR, RELEASE_BUFFER);
}

VCI_CAN_STATUS CSjaChannelControl::readStatus(uint32_t channel)
{
    VCI_CAN_STATUS s{};
    s.ModeReg = m_board.readRegister(channel, MOD);
    s.StatusReg = m_board.readRegister(channel, SR);
    s.InterruptReg = m_board.readRegister(channel, IR);
    s.ArbLostCaptureReg = m_board.readRegister(channel, ALC);
    s.ErrorCodeCaptureReg = m_board.readRegister(channel, ECC);
    s.ErrorWarningLimitReg = m_board.readRegister(channel, EWLR);
    s.RxErrorCounter = m_board.readRegister(channel, RXERR);
    s.TxErrorCounter = m_board.readRegister(channel, TXERR);
    return s;
}

bool CSjaChannelControl::waitForStatus(uint32_t channel, uint8_t bit)
{
    for (uint32_t i = 0; i < kStatusPolls; ++i) {
        if (m_closing.load(std::memory_order_relaxed))
            return false;
        // One read at a time inside the handshake: a receive round that
        // waits goes first, instead of losing the register lock to this
        // loop again and again.
        uint8_t status = 0;
        {
            const CTxRxHandshake::Transmit inside(m_handshake);
            status = m_board.pollRegister(channel, SR);
        }
        if (unusable(channel, status))
            return false;
        if (status & bit)
            return true;
    }
    return false;
}

bool CSjaChannelControl::transmit(uint32_t channel, const VCI_CAN_OBJ &frame)
{
    if (frame.SendType > 3 || m_gone.load())
        return false;
    DrvPort::spin(kPace);
    // The controller has one transmit buffer: one frame at a time per
    // channel. Other channels and the receive rounds go on meanwhile: the
    // polls below enter the handshake for one read at a time.
    std::lock_guard<std::mutex> own(m_channelTransmit[channel]);
    if (!waitForStatus(channel, TX_BUFFER_FREE))
        return false;
    for (int attempt = 0; attempt < kAttempts && !m_closing.load(); ++attempt) {
        load(channel, frame);
        if (waitForStatus(channel, TX_COMPLETE))
            return true;
        abort(channel);
        if (m_gone.load())
            return false;
    }
    return false;
}

void CSjaChannelControl::load(uint32_t channel, const VCI_CAN_OBJ &frame)
{
    const CTxRxHandshake::Transmit inside(m_handshake);
    std::lock_guard<DrvPort::CriticalSection> lock(m_transmitLock);
    if (isPci())
        m_board.writeRegister(channel, CMR, ABORT);
    SjaFrame::encode(frame, m_staging);
    {
        std::lock_guard<DrvPort::CriticalSection> registers(m_board.registerLock());
        for (uint8_t i = 0; i < kFrameBytes; ++i)
            m_board.writeRegister(channel, uint8_t(FRAME + i), m_staging[i]);
    }
    setSendMode(channel, frame.SendType);
    const bool selfReception = frame.SendType == 2 || frame.SendType == 3;
    m_board.writeRegister(channel, CMR, selfReception ? SELF_RECEPTION : TRANSMIT);
}

void CSjaChannelControl::abort(uint32_t channel)
{
    const CTxRxHandshake::Transmit inside(m_handshake);
    std::lock_guard<DrvPort::CriticalSection> lock(m_transmitLock);
    m_board.writeRegister(channel, CMR, ABORT);
}

void CSjaChannelControl::setSendMode(uint32_t channel, uint8_t sendType)
{
    const bool selfTest = sendType == 1 || sendType == 3;
    if (isPci()) {
        if (sendType != m_lastSendType[channel]) {
            if (selfTest)
                enterSelfTest(channel, sendType);
            else
                leaveSelfTest(channel);
        }
        m_lastSendType[channel] = sendType;
    } else if (selfTest != m_selfTest[channel]) {
        if (selfTest)
            enterSelfTest(channel, sendType);
        else
            leaveSelfTest(channel);
        m_selfTest[channel] = selfTest;
    }
}

void CSjaChannelControl::enterSelfTest(uint32_t channel, uint8_t sendType)
{
    const uint8_t mode = m_board.readRegister(channel, MOD);
    if (isPci() && sendType == 3)
        m_board.writeRegister(channel, MOD, uint8_t(mode | RESET_MODE));
    m_board.writeRegister(channel, MOD, uint8_t(mode | RESET_MODE | SELF_TEST));
    m_board.writeRegister(channel, MOD, uint8_t((mode & 0x1A) | SELF_TEST));
}

void CSjaChannelControl::leaveSelfTest(uint32_t channel)
{
    const uint8_t mode = m_board.readRegister(channel, MOD);
    m_board.writeRegister(channel, MOD, uint8_t((mode & ~SELF_TEST) | RESET_MODE));
    m_board.writeRegister(channel, MOD, uint8_t(mode & 0x1A));
}

void CSjaChannelControl::recoverBusOff(uint32_t channel)
{
    std::lock_guard<DrvPort::CriticalSection> lock(m_transmitLock);
    writeAcceptance(channel, m_accCode[channel], m_maskCode[channel]);
    const uint8_t mode = m_board.readRegister(channel, MOD);
    if (isPci())
        m_board.writeRegister(channel, CDR, kPeliCan);
    m_board.writeRegister(channel, MOD, uint8_t(mode & ~RESET_MODE));
}
