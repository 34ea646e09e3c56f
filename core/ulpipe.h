// A channel's transmit pipe: producers (the firmware sender) push units of
// frames, the channel's transmit thread takes them in order and sends them.
// One mutex guards the queue; a condition lets the transmit thread sleep
// while the pipe is empty instead of polling it.
#pragma once

#include "candata.h"
#include "vizoz_global.h"

#include <QMutex>
#include <QQueue>
#include <QWaitCondition>

class VIZOZ_EXPORT UlPipe
{
public:
    static constexpr int Channels = 4;

    // Pipe of channel 0..3 (other values give channel 0's); the four are
    // built together on the first call.
    static UlPipe &instance(int channel);

    UlPipe() = default;
    UlPipe(const UlPipe &) = delete;
    UlPipe &operator=(const UlPipe &) = delete;

    void push(const CanData &unit);
    // Removes and returns the oldest unit; an empty unit when the pipe is empty.
    CanData pop();
    // One locked step: moves the oldest unit into out, false when empty.
    bool tryPop(CanData &out);
    // As tryPop, but waits up to timeoutMs for a push when the pipe is empty.
    bool waitPop(CanData &out, unsigned long timeoutMs);
    int count() const;
    bool isEmpty() const;
    void clear();

private:
    mutable QMutex mutex;
    QWaitCondition pushed;
    QQueue<CanData> units;
};
