#include "simbus.h"

SimBus::SimBus(uint32_t channelCount)
{
    m_channels.reserve(channelCount);
    for (uint32_t i = 0; i < channelCount; ++i)
        m_channels.push_back(std::make_unique<SimChannel>());
}

SimChannel *SimBus::channel(uint32_t index) const
{
    return index < m_channels.size() ? m_channels[index].get() : nullptr;
}

uint32_t SimBus::transmit(uint32_t sender, const VCI_CAN_OBJ *frames, uint32_t count)
{
    SimChannel *source = channel(sender);
    if (!source)
        return 0;
    // The sender's lock is released before any receiver's is taken, so two
    // channels sending to each other cannot deadlock.
    const SimChannel::TxGrant grant = source->beginTransmit(count);
    if (grant.accepted == 0)
        return 0;
    for (uint32_t i = 0; i < m_channels.size(); ++i) {
        const auto kind = i == sender ? SimChannel::Source::Own : SimChannel::Source::Bus;
        m_channels[i]->deliver(frames, grant.accepted, kind, grant.bitRate);
    }
    return grant.accepted;
}

uint32_t SimBus::inject(uint32_t target, const VCI_CAN_OBJ *frames, uint32_t count)
{
    SimChannel *c = channel(target);
    return c ? c->deliver(frames, count, SimChannel::Source::Injected, 0) : 0;
}

void SimBus::broadcast(const VCI_CAN_OBJ *frames, uint32_t count, uint32_t bitRate)
{
    for (auto &c : m_channels)
        c->deliver(frames, count, SimChannel::Source::Background, bitRate);
}

void SimBus::open(std::chrono::steady_clock::time_point epoch)
{
    for (auto &c : m_channels)
        c->open(epoch);
}

void SimBus::close()
{
    for (auto &c : m_channels)
        c->close();
}

void SimBus::forgetSettings()
{
    for (auto &c : m_channels)
        c->forgetSettings();
}
