// Classification of the time column of a CSV record file whose header does
// not say how its times are written. The codes are those of the file's
// header suffix: 2 device time as a duration, 0 device time stamp in hex,
// 1 arrival clock time, 9 none of these.
#pragma once

#include "vizoz_global.h"

#include <QString>

// "hh:mm:ss", optionally followed by one or two ".ddd" groups (1-3 digits).
VIZOZ_EXPORT bool isValidDateTime(const QString &text);
// Hexadecimal digits, at least one, with an optional "0x"/"0X" prefix, that
// fit an unsigned 64-bit number.
VIZOZ_EXPORT bool isHexadecimal(const QString &text);
// "hh:mm:ss", optionally followed by ":ddd" and then ".ddd" (1-3 digits).
VIZOZ_EXPORT bool isTimeFormat(const QString &text);
// 2, 0, 1 or 9: the first of the three tests above that passes, in that order.
VIZOZ_EXPORT int identifyTimeString(const QString &text);
