// The bus lamps of one channel, each a lamp state (0 off, 1 green, 2 red).
#pragma once

#include <QMetaType>

#include <cstdint>

struct BusStatus {
    int32_t busNormal = 0;
    int32_t busOff = 0;
    int32_t errorPassive = 0;
    int32_t errorActive = 0;
};

Q_DECLARE_METATYPE(BusStatus)
