// A bounded first-in first-out hand-off queue between threads. Past its
// bound the oldest entries are dropped and counted. Every operation holds
// the queue's own lock, so a take is one step: it can never find the queue
// emptied between a size check and the read.
#pragma once

#include "ulring.h"

#include <QMutex>
#include <QMutexLocker>
#include <QWaitCondition>
#include <QtGlobal>

template <typename T>
class UlLockedQueue
{
public:
    explicit UlLockedQueue(int bound) : entries(std::size_t(bound)) {}

    void push(const T &value)
    {
        const QMutexLocker lock(&mutex);
        if (entries.push(value))
            ++drops;
        if (waiters > 0)
            notEmpty.wakeOne();
    }

    void push(const T *values, int n)
    {
        const QMutexLocker lock(&mutex);
        for (int i = 0; i < n; ++i) {
            if (entries.push(values[i]))
                ++drops;
        }
        if (n > 0 && waiters > 0)
            notEmpty.wakeOne();
    }

    // Moves the oldest entry into out; false when empty.
    bool tryPop(T &out)
    {
        const QMutexLocker lock(&mutex);
        return entries.popFront(&out);
    }

    // As tryPop, but waits up to timeoutMs for an entry to arrive.
    bool waitPop(T &out, unsigned long timeoutMs)
    {
        const QMutexLocker lock(&mutex);
        if (entries.isEmpty() && timeoutMs > 0) {
            ++waiters;
            notEmpty.wait(&mutex, timeoutMs);
            --waiters;
        }
        return entries.popFront(&out);
    }

    // Copies the oldest entry into out and leaves it queued; false when empty.
    bool peek(T &out) const
    {
        const QMutexLocker lock(&mutex);
        if (entries.isEmpty())
            return false;
        out = entries.at(0);
        return true;
    }

    void clear()
    {
        const QMutexLocker lock(&mutex);
        entries.clear();
    }

    int size() const
    {
        const QMutexLocker lock(&mutex);
        return int(entries.size());
    }

    int bound() const { return int(entries.limit()); }

    // Entries dropped at the bound since construction.
    qint64 dropped() const
    {
        const QMutexLocker lock(&mutex);
        return drops;
    }

private:
    mutable QMutex mutex;
    QWaitCondition notEmpty;
    int waiters = 0;
    UlRing<T> entries;
    qint64 drops = 0;
};
