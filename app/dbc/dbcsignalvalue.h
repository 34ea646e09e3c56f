// One signal of a decoded frame as the DBC views print it. A multiplexed
// signal whose switch value is not in the frame, or a signal that lies past
// the frame's bytes, is not shown: its texts stay empty.
#pragma once

#include <QString>

struct DBCSignalValue {
    bool shown = false;
    QString physical;     // physical value, "%f" without trailing zeros
    QString raw;          // raw bit field, "0x" and lower-case hexadecimal
    QString description;  // value description of the raw value, or empty
};
