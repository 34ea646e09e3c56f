// One watch row: the latest frame of an identifier and the data bytes
// that have changed since the row was created.
#pragma once

#include "ulcanobj.h"

#include <QBitArray>

struct UlCanObjWatch {
    QBitArray mask{8, false};  // bit i: data byte i changed
    UlCanObj frame;
};
