// Runs one send task over and over until stopped, one frame per device
// call: its k-th cycle of Times frames is due k × Interval after the
// start; ID and data byte keep counting from cycle to cycle. A timing
// scheduler of a single task; the send-task thread runs all tasks of a
// channel in one UlTimingScheduler instead.
#pragma once

#include "ultimingscheduler.h"

class VIZOZ_EXPORT UlSingleTaskThread : public UlTimingScheduler
{
    Q_OBJECT
public:
    UlSingleTaskThread(uint32_t channel, const taskObj &task);
    UlSingleTaskThread(QObject *parent, uint32_t channel, const taskObj &task);
};
