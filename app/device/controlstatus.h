// The controller lamps of one channel, each a lamp state (0 off, 1 green,
// 2 red).
#pragma once

#include <QMetaType>

#include <cstdint>

struct ControlStatus {
    int32_t receiveBufferFull = 0;
    int32_t dataOverrun = 0;
    int32_t transmitBufferEmpty = 0;
    int32_t transmissionComplete = 0;
    int32_t unused = 0;  // shown by no lamp
    int32_t receiving = 0;
};

Q_DECLARE_METATYPE(ControlStatus)
