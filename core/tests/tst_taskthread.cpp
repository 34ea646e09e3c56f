#include "sendfixture.h"
#include "taskthread.h"
#include "testhelpers.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "ulpipe.h"

#include <QtTest>

using namespace SendFixture;

// Emits tasks the way the send pages hand them on.
class TaskSender : public QObject
{
    Q_OBJECT
Q_SIGNALS:
    void queue(const taskQueue &tasks);
    void one(const taskObj &task);
};

class tst_TaskThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void bursts_data();
    void bursts();
    void ids_data();
    void ids();
    void dataByteCounts();
    void tasksThatCannotBeSent_data();
    void tasksThatCannotBeSent();
    void pageDecidesTheRun_data();
    void pageDecidesTheRun();
    void failedTransmitEndsRun_data();
    void failedTransmitEndsRun();
    void stopCutsInterval();
    void orderMode();
    void cyclicMode();
    void cyclicModeWithNothingToSendEnds();
    void newQueueDuringRun();
    void parallelMode();
    void parallelStopDuringLongInterval();
    void parallelStopRightAfterStart();
    void parallelFailureIsReported();
    void directWriters();
    void tasksTravelQueued();

private:
    void watch(taskThread &thread);
    QStringList events;
};

static taskObj task(uint32_t id, int frames, int times, int interval = 0, int idIncrease = 0,
                    int dataIncrease = 0, bool extended = false)
{
    CanObj f;
    f.ID = id;
    f.ExternFlag = extended;
    f.DataLen = 8;
    for (int i = 0; i < 8; ++i)
        f.Data[i] = uint8_t(0x10 * i);
    return TestFrames::task(f, frames, times, interval, idIncrease, dataIncrease);
}

static void give(taskThread &thread, const QList<taskObj> &tasks, int page)
{
    taskQueue queue;
    for (const taskObj &t : tasks)
        queue.enqueue(t);
    thread.setTaskQueue(queue);
    thread.setPage(page);
}

static QVector<uint> idsOf(const std::vector<VCI_CAN_OBJ> &frames)
{
    QVector<uint> list;
    for (const VCI_CAN_OBJ &f : frames)
        list.append(f.ID);
    return list;
}

static const QStringList Ran = {QStringLiteral("start"), QStringLiteral("tail")};
static const QStringList Failed = {QStringLiteral("start"), QStringLiteral("error"), QStringLiteral("tail")};

void tst_TaskThread::watch(taskThread &thread)
{
    events.clear();
    // Queued to this thread, so the order of emission is kept.
    connect(&thread, &taskThread::startSignal, this, [this] { events << QStringLiteral("start"); });
    connect(&thread, &taskThread::errorSignal, this, [this] { events << QStringLiteral("error"); });
    connect(&thread, &taskThread::tailSignal, this, [this] { events << QStringLiteral("tail"); });
}

void tst_TaskThread::init()
{
    QVERIFY(openBus());
    resetSender();
    UlGlobalSet::instance().channel[Tx].sendMode = 0;
}

void tst_TaskThread::cleanup()
{
    closeBus();
}

void tst_TaskThread::bursts_data()
{
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("times");
    QTest::addColumn<QVector<uint>>("calls");

    QTest::newRow("3 per call, 7 in all") << 3 << 7 << QVector<uint>{3, 3, 1};
    QTest::newRow("1 per call") << 1 << 3 << QVector<uint>{1, 1, 1};
    QTest::newRow("full calls") << 100 << 250 << QVector<uint>{100, 100, 50};
    QTest::newRow("burst above one call") << 150 << 300 << QVector<uint>{100, 50, 100, 50};
    QTest::newRow("Frames above Times") << 1000 << 120 << QVector<uint>{100, 20};
}

void tst_TaskThread::bursts()
{
    QFETCH(int, frames);
    QFETCH(int, times);
    QFETCH(QVector<uint>, calls);

    TransmitLog log;
    taskThread thread(Tx);
    watch(thread);
    UlPipe::instance(int(Tx)).push(CanData());
    give(thread, {task(0x123, frames, times)}, taskThread::BasePage);
    thread.start();
    QVERIFY(thread.wait(5000));

    QTRY_COMPARE(events, Ran);
    const std::vector<uint32_t> made = log.calls();
    QCOMPARE(QVector<uint>(made.begin(), made.end()), calls);
    QCOMPARE(transmitted(), uint64_t(times));
    QCOMPARE(sentCount(), times);
    QCOMPARE(int(heard(times).size()), times);
    UlBuffer &buffer = UlBuffer::instance(int(Tx));
    QCOMPARE(buffer.count(), times);
    QCOMPARE(buffer.getFrame(times - 1).direction, QStringLiteral("Tx"));
    QVERIFY(UlPipe::instance(int(Tx)).isEmpty());  // a run starts with an empty pipe
}

void tst_TaskThread::ids_data()
{
    QTest::addColumn<bool>("extended");
    QTest::addColumn<uint>("templateId");
    QTest::addColumn<int>("idIncrease");
    QTest::addColumn<int>("idFormat");
    QTest::addColumn<QVector<uint>>("expected");

    QTest::newRow("standard wraps") << false << 0x7FEu << 1 << 0 << QVector<uint>{0x7FE, 0x7FF, 0, 1};
    QTest::newRow("extended wraps") << true << 0x1FFFFFFFu << 1 << 0 << QVector<uint>{0x1FFFFFFF, 0};
    QTest::newRow("fixed") << false << 0x123u << 0 << 0 << QVector<uint>{0x123, 0x123, 0x123};
    QTest::newRow("IdIncrease other than 1 is fixed") << false << 0x123u << 2 << 0 << QVector<uint>{0x123, 0x123};
    QTest::newRow("left-aligned standard") << false << 0x2460u << 1 << 1 << QVector<uint>{0x123, 0x124, 0x125};
    QTest::newRow("left-aligned extended") << true << 0x918u << 0 << 1 << QVector<uint>{0x123, 0x123};
    QTest::newRow("left-aligned standard wraps") << false << (0x7FEu << 5) << 1 << 1 << QVector<uint>{0x7FE, 0x7FF, 0};
}

void tst_TaskThread::ids()
{
    QFETCH(bool, extended);
    QFETCH(uint, templateId);
    QFETCH(int, idIncrease);
    QFETCH(int, idFormat);
    QFETCH(QVector<uint>, expected);

    UlGlobalSet::instance().IDFORMAT = idFormat;
    taskThread thread(Tx);
    // Frames 3 so that the count carries across bursts.
    give(thread, {task(templateId, 3, expected.size(), 0, idIncrease, 0, extended)}, taskThread::BasePage);
    thread.start();
    QVERIFY(thread.wait(5000));

    QCOMPARE(idsOf(heard(expected.size())), expected);
    // The frame buffer holds the real IDs too; the frame list aligns them.
    UlBuffer &buffer = UlBuffer::instance(int(Tx));
    QCOMPARE(buffer.count(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(buffer.getFrame(i).id.trimmed().toUInt(nullptr, 16), expected.at(i));
}

void tst_TaskThread::dataByteCounts()
{
    taskObj t = task(0x55, 2, 4, 0, 0, 2);
    t.frames[0][0].Data[1] = 0xFE;
    taskThread thread(Tx);
    give(thread, {t}, taskThread::BasePage);
    thread.start();
    QVERIFY(thread.wait(5000));

    const std::vector<VCI_CAN_OBJ> bus = heard(4);
    QCOMPARE(int(bus.size()), 4);
    const uint8_t expected[] = {0xFE, 0xFF, 0x00, 0x01};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(bus[std::size_t(i)].Data[1], expected[i]);
        QCOMPARE(bus[std::size_t(i)].Data[0], uint8_t(0x00));  // neighbours untouched
        QCOMPARE(bus[std::size_t(i)].Data[2], uint8_t(0x20));
    }
}

void tst_TaskThread::tasksThatCannotBeSent_data()
{
    QTest::addColumn<taskObj>("theTask");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("Times 0 sends nothing") << task(0x1, 1, 0) << Ran;
    QTest::newRow("Frames 0") << task(0x1, 0, 5) << Failed;
    QTest::newRow("Frames negative") << task(0x1, -3, 5) << Failed;
    taskObj empty = task(0x1, 1, 5);
    empty.frames.clear();
    QTest::newRow("no frame") << empty << Failed;
}

void tst_TaskThread::tasksThatCannotBeSent()
{
    QFETCH(taskObj, theTask);
    QFETCH(QStringList, expected);

    taskThread thread(Tx);
    watch(thread);
    give(thread, {theTask}, taskThread::BasePage);
    thread.start();
    QVERIFY(thread.wait(5000));
    QTRY_COMPARE(events, expected);
    QCOMPARE(transmitted(), 0u);
}

void tst_TaskThread::pageDecidesTheRun_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("none") << int(taskThread::NoPage) << Failed;
    QTest::newRow("unknown") << 7 << Failed;
    QTest::newRow("file page") << int(taskThread::FilePage) << Ran;
}

void tst_TaskThread::pageDecidesTheRun()
{
    QFETCH(int, page);
    QFETCH(QStringList, expected);

    taskThread thread(Tx);
    watch(thread);
    give(thread, {task(0x1, 1, 5)}, page);
    thread.start();
    QVERIFY(thread.wait(5000));
    QTRY_COMPARE(events, expected);
    QCOMPARE(transmitted(), 0u);
}

void tst_TaskThread::failedTransmitEndsRun_data()
{
    QTest::addColumn<int>("limit");

    QTest::newRow("nothing sent") << 0;
    QTest::newRow("part sent") << 2;
}

void tst_TaskThread::failedTransmitEndsRun()
{
    QFETCH(int, limit);

    QCOMPARE(VCISIM_SetTransmitLimit(Type, 0, Tx, limit), 1u);
    TransmitLog log;
    taskThread thread(Tx);
    watch(thread);
    give(thread, {task(0x1, 3, 9)}, taskThread::BasePage);
    thread.start();
    QVERIFY(thread.wait(5000));

    QTRY_COMPARE(events, Failed);
    QCOMPARE(log.calls(), std::vector<uint32_t>{3});
    QCOMPARE(sentCount(), 0);
    // The rows were recorded before the call and stay.
    QCOMPARE(UlBuffer::instance(int(Tx)).count(), 3);
}

void tst_TaskThread::stopCutsInterval()
{
    taskThread thread(Tx);
    watch(thread);
    give(thread, {task(0x1, 1, 3, 5000)}, taskThread::BasePage);
    thread.start();
    QCOMPARE(int(heard(1).size()), 1);

    QElapsedTimer timer;
    timer.start();
    thread.stop();
    QVERIFY(thread.waitForFinish());
    QVERIFY(timer.elapsed() < 1000);
    QCOMPARE(thread.getPage(), int(taskThread::NoPage));
    QTRY_COMPARE(events, Ran);
    QCOMPARE(transmitted(), 1u);
}

void tst_TaskThread::orderMode()
{
    taskThread thread(Tx);
    watch(thread);
    give(thread, {task(0x100, 1, 2), task(0x200, 5, 1)}, taskThread::TaskPage);
    thread.start();
    QVERIFY(thread.wait(5000));
    QTRY_COMPARE(events, Ran);
    QCOMPARE(idsOf(heard(3)), (QVector<uint>{0x100, 0x100, 0x200}));
    QCOMPARE(sentCount(), 3);
}

void tst_TaskThread::cyclicMode()
{
    // Each task starts again from its template when it comes round again.
    UlGlobalSet::instance().channel[Tx].sendMode = 1;
    taskThread thread(Tx);
    watch(thread);
    give(thread, {task(0x10, 2, 2, 1, 1), task(0x20, 1, 1, 1)}, taskThread::TaskPage);
    thread.start();
    std::vector<VCI_CAN_OBJ> bus = heard(9);
    thread.stop();
    QVERIFY(thread.waitForFinish());
    QTRY_COMPARE(events, Ran);

    const std::vector<VCI_CAN_OBJ> rest = heard(0, 0);
    bus.insert(bus.end(), rest.begin(), rest.end());
    QVERIFY(bus.size() >= 9);
    const uint cycle[] = {0x10, 0x11, 0x20};
    for (std::size_t i = 0; i < bus.size(); ++i)
        QCOMPARE(bus[i].ID, cycle[i % 3]);
}

void tst_TaskThread::cyclicModeWithNothingToSendEnds()
{
    UlGlobalSet::instance().channel[Tx].sendMode = 1;
    taskThread thread(Tx);
    watch(thread);
    give(thread, {task(0x10, 1, 0), task(0x20, 1, 0)}, taskThread::TaskPage);
    thread.start();
    QVERIFY(thread.wait(5000));
    QTRY_COMPARE(events, Ran);
}

void tst_TaskThread::newQueueDuringRun()
{
    UlGlobalSet::instance().channel[Tx].sendMode = 1;
    taskThread thread(Tx);
    give(thread, {task(0x10, 1, 1, 1), task(0x20, 1, 1, 1), task(0x30, 1, 1, 1)}, taskThread::TaskPage);
    thread.start();
    QVERIFY(!heard(4).empty());

    taskQueue replacement;
    replacement.enqueue(task(0x40, 1, 1));
    thread.setTaskQueue(replacement);
    QVERIFY(replacement.isEmpty());
    thread.clearAll();
    heard(6, 100);
    thread.stop();
    QVERIFY(thread.waitForFinish());

    // The run went on with the tasks it started with.
    heard(0, 0);
    UlBuffer &buffer = UlBuffer::instance(int(Tx));
    for (int i = 0; i < buffer.count(); ++i)
        QCOMPARE(buffer.getFrame(i).id.trimmed().toUInt(nullptr, 16), 0x10u * uint(i % 3 + 1));
}

void tst_TaskThread::parallelMode()
{
    UlGlobalSet::instance().channel[Tx].sendMode = 2;
    taskThread thread(Tx);
    watch(thread);
    give(thread, {task(0x301, 1, 1, 5), task(0x302, 1, 2, 5), task(0x303, 1, 1, 5)}, taskThread::TaskPage);
    thread.start();
    QVERIFY(thread.wait(5000));  // the run ends while the tasks go on
    QTRY_COMPARE(events, Ran);
    QCOMPARE(thread.singleTaskCount(), 3);

    QSet<uint> seen;
    QElapsedTimer timer;
    timer.start();
    while (seen.size() < 3 && timer.elapsed() < 5000) {
        for (const VCI_CAN_OBJ &f : heard(1, 50))
            seen.insert(f.ID);
    }
    QCOMPARE(seen, (QSet<uint>{0x301, 0x302, 0x303}));

    thread.stopSingleTask();
    QCOMPARE(thread.singleTaskCount(), 0);
    const uint64_t after = transmitted();
    QTest::qWait(30);
    QCOMPARE(transmitted(), after);
}

void tst_TaskThread::parallelStopDuringLongInterval()
{
    UlGlobalSet::instance().channel[Tx].sendMode = 2;
    taskThread thread(Tx);
    give(thread, {task(0x1, 1, 1, 5000), task(0x2, 1, 1, 5000), task(0x3, 1, 1, 5000)}, taskThread::TaskPage);
    thread.start();
    QVERIFY(thread.wait(5000));
    QCOMPARE(thread.singleTaskCount(), 3);

    QElapsedTimer timer;
    timer.start();
    thread.stopSingleTask();
    QVERIFY(timer.elapsed() < 1000);
    QCOMPARE(thread.singleTaskCount(), 0);
    QCOMPARE(transmitted(), 0u);
}

void tst_TaskThread::parallelStopRightAfterStart()
{
    // No task thread may start after the stop and run on unowned.
    UlGlobalSet::instance().channel[Tx].sendMode = 2;
    taskThread thread(Tx);
    give(thread, {task(0x1, 1, 1), task(0x2, 1, 1)}, taskThread::TaskPage);
    thread.start();
    thread.stopSingleTask();
    QVERIFY(thread.isFinished());
    QCOMPARE(thread.singleTaskCount(), 0);
    const uint64_t after = transmitted();
    QTest::qWait(30);
    QCOMPARE(transmitted(), after);
}

void tst_TaskThread::parallelFailureIsReported()
{
    QCOMPARE(VCISIM_SetTransmitLimit(Type, 0, Tx, 0), 1u);
    UlGlobalSet::instance().channel[Tx].sendMode = 2;
    taskThread thread(Tx);
    watch(thread);
    give(thread, {task(0x1, 1, 1)}, taskThread::TaskPage);
    thread.start();
    QTRY_COMPARE(events.count(QStringLiteral("error")), 1);
    QCOMPARE(events.mid(0, 2), Ran);
    thread.stopSingleTask();
}

void tst_TaskThread::directWriters()
{
    TransmitLog log;
    taskThread thread(Tx);
    CanObj frame;
    frame.ID = 0x77;
    frame.DataLen = 1;
    QCOMPARE(thread.writeObj(frame), 1u);
    QCOMPARE(thread.writeObj(frame, 250), 1);
    QCOMPARE(thread.writeObj(frame, 0), 0);
    uint32_t id = 0x10;
    QCOMPARE(thread.writeObj(frame, taskThread::BurstSize + 1, 1, 0, id), 0);  // never past the array
    QCOMPARE(id, 0x10u);
    QCOMPARE(thread.writeObj(frame, 2, 1, 1, id), 1);
    QCOMPARE(id, 0x12u);
    QCOMPARE(frame.Data[0], uint8_t(2));

    QCOMPARE(log.calls(), (std::vector<uint32_t>{1, 100, 100, 50, 2}));
    QCOMPARE(transmitted(), 253u);
    QCOMPARE(UlBuffer::instance(int(Tx)).count(), 253);
}

void tst_TaskThread::tasksTravelQueued()
{
    TaskSender sender;
    taskQueue got;
    taskObj gotOne;
    connect(&sender, &TaskSender::queue, this, [&](const taskQueue &q) { got = q; }, Qt::QueuedConnection);
    connect(&sender, &TaskSender::one, this, [&](const taskObj &t) { gotOne = t; }, Qt::QueuedConnection);
    taskQueue q;
    q.enqueue(task(0x321, 2, 5, 10, 1, 3));
    Q_EMIT sender.queue(q);
    Q_EMIT sender.one(task(0x654, 1, 1));
    QTRY_COMPARE(got.size(), 1);
    QTRY_COMPARE(gotOne.size(), 1);
    QCOMPARE(got.head().Times, 5);
    QCOMPARE(got.head().DataIncrease, 3);
    QCOMPARE(got.head().at(0).at(0).ID, 0x321u);
    QCOMPARE(gotOne.at(0).at(0).ID, 0x654u);

    // String-based connections find the types by these names.
    QVERIFY(QMetaType::type("taskQueue") == qMetaTypeId<taskQueue>());
    QVERIFY(QMetaType::type("taskObj") == qMetaTypeId<taskObj>());
    const QVariant v = QVariant::fromValue(q.head());
    QCOMPARE(v.value<taskObj>().Interval, 10);
}

QTEST_GUILESS_MAIN(tst_TaskThread)
#include "tst_taskthread.moc"
