#include "ultaskmanager.h"

#include <QMutexLocker>

UlTaskManager &UlTaskManager::instance(int channel)
{
    static UlTaskManager managers[Channels];
    return managers[channel >= 0 && channel < Channels ? channel : 0];
}

int UlTaskManager::addTask(const taskObj &task)
{
    const QMutexLocker lock(&mutex);
    tasks.append(task);
    return 0;
}

taskObj UlTaskManager::getTask(int index) const
{
    const QMutexLocker lock(&mutex);
    return index >= 0 && index < tasks.size() ? tasks.at(index) : taskObj();
}

int UlTaskManager::count() const
{
    const QMutexLocker lock(&mutex);
    return tasks.size();
}

void UlTaskManager::clear()
{
    const QMutexLocker lock(&mutex);
    tasks.clear();
}
