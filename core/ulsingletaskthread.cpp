#include "ulsingletaskthread.h"

namespace {

taskQueue single(const taskObj &task)
{
    taskQueue queue;
    queue.enqueue(task);
    return queue;
}

} // namespace

UlSingleTaskThread::UlSingleTaskThread(uint32_t channel, const taskObj &task)
    : UlSingleTaskThread(nullptr, channel, task)
{
}

UlSingleTaskThread::UlSingleTaskThread(QObject *parent, uint32_t channel, const taskObj &task)
    : UlTimingScheduler(parent, channel, single(task))
{
}
