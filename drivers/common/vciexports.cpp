// The 14 VCI_ functions of a board driver, with C linkage, over the
// library's device object. Compiled into each driver library.
#include "vciexports.h"

#include "cravoltboarddev.h"

#include <type_traits>

// The exports have the types the core binds them with.
#define SAME_TYPE(name) static_assert(std::is_same<decltype(&VCI_##name), VCI_##name##Fn>::value, #name)
SAME_TYPE(OpenDevice);
SAME_TYPE(CloseDevice);
SAME_TYPE(InitCAN);
SAME_TYPE(ReadBoardInfo);
SAME_TYPE(ReadErrInfo);
SAME_TYPE(ReadCANStatus);
SAME_TYPE(GetReference);
SAME_TYPE(SetReference);
SAME_TYPE(GetReceiveNum);
SAME_TYPE(ClearBuffer);
SAME_TYPE(StartCAN);
SAME_TYPE(ResetCAN);
SAME_TYPE(Transmit);
SAME_TYPE(Receive);
#undef SAME_TYPE

uint32_t VCI_OpenDevice(uint32_t devType, uint32_t devIndex, uint32_t reserved)
{
    return driverDevice().openDevice(devType, devIndex, reserved);
}

uint32_t VCI_CloseDevice(uint32_t, uint32_t)
{
    return driverDevice().closeDevice();
}

uint32_t VCI_InitCAN(uint32_t, uint32_t, uint32_t canIndex, VCI_INIT_CONFIG *config)
{
    return driverDevice().initCAN(canIndex, config);
}

uint32_t VCI_ReadBoardInfo(uint32_t, uint32_t, VCI_BOARD_INFO *info)
{
    return driverDevice().readBoardInfo(info);
}

uint32_t VCI_ReadErrInfo(uint32_t, uint32_t, uint32_t canIndex, VCI_ERR_INFO *err)
{
    return driverDevice().readErrInfo(canIndex, err);
}

uint32_t VCI_ReadCANStatus(uint32_t, uint32_t, uint32_t canIndex, VCI_CAN_STATUS *status)
{
    return driverDevice().readCANStatus(canIndex, status);
}

uint32_t VCI_GetReference(uint32_t, uint32_t, uint32_t canIndex, uint32_t refType, void *data)
{
    return driverDevice().getReference(canIndex, refType, data);
}

uint32_t VCI_SetReference(uint32_t, uint32_t, uint32_t canIndex, uint32_t refType, void *data)
{
    return driverDevice().setReference(canIndex, refType, data);
}

uint32_t VCI_GetReceiveNum(uint32_t, uint32_t, uint32_t canIndex)
{
    return driverDevice().getReceiveNum(canIndex);
}

uint32_t VCI_ClearBuffer(uint32_t, uint32_t, uint32_t canIndex)
{
    return driverDevice().clearBuffer(canIndex);
}

uint32_t VCI_StartCAN(uint32_t, uint32_t, uint32_t canIndex)
{
    return driverDevice().startCAN(canIndex);
}

uint32_t VCI_ResetCAN(uint32_t, uint32_t, uint32_t canIndex)
{
    return driverDevice().resetCAN(canIndex);
}

uint32_t VCI_Transmit(uint32_t, uint32_t, uint32_t canIndex, VCI_CAN_OBJ *frames, uint32_t count)
{
    return driverDevice().transmit(canIndex, frames, count);
}

uint32_t VCI_Receive(uint32_t, uint32_t, uint32_t canIndex, VCI_CAN_OBJ *frames, uint32_t capacity,
                                   uint32_t /*waitMs: never waits*/)
{
    return driverDevice().receive(canIndex, frames, capacity);
}
