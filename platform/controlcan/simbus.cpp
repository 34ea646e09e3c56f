#include "simbus.h"

#include "framebits.h"

#include <algorithm>
#include <limits>

SimBus::SimBus(uint32_t channelCount) : m_queues(channelCount)
{
    m_channels.reserve(channelCount);
    for (uint32_t i = 0; i < channelCount; ++i)
        m_channels.push_back(std::make_unique<SimChannel>());
}

SimBus::~SimBus()
{
    close();
}

SimChannel *SimBus::channel(uint32_t index) const
{
    return index < m_channels.size() ? m_channels[index].get() : nullptr;
}

int64_t SimBus::nowNs() const
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - m_epoch).count();
}

uint32_t SimBus::transmit(uint32_t sender, const VCI_CAN_OBJ *frames, uint32_t count)
{
    SimChannel *source = channel(sender);
    if (!source)
        return 0;
    // The sender's lock is released before the bus lock or any receiver's
    // is taken, so two channels sending to each other cannot deadlock.
    const SimChannel::TxGrant grant = source->beginTransmit(count);
    if (grant.accepted == 0)
        return 0;
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_open)
        return 0;
    if (m_overload) {
        lock.unlock();
        const Clock::time_point now = Clock::now();
        for (uint32_t i = 0; i < m_channels.size(); ++i) {
            const auto kind = i == sender ? SimChannel::Source::Own : SimChannel::Source::Bus;
            m_channels[i]->deliver(frames, grant.accepted, kind, grant.bitRate, now);
        }
        source->countTransmitted(grant.accepted);
        return grant.accepted;
    }
    std::deque<Pending> &queue = m_queues[sender];
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(VCISIM_TX_WAIT_MS);
    uint32_t taken = 0;
    for (;;) {
        if (source->generation() != grant.generation)
            break; // reset or set up again meanwhile: its frames would not go out
        catchUpLocked();
        dropStaleLocked(sender);
        const uint32_t room = VCISIM_TX_QUEUE_DEPTH - uint32_t(queue.size());
        const uint32_t n = std::min(room, grant.accepted - taken);
        if (n != 0) {
            const int64_t now = nowNs();
            for (uint32_t i = 0; i < n; ++i)
                queue.push_back(Pending{frames[taken + i], now, grant.bitRate, grant.generation});
            taken += n;
            if (!m_busy)
                m_wake.notify_one();
        }
        if (taken == grant.accepted || !m_open || Clock::now() >= deadline)
            break;
        // Wake for a refill worth the trip, not for every frame that leaves.
        const uint32_t wanted = std::min(grant.accepted - taken, kRefill);
        ++m_txWaiters;
        m_room.wait_until(lock, deadline, [&] {
            return !m_open || source->generation() != grant.generation
                || VCISIM_TX_QUEUE_DEPTH - queue.size() >= wanted;
        });
        --m_txWaiters;
    }
    lock.unlock();
    if (taken != 0)
        source->countTransmitted(taken);
    return taken;
}

uint32_t SimBus::inject(uint32_t target, const VCI_CAN_OBJ *frames, uint32_t count)
{
    SimChannel *c = channel(target);
    if (!c)
        return 0;
    const uint32_t bitRate = c->receivingRate();
    if (bitRate == 0)
        return 0;
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_open)
        return 0;
    if (m_overload) {
        lock.unlock();
        return c->deliver(frames, count, SimChannel::Source::Injected, 0, Clock::now());
    }
    const uint32_t n = std::min(count, VCISIM_INJECT_CAPACITY - uint32_t(m_injected.size()));
    const int64_t now = nowNs();
    for (uint32_t i = 0; i < n; ++i)
        m_injected.push_back(Pending{frames[i], now, bitRate, target});
    if (n != 0 && !m_busy)
        m_wake.notify_one();
    return n;
}

void SimBus::broadcast(const VCI_CAN_OBJ *frames, uint32_t count, uint32_t bitRate)
{
    const Clock::time_point now = Clock::now();
    for (auto &c : m_channels)
        c->deliver(frames, count, SimChannel::Source::Background, bitRate, now);
}

void SimBus::setBackground(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open) {
        m_pendingRate = bitRate;
        m_pendingId = id;
        m_pendingFps = framesPerSecond;
        return;
    }
    if (framesPerSecond == 0)
        m_background.stop();
    else
        m_background.start(bitRate, id, framesPerSecond, nowNs());
    m_wake.notify_one();
}

void SimBus::open(Clock::time_point epoch, bool overload)
{
    for (auto &c : m_channels)
        c->open(epoch);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = true;
    m_overload = overload;
    m_stopping = false;
    m_epoch = epoch;
    for (auto &q : m_queues)
        q.clear();
    m_injected.clear();
    m_busy = false;
    m_ended.clear();
    m_freeNs = 0;
    m_carried = 0;
    m_notCarried = 0;
    m_background.stop();
    if (m_pendingFps != 0 && !overload)
        m_background.start(m_pendingRate, m_pendingId, m_pendingFps, 0);
    m_pendingFps = 0;
    if (!overload)
        m_thread = std::thread([this] { run(); });
}

void SimBus::close()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open = false;
        m_stopping = true;
        m_background.stop();
        m_pendingFps = 0;
        for (auto &q : m_queues)
            q.clear();
        m_injected.clear();
        m_busy = false;
        m_ended.clear();
    }
    m_wake.notify_all();
    m_room.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    for (auto &c : m_channels)
        c->close();
}

void SimBus::forgetSettings()
{
    for (auto &c : m_channels)
        c->forgetSettings();
}

bool SimBus::overloaded() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_open && m_overload;
}

void SimBus::busCounters(uint64_t *carried, uint64_t *notCarried)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    *carried = m_carried;
    *notCarried = m_notCarried;
}

void SimBus::dropStaleLocked(uint32_t channel)
{
    std::deque<Pending> &q = m_queues[channel];
    const uint32_t generation = m_channels[channel]->generation();
    while (!q.empty() && q.front().tag != generation)
        q.pop_front();
}

bool SimBus::startNextLocked(int64_t nowNs, bool *room)
{
    constexpr int64_t kNever = std::numeric_limits<int64_t>::max();
    int64_t earliest = kNever;
    for (uint32_t i = 0; i < m_queues.size(); ++i) {
        dropStaleLocked(i);
        if (!m_queues[i].empty())
            earliest = std::min(earliest, m_queues[i].front().readyNs);
    }
    if (!m_injected.empty())
        earliest = std::min(earliest, m_injected.front().readyNs);
    if (m_background.active())
        earliest = std::min(earliest, m_background.dueNs());
    if (earliest == kNever)
        return false;
    const int64_t start = std::max(m_freeNs, earliest);
    if (start > nowNs)
        return false;

    // Every frame waiting at start takes part in arbitration.
    uint32_t winner = kBackground;
    uint64_t best = std::numeric_limits<uint64_t>::max();
    bool found = false;
    for (uint32_t i = 0; i < m_queues.size(); ++i) {
        if (m_queues[i].empty() || m_queues[i].front().readyNs > start)
            continue;
        const uint64_t key = FrameBits::arbitrationKey(m_queues[i].front().frame);
        if (!found || key < best) {
            best = key;
            winner = i;
            found = true;
        }
    }
    if (!m_injected.empty() && m_injected.front().readyNs <= start) {
        const uint64_t key = FrameBits::arbitrationKey(m_injected.front().frame);
        if (!found || key < best) {
            best = key;
            winner = kInjected;
            found = true;
        }
    }
    OnBus next{};
    if (m_background.active() && m_background.dueNs() <= start) {
        // Arbitration sees the ID only; the counter bytes do not take part.
        VCI_CAN_OBJ head{};
        head.ID = m_background.id();
        if (!found || FrameBits::arbitrationKey(head) < best) {
            winner = kBackground;
            found = true;
        }
    }
    if (winner == kBackground) {
        uint64_t skipped = 0;
        next.frame = m_background.take(start, &skipped);
        m_notCarried += skipped;
        next.bitRate = m_background.bitRate();
    } else {
        std::deque<Pending> &q = winner == kInjected ? m_injected : m_queues[winner];
        next.frame = q.front().frame;
        next.bitRate = q.front().bitRate;
        next.target = q.front().tag;
        q.pop_front();
        if (winner != kInjected)
            *room = true;
    }
    next.source = winner;
    next.endNs = start + int64_t(FrameBits::durationNs(next.frame, next.bitRate));
    m_current = next;
    m_busy = true;
    return true;
}

bool SimBus::advanceLocked(int64_t nowNs, std::vector<OnBus> &ended)
{
    bool room = false;
    for (;;) {
        if (m_busy) {
            if (m_current.endNs > nowNs)
                break;
            ended.push_back(m_current);
            m_freeNs = m_current.endNs;
            m_busy = false;
        }
        if (!startNextLocked(nowNs, &room))
            break;
    }
    return room;
}

void SimBus::catchUpLocked()
{
    if (advanceLocked(nowNs(), m_ended) && m_txWaiters != 0)
        m_room.notify_all();
    // The bus thread hands out what ended and times the frame now on the bus.
    m_wake.notify_one();
}

void SimBus::run()
{
    std::vector<OnBus> ended;
    std::vector<SimChannel::Arrival> arrivals;
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        const int64_t now = nowNs();
        if (advanceLocked(now, m_ended) && m_txWaiters != 0)
            m_room.notify_all();
        if (!m_ended.empty()) {
            ended.swap(m_ended);
            lock.unlock();
            deliver(ended, arrivals);
            lock.lock();
            // Counted once handed out: a frame counted has reached its receivers.
            m_carried += ended.size();
            ended.clear();
            continue;
        }
        int64_t wakeNs = -1;
        if (m_busy)
            wakeNs = m_current.endNs;
        else if (m_background.active())
            wakeNs = m_background.dueNs();
        if (wakeNs < 0) {
            m_wake.wait(lock);
        } else {
            const int64_t tickNs = std::chrono::duration_cast<std::chrono::nanoseconds>(kTick).count();
            m_wake.wait_until(lock, m_epoch + std::chrono::nanoseconds(std::max(wakeNs, now + tickNs)));
        }
    }
}

void SimBus::deliver(const std::vector<OnBus> &ended, std::vector<SimChannel::Arrival> &arrivals)
{
    for (uint32_t i = 0; i < m_channels.size(); ++i) {
        arrivals.clear();
        for (const OnBus &f : ended) {
            SimChannel::Source kind = SimChannel::Source::Background;
            if (f.source == kInjected) {
                if (f.target != i)
                    continue;
                kind = SimChannel::Source::Injected;
            } else if (f.source != kBackground) {
                kind = i == f.source ? SimChannel::Source::Own : SimChannel::Source::Bus;
            }
            arrivals.push_back(
                SimChannel::Arrival{&f.frame, kind, f.bitRate, m_epoch + std::chrono::nanoseconds(f.endNs)});
        }
        if (!arrivals.empty())
            m_channels[i]->deliver(arrivals.data(), uint32_t(arrivals.size()));
    }
}
