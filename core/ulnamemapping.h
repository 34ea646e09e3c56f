// The process-wide map from CAN ID to the name the user gave it, read by
// the frame list and the save threads while the GUI edits it. A read-write
// lock guards the map; readers get copies.
#pragma once

#include "vizoz_global.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QReadWriteLock>
#include <QString>

#include <cstdint>

class VIZOZ_EXPORT UlNameMapping : public QObject
{
    Q_OBJECT
public:
    // The one map, created on first use with no parent. The main window
    // deletes it at exit; a later call creates a new, empty one.
    static UlNameMapping *getSingleton();

    ~UlNameMapping() override;

    // Inserts, or replaces the name of an ID already present.
    void add(uint32_t id, const QString &name);
    // The name, or an empty string.
    QString find(uint32_t id) const;
    void clear();
    int size() const;
    // (ID, name) pairs in ascending ID order.
    QList<QPair<uint32_t, QString>> getList() const;
    // A snapshot of the whole map (implicitly shared, cheap to copy).
    QMap<uint32_t, QString> getNameList() const;

private:
    UlNameMapping() = default;

    mutable QReadWriteLock lock;
    QMap<uint32_t, QString> names;
};
