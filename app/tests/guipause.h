// The GUI thread's longest pause while a GuiPause lives: a 1 ms timer
// notes the longest gap between two of its ticks, which cannot come while
// the thread is busy (nested event loops tick too). GUI thread only.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

class GuiPause
{
public:
    GuiPause()
    {
        QObject::connect(&ticks, &QTimer::timeout, [this] { longest = std::max(longest, beat.restart()); });
        ticks.start(1);
        beat.start();
    }

    // The longest gap so far, the one still open included, in ms.
    qint64 longestMs() const { return std::max(longest, beat.elapsed()); }
    void restart()
    {
        longest = 0;
        beat.restart();
    }

private:
    QTimer ticks;
    QElapsedTimer beat;
    qint64 longest = 0;
};
