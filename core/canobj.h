// One frame with its send marks: the VCI_CAN_OBJ fields, a user value and
// three marks used by file readers and the transmit thread.
#pragma once

#include "vci.h"
#include "vizoz_global.h"

#include <QMetaType>
#include <cstdint>

class VIZOZ_EXPORT CanObj
{
    Q_GADGET
public:
    CanObj() = default;
    explicit CanObj(const VCI_CAN_OBJ &frame);

    // The VCI_CAN_OBJ part, for a device call.
    VCI_CAN_OBJ toVci() const;
    // The record a send hands to the device: ID (or the given one), send
    // type, flags, length and data; no time stamp, no reserved bytes.
    VCI_CAN_OBJ toTransmit() const { return toTransmit(ID); }
    VCI_CAN_OBJ toTransmit(uint32_t id) const;

    uint32_t ID = 0;            // right-aligned identifier
    uint32_t DeviceTime = 0;    // device time stamp
    uint8_t HasDeviceTime = 0;
    uint8_t SendType = 0;       // 0 normal, 1 single, 2 self-reception, 3 single + self-reception
    uint8_t RemoteFlag = 0;
    uint8_t ExternFlag = 0;
    uint8_t DataLen = 0;        // 0..8
    uint8_t Data[8] = {};
    uint8_t Spare[3] = {};
    int32_t userValue = 0;      // carried with the frame, never interpreted by the core
    uint8_t firstMark = 0;      // first frame of a chunk read from a file
    uint8_t tailMark = 0;       // the transmit thread reports the end of a tagged unit after it
    uint8_t lastMark = 0;       // ends a transmit batch after this frame
};

Q_DECLARE_METATYPE(CanObj)
