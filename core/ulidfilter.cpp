#include "ulidfilter.h"

UlIdFilter::UlIdFilter(quint32 startId, quint32 endId, const QString &text)
    : startId(startId)
    , endId(endId)
    , text(text)
{
}
