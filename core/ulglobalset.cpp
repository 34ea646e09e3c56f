#include "ulglobalset.h"

#include <QSettings>

UlRunCounters &UlRunCounters::operator=(const UlRunCounters &other)
{
    usedTime = other.usedTime.load();
    received = other.received.load();
    sent = other.sent.load();
    return *this;
}

channelStatus &channelStatus::operator=(const channelStatus &other)
{
    timeDisplay = other.timeDisplay.load();
    dataDisplay = other.dataDisplay.load();
    sendMode = other.sendMode.load();
    sending = other.sending.load();
    realTimeSave = other.realTimeSave.load();
    counters = other.counters;
    return *this;
}

UlGlobalSet &UlGlobalSet::instance()
{
    static UlGlobalSet set;
    return set;
}

UlGlobalSet::UlGlobalSet()
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                             QStringLiteral("RavoSoft"), QStringLiteral("INIT"));
    // Only two formats exist; anything else stored counts as left-aligned.
    IDFORMAT = settings.value(QStringLiteral("IDFORMAT"), 0).toInt() == 0 ? 0 : 1;
}

UlGlobalSet &UlGlobalSet::operator=(const UlGlobalSet &other)
{
    IDFORMAT = other.IDFORMAT.load();
    watch = other.watch.load();
    for (int i = 0; i < Channels; ++i)
        channel[i] = other.channel[i];
    return *this;
}
