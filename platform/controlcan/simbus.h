// The simulated bus of one device: its channels and the routing of frames
// between them (bit rate and acceptance filter decided by each receiver).
#pragma once

#include "simchannel.h"

#include <chrono>
#include <memory>
#include <vector>

class SimBus
{
public:
    explicit SimBus(uint32_t channelCount);

    uint32_t channelCount() const { return uint32_t(m_channels.size()); }
    // nullptr when index is out of range.
    SimChannel *channel(uint32_t index) const;

    // VCI_Transmit on channel sender: the frames the sender accepts go to
    // every other channel (same bit rate, filter) and, for SendType 2/3 or
    // self-test mode, back to the sender. Returns the number accepted.
    uint32_t transmit(uint32_t sender, const VCI_CAN_OBJ *frames, uint32_t count);
    // Frames of a node running at every channel's rate, to one channel.
    uint32_t inject(uint32_t target, const VCI_CAN_OBJ *frames, uint32_t count);
    // Background frames at bitRate, offered to every channel.
    void broadcast(const VCI_CAN_OBJ *frames, uint32_t count, uint32_t bitRate);

    void open(std::chrono::steady_clock::time_point epoch);
    void close();
    void forgetSettings();

private:
    std::vector<std::unique_ptr<SimChannel>> m_channels;
};
