// The 13-byte parameter record of one channel as the channel pages edit
// and store it: acceptance code (bytes 0-3) and mask (4-7), most
// significant byte first; bit-rate row (8, 1..16); BTR0 (9); BTR1 (10);
// filter mode (11, 0 dual, 1 single); work mode (12, 0 normal, 1 listen
// only). Stored as 26 lower-case hexadecimal digits, byte 0 first.
#pragma once

#include "vci.h"

#include <QString>

#include <array>
#include <cstdint>

class DevChannelParams
{
public:
    static constexpr int Size = 13;
    // Bit-rate rows a record may hold: Custom (also for a probed timing)
    // to 1000 kbit/s.
    static constexpr uint8_t FirstRow = 1;
    static constexpr uint8_t LastRow = 16;
    enum Field { AccCode = 0, MaskCode = 4, Row = 8, Btr0 = 9, Btr1 = 10, Filter = 11, Mode = 12 };

    // All bytes zero.
    DevChannelParams() = default;

    static DevChannelParams pciDefault();
    static DevChannelParams usbDefault();
    // The stored text when it holds exactly 13 bytes with bit-rate row,
    // filter and mode in range, else fallback.
    static DevChannelParams fromText(const QString &text, const DevChannelParams &fallback);
    QString toText() const;

    uint8_t byte(int index) const { return bytes.at(size_t(index)); }
    void setByte(int index, uint8_t value) { bytes.at(size_t(index)) = value; }
    // Four bytes from first on, most significant first.
    uint32_t word(int first) const;
    void setWord(int first, uint32_t value);

    // Acceptance code and mask, timing, filter and mode; Spare is 0.
    VCI_INIT_CONFIG initConfig() const;

    bool operator==(const DevChannelParams &other) const { return bytes == other.bytes; }
    bool operator!=(const DevChannelParams &other) const { return bytes != other.bytes; }

private:
    std::array<uint8_t, Size> bytes{};
};
