#include "cboardreceiver.h"

#include "plxstatusname.h"

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

void CBoardReceiver::start(uint32_t channels)
{
    stop();
    m_channels = channels;
    m_stop = false;
    m_failed = false;
    m_thread = std::thread(&CBoardReceiver::run, this);
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
    for (;;) {
        const uint32_t enabled = m_board.enableInterrupt(m_interrupt);
        if (m_stop)
            return;
        if (enabled != PLX_STATUS_OK)
            return fail("interrupt enable", enabled);
        const uint32_t status = m_board.waitNotification(kWaitMs);
        if (m_stop || status == PLX_STATUS_CANCELED)
            return;
        // Anything but an interrupt or a time-out would come back at once:
        // waiting again would spin.
        if (status != PLX_STATUS_OK && status != PLX_STATUS_TIMEOUT)
            return fail("interrupt wait", status);
        // A time-out runs a round too: a bus-off controller raises no
        // interrupt the thread listens to, yet must recover.
        const CTxRxHandshake::Receive round(m_handshake);
        for (uint32_t ch = 0; ch < m_channels; ++ch)
            serviceChannel(ch);
    }
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
    uint8_t interrupts = m_board.readRegister(channel, IR);
    for (uint32_t taken = 0;;) {
        if (interrupts & RECEIVED) {
            SjaFrame::Bytes raw;
            {
                std::lock_guard<DrvPort::CriticalSection> registers(m_board.registerLock());
                for (uint8_t i = 0; i < kFrameBytes; ++i)
                    raw[i] = m_board.readRegister(channel, uint8_t(FRAME + i));
                m_board.writeRegister(channel, CMR, RELEASE_BUFFER);
            }
            m_stores[channel].addFrame(raw);
            ++taken;
        }
        fileErrors(channel, interrupts);
        if (!(interrupts & RECEIVED) || taken >= kFramesPerRound)
            break;
        interrupts = m_board.readRegister(channel, IR);
    }
    if (m_board.readRegister(channel, SR) & BUS_OFF)
        m_control.recoverBusOff(channel);
}

void CBoardReceiver::fileErrors(uint32_t channel, uint8_t interrupts)
{
    CChannelStore &store = m_stores[channel];
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
