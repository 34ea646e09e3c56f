// A per-channel store of send tasks offered to the rest of the program.
// Every function holds the store's mutex; any thread may call any of them.
#pragma once

#include "taskobj.h"
#include "vizoz_global.h"

#include <QList>
#include <QMutex>

class VIZOZ_EXPORT UlTaskManager
{
public:
    static constexpr int Channels = 4;

    // Store of channel 0..3 (other values give channel 0's); the four are
    // built together on the first call.
    static UlTaskManager &instance(int channel);

    UlTaskManager() = default;
    UlTaskManager(const UlTaskManager &) = delete;
    UlTaskManager &operator=(const UlTaskManager &) = delete;

    // Appends; returns 0.
    int addTask(const taskObj &task);
    // A copy of the task at index; a default task outside the list.
    taskObj getTask(int index) const;
    int count() const;
    void clear();

private:
    mutable QMutex mutex;
    QList<taskObj> tasks;
};
