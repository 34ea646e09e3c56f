#include "simbus.h"

#include "framebits.h"

#include <algorithm>

SimBus::Clock::duration SimBus::busTime(const VCI_CAN_OBJ &frame, uint32_t bitRate) const
{
    if (m_overload || bitRate == 0)
        return Clock::duration::zero();
    const uint64_t bits = FrameBits::length(frame);
    return std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(bits * 1000000000ull / bitRate));
}

void SimBus::enqueue(const VCI_CAN_OBJ &frame, uint32_t bitRate, Source source, Clock::time_point since,
                     const void *owner, uint64_t batch)
{
    Frame f;
    f.frame = frame;
    f.bitRate = bitRate;
    f.source = source;
    f.owner = owner;
    f.batch = batch;
    f.since = since;
    f.key = FrameBits::arbitrationKey(f.frame);
    f.order = m_order++;
    m_lanes[f.bitRate]; // the bit rate's bus exists from now on
    m_waiting.push_back(f);
}

void SimBus::request(const void *owner, const VCI_CAN_OBJ &frame, uint32_t bitRate, Clock::time_point since)
{
    m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(),
                                   [owner](const Frame &f) { return f.source == Source::Controller && f.owner == owner; }),
                    m_waiting.end());
    enqueue(frame, bitRate, Source::Controller, since, owner);
}

void SimBus::withdraw(const void *owner)
{
    m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(),
                                   [owner](const Frame &f) { return f.source == Source::Controller && f.owner == owner; }),
                    m_waiting.end());
    for (auto &lane : m_lanes) {
        if (lane.second.busy && lane.second.onBus.source == Source::Controller && lane.second.onBus.owner == owner)
            lane.second.onBus.withdrawn = true;
    }
}

void SimBus::sendPartner(const VCI_CAN_OBJ &frame, uint32_t bitRate, uint64_t batch, Clock::time_point since)
{
    enqueue(frame, bitRate, Source::Partner, since, nullptr, batch);
}

bool SimBus::offerTraffic(const VCI_CAN_OBJ &frame, uint32_t bitRate, Clock::time_point since)
{
    if (m_trafficWaiting >= kTrafficQueue)
        return false;
    enqueue(frame, bitRate, Source::Traffic, since);
    ++m_trafficWaiting;
    return true;
}

void SimBus::dropTraffic()
{
    m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(),
                                   [](const Frame &f) { return f.source == Source::Traffic; }),
                    m_waiting.end());
    m_trafficWaiting = 0;
}

void SimBus::clear()
{
    m_waiting.clear();
    m_lanes.clear();
    m_trafficWaiting = 0;
}

void SimBus::startIfIdle(uint32_t bitRate, Lane &lane, Clock::time_point now)
{
    if (lane.busy)
        return;
    // The bus is free from freeAt (or from the first arrival after it);
    // the frames waiting then arbitrate, the lowest key wins.
    Clock::time_point start = Clock::time_point::max();
    for (const Frame &f : m_waiting) {
        if (f.bitRate == bitRate)
            start = std::min(start, std::max(f.since, lane.freeAt));
    }
    if (start == Clock::time_point::max() || start > now)
        return;
    auto best = m_waiting.end();
    uint64_t bestKey = 0;
    for (auto it = m_waiting.begin(); it != m_waiting.end(); ++it) {
        if (it->bitRate != bitRate || it->since > start)
            continue;
        if (best == m_waiting.end() || it->key < bestKey || (it->key == bestKey && it->order < best->order)) {
            best = it;
            bestKey = it->key;
        }
    }
    lane.onBus = *best;
    lane.onBus.start = start;
    lane.onBus.end = start + busTime(best->frame, bitRate);
    lane.busy = true;
    if (best->source == Source::Traffic)
        --m_trafficWaiting;
    m_waiting.erase(best);
}

bool SimBus::nextEnded(Clock::time_point now, Frame &out)
{
    Lane *first = nullptr;
    for (auto &entry : m_lanes) {
        Lane &lane = entry.second;
        startIfIdle(entry.first, lane, now);
        if (lane.busy && lane.onBus.end <= now && (!first || lane.onBus.end < first->onBus.end))
            first = &lane;
    }
    if (!first)
        return false;
    out = first->onBus;
    first->busy = false;
    first->freeAt = first->onBus.end;
    return true;
}

SimBus::Clock::time_point SimBus::nextEvent() const
{
    Clock::time_point next = Clock::time_point::max();
    for (const auto &entry : m_lanes) {
        if (entry.second.busy)
            next = std::min(next, entry.second.onBus.end);
    }
    for (const Frame &f : m_waiting) {
        const auto lane = m_lanes.find(f.bitRate);
        if (lane != m_lanes.end() && !lane->second.busy)
            next = std::min(next, std::max(f.since, lane->second.freeAt));
    }
    return next;
}
