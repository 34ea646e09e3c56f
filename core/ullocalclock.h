// Local time of day for stamping frames as they are stored. Converting to
// local time (time-zone rules) is slow, so it runs once per second and
// thread; within that second only the clock is read.
#pragma once

#include "vizoz_global.h"

struct UlTimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class VIZOZ_EXPORT UlLocalClock
{
public:
    // Thread-safe; a time-zone or daylight-saving change shows from the
    // next second on.
    static UlTimeOfDay now();
};
