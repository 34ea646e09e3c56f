// The GUI thread's longest pause while a GuiPause lives: a 1 ms timer
// notes the longest gap between two of its ticks, which cannot come while
// the thread is busy (nested event loops tick too). GUI thread only.
//
// Held (the tests): a gap without the time in it that the thread was
// ready to run but waited for a processor, which a loaded machine adds
// whatever the program does (the core tests' RunQueueWait; where that is
// missing, the whole gap). Work and waits of the program's own count
// whole. Wall (the benchmarks, run on a quiet machine): the whole gap, as
// a user sees it.
#pragma once

#include "runqueuewait.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

class GuiPause
{
public:
    enum Measure { Held, Wall };

    explicit GuiPause(Measure measure = Held)
        : held(measure == Held)
    {
        QObject::connect(&ticks, &QTimer::timeout, [this] {
            longest = std::max(longest, openGapNs());
            restart(false);
        });
        ticks.start(1);
        restart();
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

    qint64 waitedNs() const { return held ? waits.ns() : 0; }

    const bool held;
    const RunQueueWait waits;  // of the GUI thread
    QTimer ticks;
    QElapsedTimer beat;
    qint64 waitedAtBeat = 0;
    qint64 longest = 0;  // ns
};
