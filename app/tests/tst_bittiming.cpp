// Bit timings: the sweep holds every register setting whose rate lies in
// the range (checked against the device object's own rate formula), and
// the sample-point rule of the remark.
#include "bittiming.h"
#include "devcan.h"

#include <QtTest>

class tst_BitTiming : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sweepHoldsEveryTimingInRange_data();
    void sweepHoldsEveryTimingInRange();
    void standardTableMatchesItsRegisters();
    void recommended_data();
    void recommended();
};

void tst_BitTiming::sweepHoldsEveryTimingInRange_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<int>("btr0"); // one timing that must be in it
    QTest::addColumn<int>("btr1");
    QTest::newRow("80 exactly") << 80.0 << 80.0 << 0x03 << 0x7F;
    QTest::newRow("100 exactly") << 100.0 << 100.0 << 0x04 << 0x1C;
    QTest::newRow("125 exactly") << 125.0 << 125.0 << 0x03 << 0x1C;
    QTest::newRow("around 296.296") << 290.0 << 300.0 << 0x02 << 0x06;
    QTest::newRow("dialog range") << 5.0 << 1000.0 << 0x00 << 0x14;
}

void tst_BitTiming::sweepHoldsEveryTimingInRange()
{
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(int, btr0);
    QFETCH(int, btr1);
    const QVector<BitTiming> sweep = BitTiming::sweep(start, end);

    int expected = 0;
    for (int brp = 0; brp < 64; ++brp) {
        for (int tseg2 = 0; tseg2 < 8; ++tseg2) {
            for (int tseg1 = tseg2; tseg1 < 16; ++tseg1) {
                const double kbps = DevCan::bitRate(uint8_t(brp), uint8_t(tseg2 << 4 | tseg1)) / 1000.0;
                if (kbps >= start && kbps <= end)
                    ++expected;
            }
        }
    }
    QCOMPARE(sweep.size(), expected);
    bool found = false;
    for (int i = 0; i < sweep.size(); ++i) {
        const BitTiming &t = sweep.at(i);
        QVERIFY(t.rate >= start && t.rate <= end);
        QVERIFY(i == 0 || sweep.at(i - 1).rate <= t.rate);
        QCOMPARE(int(t.tseg1Bits), t.btr1 & 0x0F);
        QCOMPARE(int(t.tseg2Bits), t.btr1 & 0x70);
        QCOMPARE(int(t.rate), DevCan::bitRate(t.btr0, t.btr1) / 1000);
        found = found || (t.btr0 == btr0 && t.btr1 == btr1);
    }
    QVERIFY(found);
}

void tst_BitTiming::standardTableMatchesItsRegisters()
{
    const QVector<BitTiming> &table = BitTiming::standardTable();
    QCOMPARE(table.size(), 15);
    for (const BitTiming &t : table) {
        QVERIFY(t.recommended);
        // 666 stands for 666.67 kbit/s.
        QCOMPARE(DevCan::bitRate(t.btr0, t.btr1) / 1000, int(t.rate));
    }
}

void tst_BitTiming::recommended_data()
{
    QTest::addColumn<float>("rate");
    QTest::addColumn<float>("samplePoint");
    QTest::addColumn<bool>("recommended");
    QTest::newRow("100 at 87.5%") << 100.0f << 0.875f << true;
    QTest::newRow("100 at 80%, not above") << 100.0f << 0.80f << false;
    QTest::newRow("500 at 90%") << 500.0f << 0.90f << true;
    QTest::newRow("666.67 at 80%") << 666.667f << 0.80f << true;
    QTest::newRow("666.67 at 85%") << 666.667f << 0.85f << false;
    QTest::newRow("1000 at 75%") << 1000.0f << 0.75f << true;
    QTest::newRow("1000 at 80%, upper bound excluded") << 1000.0f << 0.80f << false;
    QTest::newRow("below 5") << 4.0f << 0.875f << false;
}

void tst_BitTiming::recommended()
{
    QFETCH(float, rate);
    QFETCH(float, samplePoint);
    QFETCH(bool, recommended);
    QCOMPARE(BitTiming::isRecommended(rate, samplePoint), recommended);
}

QTEST_GUILESS_MAIN(tst_BitTiming)
#include "tst_bittiming.moc"
