#include "ulnamemapping.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

QBasicMutex singletonLock;
UlNameMapping *singleton = nullptr;

} // namespace

UlNameMapping *UlNameMapping::getSingleton()
{
    const QMutexLocker guard(&singletonLock);
    if (!singleton)
        singleton = new UlNameMapping;
    return singleton;
}

UlNameMapping::~UlNameMapping()
{
    const QMutexLocker guard(&singletonLock);
    if (singleton == this)
        singleton = nullptr;
}

void UlNameMapping::add(uint32_t id, const QString &name)
{
    const QWriteLocker guard(&lock);
    names.insert(id, name);
}

QString UlNameMapping::find(uint32_t id) const
{
    const QReadLocker guard(&lock);
    return names.value(id);
}

void UlNameMapping::clear()
{
    const QWriteLocker guard(&lock);
    names.clear();
}

int UlNameMapping::size() const
{
    const QReadLocker guard(&lock);
    return names.size();
}

QList<QPair<uint32_t, QString>> UlNameMapping::getList() const
{
    const QReadLocker guard(&lock);
    QList<QPair<uint32_t, QString>> list;
    list.reserve(names.size());
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        list.append(qMakePair(it.key(), it.value()));
    return list;
}

QMap<uint32_t, QString> UlNameMapping::getNameList() const
{
    const QReadLocker guard(&lock);
    return names;
}
