// One send task: a frame template and how to repeat it. A copyable value
// (the frame list is implicitly shared between copies); it travels in
// QVariants and queued signals.
#pragma once

#include "candata.h"
#include "vizoz_global.h"

#include <QList>
#include <QMetaType>
#include <QObject>

#include <cstdint>

class VIZOZ_EXPORT taskObj : public QObject
{
    Q_OBJECT
public:
    taskObj();
    explicit taskObj(QObject *parent);
    taskObj(const taskObj &other);
    taskObj &operator=(const taskObj &other);
    ~taskObj() override;

    int getFrames() const { return Frames; }
    int getInterval() const { return Interval; }
    int getTimes() const { return Times; }
    // The caller keeps i below size().
    CanData at(int i) const { return frames.at(i); }
    int size() const { return frames.size(); }

    // The template: the first frame of the first CanData. False, with out
    // untouched, when the task has no frame.
    bool templateFrame(CanObj &out) const;

    // The real identifier a task starts from: with the left-aligned ID
    // format the template holds the controller's code (shifted by 5 for
    // standard, 3 for extended frames).
    static uint32_t firstId(const CanObj &templ, bool leftAligned);
    // The identifier step above id when counting up: past 0x7FF (standard)
    // or 0x1FFFFFFF (extended) it wraps to 0.
    static uint32_t nextId(uint32_t id, bool extended, uint32_t step = 1);

    QList<CanData> frames;
    int32_t Frames = 0;       // frames per transmit call
    int32_t Interval = 0;     // ms between bursts; 0 or less: none
    int32_t Times = 0;        // frames in all; 0 or less: nothing is sent
    int32_t IdIncrease = 0;   // 1: the ID counts up per frame
    int32_t DataIncrease = 0; // 1..8: that data byte (1-based) counts up per frame
};

Q_DECLARE_METATYPE(taskObj)
