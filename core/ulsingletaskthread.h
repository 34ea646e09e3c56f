// Runs one send task over and over until stopped, one frame per device
// call: wait the task's interval, send its Times frames, repeat. ID and
// data byte keep counting from cycle to cycle. Started by the send-task
// thread in the task page's parallel mode, which owns and deletes it.
#pragma once

#include "taskobj.h"
#include "uthread.h"
#include "vci.h"
#include "vizoz_global.h"

#include <cstdint>

class VIZOZ_EXPORT UlSingleTaskThread : public UThread
{
    Q_OBJECT
public:
    UlSingleTaskThread(uint32_t channel, const taskObj &task);
    UlSingleTaskThread(QObject *parent, uint32_t channel, const taskObj &task);
    ~UlSingleTaskThread() override;

    uint32_t getChannel() const { return channel; }

Q_SIGNALS:
    // A frame was not sent, or the task cannot be sent (no frame, Frames
    // below 1); the thread has ended.
    void errorSignal();

public Q_SLOTS:
    void onInitUsedTime();

protected:
    void run() override;

private:
    const uint32_t channel;
    const taskObj task;
    VCI_CAN_OBJ record = {};
};
