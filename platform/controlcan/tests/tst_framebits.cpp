// Bit lengths of frames on the wire, stuff bits and CRC included.
#include "framebits.h"

#include <QtTest>

#include <random>

class tst_FrameBits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void crcCheckValue();
    void length_data();
    void length();
    void boundsForAnyContent_data();
    void boundsForAnyContent();
    void duration();
};

namespace {

VCI_CAN_OBJ make(uint32_t id, bool ext, bool rtr, uint8_t dlc, QByteArray data = {})
{
    VCI_CAN_OBJ f{};
    f.ID = id;
    f.ExternFlag = ext ? 1 : 0;
    f.RemoteFlag = rtr ? 1 : 0;
    f.DataLen = dlc;
    for (int i = 0; i < data.size() && i < 8; ++i)
        f.Data[i] = uint8_t(data[i]);
    return f;
}

} // namespace

// The catalogue's check value of CRC-15/CAN over "123456789".
void tst_FrameBits::crcCheckValue()
{
    const uint8_t text[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    QCOMPARE(FrameBits::crc15(text, 72), uint16_t(0x059E));
    QCOMPARE(FrameBits::crc15(text, 0), uint16_t(0));
}

void tst_FrameBits::length_data()
{
    QTest::addColumn<uint>("id");
    QTest::addColumn<bool>("ext");
    QTest::addColumn<bool>("rtr");
    QTest::addColumn<uint>("dlc");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<uint>("bits");
    // 34 dominant bits from SOF to the end of the CRC (which is 0): a stuff
    // bit after every fifth, 6 in all; 34 + 6 + 13 = 53.
    QTest::newRow("std 0x000, no data") << 0x000u << false << false << 0u << QByteArray() << 53u;
    // Eleven recessive ID bits take two stuff bits, the seven dominant bits
    // of RTR to DLC one; the CRC (0x272F) none: 34 + 3 + 13 = 50.
    QTest::newRow("std 0x7FF, no data") << 0x7FFu << false << false << 0u << QByteArray() << 50u;
    QTest::newRow("std 0x7FF remote, dlc 8") << 0x7FFu << false << true << 8u << QByteArray() << 50u;
    QTest::newRow("std 0x123, 8 x 0x00") << 0x123u << false << false << 8u << QByteArray(8, '\0') << 125u;
    QTest::newRow("std 0x123, 8 x 0xFF") << 0x123u << false << false << 8u << QByteArray(8, '\xFF') << 124u;
    // Alternating bits need no stuffing before the CRC.
    QTest::newRow("std 0x555, 8 x 0x55") << 0x555u << false << false << 8u << QByteArray(8, '\x55') << 112u;
    QTest::newRow("std 0x100, 8 x 0xAA") << 0x100u << false << false << 8u << QByteArray(8, '\xAA') << 113u;
    QTest::newRow("ext 0, no data") << 0x0u << true << false << 0u << QByteArray() << 74u;
    QTest::newRow("ext 0x1FFFFFFF, 8 x 0xFF") << 0x1FFFFFFFu << true << false << 8u << QByteArray(8, '\xFF')
                                              << 149u;
    QTest::newRow("ext 0x18FEF100, 01..08")
        << 0x18FEF100u << true << false << 8u << QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8) << 143u;
    // The length code goes out as written; a code above 8 sends 8 bytes.
    QTest::newRow("std 0x123, dlc 15: code sent, 8 bytes") << 0x123u << false << false << 15u << QByteArray(8, '\0')
                                                          << 124u;
}

void tst_FrameBits::length()
{
    QFETCH(uint, id);
    QFETCH(bool, ext);
    QFETCH(bool, rtr);
    QFETCH(uint, dlc);
    QFETCH(QByteArray, data);
    QFETCH(uint, bits);
    VCI_CAN_OBJ f = make(id, ext, rtr, uint8_t(dlc), data);
    QCOMPARE(FrameBits::length(f), uint32_t(bits));
    // Bytes beyond DataLen and in remote frames do not go on the wire.
    for (int i = rtr ? 0 : int(qMin(dlc, 8u)); i < 8; ++i)
        f.Data[i] = uint8_t(0x5A + i);
    QCOMPARE(FrameBits::length(f), uint32_t(bits));
}

void tst_FrameBits::boundsForAnyContent_data()
{
    QTest::addColumn<bool>("ext");
    QTest::addColumn<uint>("dlc");
    QTest::newRow("std 0") << false << 0u;
    QTest::newRow("std 8") << false << 8u;
    QTest::newRow("ext 3") << true << 3u;
    QTest::newRow("ext 8") << true << 8u;
}

// Between the unstuffed length and the worst case of stuffing: one stuff
// bit per four bits after the first of the stuffed part.
void tst_FrameBits::boundsForAnyContent()
{
    QFETCH(bool, ext);
    QFETCH(uint, dlc);
    const uint32_t stuffed = (ext ? 54u : 34u) + 8u * dlc;
    const uint32_t low = stuffed + 13u;
    const uint32_t high = low + (stuffed - 1u) / 4u;
    std::mt19937 random(12345);
    uint32_t shortest = high, longest = low;
    for (int i = 0; i < 20000; ++i) {
        VCI_CAN_OBJ f = make(random() & (ext ? 0x1FFFFFFFu : 0x7FFu), ext, false, uint8_t(dlc));
        // Random bytes, and bytes of long runs of equal bits.
        const uint8_t fill = i % 3 == 0 ? 0x00 : 0xFF;
        for (uint32_t b = 0; b < 8; ++b)
            f.Data[b] = i % 3 == 2 ? uint8_t(random()) : fill;
        const uint32_t n = FrameBits::length(f);
        QVERIFY2(n >= low && n <= high, qPrintable(QString::number(n)));
        shortest = qMin(shortest, n);
        longest = qMax(longest, n);
    }
    QVERIFY(longest > shortest); // content changes the length
}

void tst_FrameBits::duration()
{
    const VCI_CAN_OBJ f = make(0x123, false, false, 8, QByteArray(8, '\0')); // 125 bits
    QCOMPARE(FrameBits::durationNs(f, 500000), quint64(250000));
    QCOMPARE(FrameBits::durationNs(f, 1000000), quint64(125000));
    QCOMPARE(FrameBits::durationNs(f, 125000), quint64(1000000));
    QCOMPARE(FrameBits::durationNs(f, 0), quint64(0));
}

QTEST_GUILESS_MAIN(tst_FrameBits)
#include "tst_framebits.moc"
