// The VCI_ device interface: five records with fixed byte layouts, the
// device-type codes and the 14 function types bound at run time.
// Header only and plain C++: the core, the simulated ControlCAN and the
// board drivers include it and share nothing else.
#pragma once

#include <cstddef>
#include <cstdint>

#ifndef VCI_API
#define VCI_API
#endif

// One CAN frame, received or to be sent. ID is always right-aligned.
struct VCI_CAN_OBJ {
    uint32_t ID;
    uint32_t DeviceTime;   // device time, 0.1 ms units
    uint8_t HasDeviceTime;     // 1 when DeviceTime is valid
    uint8_t SendType;     // 0 normal, 1 single, 2 self-reception, 3 single + self-reception
    uint8_t RemoteFlag;
    uint8_t ExternFlag;
    uint8_t DataLen;
    uint8_t Data[8];
    uint8_t Spare[3];
};

struct VCI_INIT_CONFIG {
    uint32_t AccCode;     // most significant byte -> first acceptance register
    uint32_t MaskCode;
    uint32_t Spare;
    uint8_t FilterMode;       // 0 dual filter, 1 single filter
    uint8_t BTR0;      // BTR0: bits 0-5 BRP, bits 6-7 SJW
    uint8_t BTR1;      // BTR1: bits 0-3 TSEG1, bits 4-6 TSEG2, bit 7 sampling
    uint8_t WorkMode;         // 0 normal, 1 listen only, 2 self test
};

struct VCI_BOARD_INFO {
    uint16_t HardwareVersion;
    uint16_t FirmwareVersion;
    uint16_t DriverVersion;
    uint16_t InterfaceVersion;
    uint16_t InterruptNumber;
    uint8_t ChannelCount;
    char SerialNumber[20];
    char HardwareType[40];
    uint16_t Spare[4];
};

struct VCI_ERR_INFO {
    uint32_t ErrorCode;
    uint8_t PassiveErrorData[3];   // code capture or error number, RX counter, TX counter
    uint8_t ArbitrationLostData;
};

struct VCI_CAN_STATUS {
    uint8_t InterruptReg;
    uint8_t ModeReg;
    uint8_t StatusReg;            // bit 7 bus off
    uint8_t ArbLostCaptureReg;
    uint8_t ErrorCodeCaptureReg;
    uint8_t ErrorWarningLimitReg;
    uint8_t RxErrorCounter;
    uint8_t TxErrorCounter;
    uint32_t Spare;
};

static_assert(sizeof(VCI_CAN_OBJ) == 24, "VCI_CAN_OBJ layout");
static_assert(offsetof(VCI_CAN_OBJ, ID) == 0, "VCI_CAN_OBJ layout");
static_assert(offsetof(VCI_CAN_OBJ, DeviceTime) == 4, "VCI_CAN_OBJ layout");
static_assert(offsetof(VCI_CAN_OBJ, HasDeviceTime) == 8, "VCI_CAN_OBJ layout");
static_assert(offsetof(VCI_CAN_OBJ, SendType) == 9, "VCI_CAN_OBJ layout");
static_assert(offsetof(VCI_CAN_OBJ, RemoteFlag) == 10, "VCI_CAN_OBJ layout");
static_assert(offsetof(VCI_CAN_OBJ, ExternFlag) == 11, "VCI_CAN_OBJ layout");
static_assert(offsetof(VCI_CAN_OBJ, DataLen) == 12, "VCI_CAN_OBJ layout");
static_assert(offsetof(VCI_CAN_OBJ, Data) == 13, "VCI_CAN_OBJ layout");
static_assert(offsetof(VCI_CAN_OBJ, Spare) == 21, "VCI_CAN_OBJ layout");

static_assert(sizeof(VCI_INIT_CONFIG) == 16, "VCI_INIT_CONFIG layout");
static_assert(offsetof(VCI_INIT_CONFIG, AccCode) == 0, "VCI_INIT_CONFIG layout");
static_assert(offsetof(VCI_INIT_CONFIG, MaskCode) == 4, "VCI_INIT_CONFIG layout");
static_assert(offsetof(VCI_INIT_CONFIG, Spare) == 8, "VCI_INIT_CONFIG layout");
static_assert(offsetof(VCI_INIT_CONFIG, FilterMode) == 12, "VCI_INIT_CONFIG layout");
static_assert(offsetof(VCI_INIT_CONFIG, BTR0) == 13, "VCI_INIT_CONFIG layout");
static_assert(offsetof(VCI_INIT_CONFIG, BTR1) == 14, "VCI_INIT_CONFIG layout");
static_assert(offsetof(VCI_INIT_CONFIG, WorkMode) == 15, "VCI_INIT_CONFIG layout");

static_assert(sizeof(VCI_BOARD_INFO) == 80, "VCI_BOARD_INFO layout");
static_assert(offsetof(VCI_BOARD_INFO, HardwareVersion) == 0, "VCI_BOARD_INFO layout");
static_assert(offsetof(VCI_BOARD_INFO, FirmwareVersion) == 2, "VCI_BOARD_INFO layout");
static_assert(offsetof(VCI_BOARD_INFO, DriverVersion) == 4, "VCI_BOARD_INFO layout");
static_assert(offsetof(VCI_BOARD_INFO, InterfaceVersion) == 6, "VCI_BOARD_INFO layout");
static_assert(offsetof(VCI_BOARD_INFO, InterruptNumber) == 8, "VCI_BOARD_INFO layout");
static_assert(offsetof(VCI_BOARD_INFO, ChannelCount) == 10, "VCI_BOARD_INFO layout");
static_assert(offsetof(VCI_BOARD_INFO, SerialNumber) == 11, "VCI_BOARD_INFO layout");
static_assert(offsetof(VCI_BOARD_INFO, HardwareType) == 31, "VCI_BOARD_INFO layout");
static_assert(offsetof(VCI_BOARD_INFO, Spare) == 72, "VCI_BOARD_INFO layout");

static_assert(sizeof(VCI_ERR_INFO) == 8, "VCI_ERR_INFO layout");
static_assert(offsetof(VCI_ERR_INFO, ErrorCode) == 0, "VCI_ERR_INFO layout");
static_assert(offsetof(VCI_ERR_INFO, PassiveErrorData) == 4, "VCI_ERR_INFO layout");
static_assert(offsetof(VCI_ERR_INFO, ArbitrationLostData) == 7, "VCI_ERR_INFO layout");

static_assert(sizeof(VCI_CAN_STATUS) == 12, "VCI_CAN_STATUS layout");
static_assert(offsetof(VCI_CAN_STATUS, InterruptReg) == 0, "VCI_CAN_STATUS layout");
static_assert(offsetof(VCI_CAN_STATUS, ModeReg) == 1, "VCI_CAN_STATUS layout");
static_assert(offsetof(VCI_CAN_STATUS, StatusReg) == 2, "VCI_CAN_STATUS layout");
static_assert(offsetof(VCI_CAN_STATUS, ArbLostCaptureReg) == 3, "VCI_CAN_STATUS layout");
static_assert(offsetof(VCI_CAN_STATUS, ErrorCodeCaptureReg) == 4, "VCI_CAN_STATUS layout");
static_assert(offsetof(VCI_CAN_STATUS, ErrorWarningLimitReg) == 5, "VCI_CAN_STATUS layout");
static_assert(offsetof(VCI_CAN_STATUS, RxErrorCounter) == 6, "VCI_CAN_STATUS layout");
static_assert(offsetof(VCI_CAN_STATUS, TxErrorCounter) == 7, "VCI_CAN_STATUS layout");
static_assert(offsetof(VCI_CAN_STATUS, Spare) == 8, "VCI_CAN_STATUS layout");

// Device-type codes (first argument of every function).
enum VciDeviceType : uint32_t {
    VCI_DRAVIN_PCI1 = 2,
    VCI_KELMO_USB1 = 3,
    VCI_KELMO_USB2 = 4,
    VCI_DRAVIN_PCI2 = 5,
    VCI_VARNET_UDP = 12,
    VCI_DRAVIN_PCI4 = 14,
    VCI_VARNET_TCP = 17,
    VCI_DRAVEX_PCIE2 = 24,
    VCI_DRAVEX_PCIE1 = 25,
};

// Most channels a device has; channel indices are 0..3.
constexpr uint32_t VCI_MAX_CHANNELS = 4;

// Channel count of a device type, as the device object derives it on open.
constexpr uint32_t vciChannelCount(uint32_t devType)
{
    switch (devType) {
    case VCI_KELMO_USB2:
    case VCI_DRAVIN_PCI2:
    case VCI_DRAVEX_PCIE2:
        return 2;
    case VCI_DRAVIN_PCI4:
        return 4;
    default:
        return 1;
    }
}

// Error codes of VCI_ERR_INFO.
enum VciErrorCode : uint32_t {
    VCI_ERR_RX_OVERRUN = 0xE1,
    VCI_ERR_WARNING = 0xE2,
    VCI_ERR_PASSIVE = 0xE3,
    VCI_ERR_ARBITRATION_LOST = 0xE4,
    VCI_ERR_BUS = 0xE5,
    VCI_ERR_PASSIVE_NUMBER = 0xE8,
};

extern "C" {
typedef uint32_t(VCI_API *VCI_OpenDeviceFn)(uint32_t devType, uint32_t devIndex, uint32_t reserved);
typedef uint32_t(VCI_API *VCI_CloseDeviceFn)(uint32_t devType, uint32_t devIndex);
typedef uint32_t(VCI_API *VCI_InitCANFn)(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCI_INIT_CONFIG *config);
typedef uint32_t(VCI_API *VCI_ReadBoardInfoFn)(uint32_t devType, uint32_t devIndex, VCI_BOARD_INFO *info);
typedef uint32_t(VCI_API *VCI_ReadErrInfoFn)(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCI_ERR_INFO *err);
typedef uint32_t(VCI_API *VCI_ReadCANStatusFn)(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCI_CAN_STATUS *status);
typedef uint32_t(VCI_API *VCI_GetReferenceFn)(uint32_t devType, uint32_t devIndex, uint32_t canIndex, uint32_t refType, void *data);
typedef uint32_t(VCI_API *VCI_SetReferenceFn)(uint32_t devType, uint32_t devIndex, uint32_t canIndex, uint32_t refType, void *data);
typedef uint32_t(VCI_API *VCI_GetReceiveNumFn)(uint32_t devType, uint32_t devIndex, uint32_t canIndex);
typedef uint32_t(VCI_API *VCI_ClearBufferFn)(uint32_t devType, uint32_t devIndex, uint32_t canIndex);
typedef uint32_t(VCI_API *VCI_StartCANFn)(uint32_t devType, uint32_t devIndex, uint32_t canIndex);
typedef uint32_t(VCI_API *VCI_ResetCANFn)(uint32_t devType, uint32_t devIndex, uint32_t canIndex);
typedef uint32_t(VCI_API *VCI_TransmitFn)(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCI_CAN_OBJ *frames, uint32_t count);
typedef uint32_t(VCI_API *VCI_ReceiveFn)(uint32_t devType, uint32_t devIndex, uint32_t canIndex, VCI_CAN_OBJ *frames, uint32_t capacity, uint32_t waitMs);
}
