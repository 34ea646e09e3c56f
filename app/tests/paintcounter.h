// Counts the paint events a widget receives, to tell whether a change
// reaches the screen without anything else repainting.
#pragma once

#include <QEvent>
#include <QWidget>

class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *watched) : QObject(watched) { watched->installEventFilter(this); }

    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};
