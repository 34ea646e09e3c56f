#include "cboardreceiver.h"

#include "plxstatusname.h"

#include <algorithm>
#include <cstdio>

using namespace Sja1000;

CBoardReceiver::CBoardReceiver(CWrapPlxPCI &board, CSjaChannelControl &control, CTxRxHandshake &handshake,
                               Stores &stores)
    : m_board(board), m_control(control), m_handshake(handshake), m_stores(stores)
{
    m_interrupt.sources = PLX_INT_LOCAL_1 | PLX_INT_LOCAL_2 | PLX_INT_PCI_MAIN; // 13
}

CBoardReceiver::~CBoardReceiver()
{
    stop();
}

bool CBoardReceiver::start(uint32_t channels)
{
    stop();
    m_channels = channels;
    m_stop = false;
    m_failed = false;
    m_goneReported = false;
    std::unique_lock<std::mutex> lock(m_stateMutex);
    m_state = State::Starting;
    m_listened = false;
    m_thread = std::thread(&CBoardReceiver::run, this);
    m_stateChanged.wait(lock, [this] { return m_state != State::Starting; });
    // A thread that listened and then failed at once has filed its error
    // records: the board is open, and failed() tells the calls.
    if (!m_listened)
        return false;
    const bool listening = m_state == State::Listening;
    lock.unlock();
    // Listening, and asleep in the wait: the first interrupt wakes it at
    // once instead of finding it preempted behind the caller.
    if (listening)
        DrvPort::waitUntilAsleep(m_threadId, 100);
    return true;
}

void CBoardReceiver::setState(State state)
{
    {
        std::lock_guard<std::mutex> lock(m_stateMutex);
        m_state = state;
        m_listened = m_listened || state == State::Listening;
    }
    m_stateChanged.notify_all();
}

void CBoardReceiver::stop()
{
    if (!m_thread.joinable())
        return;
    m_stop = true;
    m_board.cancelNotification();
    m_thread.join();
}

void CBoardReceiver::run()
{
    DrvPort::raiseThreadPriority();
    DrvPort::nameThread("board receive");
    m_threadId = DrvPort::threadId();
    for (bool first = true;; first = false) {
        const uint32_t enabled = m_board.enableInterrupt(m_interrupt);
        if (m_stop)
            break;
        if (enabled != PLX_STATUS_OK) {
            fail("interrupt enable", enabled);
            break;
        }
        // The interrupt is enabled and the notification latches it: from
        // here no frame of the open board goes unnoticed.
        if (first)
            setState(State::Listening);
        const uint32_t status = m_board.waitNotification(kWaitMs);
        if (m_stop || status == PLX_STATUS_CANCELED)
            break;
        // Anything but an interrupt or a time-out would come back at once:
        // waiting again would spin.
        if (status != PLX_STATUS_OK && status != PLX_STATUS_TIMEOUT) {
            fail("interrupt wait", status);
            break;
        }
        if (m_control.gone()) {
            reportGone();
            continue;
        }
        // A time-out runs a round too: a bus-off controller raises no
        // interrupt the thread listens to, yet must recover.
        const CTxRxHandshake::Receive round(m_handshake);
        for (uint32_t ch = 0; ch < m_channels && !m_control.gone(); ++ch)
            serviceChannel(ch);
    }
    setState(State::Ended);
}

void CBoardReceiver::reportGone()
{
    if (m_goneReported)
        return;
    m_goneReported = true;
    for (uint32_t ch = 0; ch < m_channels; ++ch) {
        if (m_control.initialised(ch))
            m_stores[ch].addError({VCI_ERR_BUS, 0xFF, 0xFF, 0xFF, 0});
    }
}

SjaFrame::Bytes CBoardReceiver::readFrame(uint32_t channel)
{
    SjaFrame::Bytes raw{};
    std::lock_guard<DrvPort::CriticalSection> registers(m_board.registerLock());
    raw[0] = m_board.readRegister(channel, FRAME);
    const bool extended = (raw[0] & 0x80) != 0;
    const bool remote = (raw[0] & 0x40) != 0;
    const uint8_t idBytes = extended ? 4 : 2;
    const uint8_t dataBytes = remote ? 0 : uint8_t(std::min(raw[0] & 0x0F, 8));
    for (uint8_t i = 1; i < 1 + idBytes + dataBytes; ++i)
        raw[i] = m_board.readRegister(channel, uint8_t(FRAME + i));
    m_board.writeRegister(channel, CMR, RELEASE_BUFFER);
    return raw;
}

void CBoardReceiver::fail(const char *step, uint32_t status)
{
    m_failed = true;
    std::fprintf(stderr, "board receive thread stopped: %s failed (%s); the board receives nothing more\n", step,
                 DrvPort::toUtf8(plxStatusName(status)).c_str());
    for (uint32_t ch = 0; ch < m_channels; ++ch)
        m_stores[ch].addError({VCI_ERR_BUS, 0, 0, 0, 0});
}

void CBoardReceiver::serviceChannel(uint32_t channel)
{
    // A channel never initialised may still be in BasicCAN mode, where
    // the interrupt register reads flags it does not have.
    if (!m_control.initialised(channel))
        return;
    uint8_t interrupts = m_board.readRegister(channel, IR);
    for (uint32_t taken = 0;;) {
        if (m_control.unusable(channel, interrupts))
            return;
        if (interrupts & RECEIVED) {
            m_stores[channel].addFrame(readFrame(channel));
            ++taken;
        }
        fileErrors(channel, interrupts);
        if (!(interrupts & RECEIVED) || taken >= kFramesPerRound)
            break;
        interrupts = m_board.readRegister(channel, IR);
    }
    const uint8_t status = m_board.readRegister(channel, SR);
    if (!m_control.unusable(channel, status) && (status & BUS_OFF))
        m_control.recoverBusOff(channel);
}

void CBoardReceiver::fileErrors(uint32_t channel, uint8_t interrupts)
{
    CChannelStore &store = m_stores[channel];
    if (m_control.unusable(channel, interrupts))
        return;
    if (interrupts & BUS_ERROR) {
        const uint8_t code = m_board.readRegister(channel, ECC);
        const uint8_t rx = m_board.readRegister(channel, RXERR);
        const uint8_t tx = m_board.readRegister(channel, TXERR);
        store.addError({VCI_ERR_PASSIVE, code, rx, tx, 0});
    }
    if (interrupts & DATA_OVERRUN) {
        const uint8_t rx = m_board.readRegister(channel, RXERR);
        const uint8_t tx = m_board.readRegister(channel, TXERR);
        store.addError({VCI_ERR_RX_OVERRUN, 0, rx, tx, 0});
        m_board.writeRegister(channel, CMR, CLEAR_OVERRUN);
    }
    if (interrupts & ARBITRATION_LOST) {
        const uint8_t rx = m_board.readRegister(channel, RXERR);
        const uint8_t tx = m_board.readRegister(channel, TXERR);
        const uint8_t lost = m_board.readRegister(channel, ALC);
        store.addError({VCI_ERR_ARBITRATION_LOST, 0, rx, tx, lost});
    }
}
