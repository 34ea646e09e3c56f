#include "simtraffic.h"

#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>

#include <algorithm>

namespace {

// A backlog older than this is dropped rather than caught up.
constexpr std::chrono::seconds kMaxBacklog{1};

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
    pthread_setname_np(pthread_self(), "plxsim traffic");
    // A node on the bus keeps its timing: wake on time (frames are ~100 us
    // apart) and, where allowed, at real-time priority, so that a driver
    // thread of that priority never waits on a preempted simulation.
    prctl(PR_SET_TIMERSLACK, 1UL);
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_FIFO);
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);

    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::nanoseconds(1000000000ll / framesPerSecond);
    const auto length = std::chrono::nanoseconds(1000000000ll * frameBits(false, 8) / bitRate);

    VCI_CAN_OBJ frame{};
    frame.ID = id & 0x7FFu;
    frame.DataLen = 8;
    uint32_t counter = 0;
    Clock::time_point scheduled = Clock::now(); // frame n is due at start + n periods
    Clock::time_point busFree = scheduled;      // bus time at which the previous frame ended

    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        Clock::time_point start = std::max(scheduled, busFree);
        if (m_wake.wait_until(lock, start, [this] { return m_stopping; }))
            break;
        lock.unlock();
        const Clock::time_point now = Clock::now();
        // Woken more than a frame late: the bus was idle meanwhile; frames
        // are never delivered in a burst.
        if (now > start + length)
            start = now;
        for (int b = 0; b < 4; ++b)
            frame.Data[b] = uint8_t(counter >> (8 * b));
        m_sender(frame, bitRate);
        ++counter;
        m_generated.fetch_add(1, std::memory_order_relaxed);
        busFree = start + length;
        scheduled += period;
        if (scheduled + kMaxBacklog < now)
            scheduled = now;
        lock.lock();
    }
}
