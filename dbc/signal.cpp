#include "signal.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace DBC {

namespace {

constexpr uint64_t mask(uint32_t bits)
{
    return bits >= 64 ? ~uint64_t(0) : (uint64_t(1) << bits) - 1;
}

uint64_t loadLittleEndian64(const uint8_t *bytes)
{
    uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    word = __builtin_bswap64(word);
#endif
    return word;
}

uint64_t byteSwap64(uint64_t word)
{
#if defined(__GNUC__)
    return __builtin_bswap64(word);
#else
    uint64_t swapped = 0;
    for (int i = 0; i < 8; ++i, word >>= 8)
        swapped = (swapped << 8) | (word & 0xFF);
    return swapped;
#endif
}

bool validSize(uint32_t bitSize)
{
    return bitSize >= 1 && bitSize <= 64;
}

bool isIntel(const Signal &signal)
{
    return signal.byteOrder == Intel;
}

// The IEEE codec applies only when the size matches the declared type.
bool isFloat32(const Signal &signal)
{
    return signal.extendedValueType == '1' && signal.bitSize == 32;
}

bool isFloat64(const Signal &signal)
{
    return signal.extendedValueType == '2' && signal.bitSize == 64;
}

bool isIeee(const Signal &signal)
{
    return isFloat32(signal) || isFloat64(signal);
}

// Index of the last byte the signal touches; only for valid sizes.
uint64_t lastByteIndex(const Signal &signal)
{
    const uint64_t start = signal.startBit;
    if (isIntel(signal))
        return (start + signal.bitSize - 1) / 8;
    const uint64_t inFirstByte = start % 8 + 1;
    if (signal.bitSize <= inFirstByte)
        return start / 8;
    const uint64_t rest = signal.bitSize - inFirstByte;
    return start / 8 + (rest + 7) / 8;
}

bool fitsIn(const Signal &signal, std::size_t bytes)
{
    return validSize(signal.bitSize) && lastByteIndex(signal) < bytes;
}

double ieeeValue(const Signal &signal, uint64_t raw)
{
    if (isFloat32(signal)) {
        const uint32_t bits = uint32_t(raw);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    double value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

uint64_t ieeeBits(const Signal &signal, double value)
{
    if (isFloat32(signal)) {
        // Out-of-range doubles become infinities rather than undefined casts.
        const float infinity = std::numeric_limits<float>::infinity();
        const float single = std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max()
                ? (value > 0 ? infinity : -infinity)
                : float(value);
        uint32_t bits;
        std::memcpy(&bits, &single, sizeof bits);
        return bits;
    }
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

int64_t saturatedRound(double value)
{
    if (std::isnan(value))
        return 0;
    // 2^63 is the first double above INT64_MAX.
    if (value >= 9223372036854775808.0)
        return std::numeric_limits<int64_t>::max();
    if (value <= -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    return std::llround(value);
}

// Only for signals that fit the span.
void writeBits(const Signal &signal, gsl::span<uint8_t> &data, uint64_t bits)
{
    uint8_t *bytes = data.data();
    uint64_t position = signal.startBit;
    for (uint32_t i = 0; i < signal.bitSize; ++i) {
        bool bit;
        if (isIntel(signal)) {
            bit = (bits >> i) & 1;
            position = uint64_t(signal.startBit) + i;
        } else {
            bit = (bits >> (signal.bitSize - 1 - i)) & 1;
            if (i > 0)
                position = position % 8 != 0 ? position - 1 : position + 15;
        }
        const uint8_t bitMask = uint8_t(1u << (position % 8));
        if (bit)
            bytes[position / 8] |= bitMask;
        else
            bytes[position / 8] &= uint8_t(~bitMask);
    }
}

std::pair<int64_t, int64_t> finish(const Signal &signal, uint64_t raw)
{
    if (isIeee(signal))
        return {saturatedRound(ieeeValue(signal, raw)), int64_t(raw)};
    uint64_t value = raw;
    if (signal.valueType == Signed && ((raw >> (signal.bitSize - 1)) & 1))
        value |= ~mask(signal.bitSize);
    return {int64_t(value), int64_t(raw)};
}

} // namespace

Signal::Signal() = default;
Signal::Signal(const Signal &other) = default;
Signal::Signal(Signal &&other) noexcept = default;
Signal &Signal::operator=(const Signal &other) = default;
Signal &Signal::operator=(Signal &&other) noexcept = default;
Signal::~Signal() = default;

double Signal::rawToPhysicalValue(double raw) const
{
    return factor * raw + offset;
}

double Signal::physicalToRawValue(double physical) const
{
    return (physical - offset) / factor;
}

double Signal::minimumRawValue() const
{
    switch (extendedValueType) {
    case 0:
    case '0':
        if (valueType != Signed || bitSize == 0)
            return 0.0;
        return -std::ldexp(1.0, int(std::min<uint32_t>(bitSize, 64)) - 1);
    case '1':
        return -3.4e38;
    case '2':
        return -1.7e308;
    default:
        return 0.0;
    }
}

double Signal::maximumRawValue() const
{
    switch (extendedValueType) {
    case 0:
    case '0': {
        uint32_t bits = bitSize;
        if (valueType == Signed && bits > 0)
            --bits;
        return double(mask(bits));
    }
    case '1':
        return 3.4e38;
    case '2':
        return 1.7e308;
    default:
        return 0.0;
    }
}

int64_t Signal::minimumRawInteger() const
{
    if (valueType != Signed || !validSize(bitSize))
        return 0;
    return bitSize == 64 ? std::numeric_limits<int64_t>::min() : -(int64_t(1) << (bitSize - 1));
}

uint64_t Signal::maximumRawInteger() const
{
    if (!validSize(bitSize))
        return 0;
    return valueType == Signed ? mask(bitSize - 1) : mask(bitSize);
}

bool Signal::rawWithinLimits(double raw) const
{
    if (std::isnan(raw))
        return false;
    // 2^63 and 2^64 are exact doubles; below them floor and ceil of a
    // double convert to the integer types without rounding.
    if (raw < 0.0) {
        if (raw < -9223372036854775808.0)
            return false;
        return int64_t(std::ceil(raw)) >= minimumRawInteger();
    }
    if (raw >= 18446744073709551616.0)
        return false;
    return uint64_t(std::floor(raw)) <= maximumRawInteger();
}

std::pair<int64_t, int64_t> Signal::decode(const gsl::span<uint8_t> &data) const
{
    if (data.size() < 8)
        return decode_ex(data);
    if (!validSize(bitSize))
        return {0, 0};
    const uint64_t word = loadLittleEndian64(data.data());
    uint64_t raw;
    if (isIntel(*this)) {
        if (uint64_t(startBit) + bitSize > 64)
            return {0, 0};
        raw = (word >> startBit) & mask(bitSize);
    } else {
        if (startBit >= 64)
            return {0, 0};
        // In the byte-swapped word a Motorola signal is one run of bits
        // ending at its most significant bit.
        const uint32_t msb = (7 - startBit / 8) * 8 + startBit % 8;
        if (msb + 1 < bitSize)
            return {0, 0};
        raw = (byteSwap64(word) >> (msb + 1 - bitSize)) & mask(bitSize);
    }
    return finish(*this, raw);
}

std::pair<int64_t, int64_t> Signal::decode_ex(const gsl::span<uint8_t> &data) const
{
    if (!validSize(bitSize))
        return {0, 0};
    return isIntel(*this) ? decode_intel(data) : decode_motorola(data);
}

std::pair<int64_t, int64_t> Signal::decode_intel(const gsl::span<uint8_t> &data) const
{
    if (!fitsIn(*this, data.size()))
        return {0, 0};
    const uint8_t *bytes = data.data();
    const uint64_t first = startBit / 8;
    const uint64_t last = (uint64_t(startBit) + bitSize - 1) / 8;
    const uint32_t skip = startBit % 8;
    uint64_t raw = bytes[first] >> skip;
    // Every shift stays below bitSize, hence below 64.
    uint32_t shift = 8 - skip;
    for (uint64_t i = first + 1; i <= last; ++i, shift += 8)
        raw |= uint64_t(bytes[i]) << shift;
    return finish(*this, raw & mask(bitSize));
}

std::pair<int64_t, int64_t> Signal::decode_motorola(const gsl::span<uint8_t> &data) const
{
    if (!fitsIn(*this, data.size()))
        return {0, 0};
    const uint8_t *bytes = data.data();
    uint64_t index = startBit / 8;
    const uint32_t inFirstByte = startBit % 8 + 1;
    uint64_t raw;
    if (bitSize <= inFirstByte) {
        raw = (bytes[index] >> (inFirstByte - bitSize)) & mask(bitSize);
    } else {
        raw = bytes[index++] & mask(inFirstByte);
        const uint32_t rest = bitSize - inFirstByte;
        for (uint32_t i = 0; i < rest / 8; ++i)
            raw = (raw << 8) | bytes[index++];
        if (rest % 8 > 0)
            raw = (raw << (rest % 8)) | (bytes[index] >> (8 - rest % 8));
    }
    return finish(*this, raw);
}

void Signal::encode(gsl::span<uint8_t> &data, int64_t raw) const
{
    if (!fitsIn(*this, data.size()))
        return;
    writeBits(*this, data, isIeee(*this) ? ieeeBits(*this, double(raw)) : uint64_t(raw));
}

void Signal::encode_ex(gsl::span<uint8_t> &data, int64_t raw) const
{
    if (valueType == Unsigned && raw < 0 && bitSize < 64 && !isIeee(*this))
        return;
    encode(data, raw);
}

double Signal::decodePhysicalValue(const gsl::span<uint8_t> &data) const
{
    const std::pair<int64_t, int64_t> decoded = decode_ex(data);
    if (isIeee(*this))
        return rawToPhysicalValue(ieeeValue(*this, uint64_t(decoded.second)));
    if (valueType == Signed)
        return rawToPhysicalValue(double(decoded.first));
    return rawToPhysicalValue(double(uint64_t(decoded.second)));
}

void Signal::encodePhysicalValue(gsl::span<uint8_t> &data, double physical) const
{
    if (!fitsIn(*this, data.size()))
        return;
    const double raw = physicalToRawValue(physical);
    if (isIeee(*this)) {
        writeBits(*this, data, ieeeBits(*this, raw));
        return;
    }
    if (std::isnan(raw))
        return;
    const double rounded = std::round(raw);
    if (valueType == Signed) {
        // -2^(n-1) is exact as a double, 2^(n-1)-1 is not beyond 53 bits:
        // compare with the powers of two and clamp in integers.
        const double limit = std::ldexp(1.0, int(bitSize) - 1);
        int64_t value;
        if (rounded >= limit)
            value = int64_t(maximumRawInteger());
        else if (rounded <= -limit)
            value = minimumRawInteger();
        else
            value = int64_t(rounded);
        encode(data, value);
        return;
    }
    if (rounded <= 0.0) {
        encode(data, 0);
        return;
    }
    // 2^64 is the first double above UINT64_MAX.
    const uint64_t value = rounded >= 18446744073709551616.0
            ? ~uint64_t(0) : uint64_t(rounded);
    writeBits(*this, data, std::min(value, mask(bitSize)));
}

} // namespace DBC
