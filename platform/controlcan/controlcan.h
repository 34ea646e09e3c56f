// The 14 VCI_ functions exported by the simulated libControlCAN.so, declared
// for programs and tests that link the library directly (the core binds
// them by name at run time instead). Semantics: see vci.h;
// simulation details: vcisim.h. Choices of this simulation:
// - Any device type opens (with vciChannelCount(type) channels), index 0..7.
//   VCI_OpenDevice counts handles; VCI_CloseDevice returns 0 when the device
//   is not open; the last close stops the channels and background traffic.
// - VCI_InitCAN refuses FilterMode > 1 and WorkMode > 2; it leaves the
//   channel stopped and keeps its stored frames. VCI_StartCAN needs one
//   init since the device was opened (a reset channel restarts without).
//   VCI_ResetCAN stops the channel; its stored frames stay readable.
// - VCI_Transmit queues the frames in the channel's transmit queue
//   (VCISIM_TX_QUEUE_DEPTH frames), drained at bus speed (vcisim.h; no
//   acknowledgement needed). When the queue is full it waits up to
//   VCISIM_TX_WAIT_MS for room and returns the number queued, which may be
//   fewer than asked (also under VCISIM_SetTransmitLimit); 0 on a stopped or
//   listen-only channel, a closed device, count 0 or a null pointer. Frames
//   still queued when the channel is reset, re-initialised or closed are
//   not sent. The caller's frames are not written.
// - VCI_Receive returns at most capacity frames; a positive wait blocks up
//   to that many ms for the first frame only.
// - VCI_GetReference/VCI_SetReference: data points to a 32-bit value,
//   kept per reference type (up to 16 types per channel); a type never set
//   reads 0. Cleared when the device is opened from closed.
// Every function other than VCI_OpenDevice returns 0 for a device that is
// not open or a channel out of range (VCI_ReadErrInfo then zeroes its record).
// Board types (2, 5, 14: libDravin.so; 24, 25: libDravex.so) open on the
// board driver beside this library when it finds a board (driverdispatch.h);
// such a device then behaves as that driver says (VCI_Receive never waits),
// and one board per driver can be open at a time. Without a usable board
// their open fails, unless VCISIM_SIMULATE_PCI=1 asks for the simulation.
#pragma once

#include "vci.h"

#define CONTROLCAN_EXPORT __attribute__((visibility("default")))

extern "C" {
CONTROLCAN_EXPORT uint32_t VCI_OpenDevice(uint32_t devType, uint32_t devIndex, uint32_t reserved);
CONTROLCAN_EXPORT uint32_t VCI_CloseDevice(uint32_t devType, uint32_t devIndex);
CONTROLCAN_EXPORT uint32_t VCI_InitCAN(uint32_t devType, uint32_t devIndex, uint32_t canIndex,
                                       VCI_INIT_CONFIG *config);
CONTROLCAN_EXPORT uint32_t VCI_ReadBoardInfo(uint32_t devType, uint32_t devIndex, VCI_BOARD_INFO *info);
CONTROLCAN_EXPORT uint32_t VCI_ReadErrInfo(uint32_t devType, uint32_t devIndex, uint32_t canIndex,
                                           VCI_ERR_INFO *err);
CONTROLCAN_EXPORT uint32_t VCI_ReadCANStatus(uint32_t devType, uint32_t devIndex, uint32_t canIndex,
                                             VCI_CAN_STATUS *status);
CONTROLCAN_EXPORT uint32_t VCI_GetReference(uint32_t devType, uint32_t devIndex, uint32_t canIndex,
                                            uint32_t refType, void *data);
CONTROLCAN_EXPORT uint32_t VCI_SetReference(uint32_t devType, uint32_t devIndex, uint32_t canIndex,
                                            uint32_t refType, void *data);
CONTROLCAN_EXPORT uint32_t VCI_GetReceiveNum(uint32_t devType, uint32_t devIndex, uint32_t canIndex);
CONTROLCAN_EXPORT uint32_t VCI_ClearBuffer(uint32_t devType, uint32_t devIndex, uint32_t canIndex);
CONTROLCAN_EXPORT uint32_t VCI_StartCAN(uint32_t devType, uint32_t devIndex, uint32_t canIndex);
CONTROLCAN_EXPORT uint32_t VCI_ResetCAN(uint32_t devType, uint32_t devIndex, uint32_t canIndex);
CONTROLCAN_EXPORT uint32_t VCI_Transmit(uint32_t devType, uint32_t devIndex, uint32_t canIndex,
                                        VCI_CAN_OBJ *frames, uint32_t count);
CONTROLCAN_EXPORT uint32_t VCI_Receive(uint32_t devType, uint32_t devIndex, uint32_t canIndex,
                                       VCI_CAN_OBJ *frames, uint32_t capacity, uint32_t waitMs);
}
