// Background traffic of a simulated bus. Timing bounds are deliberately
// loose: these tests check the behaviour, the benchmark checks the rate.
// Rates stay below what 500 kbit/s carries (about 4,000 8-byte frames/s)
// unless a test is about capacity.
#include "simtest.h"

#include <QElapsedTimer>
#include <QtTest>

#include <vector>

using namespace simtest;

namespace {
constexpr uint32_t kType = VCI_DRAVIN_PCI4;
constexpr uint32_t kRate = 500000;

uint32_t counterOf(const VCI_CAN_OBJ &f)
{
    return uint32_t(f.Data[0]) | uint32_t(f.Data[1]) << 8 | uint32_t(f.Data[2]) << 16 | uint32_t(f.Data[3]) << 24;
}
} // namespace

class tst_TrafficGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { VCISIM_ResetAll(); }
    void cleanup() { VCISIM_ResetAll(); }
    void rateRoughlyRight();
    void frameContents();
    void respectsBitRateAndFilter();
    void zeroRateStops();
    void lastCloseStops();
    void setBeforeOpen();
    void refusals();
    void demoVariable_data();
    void demoVariable();
    void demoVariableOnFirstOpenOnly();
};

void tst_TrafficGenerator::rateRoughlyRight()
{
    QVERIFY(openAndStart(kType, 0, {0, 1, 2, 3}));
    const uint32_t fps = 2000;
    QElapsedTimer timer;
    timer.start(); // before the traffic starts: elapsed time bounds the count
    QCOMPARE(VCISIM_SetBackgroundTraffic(kType, 0, kRate, 0x321, fps), 1u);
    for (uint32_t ch = 0; ch < 4; ++ch) // one bus: every channel hears the same node
        QTRY_VERIFY_WITH_TIMEOUT(VCI_GetReceiveNum(kType, 0, ch) >= 500, 10000);
    std::vector<VCI_CAN_OBJ> got(VCISIM_RX_CAPACITY);
    const uint32_t n = VCI_Receive(kType, 0, 0, got.data(), uint32_t(got.size()), 0);
    const qint64 after = timer.elapsed();
    QVERIFY2(n >= 500 && n <= 1.2 * fps * double(after) / 1000.0 + 50,
             qPrintable(QStringLiteral("%1 frames in %2 ms").arg(n).arg(after)));
    // The stamps keep the node's schedule: the bus is half free, so each
    // frame goes out when it falls due, 1/fps after the one before.
    const double spanS = double(got[n - 1].DeviceTime - got[0].DeviceTime) / 10000.0;
    const double dueS = double(n - 1) / fps;
    QVERIFY2(spanS >= 0.9 * dueS && spanS <= 1.1 * dueS,
             qPrintable(QStringLiteral("%1 frames stamped over %2 s").arg(n).arg(spanS)));
    VCISIM_STATS s{};
    QCOMPARE(VCISIM_GetStats(kType, 0, 0, &s), 1u);
    QVERIFY(s.generated >= n);
    QCOMPARE(s.dropped, quint64(0));
    QCOMPARE(s.transmitted, quint64(0));
}

void tst_TrafficGenerator::frameContents()
{
    QVERIFY(openAndStart(kType, 0, {0}));
    QCOMPARE(VCISIM_SetBackgroundTraffic(kType, 0, kRate, 0xF23, 2000), 1u); // ID kept to 11 bits
    std::vector<VCI_CAN_OBJ> got(256);
    uint32_t n = 0;
    QElapsedTimer timer;
    timer.start();
    while (n < 100 && timer.elapsed() < 10000)
        n += VCI_Receive(kType, 0, 0, got.data() + n, uint32_t(got.size()) - n, 100);
    QVERIFY(n >= 100);
    for (uint32_t i = 0; i < n; ++i) {
        QCOMPARE(got[i].ID, 0x723u);
        QCOMPARE(got[i].ExternFlag, uint8_t(0));
        QCOMPARE(got[i].RemoteFlag, uint8_t(0));
        QCOMPARE(got[i].DataLen, uint8_t(8));
        QCOMPARE(got[i].HasDeviceTime, uint8_t(1));
        QCOMPARE(counterOf(got[i]), i); // counts from 0, no gap
        QCOMPARE(got[i].Data[4] | got[i].Data[5] | got[i].Data[6] | got[i].Data[7], 0);
        if (i > 0)
            QVERIFY(got[i].DeviceTime >= got[i - 1].DeviceTime);
    }
}

void tst_TrafficGenerator::respectsBitRateAndFilter()
{
    QVERIFY(openAndStart(kType, 0, {0}));
    QVERIFY(startWith(kType, 0, 1, config(kBtr0_250k, kBtr1_250k)));
    // Single filter for standard ID 0x100 only (ACR0 0x20, ACR1 0x00).
    QVERIFY(startWith(kType, 0, 2, config(kBtr0_500k, kBtr1_500k, 0, 0x20000000u, 0x000FFFFFu)));
    QVERIFY(startWith(kType, 0, 3, config(kBtr0_500k, kBtr1_500k, 1))); // listen only
    QCOMPARE(VCISIM_SetBackgroundTraffic(kType, 0, kRate, 0x321, 2000), 1u);
    QTRY_VERIFY_WITH_TIMEOUT(VCI_GetReceiveNum(kType, 0, 0) >= 200, 10000);
    // The close stops the node and the bus thread, which finishes handing
    // out its round to every channel first: the counts are final.
    QCOMPARE(VCI_CloseDevice(kType, 0), 1u);
    const VCISIM_STATS heard = stats(kType, 0, 0);
    QVERIFY(heard.generated >= 200);
    QCOMPARE(heard.received, heard.generated);
    const VCISIM_STATS listening = stats(kType, 0, 3);
    QCOMPARE(listening.generated, heard.generated);
    QCOMPARE(listening.received, heard.generated);
    const VCISIM_STATS otherRate = stats(kType, 0, 1);
    QCOMPARE(otherRate.generated, quint64(0)); // never offered
    QCOMPARE(otherRate.received, quint64(0));
    const VCISIM_STATS filtered = stats(kType, 0, 2);
    QCOMPARE(filtered.generated, quint64(0)); // never offered
    QCOMPARE(filtered.received, quint64(0));
}

void tst_TrafficGenerator::zeroRateStops()
{
    QVERIFY(openAndStart(kType, 0, {0}));
    QCOMPARE(VCISIM_SetBackgroundTraffic(kType, 0, kRate, 0x1, 2000), 1u);
    QTRY_VERIFY_WITH_TIMEOUT(VCI_GetReceiveNum(kType, 0, 0) > 0, 10000);
    QCOMPARE(VCISIM_SetBackgroundTraffic(kType, 0, kRate, 0x1, 0), 1u);
    // The marker follows the frame that was on the bus at the stop.
    const std::vector<VCI_CAN_OBJ> got = takeThroughMarker(kType, 0, 0, 0x7FF);
    QVERIFY(got.size() > 1);
    QCOMPARE(got.back().ID, 0x7FFu);
    QTest::qSleep(50);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 0), 0u);
}

void tst_TrafficGenerator::lastCloseStops()
{
    QVERIFY(openAndStart(kType, 0, {0}));
    QCOMPARE(VCI_OpenDevice(kType, 0, 0), 1u); // the probe's handle
    QCOMPARE(VCISIM_SetBackgroundTraffic(kType, 0, kRate, 0x1, 2000), 1u);
    QCOMPARE(VCI_CloseDevice(kType, 0), 1u);
    const uint32_t first = VCI_GetReceiveNum(kType, 0, 0);
    QElapsedTimer timer;
    timer.start();
    while (VCI_GetReceiveNum(kType, 0, 0) <= first + 10 && timer.elapsed() < 10000)
        QTest::qSleep(5);
    QVERIFY(VCI_GetReceiveNum(kType, 0, 0) > first + 10); // still running
    QCOMPARE(VCI_CloseDevice(kType, 0), 1u);
    QVERIFY(openAndStart(kType, 0, {0}));
    QTest::qSleep(50);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 0), 0u); // the traffic went with the last handle
}

void tst_TrafficGenerator::setBeforeOpen()
{
    QCOMPARE(VCISIM_SetBackgroundTraffic(VCI_KELMO_USB1, 6, kRate, 0x42, 2000), 1u);
    QVERIFY(openAndStart(VCI_KELMO_USB1, 6, {0}));
    VCI_CAN_OBJ f{};
    QCOMPARE(VCI_Receive(VCI_KELMO_USB1, 6, 0, &f, 1, 5000), 1u);
    QCOMPARE(f.ID, 0x42u);
}

void tst_TrafficGenerator::refusals()
{
    QCOMPARE(VCISIM_SetBackgroundTraffic(kType, 0, 0, 0x1, 100), 0u);       // no bit rate
    QCOMPARE(VCISIM_SetBackgroundTraffic(kType, 0, kRate, 0x1, 2000000), 0u); // above 1,000,000/s
    QCOMPARE(VCISIM_SetBackgroundTraffic(kType, 8, kRate, 0x1, 100), 0u);     // bad index
    QCOMPARE(VCISIM_SetBackgroundTraffic(kType, 0, 0, 0x1, 0), 1u);           // stopping is always fine
}

void tst_TrafficGenerator::demoVariable_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("traffic");
    QTest::addColumn<uint32_t>("id");
    QTest::newRow("hex with prefix") << QByteArray("500000:0x123:2000") << true << 0x123u;
    QTest::newRow("hex without prefix") << QByteArray("500000:7fF:2000") << true << 0x7FFu;
    QTest::newRow("other bit rate: nothing heard") << QByteArray("250000:0x123:2000") << false << 0u;
    QTest::newRow("field missing") << QByteArray("500000:0x123") << false << 0u;
    QTest::newRow("trailing text") << QByteArray("500000:0x123:2000x") << false << 0u;
    QTest::newRow("negative rate") << QByteArray("500000:0x123:-5") << false << 0u;
    QTest::newRow("rate refused") << QByteArray("500000:0x123:2000000") << false << 0u;
    QTest::newRow("empty") << QByteArray("") << false << 0u;
}

// The channel runs at 500 kbit/s; a demo node at another rate is not heard.
void tst_TrafficGenerator::demoVariable()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, traffic);
    QFETCH(uint32_t, id);
    qputenv("VCISIM_DEMO_TRAFFIC", value);
    const bool opened = openAndStart(kType, 0, {0});
    qunsetenv("VCISIM_DEMO_TRAFFIC");
    QVERIFY(opened);
    VCI_CAN_OBJ f{};
    if (traffic) {
        QCOMPARE(VCI_Receive(kType, 0, 0, &f, 1, 5000), 1u);
        QCOMPARE(f.ID, id);
    } else {
        QTest::qSleep(50);
        QCOMPARE(VCI_GetReceiveNum(kType, 0, 0), 0u);
    }
}

void tst_TrafficGenerator::demoVariableOnFirstOpenOnly()
{
    QVERIFY(openAndStart(kType, 0, {0}));
    qputenv("VCISIM_DEMO_TRAFFIC", "500000:0x55:2000");
    const bool second = VCI_OpenDevice(kType, 0, 0) == 1; // already open: no traffic starts
    qunsetenv("VCISIM_DEMO_TRAFFIC");
    QVERIFY(second);
    QTest::qSleep(50);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 0), 0u);
}

QTEST_GUILESS_MAIN(tst_TrafficGenerator)
#include "tst_trafficgenerator.moc"
