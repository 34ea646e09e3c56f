// One registered notification of an open device: waits for the board's
// interrupt until cancelled. Shared between the registering device, the
// waiting thread and the cancelling thread.
#pragma once

#include <cstdint>

class PlxNotifier
{
public:
    virtual ~PlxNotifier() = default;
    // PLX_STATUS_OK, PLX_STATUS_TIMEOUT, or PLX_STATUS_CANCELED once
    // cancel() was called (before or during the wait).
    virtual uint32_t wait(uint64_t timeoutMs) = 0;
    virtual void cancel() = 0;
};
