// Small conversions shared by the device pages, the frame list and the save
// threads: hexadecimal text to bytes, identifier texts, register bits,
// device time stamps, data-byte increments and a delay.
#pragma once

#include "vizoz_global.h"

#include <QBitArray>
#include <QString>

#include <sys/time.h>

class CanObj;

VIZOZ_EXPORT char MSB(short value);
VIZOZ_EXPORT char LSB(short value);

// 0 and the digit value for 0-9, A-F, a-f; 1 (out untouched) otherwise.
VIZOZ_EXPORT int chartoint(char c, unsigned char *out);

// Decodes count bytes of two hex digits each from src (srcLen characters);
// separated: one separator character between byte pairs ("12 AB").
// Returns 0, or 1 at the first bad or missing digit.
VIZOZ_EXPORT int strtodata(const char *src, int srcLen, unsigned char *dst, int count, int separated);

// Entry i = bit i of the value.
VIZOZ_EXPORT QBitArray chartoBitArray(unsigned char value);

// Right-aligned identifier from the controller's left-aligned code and back;
// format 1 = extended (shift 3), otherwise standard (shift 21).
VIZOZ_EXPORT QString getCanIdFromLL(int format, long long code);
VIZOZ_EXPORT QString toCanIdFromLL(int format, long long id);
VIZOZ_EXPORT QString getCanCodeFromLL(long long value);
VIZOZ_EXPORT QString toCanCodeFromLL(long long value);

// Device time stamp (hex text, 0.1 ms units) as "hh:mm:ss.mmm.t" relative to
// base; texts of transmitted frames ("NULL") pass unchanged.
VIZOZ_EXPORT QString gSettleTime(const QString &direction, const QString &stamp, int base);

// Adds one to the data byte at position when carry is set, carrying past
// 0xFF bytes; all bytes roll over to 0 past the last one.
VIZOZ_EXPORT void incData(CanObj &frame, int position, bool &carry);

// Local wall-clock time as seconds and microseconds since the epoch.
VIZOZ_EXPORT int ulGetTimeOfDay(struct timeval *tv, void *ignored);

// Returns after us microseconds have passed on a steady clock.
VIZOZ_EXPORT void gUsleep(int us);
