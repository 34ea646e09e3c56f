#include "ctxrxhandshake.h"

void CTxRxHandshake::enterTransmit()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_transmitCondition.wait(lock, [this] { return m_receiveRounds == 0; });
    ++m_transmitters;
}

void CTxRxHandshake::leaveTransmit()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (--m_transmitters == 0 && m_receiveRounds > 0)
        m_receiveCondition.notify_one();
}

void CTxRxHandshake::enterReceive()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    ++m_receiveRounds;
    m_receiveCondition.wait(lock, [this] { return m_transmitters == 0 && !m_receiveRunning; });
    m_receiveRunning = true;
}

void CTxRxHandshake::leaveReceive()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_receiveRunning = false;
    if (--m_receiveRounds == 0)
        m_transmitCondition.notify_all();
    else
        m_receiveCondition.notify_one();
}
