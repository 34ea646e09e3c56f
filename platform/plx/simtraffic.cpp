#include "simtraffic.h"

#include <algorithm>

namespace {

constexpr int kBurst = 3; // frames sent at most per wake-up

} // namespace

SimTraffic::SimTraffic(Sender sender) : m_sender(std::move(sender))
{
}

SimTraffic::~SimTraffic()
{
    stop();
}

uint32_t SimTraffic::frameBits(bool extended, uint8_t dataBytes)
{
    // SOF, arbitration, control, data, CRC, ACK, EOF and intermission.
    return (extended ? 67u : 47u) + 8u * dataBytes;
}

void SimTraffic::start(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond)
{
    stop();
    if (framesPerSecond == 0 || bitRate == 0)
        return;
    m_stopping = false;
    m_thread = std::thread(&SimTraffic::run, this, bitRate, id, framesPerSecond);
}

void SimTraffic::stop()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void SimTraffic::run(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond)
{
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::nanoseconds(1000000000ll / framesPerSecond);
    const auto length = std::chrono::nanoseconds(1000000000ll * frameBits(false, 8) / bitRate);
    const auto spacing = std::max(period, length);

    VCI_CAN_OBJ frame{};
    frame.ID = id & 0x7FFu;
    frame.DataLen = 8;
    uint32_t counter = 0;
    Clock::time_point due = Clock::now();

    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        if (m_wake.wait_until(lock, due, [this] { return m_stopping; }))
            break;
        lock.unlock();
        const Clock::time_point now = Clock::now();
        for (int i = 0; i < kBurst && due <= now; ++i) {
            for (int b = 0; b < 4; ++b)
                frame.Data[b] = uint8_t(counter >> (8 * b));
            m_sender(frame, bitRate);
            ++counter;
            m_generated.fetch_add(1, std::memory_order_relaxed);
            due += spacing;
        }
        if (due <= now)
            due = now + spacing; // a stall: the backlog is never sent
        lock.lock();
    }
}
