#include "canreadthread.h"
#include "canthread.h"
#include "uthread.h"
#include "vcisim.h"

#include <QtTest>

#include <functional>
#include <memory>

class tst_UThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void runFlagSetBeforeRun();
    void stopRightAfterStart_data();
    void stopRightAfterStart();
    void restartAfterStop();
    void destroyWhileRunning();
};

using ThreadFactory = std::function<UThread *()>;
Q_DECLARE_METATYPE(ThreadFactory)

// Records the running flag as run() first sees it.
class FlagProbe : public UThread
{
public:
    int runs = 0;
    bool flagAtRun = false;

protected:
    void run() override
    {
        ++runs;
        flagAtRun = runFlag();
    }
};

void tst_UThread::init()
{
    VCISIM_ResetAll();
}

void tst_UThread::runFlagSetBeforeRun()
{
    FlagProbe probe;
    QVERIFY(!probe.runFlag());
    probe.start();
    QVERIFY(probe.runFlag());
    QVERIFY(probe.wait(5000));
    QVERIFY(probe.flagAtRun);
}

void tst_UThread::stopRightAfterStart_data()
{
    QTest::addColumn<ThreadFactory>("make");
    QTest::newRow("CanThread") << ThreadFactory([] { return new CanThread(1); });
    QTest::newRow("CanReadThread") << ThreadFactory([] { return new CanReadThread(1); });
}

void tst_UThread::stopRightAfterStart()
{
    QFETCH(ThreadFactory, make);
    for (int round = 0; round < 20; ++round) {
        const std::unique_ptr<UThread> thread(make());
        thread->start(QThread::HighPriority);
        thread->stop();
        QVERIFY2(thread->wait(5000), "the loop missed the stop");
        QVERIFY(!thread->runFlag());
    }
}

void tst_UThread::restartAfterStop()
{
    FlagProbe probe;
    for (int round = 1; round <= 3; ++round) {
        probe.start();
        QVERIFY(probe.waitForFinish());
        QCOMPARE(probe.runs, round);
        QVERIFY(probe.flagAtRun);
        probe.stop();
    }
}

void tst_UThread::destroyWhileRunning()
{
    auto *thread = new CanThread(0);
    thread->start();
    QTRY_VERIFY(thread->isRunning());
    delete thread;  // stops and waits instead of aborting
}

QTEST_GUILESS_MAIN(tst_UThread)
#include "tst_uthread.moc"
