#include "sjaframe.h"

#include <algorithm>

namespace {

constexpr uint8_t kExtended = 0x80, kRemote = 0x40, kLength = 0x0F;

} // namespace

void SjaFrame::encode(const VCI_CAN_OBJ &frame, Bytes &staging)
{
    const uint8_t length = std::min<uint8_t>(frame.DataLen, 8);
    staging[0] = uint8_t((frame.ExternFlag ? kExtended : 0) | (frame.RemoteFlag ? kRemote : 0) | length);
    const uint32_t id = frame.ID;
    size_t data = 3;
    if (frame.ExternFlag) {
        staging[1] = uint8_t(id >> 21);
        staging[2] = uint8_t(id >> 13);
        staging[3] = uint8_t(id >> 5);
        staging[4] = uint8_t(id << 3);
        data = 5;
    } else {
        staging[1] = uint8_t(id >> 3);
        staging[2] = uint8_t(id << 5);
    }
    std::copy(frame.Data, frame.Data + length, staging.begin() + long(data));
}

VCI_CAN_OBJ SjaFrame::decode(const Bytes &raw)
{
    VCI_CAN_OBJ frame{};
    frame.RemoteFlag = (raw[0] & kRemote) ? 1 : 0;
    frame.ExternFlag = (raw[0] & kExtended) ? 1 : 0;
    frame.DataLen = std::min<uint8_t>(raw[0] & kLength, 8);
    size_t data = 3;
    if (frame.ExternFlag) {
        frame.ID = ((uint32_t(raw[1]) << 24 | uint32_t(raw[2]) << 16 | uint32_t(raw[3]) << 8 | raw[4]) >> 3);
        data = 5;
    } else {
        frame.ID = (uint32_t(raw[1]) << 8 | raw[2]) >> 5;
    }
    // A remote frame carries no data; the buffer bytes after its
    // identifier belong to the next message.
    if (!frame.RemoteFlag)
        std::copy(raw.begin() + long(data), raw.begin() + long(data) + frame.DataLen, frame.Data);
    return frame;
}
