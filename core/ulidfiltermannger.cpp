#include "ulidfiltermannger.h"

#include <QMutexLocker>

UlIdFilterMannger &UlIdFilterMannger::instance(int channel)
{
    static UlIdFilterMannger managers[Channels];
    Q_ASSERT(channel >= 0 && channel < Channels);
    return managers[channel >= 0 && channel < Channels ? channel : 0];
}

UlIdFilterMannger::UlIdFilterMannger() = default;

UlIdFilterMannger::UlIdFilterMannger(const UlIdFilterMannger &other)
    : QObject()
{
    *this = other;
}

UlIdFilterMannger &UlIdFilterMannger::operator=(const UlIdFilterMannger &other)
{
    if (this == &other)
        return *this;
    // One lock at a time: copy out of other, then into this.
    QQueue<UlIdFilter> notList;
    QQueue<UlIdFilter> onlyList;
    {
        const QMutexLocker lock(&other.mutex);
        notList = other.notReceive;
        onlyList = other.onlyReceive;
    }
    const int mode = other.filterMode.load();
    {
        // Lists and mode change in one step for isValid.
        const QMutexLocker lock(&mutex);
        notReceive = notList;
        onlyReceive = onlyList;
        filterMode = mode;
    }
    return *this;
}

void UlIdFilterMannger::addNotReceive(const UlIdFilter &filter)
{
    const QMutexLocker lock(&mutex);
    notReceive.enqueue(filter);
}

void UlIdFilterMannger::addOnlyReceive(const UlIdFilter &filter)
{
    const QMutexLocker lock(&mutex);
    onlyReceive.enqueue(filter);
}

void UlIdFilterMannger::replaceNotReceive(int index, const UlIdFilter &filter)
{
    const QMutexLocker lock(&mutex);
    if (index >= 0 && index < notReceive.size())
        notReceive[index] = filter;
}

void UlIdFilterMannger::replaceOnlyReceive(int index, const UlIdFilter &filter)
{
    const QMutexLocker lock(&mutex);
    if (index >= 0 && index < onlyReceive.size())
        onlyReceive[index] = filter;
}

void UlIdFilterMannger::removeAtNotReceive(int index)
{
    const QMutexLocker lock(&mutex);
    if (index >= 0 && index < notReceive.size())
        notReceive.removeAt(index);
}

void UlIdFilterMannger::removeAtOnlyReceive(int index)
{
    const QMutexLocker lock(&mutex);
    if (index >= 0 && index < onlyReceive.size())
        onlyReceive.removeAt(index);
}

UlIdFilter UlIdFilterMannger::getNotReceive(int index) const
{
    const QMutexLocker lock(&mutex);
    return index >= 0 && index < notReceive.size() ? notReceive.at(index) : UlIdFilter();
}

UlIdFilter UlIdFilterMannger::getOnlyReceive(int index) const
{
    const QMutexLocker lock(&mutex);
    return index >= 0 && index < onlyReceive.size() ? onlyReceive.at(index) : UlIdFilter();
}

int UlIdFilterMannger::NotReceiveCount() const
{
    const QMutexLocker lock(&mutex);
    return notReceive.size();
}

int UlIdFilterMannger::OnlyReceiveCount() const
{
    const QMutexLocker lock(&mutex);
    return onlyReceive.size();
}

void UlIdFilterMannger::clearNotReceive()
{
    const QMutexLocker lock(&mutex);
    notReceive.clear();
}

void UlIdFilterMannger::clearOnlyReceive()
{
    const QMutexLocker lock(&mutex);
    onlyReceive.clear();
}

QQueue<UlIdFilter> UlIdFilterMannger::getNotReceiveQueue() const
{
    const QMutexLocker lock(&mutex);
    return notReceive;
}

QQueue<UlIdFilter> UlIdFilterMannger::getOnlyReceiveQueue() const
{
    const QMutexLocker lock(&mutex);
    return onlyReceive;
}

bool UlIdFilterMannger::isValid(unsigned id) const
{
    const int mode = filterMode.load();
    if (mode != NotReceiveMode && mode != OnlyReceiveMode)
        return true;
    // Mode and list are read together, so a copy assigned meanwhile is
    // seen either whole or not at all.
    const QMutexLocker lock(&mutex);
    switch (filterMode.load(std::memory_order_relaxed)) {
    case NotReceiveMode:
        return !inAny(notReceive, id);
    case OnlyReceiveMode:
        return inAny(onlyReceive, id);
    default:
        return true;
    }
}

bool UlIdFilterMannger::isNotReceive(unsigned id) const
{
    const QMutexLocker lock(&mutex);
    return inAny(notReceive, id);
}

bool UlIdFilterMannger::isOnlyReceive(unsigned id) const
{
    const QMutexLocker lock(&mutex);
    return inAny(onlyReceive, id);
}

bool UlIdFilterMannger::inAny(const QQueue<UlIdFilter> &list, unsigned id)
{
    for (const UlIdFilter &range : list) {
        if (range.contains(id))
            return true;
    }
    return false;
}
