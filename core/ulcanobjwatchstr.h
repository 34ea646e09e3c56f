// One watch row as display strings with its changed-byte mask.
#pragma once

#include "canobjstr.h"

#include <QBitArray>

struct UlCanObjWatchStr {
    QBitArray mask{8, false};  // bit i: data byte i changed
    CanObjStr str;
};
