// Process-wide display choices, send state and counters shared in place by
// the GUI and the core threads. Each field has one writing thread; all are
// atomic so readers on other threads see whole values.
#pragma once

#include "vizoz_global.h"

#include <atomic>
#include <cstdint>

// Counters of one channel's current run.
struct VIZOZ_EXPORT UlRunCounters {
    std::atomic<double> usedTime{-1.0};  // seconds of the current send run, -1 = none
    std::atomic<int64_t> received{0};    // frames read from the device (receive thread)
    std::atomic<int64_t> sent{0};        // frames sent (send threads)

    UlRunCounters() = default;
    UlRunCounters(const UlRunCounters &other) { *this = other; }
    UlRunCounters &operator=(const UlRunCounters &other);
};

struct VIZOZ_EXPORT channelStatus {
    std::atomic<int> timeDisplay{2};     // time column mode of the frame list
    std::atomic<int> dataDisplay{1};     // data column mode of the frame list, 0..3
    std::atomic<int> sendMode{0};        // task page send mode; 2 = one thread per task
    std::atomic<bool> sending{false};    // a send page is transmitting
    std::atomic<bool> realTimeSave{false};  // frames are also queued for the real-time save thread
    UlRunCounters counters;

    channelStatus() = default;
    channelStatus(const channelStatus &other) { *this = other; }
    channelStatus &operator=(const channelStatus &other);
};

class VIZOZ_EXPORT UlGlobalSet
{
public:
    static constexpr int Channels = 4;

    static UlGlobalSet &instance();

    UlGlobalSet();
    UlGlobalSet(const UlGlobalSet &other) { *this = other; }
    UlGlobalSet &operator=(const UlGlobalSet &other);

    bool isWatch() const { return watch.load(); }
    void onWatch() { watch = !watch.load(); }

    // Identifier display: 0 right-aligned, 1 left-aligned (controller code).
    std::atomic<int> IDFORMAT{0};
    std::atomic<bool> watch{false};
    channelStatus channel[Channels];
};
