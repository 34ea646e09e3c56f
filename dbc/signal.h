#ifndef DBC_SIGNAL_H
#define DBC_SIGNAL_H

#include "quillon_global.h"

#include <gsl/span>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace DBC {

// Stored as the character of the file so that callers may compare with it.
enum ByteOrder : char {
    Motorola = '0',
    Intel = '1'
};

enum ValueType : char {
    Unsigned = '+',
    Signed = '-'
};

class QUILLON_EXPORT Signal
{
public:
    enum Multiplexor : int32_t {
        NotMultiplexed = 0,
        MultiplexerSwitch = 'M',
        Multiplexed = 'm'
    };

    Signal();
    Signal(const Signal &other);
    Signal(Signal &&other) noexcept;
    Signal &operator=(const Signal &other);
    Signal &operator=(Signal &&other) noexcept;
    ~Signal();

    double rawToPhysicalValue(double raw) const;
    // No rounding: the caller rounds or truncates.
    double physicalToRawValue(double physical) const;
    double minimumRawValue() const;
    double maximumRawValue() const;
    // Exact limits of an integer signal's raw value (1 to 64 bits): signed
    // -2^(n-1) .. 2^(n-1)-1, unsigned 0 .. 2^n-1. The double ones above
    // round for sizes past 53 bits.
    int64_t minimumRawInteger() const;
    uint64_t maximumRawInteger() const;
    // Whether a whole raw value lies within the exact integer limits.
    bool rawWithinLimits(double raw) const;

    // first: the value (sign-extended for signed signals; for IEEE signals the
    // number rounded to the nearest integer); second: the raw bit field.
    // An unsigned 64-bit value above INT64_MAX comes back as its bit pattern.
    // A signal that does not fit (for decode: the first 8 bytes) gives (0, 0).
    std::pair<int64_t, int64_t> decode(const gsl::span<uint8_t> &data) const;
    std::pair<int64_t, int64_t> decode_ex(const gsl::span<uint8_t> &data) const;

    // Writes raw's low bitSize bits (for IEEE signals: raw as a float or
    // double); nothing when the signal does not fit the span.
    void encode(gsl::span<uint8_t> &data, int64_t raw) const;
    // As encode, but a negative raw value of an unsigned integer signal
    // narrower than 64 bits writes nothing.
    void encode_ex(gsl::span<uint8_t> &data, int64_t raw) const;

    // Exact physical value for every kind of signal, including IEEE values
    // and unsigned 64-bit values above INT64_MAX.
    double decodePhysicalValue(const gsl::span<uint8_t> &data) const;
    // Integer signals: rounded to the nearest raw value and clamped to the
    // raw range; not-a-number writes nothing.
    void encodePhysicalValue(gsl::span<uint8_t> &data, double physical) const;

    std::string name;
    Multiplexor multiplexor = NotMultiplexed;
    uint32_t multiplexerSwitchValue = 0;
    uint32_t startBit = 0;      // Intel: least, Motorola: most significant bit
    uint32_t bitSize = 0;
    ByteOrder byteOrder = ByteOrder(0);
    ValueType valueType = ValueType(0);
    double factor = 0.0;
    double offset = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    std::string unit;
    std::set<std::string> receivers;
    char extendedValueType = 0;  // 0 or '0' integer, '1' float, '2' double
    std::map<uint32_t, std::string> valueDescriptions;
    std::string comment;

private:
    std::pair<int64_t, int64_t> decode_intel(const gsl::span<uint8_t> &data) const;
    std::pair<int64_t, int64_t> decode_motorola(const gsl::span<uint8_t> &data) const;
};

} // namespace DBC

#endif // DBC_SIGNAL_H
