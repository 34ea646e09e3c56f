// Table-driven test of the acceptance filter, through VCISIM_InjectFrames
// (which applies the channel's filter). Every expected value is derived by
// hand from the SJA1000 PeliCAN rules; the row comments show the derivation.
//
// Registers: code/mask = ACR0..3/AMR0..3, ACR0 in the top byte; a mask bit
// of 1 = don't care. Standard ID 0x123: ID.10..3 = 0x24, ID.2..0 = 011, so
// single/filter-1 ACR0 = 0x24, ACR1 = 0x60 (bit 4 = RTR). Standard ID
// 0x456: ID.10..3 = 0x8A, ID.2..0 = 110 -> filter-2 ACR2 = 0x8A, ACR3 top
// nibble 0xC. Extended ID 0x12345678 << 3 = 0x91A2B3C0 (single filter,
// bit 2 = RTR); ID.28..13 = 0x12345678 >> 13 = 0x91A2 (dual filter).
#include "simtest.h"

#include <QtTest>

using namespace simtest;

namespace {
constexpr uint32_t kType = VCI_KELMO_USB1;
constexpr uint8_t kSingle = 1;
constexpr uint8_t kDual = 0;
} // namespace

class tst_AcceptanceFilter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { VCISIM_ResetAll(); }
    void cleanup() { VCISIM_ResetAll(); }
    void filter_data();
    void filter();
    void appliesToBusFrames();
};

void tst_AcceptanceFilter::filter_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<uint>("code");
    QTest::addColumn<uint>("mask");
    QTest::addColumn<bool>("ext");
    QTest::addColumn<bool>("rtr");
    QTest::addColumn<uint>("id");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("accepted");

    const QByteArray none;
    auto bytes = [](std::initializer_list<uint8_t> b) {
        QByteArray a;
        for (uint8_t x : b)
            a.append(char(x));
        return a;
    };

    // Single filter, standard frames.
    QTest::newRow("single all, std") << int(kSingle) << 0u << 0xFFFFFFFFu << false << false << 0x7FFu
                                     << bytes({1, 2, 3, 4, 5, 6, 7, 8}) << true;
    QTest::newRow("single all, ext") << int(kSingle) << 0u << 0xFFFFFFFFu << true << true << 0x1FFFFFFFu << none
                                     << true;
    // AMR 0x000FFFFF: ID and RTR (=0) compared, data bytes free.
    QTest::newRow("single std id equal") << int(kSingle) << 0x24600000u << 0x000FFFFFu << false << false << 0x123u
                                         << bytes({9}) << true;
    // 0x124: ID.2..0 = 100 -> ACR1 would be 0x80.
    QTest::newRow("single std id.0-2 differ") << int(kSingle) << 0x24600000u << 0x000FFFFFu << false << false
                                              << 0x124u << none << false;
    // 0x523: ID.10..3 = 0xA4.
    QTest::newRow("single std id.10 differs") << int(kSingle) << 0x24600000u << 0x000FFFFFu << false << false
                                              << 0x523u << none << false;
    QTest::newRow("single std rtr compared") << int(kSingle) << 0x24600000u << 0x000FFFFFu << false << true
                                             << 0x123u << none << false;
    // AMR1 bit 4 set: RTR don't care.
    QTest::newRow("single std rtr free") << int(kSingle) << 0x24600000u << 0x001FFFFFu << false << true << 0x123u
                                         << none << true;
    // ACR1 bit 4 set: only remote frames.
    QTest::newRow("single std rtr required, remote") << int(kSingle) << 0x24700000u << 0x000FFFFFu << false << true
                                                     << 0x123u << none << true;
    QTest::newRow("single std rtr required, data") << int(kSingle) << 0x24700000u << 0x000FFFFFu << false << false
                                                   << 0x123u << none << false;
    // ACR2 = data byte 1 = 0xAB compared (AMR2 0x00), byte 2 free.
    QTest::newRow("single std byte1 equal") << int(kSingle) << 0x2460AB00u << 0x000F00FFu << false << false
                                            << 0x123u << bytes({0xAB, 0xCD}) << true;
    QTest::newRow("single std byte1 differs") << int(kSingle) << 0x2460AB00u << 0x000F00FFu << false << false
                                              << 0x123u << bytes({0xAC, 0xCD}) << false;
    // AMR2 bit 0 set: 0xAA and 0xAB differ only there.
    QTest::newRow("single std byte1 bit0 free") << int(kSingle) << 0x2460AB00u << 0x000F01FFu << false << false
                                                << 0x123u << bytes({0xAA}) << true;
    // No data byte (DLC 0): byte 1 is not compared.
    QTest::newRow("single std byte1 absent, dlc 0") << int(kSingle) << 0x2460AB00u << 0x000F00FFu << false << false
                                                    << 0x123u << none << true;
    // Remote frame (RTR free): its bytes are not compared, whatever Data holds.
    QTest::newRow("single std byte1 absent, remote") << int(kSingle) << 0x2460AB00u << 0x001F00FFu << false << true
                                                     << 0x123u << bytes({0xAC, 0xCD}) << true;
    // ACR3 = data byte 2 = 0xCD compared, byte 1 free.
    QTest::newRow("single std byte2 equal") << int(kSingle) << 0x246000CDu << 0x000FFF00u << false << false
                                            << 0x123u << bytes({0xAB, 0xCD}) << true;
    QTest::newRow("single std byte2 differs") << int(kSingle) << 0x246000CDu << 0x000FFF00u << false << false
                                              << 0x123u << bytes({0xAB, 0xCE}) << false;
    QTest::newRow("single std byte2 absent, dlc 1") << int(kSingle) << 0x246000CDu << 0x000FFF00u << false << false
                                                    << 0x123u << bytes({0xAB}) << true;
    // ACR1 bits 3..0 are unused for standard frames even with AMR1 = 0.
    QTest::newRow("single std unused nibble") << int(kSingle) << 0x246F0000u << 0x00000000u << false << false
                                              << 0x123u << bytes({0x00, 0x00}) << true;
    // Extended 0x123 << 3 = 0x00000918: ACR0 0x24 does not match 0x00.
    QTest::newRow("single std filter, ext frame") << int(kSingle) << 0x24600000u << 0x000FFFFFu << true << false
                                                  << 0x123u << none << false;

    // Single filter, extended frames: code 0x91A2B3C0, AMR bits 1..0 unused.
    QTest::newRow("single ext equal") << int(kSingle) << 0x91A2B3C0u << 0x00000003u << true << false << 0x12345678u
                                      << bytes({0xFF, 0xFF, 0xFF}) << true;
    // 0x12345679 << 3 = 0x91A2B3C8: bit 3 (ID.0) differs.
    QTest::newRow("single ext id.0 differs") << int(kSingle) << 0x91A2B3C0u << 0x00000003u << true << false
                                             << 0x12345679u << none << false;
    QTest::newRow("single ext rtr compared") << int(kSingle) << 0x91A2B3C0u << 0x00000003u << true << true
                                             << 0x12345678u << none << false;
    QTest::newRow("single ext rtr free") << int(kSingle) << 0x91A2B3C0u << 0x00000007u << true << true
                                         << 0x12345678u << none << true;
    // AMR3 = 0x3B: ID.2..0 free. 0x1234567F << 3 = 0x91A2B3F8, xor = 0x38.
    QTest::newRow("single ext id.2-0 free") << int(kSingle) << 0x91A2B3C0u << 0x0000003Bu << true << false
                                            << 0x1234567Fu << none << true;
    // 0x12345680 << 3 = 0x91A2B400, xor = 0x7C0 reaches ID.3 and above.
    QTest::newRow("single ext id.3 differs") << int(kSingle) << 0x91A2B3C0u << 0x0000003Bu << true << false
                                             << 0x12345680u << none << false;
    // Standard 0x246 in the standard layout: 0x48C00000.
    QTest::newRow("single ext filter, std frame") << int(kSingle) << 0x91A2B3C0u << 0x00000003u << false << false
                                                  << 0x246u << none << false;

    // Dual filter, standard frames. Code 0x24608AC0, mask 0x000F000F:
    // filter 1 = ID 0x123 with RTR 0 (its data nibbles free),
    // filter 2 = ID 0x456 with RTR 0.
    QTest::newRow("dual std filter 1") << int(kDual) << 0x24608AC0u << 0x000F000Fu << false << false << 0x123u
                                       << bytes({0x55}) << true;
    QTest::newRow("dual std filter 2") << int(kDual) << 0x24608AC0u << 0x000F000Fu << false << false << 0x456u
                                       << bytes({0x55}) << true;
    QTest::newRow("dual std neither") << int(kDual) << 0x24608AC0u << 0x000F000Fu << false << false << 0x124u
                                      << none << false;
    QTest::newRow("dual std filter 1 rtr") << int(kDual) << 0x24608AC0u << 0x000F000Fu << false << true << 0x123u
                                           << none << false;
    QTest::newRow("dual std filter 2 rtr") << int(kDual) << 0x24608AC0u << 0x000F000Fu << false << true << 0x456u
                                           << none << false;
    // Code 0x246A8AC5, mask 0: filter 1 = ID 0x123, RTR 0, data byte 1 =
    // 0xA5 (high nibble in ACR1 bits 3..0, low nibble in ACR3 bits 3..0).
    QTest::newRow("dual std byte1 equal") << int(kDual) << 0x246A8AC5u << 0u << false << false << 0x123u
                                          << bytes({0xA5}) << true;
    QTest::newRow("dual std byte1 high nibble") << int(kDual) << 0x246A8AC5u << 0u << false << false << 0x123u
                                                << bytes({0xB5}) << false;
    QTest::newRow("dual std byte1 low nibble") << int(kDual) << 0x246A8AC5u << 0u << false << false << 0x123u
                                               << bytes({0xA4}) << false;
    QTest::newRow("dual std byte1 absent") << int(kDual) << 0x246A8AC5u << 0u << false << false << 0x123u << none
                                           << true;
    QTest::newRow("dual std byte2 ignored") << int(kDual) << 0x246A8AC5u << 0u << false << false << 0x123u
                                            << bytes({0xA5, 0xFF}) << true;
    QTest::newRow("dual std filter 2 ignores data") << int(kDual) << 0x246A8AC5u << 0u << false << false << 0x456u
                                                    << bytes({0x00}) << true;
    // Extended 0x123: ID.28..13 = 0, matches neither 0x246A nor 0x8AC5.
    QTest::newRow("dual std filter, ext frame") << int(kDual) << 0x246A8AC5u << 0u << true << false << 0x123u
                                                << none << false;

    // Dual filter, extended frames: ID.28..13 against ACR0-1 and ACR2-3.
    QTest::newRow("dual ext filter 1") << int(kDual) << 0x91A2FFFFu << 0u << true << false << 0x12345678u << none
                                       << true;
    // 0x12344000 >> 13 = 0x91A2: ID.12..0 are never compared.
    QTest::newRow("dual ext id.12-0 free") << int(kDual) << 0x91A2FFFFu << 0u << true << false << 0x12344000u
                                           << none << true;
    // 0x12343FFF >> 13 = 0x91A1.
    QTest::newRow("dual ext id.13 differs") << int(kDual) << 0x91A2FFFFu << 0u << true << false << 0x12343FFFu
                                            << none << false;
    QTest::newRow("dual ext rtr not compared") << int(kDual) << 0x91A2FFFFu << 0u << true << true << 0x12345678u
                                               << none << true;
    // 0xABCD << 13 = 0x1579A000 matches filter 2 only.
    QTest::newRow("dual ext filter 2") << int(kDual) << 0x0000ABCDu << 0u << true << false << 0x1579A000u << none
                                       << true;
    // Filter 2 all don't care accepts every extended frame.
    QTest::newRow("dual ext filter 2 open") << int(kDual) << 0x91A20000u << 0x0000FFFFu << true << false << 1u
                                            << none << true;
    // Standard 0x123: filter 1 sees 0x2460.., filter 2 0x2460: neither.
    QTest::newRow("dual ext filter, std frame") << int(kDual) << 0x91A2FFFFu << 0u << false << false << 0x123u
                                                << none << false;
}

void tst_AcceptanceFilter::filter()
{
    QFETCH(int, mode);
    QFETCH(uint, code);
    QFETCH(uint, mask);
    QFETCH(bool, ext);
    QFETCH(bool, rtr);
    QFETCH(uint, id);
    QFETCH(QByteArray, data);
    QFETCH(bool, accepted);

    QCOMPARE(VCI_OpenDevice(kType, 0, 0), 1u);
    QVERIFY(startWith(kType, 0, 0, config(kBtr0_500k, kBtr1_500k, 0, code, mask, uint8_t(mode))));

    VCI_CAN_OBJ f = frame(id, {}, ext, rtr);
    f.DataLen = uint8_t(data.size());
    std::memcpy(f.Data, data.constData(), size_t(data.size()));
    // Injected frames wait for the bus; the filter decides when they arrive.
    QCOMPARE(VCISIM_InjectFrames(kType, 0, 0, &f, 1), 1u);
    QTRY_COMPARE(stats(kType, 0, 0).carried, quint64(1));
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 0), accepted ? 1u : 0u);
}

// The filter of the receiving channel decides for frames of another channel.
void tst_AcceptanceFilter::appliesToBusFrames()
{
    const uint32_t type = VCI_KELMO_USB2;
    QVERIFY(openAndStart(type, 0, {0}));
    QVERIFY(startWith(type, 0, 1, config(kBtr0_500k, kBtr1_500k, 0, 0x24600000u, 0x000FFFFFu)));
    VCI_CAN_OBJ frames[] = {frame(0x123, {1}), frame(0x124, {2}), frame(0x123, {3})};
    QCOMPARE(VCI_Transmit(type, 0, 0, frames, 3), 3u);
    QTRY_COMPARE(stats(type, 0, 0).carried, quint64(3));
    VCI_CAN_OBJ out[4];
    QCOMPARE(VCI_Receive(type, 0, 1, out, 4, 0), 2u);
    QCOMPARE(out[0].Data[0], uint8_t(1));
    QCOMPARE(out[1].Data[0], uint8_t(3));
}

QTEST_GUILESS_MAIN(tst_AcceptanceFilter)
#include "tst_acceptancefilter.moc"
