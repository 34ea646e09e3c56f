#include "queuedspy.h"
#include "sendfixture.h"
#include "testhelpers.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "ulsingletaskthread.h"

#include <QtTest>

using namespace SendFixture;

class tst_UlSingleTaskThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void countsAcrossCycles();
    void ids_data();
    void ids();
    void tasksThatCannotBeSent_data();
    void tasksThatCannotBeSent();
    void failedTransmitEndsThread();
    void stopCutsInterval();
};

static taskObj task(uint32_t id, int frames, int times, int interval = 0, int idIncrease = 0,
                    int dataIncrease = 0, bool extended = false)
{
    CanObj f;
    f.ID = id;
    f.ExternFlag = extended;
    f.DataLen = 3;
    f.Data[0] = 0xFE;
    f.Data[1] = 0x42;
    return TestFrames::task(f, frames, times, interval, idIncrease, dataIncrease);
}

void tst_UlSingleTaskThread::init()
{
    QVERIFY(openBus());
    resetSender();
}

void tst_UlSingleTaskThread::cleanup()
{
    closeBus();
}

void tst_UlSingleTaskThread::countsAcrossCycles()
{
    // Cycles of 3 frames, one per device call; ID and data byte carry on
    // from one cycle to the next.
    TransmitLog log;
    UlSingleTaskThread thread(Tx, task(0x100, 2, 3, 1, 1, 1));
    thread.start();
    const std::vector<VCI_CAN_OBJ> bus = heard(7);
    thread.stop();
    QVERIFY(thread.waitForFinish());

    QVERIFY(bus.size() >= 7);
    for (std::size_t i = 0; i < 7; ++i) {
        QCOMPARE(bus[i].ID, 0x100u + uint(i));
        QCOMPARE(bus[i].Data[0], uint8_t(0xFE + i));
        QCOMPARE(bus[i].Data[1], uint8_t(0x42));
        QCOMPARE(bus[i].DataLen, uint8_t(3));
    }
    const std::vector<uint32_t> calls = log.calls();
    QCOMPARE(std::count(calls.begin(), calls.end(), 1u), std::ptrdiff_t(calls.size()));
    QCOMPARE(uint64_t(calls.size()), transmitted());
    QCOMPARE(sentCount(), int64_t(calls.size()));
    QCOMPARE(UlBuffer::instance(int(Tx)).count(), int(calls.size()));
}

void tst_UlSingleTaskThread::ids_data()
{
    QTest::addColumn<bool>("extended");
    QTest::addColumn<uint>("templateId");
    QTest::addColumn<int>("idFormat");
    QTest::addColumn<QVector<uint>>("expected");

    QTest::newRow("standard wraps") << false << 0x7FFu << 0 << QVector<uint>{0x7FF, 0, 1};
    QTest::newRow("extended wraps") << true << 0x1FFFFFFFu << 0 << QVector<uint>{0x1FFFFFFF, 0};
    QTest::newRow("left-aligned standard") << false << 0x2460u << 1 << QVector<uint>{0x123, 0x124, 0x125};
    QTest::newRow("left-aligned extended") << true << 0x918u << 1 << QVector<uint>{0x123, 0x124};
}

void tst_UlSingleTaskThread::ids()
{
    QFETCH(bool, extended);
    QFETCH(uint, templateId);
    QFETCH(int, idFormat);
    QFETCH(QVector<uint>, expected);

    UlGlobalSet::instance().IDFORMAT = idFormat;
    UlSingleTaskThread thread(Tx, task(templateId, 1, 1, 1, 1, 0, extended));
    thread.start();
    const std::vector<VCI_CAN_OBJ> bus = heard(expected.size());
    thread.stop();
    QVERIFY(thread.waitForFinish());

    QVERIFY(int(bus.size()) >= expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(bus[std::size_t(i)].ID, expected.at(i));
    UlBuffer &buffer = UlBuffer::instance(int(Tx));
    QCOMPARE(buffer.getFrame(0).id.trimmed().toUInt(nullptr, 16), expected.at(0));
}

void tst_UlSingleTaskThread::tasksThatCannotBeSent_data()
{
    QTest::addColumn<taskObj>("theTask");
    QTest::addColumn<int>("errors");

    QTest::newRow("Frames 0") << task(0x1, 0, 5) << 1;
    QTest::newRow("Frames negative") << task(0x1, -1, 5) << 1;
    taskObj empty = task(0x1, 1, 5);
    empty.frames.clear();
    QTest::newRow("no frame") << empty << 1;
    QTest::newRow("Times 0") << task(0x1, 1, 0) << 0;
}

void tst_UlSingleTaskThread::tasksThatCannotBeSent()
{
    QFETCH(taskObj, theTask);
    QFETCH(int, errors);

    UlSingleTaskThread thread(Tx, theTask);
    QueuedSpy spy(&thread, &UlSingleTaskThread::errorSignal);
    thread.start();
    QVERIFY(thread.wait(5000));  // ends by itself instead of spinning
    QCOMPARE(spy.count(), errors);
    QCOMPARE(transmitted(), 0u);
}

void tst_UlSingleTaskThread::failedTransmitEndsThread()
{
    QCOMPARE(VCISIM_SetTransmitLimit(Type, 0, Tx, 0), 1u);
    UlSingleTaskThread thread(Tx, task(0x1, 1, 5));
    QueuedSpy spy(&thread, &UlSingleTaskThread::errorSignal);
    thread.start();
    QVERIFY(thread.wait(5000));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(sentCount(), 0);
    QCOMPARE(UlBuffer::instance(int(Tx)).count(), 1);
}

void tst_UlSingleTaskThread::stopCutsInterval()
{
    UlSingleTaskThread thread(Tx, task(0x1, 1, 1, 5000));
    thread.start();
    QTest::qWait(30);
    QVERIFY(thread.isRunning());
    QElapsedTimer timer;
    timer.start();
    thread.stop();
    QVERIFY(thread.waitForFinish());
    QVERIFY(timer.elapsed() < 1000);
    QCOMPARE(transmitted(), 0u);  // the wait comes before the first cycle
}

QTEST_GUILESS_MAIN(tst_UlSingleTaskThread)
#include "tst_ulsingletaskthread.moc"
