#include "cchannelstore.h"

CChannelStore::CChannelStore(uint32_t frameCapacity, uint32_t errorCapacity)
    : m_frameCapacity(frameCapacity), m_errorCapacity(errorCapacity)
{
}

void CChannelStore::addFrame(const SjaFrame::Bytes &raw)
{
    {
        std::lock_guard<std::mutex> lock(m_frameMutex);
        if (m_frames.size() < m_frameCapacity) {
            m_frames.push_back(raw);
            return;
        }
        if (m_overflowing)
            return;
        m_overflowing = true;
    }
    addError(ErrorRecord{VCI_ERR_RX_OVERRUN, 0, 0, 0, 0});
}

void CChannelStore::addError(const ErrorRecord &record)
{
    std::lock_guard<std::mutex> lock(m_errorMutex);
    if (m_errors.size() < m_errorCapacity)
        m_errors.push_back(record);
}

uint32_t CChannelStore::takeFrames(VCI_CAN_OBJ *out, uint32_t capacity)
{
    std::lock_guard<std::mutex> lock(m_frameMutex);
    uint32_t n = 0;
    while (n < capacity && !m_frames.empty()) {
        out[n++] = SjaFrame::decode(m_frames.front());
        m_frames.pop_front();
    }
    if (n > 0)
        m_overflowing = false;
    return n;
}

uint32_t CChannelStore::frameCount() const
{
    std::lock_guard<std::mutex> lock(m_frameMutex);
    return uint32_t(m_frames.size());
}

bool CChannelStore::takeError(VCI_ERR_INFO *out)
{
    *out = VCI_ERR_INFO{};
    std::lock_guard<std::mutex> lock(m_errorMutex);
    if (m_errors.empty())
        return false;
    const ErrorRecord r = m_errors.front();
    m_errors.pop_front();
    out->ErrorCode = r.code;
    out->PassiveErrorData[0] = r.errorCode;
    out->PassiveErrorData[1] = r.rxErrors;
    out->PassiveErrorData[2] = r.txErrors;
    out->ArbitrationLostData = r.arbitrationLost;
    return true;
}

void CChannelStore::clear()
{
    {
        std::lock_guard<std::mutex> lock(m_frameMutex);
        m_frames.clear();
        m_overflowing = false;
    }
    std::lock_guard<std::mutex> lock(m_errorMutex);
    m_errors.clear();
}
