#include "canwritethread.h"
#include "queuedspy.h"
#include "sendfixture.h"
#include "ulbuffer.h"
#include "ulpipe.h"

#include <QtTest>

using namespace SendFixture;

class tst_CanWriteThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void batches_data();
    void batches();
    void tailMark_data();
    void tailMark();
    void hiddenFramesStayOutOfBuffer();
    void failedTransmitEndsThread();
    void partialTransmitSendsTheRest();
    void stopWhileIdleIsPrompt();
};

Q_DECLARE_METATYPE(std::vector<int>)

// A unit of n frames with IDs from firstId up; marks at the given indexes.
static CanData unit(int n, uint32_t firstId = 0x100, const std::vector<int> &lastMarks = {},
                    const std::vector<int> &tailMarks = {})
{
    CanData d;
    for (int i = 0; i < n; ++i) {
        CanObj f;
        f.ID = firstId + uint32_t(i);
        f.DataLen = 2;
        f.Data[0] = uint8_t(i);
        f.Data[1] = 0xA5;
        f.DeviceTime = 1234;  // never sent
        d.push(f);
    }
    for (int i : lastMarks)
        d[i].lastMark = 1;
    for (int i : tailMarks)
        d[i].tailMark = 1;
    return d;
}

static std::vector<int> batchSizes(QueuedSpy &spy)
{
    std::vector<int> sizes;
    for (const QList<QVariant> &args : spy.all())
        sizes.push_back(args.at(0).toInt());
    return sizes;
}

void tst_CanWriteThread::init()
{
    QVERIFY(openBus());
    UlPipe::instance(int(Tx)).clear();
    resetSendBuffer();
}

void tst_CanWriteThread::cleanup()
{
    closeBus();
}

void tst_CanWriteThread::batches_data()
{
    QTest::addColumn<int>("frames");
    QTest::addColumn<std::vector<int>>("lastMarks");
    QTest::addColumn<std::vector<int>>("expected");

    QTest::newRow("250 unmarked") << 250 << std::vector<int>{} << std::vector<int>{100, 100, 50};
    QTest::newRow("lastMark on 3rd of 5") << 5 << std::vector<int>{2} << std::vector<int>{3, 2};
    QTest::newRow("lastMark on last") << 4 << std::vector<int>{3} << std::vector<int>{4};
    QTest::newRow("lastMark on 100th of 150") << 150 << std::vector<int>{99} << std::vector<int>{100, 50};
    QTest::newRow("lastMark past 100") << 160 << std::vector<int>{119} << std::vector<int>{100, 20, 40};
}

void tst_CanWriteThread::batches()
{
    QFETCH(int, frames);
    QFETCH(std::vector<int>, lastMarks);
    QFETCH(std::vector<int>, expected);

    CanWriteThread thread(Tx);
    QueuedSpy sends(&thread, &CanWriteThread::sendSignal);
    QueuedSpy errors(&thread, &CanWriteThread::errorSignal);
    thread.start();
    UlPipe::instance(int(Tx)).push(unit(frames, 0x100, lastMarks));

    const std::vector<VCI_CAN_OBJ> bus = heard(frames);
    QTRY_COMPARE(sends.count(), int(expected.size()));
    thread.stop();
    QVERIFY(thread.waitForFinish());

    QCOMPARE(batchSizes(sends), expected);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(transmitted(), uint64_t(frames));
    QCOMPARE(int(bus.size()), frames);
    for (int i = 0; i < frames; ++i) {
        QCOMPARE(bus[std::size_t(i)].ID, 0x100u + uint32_t(i));
        QCOMPARE(bus[std::size_t(i)].Data[0], uint8_t(i));
    }
    // Recorded before they go out, as transmitted rows without device time.
    UlBuffer &buffer = UlBuffer::instance(int(Tx));
    QCOMPARE(buffer.count(), frames);
    QCOMPARE(buffer.getFrame(frames - 1).direction, QStringLiteral("Tx"));
    QCOMPARE(buffer.getFrame(frames - 1).deviceTime, QStringLiteral("NULL"));
}

void tst_CanWriteThread::tailMark_data()
{
    QTest::addColumn<std::vector<int>>("tailMarks");
    QTest::addColumn<int>("tails");

    QTest::newRow("on the last frame") << std::vector<int>{119} << 1;
    QTest::newRow("on an earlier frame only") << std::vector<int>{50} << 0;
    QTest::newRow("none") << std::vector<int>{} << 0;
}

void tst_CanWriteThread::tailMark()
{
    QFETCH(std::vector<int>, tailMarks);
    QFETCH(int, tails);

    CanWriteThread thread(Tx);
    QueuedSpy sends(&thread, &CanWriteThread::sendSignal);
    QueuedSpy tailSpy(&thread, &CanWriteThread::tailSignal);
    thread.start();
    UlPipe &pipe = UlPipe::instance(int(Tx));
    pipe.push(unit(120, 0x100, {}, tailMarks));
    // A plain unit after it shows when the first one has been handled.
    pipe.push(unit(1, 0x300));
    QTRY_COMPARE(sends.count(), 3);
    thread.stop();
    QVERIFY(thread.waitForFinish());
    QCOMPARE(tailSpy.count(), tails);
    QCOMPARE(transmitted(), 121u);
}

void tst_CanWriteThread::hiddenFramesStayOutOfBuffer()
{
    CanWriteThread thread(Tx);
    QVERIFY(!thread.getHideSendFrame());
    thread.setHideSendFrame(true);
    QueuedSpy sends(&thread, &CanWriteThread::sendSignal);
    thread.start();
    UlPipe::instance(int(Tx)).push(unit(150));
    QTRY_COMPARE(sends.count(), 2);
    thread.stop();
    QVERIFY(thread.waitForFinish());
    QCOMPARE(transmitted(), 150u);
    QCOMPARE(UlBuffer::instance(int(Tx)).count(), 0);
}

void tst_CanWriteThread::failedTransmitEndsThread()
{
    QCOMPARE(VCISIM_SetTransmitLimit(Type, 0, Tx, 0), 1u);
    UlPipe &pipe = UlPipe::instance(int(Tx));
    pipe.push(unit(150));
    pipe.push(unit(5, 0x300));

    CanWriteThread thread(Tx);
    QueuedSpy sends(&thread, &CanWriteThread::sendSignal);
    QueuedSpy errors(&thread, &CanWriteThread::errorSignal);
    QueuedSpy tails(&thread, &CanWriteThread::tailSignal);
    thread.start();
    QVERIFY(thread.wait(5000));

    QCOMPARE(errors.count(), 1);
    QCOMPARE(sends.count(), 1);  // the rest of the failed unit is dropped
    QCOMPARE(tails.count(), 0);
    QCOMPARE(pipe.count(), 1);   // later units wait for the next start
    QCOMPARE(transmitted(), 0u);
}

void tst_CanWriteThread::partialTransmitSendsTheRest()
{
    // A device that takes only 30 frames per call still gets all of them.
    QCOMPARE(VCISIM_SetTransmitLimit(Type, 0, Tx, 30), 1u);
    CanWriteThread thread(Tx);
    QueuedSpy sends(&thread, &CanWriteThread::sendSignal);
    QueuedSpy errors(&thread, &CanWriteThread::errorSignal);
    thread.start();
    UlPipe::instance(int(Tx)).push(unit(100));
    const std::vector<VCI_CAN_OBJ> bus = heard(100);
    thread.stop();
    QVERIFY(thread.waitForFinish());

    QCOMPARE(errors.count(), 0);
    QCOMPARE(batchSizes(sends), std::vector<int>{100});
    QCOMPARE(int(bus.size()), 100);
    QCOMPARE(bus.back().ID, 0x100u + 99);
}

void tst_CanWriteThread::stopWhileIdleIsPrompt()
{
    CanWriteThread thread(Tx);
    thread.start();
    QTest::qWait(50);
    QVERIFY(thread.isRunning());
    QElapsedTimer timer;
    timer.start();
    thread.stop();
    QVERIFY(thread.waitForFinish());
    // One idle wait (IdleWaitMs) at most; 1 s holds on a loaded machine.
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
}

QTEST_GUILESS_MAIN(tst_CanWriteThread)
#include "tst_canwritethread.moc"
