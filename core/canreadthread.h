// The receive side of one channel: polls the device for error events and
// frames and hands them to the channel's frame buffer, its received-frame
// counter and, while switched on, its DBC and GB/T 27930 queues.
// The only reader of the channel's frames; owned by the channel window.
#pragma once

#include "canthread.h"
#include "vizoz_global.h"

class VIZOZ_EXPORT CanReadThread : public CanThread
{
    Q_OBJECT
public:
    // Frames read per device call.
    static constexpr uint32_t BatchSize = 32;
    // Pause after a round that brought no frames, ms.
    static constexpr unsigned long IdleSleepMs = 50;

    explicit CanReadThread(uint32_t channel = 0, QObject *parent = nullptr);
    ~CanReadThread() override;

protected:
    void run() override;
};
