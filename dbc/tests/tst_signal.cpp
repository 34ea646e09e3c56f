#include "dbc/signal.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using Bytes = std::vector<uint8_t>;
using Decoded = std::pair<int64_t, int64_t>;

namespace {

DBC::Signal makeSignal(char byteOrder, char valueType, uint32_t startBit, uint32_t bitSize,
                       char extendedValueType = 0)
{
    DBC::Signal signal;
    signal.byteOrder = DBC::ByteOrder(byteOrder);
    signal.valueType = DBC::ValueType(valueType);
    signal.startBit = startBit;
    signal.bitSize = bitSize;
    signal.factor = 1.0;
    signal.extendedValueType = extendedValueType;
    return signal;
}

Bytes bytesOf(const QByteArray &hex, std::size_t size = 8)
{
    const QByteArray raw = QByteArray::fromHex(hex);
    Bytes bytes(size, 0);
    std::memcpy(bytes.data(), raw.constData(), std::min<std::size_t>(size, std::size_t(raw.size())));
    return bytes;
}

QByteArray hexOf(const Bytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), int(bytes.size())).toHex(' ');
}

int popCount(const Bytes &bytes)
{
    int count = 0;
    for (uint8_t byte : bytes)
        count += __builtin_popcount(byte);
    return count;
}

} // namespace

class TestSignal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data();
    void decode();
    void decodeLongerMessage();
    void unusableSignalsTouchNothing_data();
    void unusableSignalsTouchNothing();
    void encodeRoundTripsEveryPlacement_data();
    void encodeRoundTripsEveryPlacement();
    void encodeEx_data();
    void encodeEx();
    void rawRange_data();
    void rawRange();
    void exactLimits_data();
    void exactLimits();
    void physicalConversion();
    void ieeeValues();
    void unsigned64BitValues();
    void otherByteOrderCodesUseOneRule();
};

void TestSignal::decode_data()
{
    QTest::addColumn<char>("byteOrder");
    QTest::addColumn<char>("valueType");
    QTest::addColumn<uint>("startBit");
    QTest::addColumn<uint>("bitSize");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<quint64>("raw");

    QTest::newRow("intel byte 0") << '1' << '+' << 0u << 8u << QByteArray("1234") << 0x12ll << 0x12ull;
    QTest::newRow("intel across bytes") << '1' << '+' << 4u << 8u << QByteArray("f00f") << 0xffll << 0xffull;
    QTest::newRow("motorola 16 bits") << '0' << '+' << 7u << 16u << QByteArray("1234") << 0x1234ll << 0x1234ull;
    QTest::newRow("motorola inside byte") << '0' << '+' << 3u << 4u << QByteArray("0a") << 0xall << 0xaull;
    QTest::newRow("motorola into next byte") << '0' << '+' << 2u << 4u << QByteArray("0580") << 0xbll << 0xbull;
    QTest::newRow("signed 8 bits") << '1' << '-' << 0u << 8u << QByteArray("ff") << -1ll << 0xffull;
    QTest::newRow("unsigned 8 bits") << '1' << '+' << 0u << 8u << QByteArray("ff") << 0xffll << 0xffull;
    QTest::newRow("intel signed 12 bits across bytes")
            << '1' << '-' << 4u << 12u << QByteArray("30f8") << -125ll << 0xf83ull;
    QTest::newRow("motorola signed 12 bits")
            << '0' << '-' << 3u << 12u << QByteArray("0abc") << -1348ll << 0xabcull;
    QTest::newRow("motorola signed 1 bit") << '0' << '-' << 7u << 1u << QByteArray("80") << -1ll << 1ull;
    QTest::newRow("intel 64 bits") << '1' << '+' << 0u << 64u << QByteArray("0102030405060708")
                                   << 0x0807060504030201ll << 0x0807060504030201ull;
    QTest::newRow("motorola 64 bits") << '0' << '+' << 7u << 64u << QByteArray("0102030405060708")
                                      << 0x0102030405060708ll << 0x0102030405060708ull;
    QTest::newRow("signed 64 bits") << '1' << '-' << 0u << 64u << QByteArray("feffffffffffffff")
                                    << -2ll << 0xfffffffffffffffeull;
    QTest::newRow("motorola 63 bits from bit 6") << '0' << '-' << 6u << 63u
                                                 << QByteArray("4000000000000000")
                                                 << std::numeric_limits<qint64>::min() / 2
                                                 << 0x4000000000000000ull;
    QTest::newRow("intel last bit") << '1' << '+' << 63u << 1u << QByteArray("0000000000000080")
                                    << 1ll << 1ull;
    QTest::newRow("motorola last bit") << '0' << '+' << 56u << 1u << QByteArray("0000000000000001")
                                       << 1ll << 1ull;
}

void TestSignal::decode()
{
    QFETCH(char, byteOrder);
    QFETCH(char, valueType);
    QFETCH(uint, startBit);
    QFETCH(uint, bitSize);
    QFETCH(QByteArray, data);
    QFETCH(qint64, value);
    QFETCH(quint64, raw);

    const DBC::Signal signal = makeSignal(byteOrder, valueType, startBit, bitSize);
    Bytes bytes = bytesOf(data);
    const gsl::span<uint8_t> span(bytes);
    const Decoded expected(value, int64_t(raw));
    QCOMPARE(signal.decode(span), expected);
    QCOMPARE(signal.decode_ex(span), expected);
}

void TestSignal::decodeLongerMessage()
{
    Bytes bytes = bytesOf("00000000000000000000000000a5c30f", 16);
    const gsl::span<uint8_t> span(bytes);

    // Bits 100..119: byte 12 from bit 4 on, bytes 13 and 14.
    const DBC::Signal intel = makeSignal('1', '+', 100, 20);
    QCOMPARE(intel.decode_ex(span), Decoded(0xc3a50, 0xc3a50));
    // Byte 13 bits 7..0, then byte 14 bits 7..4.
    const DBC::Signal motorola = makeSignal('0', '+', 111, 12);
    QCOMPARE(motorola.decode_ex(span), Decoded(0xa5c, 0xa5c));
    // The fast path reads only the first 8 bytes.
    QCOMPARE(intel.decode(span), Decoded(0, 0));

    // 64 bits that start inside a byte touch nine bytes.
    Bytes nine = bytesOf("1032547698badcfe0f", 16);
    const gsl::span<uint8_t> nineSpan(nine);
    QCOMPARE(makeSignal('1', '-', 4, 64).decode_ex(nineSpan),
             Decoded(int64_t(0xffedcba987654321), int64_t(0xffedcba987654321)));
    Bytes nineMotorola = bytesOf("0123456789abcdeff0", 16);
    const gsl::span<uint8_t> nineMotorolaSpan(nineMotorola);
    QCOMPARE(makeSignal('0', '+', 3, 64).decode_ex(nineMotorolaSpan),
             Decoded(0x123456789abcdeff, 0x123456789abcdeff));

    // A span shorter than 8 bytes is decoded within its length.
    Bytes shortBytes = bytesOf("1234", 2);
    const gsl::span<uint8_t> shortSpan(shortBytes);
    QCOMPARE(makeSignal('0', '+', 7, 16).decode(shortSpan), Decoded(0x1234, 0x1234));
    QCOMPARE(makeSignal('1', '+', 8, 16).decode(shortSpan), Decoded(0, 0));
}

void TestSignal::unusableSignalsTouchNothing_data()
{
    QTest::addColumn<char>("byteOrder");
    QTest::addColumn<uint>("startBit");
    QTest::addColumn<uint>("bitSize");
    QTest::addColumn<int>("spanSize");

    const uint maxStart = std::numeric_limits<uint32_t>::max();
    QTest::newRow("size 0") << '1' << 0u << 0u << 8;
    QTest::newRow("size 65") << '1' << 0u << 65u << 16;
    QTest::newRow("motorola size 65") << '0' << 7u << 65u << 16;
    QTest::newRow("size 4294967295") << '1' << 0u << maxStart << 8;
    QTest::newRow("intel start 4294967295") << '1' << maxStart << 8u << 8;
    QTest::newRow("motorola start 4294967295") << '0' << maxStart << 8u << 8;
    QTest::newRow("intel past the end") << '1' << 60u << 8u << 8;
    QTest::newRow("motorola past the end") << '0' << 63u << 16u << 8;
    QTest::newRow("motorola 64 bits from bit 0") << '0' << 0u << 64u << 8;
    QTest::newRow("short span") << '0' << 7u << 16u << 1;
    QTest::newRow("empty span") << '1' << 0u << 8u << 0;
}

void TestSignal::unusableSignalsTouchNothing()
{
    QFETCH(char, byteOrder);
    QFETCH(uint, startBit);
    QFETCH(uint, bitSize);
    QFETCH(int, spanSize);

    DBC::Signal signal = makeSignal(byteOrder, '-', startBit, bitSize);
    signal.offset = 7.0;
    // Exactly sized, so that the sanitizer sees any access past the span.
    Bytes bytes(std::size_t(spanSize), 0xa5);
    const Bytes before = bytes;
    gsl::span<uint8_t> span(bytes);

    QCOMPARE(signal.decode_ex(span), Decoded(0, 0));
    if (spanSize >= 8)
        QCOMPARE(signal.decode(span), Decoded(0, 0));
    QCOMPARE(signal.decodePhysicalValue(span), 7.0);
    signal.encode(span, -1);
    signal.encode_ex(span, -1);
    signal.encodePhysicalValue(span, 100.0);
    QCOMPARE(bytes, before);
}

void TestSignal::encodeRoundTripsEveryPlacement_data()
{
    QTest::addColumn<char>("byteOrder");
    QTest::addColumn<char>("valueType");
    QTest::newRow("intel unsigned") << '1' << '+';
    QTest::newRow("intel signed") << '1' << '-';
    QTest::newRow("motorola unsigned") << '0' << '+';
    QTest::newRow("motorola signed") << '0' << '-';
}

void TestSignal::encodeRoundTripsEveryPlacement()
{
    QFETCH(char, byteOrder);
    QFETCH(char, valueType);

    int placements = 0;
    for (uint32_t size = 1; size <= 64; ++size) {
        // Lowest and highest bit set, so that a shifted field cannot pass.
        const uint64_t mask = size == 64 ? ~0ull : (1ull << size) - 1;
        const uint64_t raw = (0xb5a5c3d2e1f00f69ull | 1ull | (1ull << (size - 1))) & mask;
        const int ones = __builtin_popcountll(raw);
        int64_t value = int64_t(raw);
        if (valueType == '-' && size < 64 && (raw >> (size - 1)) & 1)
            value = int64_t(raw | ~mask);

        for (uint32_t start = 0; start < 64; ++start) {
            const DBC::Signal signal = makeSignal(byteOrder, valueType, start, size);
            Bytes zeros(8, 0x00);
            Bytes ones8(8, 0xff);
            gsl::span<uint8_t> zeroSpan(zeros);
            gsl::span<uint8_t> onesSpan(ones8);
            signal.encode(zeroSpan, value);
            signal.encode(onesSpan, value);
            if (popCount(zeros) == 0) {
                // Does not fit 8 bytes: nothing written anywhere.
                QCOMPARE(popCount(ones8), 64);
                QCOMPARE(signal.decode(zeroSpan), Decoded(0, 0));
                continue;
            }
            ++placements;
            // Other bits keep their value on either background.
            QCOMPARE(popCount(zeros), ones);
            QCOMPARE(popCount(ones8), 64 - int(size) + ones);
            const Decoded expected(value, int64_t(raw));
            if (signal.decode(zeroSpan) != expected || signal.decode_ex(zeroSpan) != expected
                    || signal.decode_ex(onesSpan) != expected)
                QFAIL(qPrintable(QStringLiteral("start %1 size %2: %3").arg(start).arg(size)
                                 .arg(QString::fromLatin1(hexOf(zeros)))));
        }
    }
    // Every size n fits at 65 - n start bits in either byte order.
    QCOMPARE(placements, 2080);
}

void TestSignal::encodeEx_data()
{
    QTest::addColumn<char>("valueType");
    QTest::addColumn<uint>("bitSize");
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("negative into unsigned") << '+' << 8u << -1ll << QByteArray("5a5a5a5a5a5a5a5a");
    QTest::newRow("negative into signed 4 bits") << '-' << 4u << -1ll << QByteArray("5f5a5a5a5a5a5a5a");
    QTest::newRow("low bits of a too large value") << '+' << 8u << 0x12cll << QByteArray("2c5a5a5a5a5a5a5a");
    QTest::newRow("unsigned 64 bits with top bit")
            << '+' << 64u << std::numeric_limits<qint64>::min() + 5 << QByteArray("0500000000000080");
}

void TestSignal::encodeEx()
{
    QFETCH(char, valueType);
    QFETCH(uint, bitSize);
    QFETCH(qint64, raw);
    QFETCH(QByteArray, expected);

    const DBC::Signal signal = makeSignal('1', valueType, 0, bitSize);
    Bytes bytes(8, 0x5a);
    gsl::span<uint8_t> span(bytes);
    signal.encode_ex(span, raw);
    QCOMPARE(hexOf(bytes), QByteArray::fromHex(expected).toHex(' '));
}

void TestSignal::rawRange_data()
{
    QTest::addColumn<char>("valueType");
    QTest::addColumn<uint>("bitSize");
    QTest::addColumn<char>("extendedValueType");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");

    QTest::newRow("unsigned 8") << '+' << 8u << '\0' << 0.0 << 255.0;
    QTest::newRow("signed 8") << '-' << 8u << '0' << -128.0 << 127.0;
    QTest::newRow("signed 1") << '-' << 1u << '\0' << -1.0 << 0.0;
    QTest::newRow("unsigned 64") << '+' << 64u << '\0' << 0.0 << 18446744073709551615.0;
    QTest::newRow("signed 64") << '-' << 64u << '\0' << -9223372036854775808.0
                               << 9223372036854775807.0;
    QTest::newRow("float") << '-' << 32u << '1' << -3.4e38 << 3.4e38;
    QTest::newRow("double") << '-' << 64u << '2' << -1.7e308 << 1.7e308;
    QTest::newRow("unknown code") << '-' << 8u << '7' << 0.0 << 0.0;
    QTest::newRow("signed size 0") << '-' << 0u << '\0' << 0.0 << 0.0;
    QTest::newRow("unsigned size 1000") << '+' << 1000u << '\0' << 0.0 << 18446744073709551615.0;
}

void TestSignal::rawRange()
{
    QFETCH(char, valueType);
    QFETCH(uint, bitSize);
    QFETCH(char, extendedValueType);
    QFETCH(double, minimum);
    QFETCH(double, maximum);

    const DBC::Signal signal = makeSignal('1', valueType, 0, bitSize, extendedValueType);
    QCOMPARE(signal.minimumRawValue(), minimum);
    QCOMPARE(signal.maximumRawValue(), maximum);
}

void TestSignal::exactLimits_data()
{
    QTest::addColumn<char>("byteOrder");
    QTest::addColumn<char>("valueType");
    QTest::addColumn<uint>("bitSize");
    QTest::addColumn<qint64>("minimum");
    QTest::addColumn<quint64>("maximum");

    const struct {
        char valueType;
        uint bitSize;
        qint64 minimum;
        quint64 maximum;
    } limits[] = {
            {'+', 1, 0, 1ull},
            {'+', 8, 0, 255ull},
            {'+', 32, 0, 4294967295ull},
            {'+', 53, 0, 9007199254740991ull},
            {'+', 54, 0, 18014398509481983ull},
            {'+', 55, 0, 36028797018963967ull},
            {'+', 63, 0, 9223372036854775807ull},
            {'+', 64, 0, 18446744073709551615ull},
            {'-', 1, -1, 0ull},
            {'-', 8, -128, 127ull},
            {'-', 32, -2147483648ll, 2147483647ull},
            {'-', 53, -4503599627370496ll, 4503599627370495ull},
            {'-', 54, -9007199254740992ll, 9007199254740991ull},
            {'-', 55, -18014398509481984ll, 18014398509481983ull},
            {'-', 63, -4611686018427387904ll, 4611686018427387903ull},
            {'-', 64, std::numeric_limits<qint64>::min(), 9223372036854775807ull},
    };
    for (char byteOrder : {'1', '0'}) {
        for (const auto &l : limits) {
            QTest::addRow("%s %s %u", byteOrder == '1' ? "Intel" : "Motorola",
                          l.valueType == '-' ? "signed" : "unsigned", l.bitSize)
                    << byteOrder << l.valueType << l.bitSize << l.minimum << l.maximum;
        }
    }
}

void TestSignal::exactLimits()
{
    QFETCH(char, byteOrder);
    QFETCH(char, valueType);
    QFETCH(uint, bitSize);
    QFETCH(qint64, minimum);
    QFETCH(quint64, maximum);

    // Intel from bit 0, Motorola from bit 7: both start in byte 0.
    const DBC::Signal signal = makeSignal(byteOrder, valueType, byteOrder == '1' ? 0 : 7, bitSize);
    QCOMPARE(signal.minimumRawInteger(), minimum);
    QCOMPARE(signal.maximumRawInteger(), maximum);

    const bool isSigned = valueType == '-';
    // The raw value the signal's bits decode to, as the limit types hold it.
    const auto decodedMax = [&](const Bytes &bytes) {
        Bytes copy = bytes;
        const Decoded d = signal.decode_ex(gsl::span<uint8_t>(copy));
        return isSigned ? quint64(d.first) : quint64(d.second);
    };
    const auto decodedMin = [&](const Bytes &bytes) {
        Bytes copy = bytes;
        return qint64(signal.decode_ex(gsl::span<uint8_t>(copy)).first);
    };
    const auto encodedRaw = [&](int64_t raw) {
        Bytes bytes(8, 0);
        gsl::span<uint8_t> span(bytes);
        signal.encode_ex(span, raw);
        return bytes;
    };
    const auto encodedPhysical = [&](double physical) {
        // Start from the opposite limit so that a write that does nothing shows.
        Bytes bytes(8, physical > 0 ? 0 : 0xFF);
        gsl::span<uint8_t> span(bytes);
        signal.encodePhysicalValue(span, physical);
        return bytes;
    };

    // The limits themselves, as integers.
    QCOMPARE(decodedMax(encodedRaw(int64_t(maximum))), maximum);
    QCOMPARE(decodedMin(encodedRaw(minimum)), minimum);

    // Physical values at, past and far past each limit clamp to it.
    const int valueBits = isSigned ? int(bitSize) - 1 : int(bitSize);
    const double above = std::ldexp(1.0, valueBits);  // maximum + 1, exact
    for (double physical : {double(maximum), double(maximum) + 1.0, above, 4.0 * above, 1e300})
        QCOMPARE(decodedMax(encodedPhysical(physical)), maximum);
    const double lowest = double(minimum);           // exact: 0 or -2^(n-1)
    for (double physical : {lowest, lowest - 1.0, std::nextafter(lowest, -HUGE_VAL), 4.0 * lowest - 1.0, -1e300})
        QCOMPARE(decodedMin(encodedPhysical(physical)), minimum);
    if (maximum > 1) {
        // Just below the maximum stays itself (for small sizes exactly maximum - 1).
        const double inside = std::nextafter(above, 0.0) - (valueBits <= 53 ? 1.0 : 0.0);
        QCOMPARE(decodedMax(encodedPhysical(std::floor(inside))), quint64(std::floor(inside)));
    }

    // The range check of the send dialog uses the same limits.
    QVERIFY(signal.rawWithinLimits(double(minimum)));
    QVERIFY(signal.rawWithinLimits(std::nextafter(above, 0.0)));
    QVERIFY(!signal.rawWithinLimits(above));
    // The next whole number below the minimum that a double holds.
    const double below = lowest - 1.0 != lowest ? lowest - 1.0 : std::nextafter(lowest, -HUGE_VAL);
    QVERIFY(!signal.rawWithinLimits(below));
    QVERIFY(!signal.rawWithinLimits(std::nan("")));
}

void TestSignal::physicalConversion()
{
    DBC::Signal signal = makeSignal('1', '-', 0, 16);
    signal.factor = 0.5;
    signal.offset = -10.0;
    QCOMPARE(signal.rawToPhysicalValue(100.0), 40.0);
    QCOMPARE(signal.physicalToRawValue(40.0), 100.0);
    // No rounding: the caller decides.
    QCOMPARE(signal.physicalToRawValue(40.3), 100.6);

    Bytes bytes(8, 0);
    gsl::span<uint8_t> span(bytes);
    signal.encodePhysicalValue(span, -12.25);  // raw -4.5 rounds away from zero
    QCOMPARE(signal.decode(span), Decoded(-5, 0xfffb));
    QCOMPARE(signal.decodePhysicalValue(span), -12.5);
    signal.encodePhysicalValue(span, 1e9);     // clamped to the raw range
    QCOMPARE(signal.decode(span), Decoded(32767, 0x7fff));

    signal.factor = 0.0;
    const double raw = signal.physicalToRawValue(5.0);
    QVERIFY(std::isinf(raw) || std::isnan(raw));
}

void TestSignal::ieeeValues()
{
    DBC::Signal single = makeSignal('1', '-', 0, 32, '1');
    single.factor = 2.0;
    single.offset = 1.0;
    Bytes bytes = bytesOf("0000c03f");  // 1.5f
    gsl::span<uint8_t> span(bytes);
    QCOMPARE(single.decode(span), Decoded(2, 0x3fc00000));
    QCOMPARE(single.decode_ex(span), Decoded(2, 0x3fc00000));
    QCOMPARE(single.decodePhysicalValue(span), 4.0);

    single.encodePhysicalValue(span, -2.25);   // raw -1.625f
    QCOMPARE(hexOf(bytes), QByteArray("00 00 d0 bf 00 00 00 00"));
    single.encode(span, 3);                    // raw is the number 3.0f
    QCOMPARE(hexOf(bytes), QByteArray("00 00 40 40 00 00 00 00"));
    single.valueType = DBC::Unsigned;          // IEEE values carry their own sign
    single.encode_ex(span, -3);
    QCOMPARE(hexOf(bytes), QByteArray("00 00 40 c0 00 00 00 00"));

    const DBC::Signal twice = makeSignal('0', '-', 7, 64, '2');
    Bytes motorola = bytesOf("c0934a4000000000");  // -1234.5625 most significant first
    gsl::span<uint8_t> motorolaSpan(motorola);
    QCOMPARE(twice.decodePhysicalValue(motorolaSpan), -1234.5625);
    QCOMPARE(twice.decode(motorolaSpan).first, int64_t(-1235));
    Bytes encoded(8, 0);
    gsl::span<uint8_t> encodedSpan(encoded);
    twice.encodePhysicalValue(encodedSpan, -1234.5625);
    QCOMPARE(encoded, motorola);

    // A value type that does not match the size leaves an integer signal.
    const DBC::Signal mismatched = makeSignal('1', '+', 0, 16, '1');
    QCOMPARE(mismatched.decode(span), Decoded(0, 0));
    QCOMPARE(mismatched.decodePhysicalValue(span), 0.0);
}

void TestSignal::unsigned64BitValues()
{
    const DBC::Signal signal = makeSignal('1', '+', 0, 64);
    Bytes bytes = bytesOf("ffffffffffffffff");
    gsl::span<uint8_t> span(bytes);
    QCOMPARE(uint64_t(signal.decode(span).first), std::numeric_limits<uint64_t>::max());
    QCOMPARE(signal.decodePhysicalValue(span), 18446744073709551615.0);

    Bytes encoded(8, 0);
    gsl::span<uint8_t> encodedSpan(encoded);
    signal.encodePhysicalValue(encodedSpan, 9223372036854777856.0);  // 2^63 + 2048
    QCOMPARE(hexOf(encoded), QByteArray("00 08 00 00 00 00 00 80"));
    QCOMPARE(signal.decodePhysicalValue(encodedSpan), 9223372036854777856.0);
    signal.encodePhysicalValue(encodedSpan, 1e30);                   // clamped
    QCOMPARE(encoded, bytes);
}

void TestSignal::otherByteOrderCodesUseOneRule()
{
    const DBC::Signal motorola = makeSignal('0', '+', 3, 12);
    Bytes reference(8, 0);
    gsl::span<uint8_t> referenceSpan(reference);
    motorola.encode(referenceSpan, 0xabc);

    for (char code : {'\0', 'x', '2'}) {
        const DBC::Signal signal = makeSignal(code, '+', 3, 12);
        Bytes bytes(8, 0);
        gsl::span<uint8_t> span(bytes);
        signal.encode(span, 0xabc);
        QCOMPARE(bytes, reference);
        QCOMPARE(signal.decode(span), Decoded(0xabc, 0xabc));
        QCOMPARE(signal.decode_ex(span), Decoded(0xabc, 0xabc));
    }
}

QTEST_APPLESS_MAIN(TestSignal)

#include "tst_signal.moc"
