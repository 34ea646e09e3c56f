#include "simchannel.h"

#include <algorithm>
#include <cstring>

namespace {

// Controller clock 16 MHz; the same formula as the core's device object.
uint32_t bitRateOf(uint8_t btr0, uint8_t btr1)
{
    const uint32_t brp = btr0 & 0x3Fu;
    const uint32_t tseg1 = btr1 & 0x0Fu;
    const uint32_t tseg2 = (btr1 >> 4) & 0x07u;
    return 16000000u / (2u * (brp + 1u) * (tseg1 + tseg2 + 3u));
}

// The frame as a controller receives it: identifier masked to its width,
// flags 0/1, length at most 8, bytes beyond the length (all bytes of a
// remote frame) zero, SendType and Spare zero, the device time stamped.
VCI_CAN_OBJ received(const VCI_CAN_OBJ &in, uint32_t stamp)
{
    VCI_CAN_OBJ f{};
    f.ExternFlag = in.ExternFlag ? 1 : 0;
    f.RemoteFlag = in.RemoteFlag ? 1 : 0;
    f.ID = in.ID & (f.ExternFlag ? 0x1FFFFFFFu : 0x7FFu);
    f.DataLen = std::min<uint8_t>(in.DataLen, 8);
    if (!f.RemoteFlag)
        std::memcpy(f.Data, in.Data, f.DataLen);
    f.DeviceTime = stamp;
    f.HasDeviceTime = 1;
    return f;
}

bool wantsSelfReception(uint8_t sendType)
{
    return sendType == 2 || sendType == 3;
}

} // namespace

SimChannel::SimChannel() : m_rx(VCISIM_RX_CAPACITY)
{
}

void SimChannel::open(std::chrono::steady_clock::time_point epoch)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = true;
    stoppedLocked();
    m_initialised = false;
    m_started = false;
    m_workMode = 0;
    m_bitRate = 0;
    m_filter = AcceptanceFilter();
    m_epoch = epoch;
    m_rx.clear();
    m_overflowing = false;
    m_errors.clear();
    m_referenceCount = 0;
    m_stats = VCISIM_STATS{};
}

void SimChannel::close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = false;
    m_started = false;
    stoppedLocked();
    ++m_wakeGeneration;
    m_frameArrived.notify_all();
}

void SimChannel::forgetSettings()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_status = VCI_CAN_STATUS{};
    m_txLimit = -1;
}

bool SimChannel::init(const VCI_INIT_CONFIG &config)
{
    if (config.FilterMode > 1 || config.WorkMode > 2)
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open)
        return false;
    m_filter = AcceptanceFilter(config.AccCode, config.MaskCode, config.FilterMode == 1);
    m_bitRate = bitRateOf(config.BTR0, config.BTR1);
    m_workMode = config.WorkMode;
    m_initialised = true;
    m_started = false;
    stoppedLocked();
    return true;
}

bool SimChannel::start()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open || !m_initialised)
        return false;
    m_started = true;
    return true;
}

bool SimChannel::reset()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open)
        return false;
    m_started = false;
    stoppedLocked();
    return true;
}

void SimChannel::stoppedLocked()
{
    m_generation.fetch_add(1, std::memory_order_acq_rel);
}

SimChannel::TxGrant SimChannel::beginTransmit(uint32_t count)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    TxGrant grant;
    if (!m_open || !m_started || m_workMode == 1 || count == 0 || m_txLimit == 0)
        return grant;
    grant.accepted = m_txLimit > 0 ? std::min(count, uint32_t(m_txLimit)) : count;
    grant.bitRate = m_bitRate;
    grant.generation = generation();
    return grant;
}

void SimChannel::countTransmitted(uint32_t count)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stats.transmitted += count;
}

uint32_t SimChannel::receivingRate()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_open && m_started ? m_bitRate : 0;
}

uint32_t SimChannel::deliver(const VCI_CAN_OBJ *frames, uint32_t count, Source source, uint32_t bitRate,
                             std::chrono::steady_clock::time_point at)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    uint32_t stored = 0;
    for (uint32_t i = 0; i < count; ++i)
        deliverLocked(frames[i], source, bitRate, at, stored);
    if (stored != 0 && m_waiters != 0)
        m_frameArrived.notify_all();
    return stored;
}

uint32_t SimChannel::deliver(const Arrival *arrivals, uint32_t count)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    uint32_t stored = 0;
    for (uint32_t i = 0; i < count; ++i)
        deliverLocked(*arrivals[i].frame, arrivals[i].source, arrivals[i].bitRate, arrivals[i].at, stored);
    if (stored != 0 && m_waiters != 0)
        m_frameArrived.notify_all();
    return stored;
}

void SimChannel::deliverLocked(const VCI_CAN_OBJ &in, Source source, uint32_t bitRate,
                               std::chrono::steady_clock::time_point at, uint32_t &stored)
{
    if (!m_open || !m_started)
        return;
    if ((source == Source::Bus || source == Source::Background) && bitRate != m_bitRate)
        return;
    if (source == Source::Own && m_workMode != 2 && !wantsSelfReception(in.SendType))
        return;
    const VCI_CAN_OBJ frame = received(in, deviceTimeLocked(at));
    if (!m_filter.accepts(frame))
        return;
    if (source == Source::Background)
        ++m_stats.generated;
    storeLocked(frame, stored);
}

void SimChannel::storeLocked(const VCI_CAN_OBJ &frame, uint32_t &stored)
{
    if (m_rx.push(frame)) {
        ++stored;
        ++m_stats.received;
        return;
    }
    ++m_stats.dropped;
    if (m_overflowing)
        return;
    // One overrun event per episode; the episode ends when frames are taken.
    m_overflowing = true;
    VCI_ERR_INFO overrun{};
    overrun.ErrorCode = VCI_ERR_RX_OVERRUN;
    overrun.PassiveErrorData[1] = m_status.RxErrorCounter;
    overrun.PassiveErrorData[2] = m_status.TxErrorCounter;
    pushErrorLocked(overrun);
}

uint32_t SimChannel::receive(VCI_CAN_OBJ *out, uint32_t capacity, uint32_t waitMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_open)
        return 0;
    if (m_rx.size() == 0 && waitMs > 0) {
        const uint64_t generation = m_wakeGeneration;
        ++m_waiters;
        m_frameArrived.wait_for(lock, std::chrono::milliseconds(waitMs),
                                [&] { return m_rx.size() != 0 || m_wakeGeneration != generation; });
        --m_waiters;
        if (!m_open)
            return 0;
    }
    const uint32_t n = m_rx.pop(out, capacity);
    if (n != 0)
        m_overflowing = false;
    return n;
}

uint32_t SimChannel::pending()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_open ? m_rx.size() : 0;
}

bool SimChannel::clearBuffer()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open)
        return false;
    m_rx.clear();
    m_overflowing = false;
    return true;
}

bool SimChannel::pushError(const VCI_ERR_INFO &error)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_open && pushErrorLocked(error);
}

bool SimChannel::pushErrorLocked(const VCI_ERR_INFO &error)
{
    if (m_errors.size() >= VCISIM_ERR_CAPACITY)
        return false;
    m_errors.push_back(error);
    return true;
}

bool SimChannel::popError(VCI_ERR_INFO *out)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open || m_errors.empty()) {
        *out = VCI_ERR_INFO{};
        return false;
    }
    *out = m_errors.front();
    m_errors.pop_front();
    return true;
}

void SimChannel::setStatus(const VCI_CAN_STATUS &status)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_status = status;
}

bool SimChannel::status(VCI_CAN_STATUS *out)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open)
        return false;
    *out = m_status;
    return true;
}

void SimChannel::setTransmitLimit(int32_t limit)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_txLimit = limit;
}

bool SimChannel::setReference(uint32_t refType, const void *data)
{
    uint32_t value;
    std::memcpy(&value, data, sizeof value);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open)
        return false;
    for (uint32_t i = 0; i < m_referenceCount; ++i) {
        if (m_references[i].type == refType) {
            m_references[i].value = value;
            return true;
        }
    }
    if (m_referenceCount == kMaxReferences)
        return false;
    m_references[m_referenceCount++] = Reference{refType, value};
    return true;
}

bool SimChannel::reference(uint32_t refType, void *data)
{
    uint32_t value = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_open)
            return false;
        for (uint32_t i = 0; i < m_referenceCount; ++i) {
            if (m_references[i].type == refType)
                value = m_references[i].value;
        }
    }
    std::memcpy(data, &value, sizeof value);
    return true;
}

VCISIM_STATS SimChannel::stats()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_stats;
}

uint32_t SimChannel::deviceTimeLocked(std::chrono::steady_clock::time_point at) const
{
    using namespace std::chrono;
    const auto tenths = duration_cast<microseconds>(at - m_epoch).count() / 100;
    const uint32_t stamp = uint32_t(tenths);
    return stamp != 0 ? stamp : 1; // 0 would mark a transmitted frame in the GUI
}
