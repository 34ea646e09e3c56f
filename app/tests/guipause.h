// The GUI thread's longest pause while a GuiPause lives: a 1 ms timer
// notes the longest gap between two of its ticks, which cannot come while
// the thread is busy (nested event loops tick too). GUI thread only.
//
// Held (the tests): a gap without the time in it that the thread was
// ready to run but waited for a processor, which a loaded machine adds
// whatever the program does (Linux's run-queue wait of the thread, from
// /proc/thread-self/schedstat; where that is missing, the whole gap). Work
// and waits of the program's own count whole. Wall (the benchmarks, run
// on a quiet machine): the whole gap, as a user sees it.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

class GuiPause
{
public:
    enum Measure { Held, Wall };

    explicit GuiPause(Measure measure = Held)
        : schedstat(measure == Held ? ::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC) : -1)
    {
        QObject::connect(&ticks, &QTimer::timeout, [this] {
            longest = std::max(longest, openGapNs());
            restart(false);
        });
        ticks.start(1);
        restart();
    }
    ~GuiPause()
    {
        if (schedstat >= 0)
            ::close(schedstat);
    }
    GuiPause(const GuiPause &) = delete;
    GuiPause &operator=(const GuiPause &) = delete;

    // The longest gap so far, the one still open included, in ms.
    qint64 longestMs() const { return std::max(longest, openGapNs()) / 1000000; }
    void restart() { restart(true); }

private:
    void restart(bool forget)
    {
        if (forget)
            longest = 0;
        beat.start();
        waitedAtBeat = waitedNs();
    }

    qint64 openGapNs() const { return std::max<qint64>(0, beat.nsecsElapsed() - (waitedNs() - waitedAtBeat)); }

    // ns the thread has waited on a run queue since it began; 0 unknown.
    qint64 waitedNs() const
    {
        char text[96] = {};
        if (schedstat < 0 || ::pread(schedstat, text, sizeof text - 1, 0) <= 0)
            return 0;
        long long running = 0, waiting = 0;
        return std::sscanf(text, "%lld %lld", &running, &waiting) == 2 ? waiting : 0;
    }

    const int schedstat;
    QTimer ticks;
    QElapsedTimer beat;
    qint64 waitedAtBeat = 0;
    qint64 longest = 0;  // ns
};
