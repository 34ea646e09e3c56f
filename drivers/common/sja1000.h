// SJA1000 registers and bits in PeliCAN mode, as the drivers use them.
#pragma once

#include <cstdint>

namespace Sja1000 {

enum Register : uint8_t {
    MOD = 0,
    CMR = 1,
    SR = 2,
    IR = 3,
    IER = 4,
    BTR0 = 6,
    BTR1 = 7,
    OCR = 8,
    ALC = 11,
    ECC = 12,
    EWLR = 13,
    RXERR = 14,
    TXERR = 15,
    FRAME = 16, // 13 bytes; in reset mode 16..19 acceptance code, 20..23 mask
    ACR = 16,
    AMR = 20,
    CDR = 31,
    REGISTERS = 128,
};

enum Mode : uint8_t { RESET_MODE = 0x01, LISTEN_ONLY = 0x02, SELF_TEST = 0x04, SINGLE_FILTER = 0x08 };
enum Command : uint8_t {
    TRANSMIT = 0x01,
    ABORT = 0x02,
    RELEASE_BUFFER = 0x04,
    CLEAR_OVERRUN = 0x08,
    SELF_RECEPTION = 0x10,
};
enum Status : uint8_t { TX_BUFFER_FREE = 0x04, TX_COMPLETE = 0x08, BUS_OFF = 0x80 };
enum Interrupt : uint8_t { RECEIVED = 0x01, DATA_OVERRUN = 0x08, ARBITRATION_LOST = 0x40, BUS_ERROR = 0x80 };

constexpr uint8_t kFrameBytes = 13;
constexpr uint8_t kPeliCan = 0xC8;   // CDR: PeliCAN, comparator bypass, clock off
constexpr uint8_t kOutput = 0x1A;    // OCR: normal output mode, push-pull
constexpr uint8_t kEnabled = 0xC9;   // IER: bus error, arbitration lost, overrun, receive
constexpr uint8_t kWarningLimit = 96;

} // namespace Sja1000
