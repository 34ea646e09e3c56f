// One identifier range of a channel's ID filter, both ends included, with
// the text the user gave it.
#pragma once

#include "vizoz_global.h"

#include <QMetaType>
#include <QString>

class VIZOZ_EXPORT UlIdFilter
{
    Q_GADGET
public:
    UlIdFilter() = default;
    UlIdFilter(quint32 startId, quint32 endId, const QString &text = QString());

    // Only the numeric ID counts; a range whose start is above its end
    // contains nothing.
    bool contains(quint32 id) const { return startId <= id && id <= endId; }

    quint32 startId = 0;
    quint32 endId = 0;
    QString text;
};

Q_DECLARE_METATYPE(UlIdFilter)
