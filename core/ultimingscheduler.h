// Timing send of one channel on one thread, however many tasks it runs.
// Every task repeats until stopped: its k-th cycle (k from 1) is due at
// start + k × Interval and sends Times frames, one frame per device call;
// ID and data byte keep counting from cycle to cycle. A heap of ready
// times picks the task that is due next; a cycle is sent in small slices
// so that a long cycle or an Interval 0 task never holds back the others.
// A frame the device refuses is tried again for a short while (a full
// transmit queue drains); refused for longer, it is an error. The first
// error ends the whole run with one errorSignal; a stopped run reports none.
#pragma once

#include "taskqueue.h"
#include "uthread.h"
#include "vci.h"
#include "vizoz_global.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

class VIZOZ_EXPORT UlTimingScheduler : public UThread
{
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;
    // Frames of one cycle sent before the next due task gets its turn.
    static constexpr int SliceFrames = 8;
    // How long the device may refuse frames before the run fails, ms.
    static constexpr int RefusalLimitMs = 200;

    UlTimingScheduler(uint32_t channel, const taskQueue &tasks);
    UlTimingScheduler(QObject *parent, uint32_t channel, const taskQueue &tasks);
    ~UlTimingScheduler() override;

    uint32_t getChannel() const { return channel; }
    int taskCount() const { return source.size(); }
    // Clears the running flag and wakes the thread from its wait; any
    // thread.
    void stop();
    // The origin of the run's schedule (cycle k of a task is due k ×
    // Interval after it); the clock's epoch before the run began.
    Clock::time_point scheduleStart() const { return Clock::time_point(Clock::duration(startTicks.load())); }

Q_SIGNALS:
    // A frame was not sent, or a task cannot be sent (no frame, Frames
    // below 1); the thread has ended.
    void errorSignal();

public Q_SLOTS:
    void onInitUsedTime();

protected:
    void run() override;

private:
    struct Task {
        VCI_CAN_OBJ templ;       // data bytes count on in place
        Clock::time_point due;   // start of the current cycle's schedule
        Clock::duration interval;
        uint32_t id = 0;         // real (right-aligned) ID of the next frame
        int times = 0;           // frames per cycle
        int sentInCycle = 0;
        int dataByte = -1;       // counting data byte, or -1
        bool countId = false;
        bool inBuffer = false;   // the next frame is already a buffer row
    };
    struct Ready {
        Clock::time_point at;
        uint64_t order;          // ties go first come, first served
        int task;
        bool operator>(const Ready &o) const { return at != o.at ? at > o.at : order > o.order; }
    };

    // Builds the task states; false after a task that cannot be sent.
    bool prepare(Clock::time_point start);
    // Sends up to SliceFrames of the task's cycle; false on an error.
    bool sendSlice(Task &task, Clock::time_point now, Clock::time_point &next);
    // Sleeps until at, or less when stopped; false when stopped.
    bool sleepUntil(Clock::time_point at);

    const uint32_t channel;
    const taskQueue source;  // read by run() when it starts
    std::vector<Task> tasks; // worker thread only
    Clock::time_point refusedSince{};
    bool refusing = false;
    std::atomic<Clock::rep> startTicks{0};
    std::mutex wakeLock;
    std::condition_variable wake;
};
