// A frame as the frame buffer stores it: direction and local arrival time
// beside the device record.
#pragma once

#include "vci.h"

struct UlCanObj {
    bool direction = false;  // true = transmitted
    int hour = 0;            // local clock when the frame was stored
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    VCI_CAN_OBJ obj{};
};
