// A worker thread that serves one CAN channel.
#pragma once

#include "uthread.h"
#include "vizoz_global.h"

#include <cstdint>

class VIZOZ_EXPORT CanThread : public UThread
{
    Q_OBJECT
public:
    explicit CanThread(uint32_t channel = 0, QObject *parent = nullptr);
    ~CanThread() override;

    uint32_t getChannel() const { return channel; }

protected:
    // Idles in 50 ms steps until stopped; subclasses replace it.
    void run() override;

    const uint32_t channel;
};
