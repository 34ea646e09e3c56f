// Short texts of scaled values: printed with six decimals ("%f"), then
// stripped of the zeros after the point that carry nothing.
#pragma once

#include <QString>

// Removes trailing '0' characters and then one trailing '.', in place, so
// "3.500000" becomes "3.5" and "400.000000" becomes "400". A text without
// a decimal point is left alone: its zeros are digits.
void trimZeros(QString &text);

// The "%f" text of value, trimmed; a value that rounds to zero is "0",
// never "-0".
QString trimmedNumber(double value);
