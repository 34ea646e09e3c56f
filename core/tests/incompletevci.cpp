// An interface library that lacks most VCI_ functions, for the device
// object's missing-function test.
#include "vci.h"

extern "C" __attribute__((visibility("default"))) uint32_t VCI_OpenDevice(uint32_t, uint32_t, uint32_t)
{
    return 1;
}
