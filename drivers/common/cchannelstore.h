// The stores of one channel: received frames as read from the controller
// (13 raw bytes, decoded only when taken) and error records, oldest first,
// each under its own lock. The receive thread appends; VCI_ callers take.
//
// Both are bounded: past frameCapacity new frames are dropped and one
// overrun record (0xE1) is filed per episode (it ends when frames are
// taken or the store is cleared); past errorCapacity new records are
// dropped.
#pragma once

#include "sjaframe.h"
#include "vci.h"

#include <deque>
#include <mutex>

class CChannelStore
{
public:
    struct ErrorRecord {
        uint8_t code;
        uint8_t errorCode; // error-code capture (0xE3)
        uint8_t rxErrors;
        uint8_t txErrors;
        uint8_t arbitrationLost; // arbitration-lost capture (0xE4)
    };

    static constexpr uint32_t kFrameCapacity = 65536;
    static constexpr uint32_t kErrorCapacity = 1024;

    explicit CChannelStore(uint32_t frameCapacity = kFrameCapacity, uint32_t errorCapacity = kErrorCapacity);

    void addFrame(const SjaFrame::Bytes &raw);
    void addError(const ErrorRecord &record);

    // Takes up to capacity of the oldest frames, decoded, under one lock.
    uint32_t takeFrames(VCI_CAN_OBJ *out, uint32_t capacity);
    uint32_t frameCount() const;
    // The oldest record, removed; false with *out zeroed when there is none.
    bool takeError(VCI_ERR_INFO *out);

    void clear();

private:
    const uint32_t m_frameCapacity;
    const uint32_t m_errorCapacity;

    mutable std::mutex m_frameMutex;
    std::deque<SjaFrame::Bytes> m_frames;
    bool m_overflowing = false;

    std::mutex m_errorMutex;
    std::deque<ErrorRecord> m_errors;
};
