// The probing thread against the simulated device library: a bus with
// traffic at a known bit rate is what it must find, first among the usual
// rates, then in the sweep; it ends every run with EndTest and obeys stop.
#include "cautoprobingthread.h"
#include "devcan.h"
#include "queuedspy.h"
#include "vcisim.h"

#include <QtTest>

namespace {

constexpr uint32_t kType = VCI_KELMO_USB2;
constexpr int kRunTimeoutMs = 20000;
// Long enough that a loaded machine still delivers frames within a try.
constexpr int kFindingWaitMs = 200;

// The thread's reports, recorded on the test thread.
struct Run {
    QueuedSpy found;
    QueuedSpy ended;
    QueuedSpy errors;
    QueuedSpy tried;
    explicit Run(CAutoProbingThread *thread)
        : found(thread, &CAutoProbingThread::ShowRateInfo), ended(thread, &CAutoProbingThread::EndTest),
          errors(thread, &CAutoProbingThread::ShowError), tried(thread, &CAutoProbingThread::UpdateSlider)
    {
    }
    RateDate result() { return found.first().first().value<RateDate>(); }
};

} // namespace

class tst_CAutoProbingThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void findsTheBus_data();
    void findsTheBus();
    void nothingInRange();
    void openFailureEndsTheRun();
    void stopDuringSweep();
    void stopRightAfterStartIsKept();
};

void tst_CAutoProbingThread::init()
{
    DevCan::instance().closeDevice();
    VCISIM_ResetAll();
    DevCan::instance().setDevType(kType);
    DevCan::instance().setDevIndex(1);
}

void tst_CAutoProbingThread::findsTheBus_data()
{
    QTest::addColumn<uint>("busRate"); // bit/s
    QTest::addColumn<uint>("channel");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<QStringList>("row");
    QTest::newRow("usual rate")
            << 500000u << 0u << 300.0 << 1000.0
            << QStringList{"500.000", "0x00", "0x1C", "87.50%", "Recommended"};
    QTest::newRow("usual rate, second channel")
            << 125000u << 1u << 100.0 << 200.0
            << QStringList{"125.000", "0x03", "0x1C", "87.50%", "Recommended"};
    // 16 MHz / (2 x 3 x 9): no usual rate; the first timing of that rate.
    QTest::newRow("sweep") << 296296u << 0u << 290.0 << 300.0
                           << QStringList{"296.296", "0x02", "0x06", "88.89%", "Recommended"};
    // 16 MHz / (2 x 9): sample point too late for that rate.
    QTest::newRow("sweep, not recommended")
            << 888888u << 0u << 880.0 << 900.0 << QStringList{"888.889", "0x00", "0x06", "88.89%", "Not recommended"};
}

void tst_CAutoProbingThread::findsTheBus()
{
    QFETCH(uint, busRate);
    QFETCH(uint, channel);
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(QStringList, row);
    QVERIFY(VCISIM_SetBackgroundTraffic(kType, 1, busRate, 0x123, 1000));
    CAutoProbingThread thread;
    thread.setChannel(channel);
    thread.setWaitTime(kFindingWaitMs);
    thread.setStartRate(start);
    thread.setEndRate(end);
    Run run(&thread);
    thread.startProbing();
    QVERIFY(thread.wait(kRunTimeoutMs));
    QCOMPARE(run.ended.count(), 1);
    QCOMPARE(run.errors.count(), 0);
    QCOMPARE(run.found.count(), 1);
    const RateDate rd = run.result();
    QCOMPARE((QStringList{rd.rate, rd.btr0, rd.btr1, rd.samplePoint, rd.remark}), row);
    // The probe's handle is gone: the device is closed again.
    VCI_CAN_OBJ frame{};
    QCOMPARE(VCISIM_InjectFrames(kType, 1, channel, &frame, 1), 0u);
}

void tst_CAutoProbingThread::nothingInRange()
{
    QVERIFY(VCISIM_SetBackgroundTraffic(kType, 1, 500000, 0x123, 1000));
    CAutoProbingThread thread;
    thread.setStartRate(600.0);
    thread.setEndRate(700.0);
    Run run(&thread);
    thread.startProbing();
    QVERIFY(thread.wait(kRunTimeoutMs));
    QCOMPARE(run.found.count(), 0);
    QCOMPARE(run.ended.count(), 1);
    // The usual 666 entry, then every timing from 615.4 to 666.7 kbit/s.
    QVERIFY(run.tried.count() > 15);
    double last = 0.0;
    for (const QList<QVariant> &signal : run.tried.all().mid(15)) {
        const double rate = signal.first().toDouble();
        QVERIFY(rate >= 600.0 && rate <= 700.0);
        QVERIFY(rate >= last);
        last = rate;
    }
}

void tst_CAutoProbingThread::openFailureEndsTheRun()
{
    DevCan::instance().setDevIndex(8); // the library serves boards 0 to 7
    CAutoProbingThread thread;
    Run run(&thread);
    thread.startProbing();
    QVERIFY(thread.wait(kRunTimeoutMs));
    QCOMPARE(run.errors.count(), 1);
    QCOMPARE(run.errors.first().at(0).toInt(), 0);
    QCOMPARE(run.errors.first().at(1).toString(), QStringLiteral("Failed to open device"));
    QCOMPARE(run.ended.count(), 1);
    QCOMPARE(run.tried.count(), 0);
}

void tst_CAutoProbingThread::stopDuringSweep()
{
    CAutoProbingThread thread; // no traffic: the whole range would take minutes
    thread.setStartRate(5.0);
    thread.setEndRate(1000.0);
    Run run(&thread);
    thread.startProbing();
    QTRY_VERIFY_WITH_TIMEOUT(run.tried.count() > 17, kRunTimeoutMs); // past the 15 usual rates
    thread.stop();
    QVERIFY(thread.wait(kRunTimeoutMs));
    QCOMPARE(run.ended.count(), 1);
    QCOMPARE(run.found.count(), 0);
    // A try waits 50 ms: between the count seen and the stop only a few
    // more, even on a loaded machine; the whole range is hundreds.
    QVERIFY2(run.tried.count() < 40, qPrintable(QString::number(run.tried.count())));
}

void tst_CAutoProbingThread::stopRightAfterStartIsKept()
{
    QVERIFY(VCISIM_SetBackgroundTraffic(kType, 1, 500000, 0x123, 1000));
    CAutoProbingThread thread;
    Run run(&thread);
    thread.startProbing();
    thread.stop();
    QVERIFY(thread.wait(kRunTimeoutMs));
    QCOMPARE(run.found.count(), 0);
    QCOMPARE(run.ended.count(), 1);
    QVERIFY(run.tried.count() <= 1);
}

QTEST_GUILESS_MAIN(tst_CAutoProbingThread)
#include "tst_cautoprobingthread.moc"
