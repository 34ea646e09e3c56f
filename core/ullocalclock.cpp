#include "ullocalclock.h"

#include <QDateTime>

#include <chrono>
#include <limits>

UlTimeOfDay UlLocalClock::now()
{
    using namespace std::chrono;
    const qint64 ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    const qint64 sec = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;

    thread_local qint64 cachedSec = std::numeric_limits<qint64>::min();
    thread_local UlTimeOfDay cached;
    if (sec != cachedSec) {
        const QTime local = QDateTime::fromMSecsSinceEpoch(sec * 1000).time();
        cached.hour = local.hour();
        cached.minute = local.minute();
        cached.second = local.second();
        cachedSec = sec;
    }
    UlTimeOfDay now = cached;
    now.millisecond = int(ms - sec * 1000);
    return now;
}
