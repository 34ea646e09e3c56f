// The 14 VCI_ functions every board driver exports (vci.h has their
// meaning), declared for the tests that link one driver directly.
#pragma once

#include "vci.h"

#define DRIVER_EXPORT __attribute__((visibility("default")))

extern "C" {
DRIVER_EXPORT uint32_t VCI_OpenDevice(uint32_t devType, uint32_t devIndex, uint32_t reserved);
DRIVER_EXPORT uint32_t VCI_CloseDevice(uint32_t devType, uint32_t devIndex);
DRIVER_EXPORT uint32_t VCI_InitCAN(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCI_INIT_CONFIG *config);
DRIVER_EXPORT uint32_t VCI_ReadBoardInfo(uint32_t devType, uint32_t devIndex, VCI_BOARD_INFO *info);
DRIVER_EXPORT uint32_t VCI_ReadErrInfo(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCI_ERR_INFO *err);
DRIVER_EXPORT uint32_t VCI_ReadCANStatus(uint32_t devType, uint32_t devIndex, uint32_t canIndex,
                                         VCI_CAN_STATUS *status);
DRIVER_EXPORT uint32_t VCI_GetReference(uint32_t devType, uint32_t devIndex, uint32_t canIndex, uint32_t refType,
                                        void *data);
DRIVER_EXPORT uint32_t VCI_SetReference(uint32_t devType, uint32_t devIndex, uint32_t canIndex, uint32_t refType,
                                        void *data);
DRIVER_EXPORT uint32_t VCI_GetReceiveNum(uint32_t devType, uint32_t devIndex, uint32_t canIndex);
DRIVER_EXPORT uint32_t VCI_ClearBuffer(uint32_t devType, uint32_t devIndex, uint32_t canIndex);
DRIVER_EXPORT uint32_t VCI_StartCAN(uint32_t devType, uint32_t devIndex, uint32_t canIndex);
DRIVER_EXPORT uint32_t VCI_ResetCAN(uint32_t devType, uint32_t devIndex, uint32_t canIndex);
DRIVER_EXPORT uint32_t VCI_Transmit(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCI_CAN_OBJ *frames,
                                    uint32_t count);
DRIVER_EXPORT uint32_t VCI_Receive(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCI_CAN_OBJ *frames,
                                   uint32_t capacity, uint32_t waitMs);
}
