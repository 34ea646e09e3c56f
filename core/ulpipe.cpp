#include "ulpipe.h"

#include <QMutexLocker>

UlPipe &UlPipe::instance(int channel)
{
    static UlPipe pipes[Channels];
    return pipes[channel >= 0 && channel < Channels ? channel : 0];
}

void UlPipe::push(const CanData &unit)
{
    const QMutexLocker lock(&mutex);
    units.enqueue(unit);
    pushed.wakeOne();
}

CanData UlPipe::pop()
{
    CanData unit;
    tryPop(unit);
    return unit;
}

bool UlPipe::tryPop(CanData &out)
{
    const QMutexLocker lock(&mutex);
    if (units.isEmpty())
        return false;
    out = units.dequeue();
    return true;
}

bool UlPipe::waitPop(CanData &out, unsigned long timeoutMs)
{
    QMutexLocker lock(&mutex);
    if (units.isEmpty())
        pushed.wait(&mutex, timeoutMs);
    if (units.isEmpty())
        return false;
    out = units.dequeue();
    return true;
}

int UlPipe::count() const
{
    const QMutexLocker lock(&mutex);
    return units.size();
}

bool UlPipe::isEmpty() const
{
    return count() == 0;
}

void UlPipe::clear()
{
    const QMutexLocker lock(&mutex);
    units.clear();
}
