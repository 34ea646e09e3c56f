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

void SimTraffic::start(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond, uint8_t dataLength)
{
    stop();
    if (framesPerSecond == 0 || bitRate == 0)
        return;
    m_stopping = false;
    m_thread = std::thread(&SimTraffic::run, this, bitRate, id, framesPerSecond, std::min<uint8_t>(dataLength, 8));
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

void SimTraffic::run(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond, uint8_t dataLength)
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

    VCI_CAN_OBJ frame{};
    frame.ID = id & 0x7FFu;
    frame.DataLen = dataLength;
    Clock::time_point scheduled = Clock::now(); // frame n is due at start + n periods

    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        if (m_wake.wait_until(lock, scheduled, [this] { return m_stopping; }))
            break;
        lock.unlock();
        const Clock::time_point now = Clock::now();
        if (scheduled + kMaxBacklog < now)
            scheduled = now;
        for (; scheduled <= now; scheduled += period)
            m_sender(frame, bitRate);
        lock.lock();
    }
}
