#include "canobj.h"

#include <cstring>

CanObj::CanObj(const VCI_CAN_OBJ &frame)
    : ID(frame.ID)
    , DeviceTime(frame.DeviceTime)
    , HasDeviceTime(frame.HasDeviceTime)
    , SendType(frame.SendType)
    , RemoteFlag(frame.RemoteFlag)
    , ExternFlag(frame.ExternFlag)
    , DataLen(frame.DataLen)
{
    std::memcpy(Data, frame.Data, sizeof Data);
    std::memcpy(Spare, frame.Spare, sizeof Spare);
}

VCI_CAN_OBJ CanObj::toVci() const
{
    VCI_CAN_OBJ frame;
    frame.ID = ID;
    frame.DeviceTime = DeviceTime;
    frame.HasDeviceTime = HasDeviceTime;
    frame.SendType = SendType;
    frame.RemoteFlag = RemoteFlag;
    frame.ExternFlag = ExternFlag;
    frame.DataLen = DataLen;
    std::memcpy(frame.Data, Data, sizeof Data);
    std::memcpy(frame.Spare, Spare, sizeof Spare);
    return frame;
}

VCI_CAN_OBJ CanObj::toTransmit(uint32_t id) const
{
    VCI_CAN_OBJ frame{};
    frame.ID = id;
    frame.SendType = SendType;
    frame.RemoteFlag = RemoteFlag;
    frame.ExternFlag = ExternFlag;
    frame.DataLen = DataLen;
    std::memcpy(frame.Data, Data, sizeof Data);
    return frame;
}
