// The send tabs against the simulated bus: what the Base page puts on the
// bus (bursts, pauses, counting IDs and data, its ID across an ID-format
// change), refusals, send failures,
// Stop during a long pause and racing a start, the buttons of every page
// while one sender is active, the Task page's senders through the page
// interface (list and timing tasks), the tab texts, and the labels and
// choices of every page, closed and in their open lists, and the Task
// table's choice editors whole in a channel window in either language.
#include "applicationfamily.h"
#include "chinesecatalogue.h"
#include "errorinfowidget.h"
#include "guitest.h"
#include "labelwidths.h"
#include "openlists.h"
#include "queuedspy.h"
#include "sendfixture.h"
#include "taskrow.h"
#include "taskthread.h"
#include "testhelpers.h"
#include "uifont.h"
#include "uimdichildcangen.h"
#include "uitabsend.h"
#include "uitabsendbasepage.h"
#include "uitabsendfilepage.h"
#include "ulglobalset.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

using namespace SendFixture;

namespace {

QByteArray bytesOf(const VCI_CAN_OBJ &f)
{
    return QByteArray(reinterpret_cast<const char *>(f.Data), f.DataLen);
}

// Send, Stop of the pages that have them (Base, Task, File) as "StSt...":
// upper case on.
QString buttons(const UiTabSend &tabs)
{
    QString state;
    for (int i = UiTabSend::BasePage; i <= UiTabSend::FilePage; ++i) {
        const UiTabSendPage *page = tabs.sendPage(i);
        if (!page->sendButton() || !page->stopButton())
            continue;
        state += page->sendButton()->isEnabled() ? QLatin1Char('S') : QLatin1Char('s');
        state += page->stopButton()->isEnabled() ? QLatin1Char('T') : QLatin1Char('t');
    }
    return state;
}

// The buttons while the page of index owner sends (every Send off, its
// Stop on), or idle for -1.
QString expected(const UiTabSend &tabs, int owner, bool sendEnabled = true)
{
    QString state;
    for (int i = UiTabSend::BasePage; i <= UiTabSend::FilePage; ++i) {
        const UiTabSendPage *page = tabs.sendPage(i);
        if (!page->sendButton() || !page->stopButton())
            continue;
        state += owner < 0 && sendEnabled ? QLatin1Char('S') : QLatin1Char('s');
        state += owner == i ? QLatin1Char('T') : QLatin1Char('t');
    }
    return state;
}

// Frames still waiting on the listening channel are dropped.
void drainBus()
{
    heard(1 << 30, 30);
}

taskQueue queueOf(const taskObj &task)
{
    taskQueue queue;
    queue.enqueue(task);
    return queue;
}

// A channel window of a main window maximised on a 1366 x 768 screen:
// 1366 x 598 in tabbed view under openbox, 1300 x 640 on other desktops;
// the narrower and the lower of them.
constexpr QSize ChannelWindowOn1366x768(1300, 598);

// Layout requests posted by layout changes, handled.
void settleLayouts()
{
    for (int level = 0; level < 8; ++level)
        QCoreApplication::processEvents();
}

} // namespace

class tst_UiTabSend : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void pages();
    void burstsAndPauses();
    void countingIdsAndData_data();
    void countingIdsAndData();
    void leftAlignedIdIsSentReal();
    void idFormatChangeKeepsTheRealId_data();
    void idFormatChangeKeepsTheRealId();
    void refusedIdSendsNothing();
    void transmitFailure();
    void stopDuringLongInterval();
    void stopRacingStart();
    void buttonsFollowTheSender_data();
    void buttonsFollowTheSender();
    void sendWhileSendingStartsNothing();
    void taskListSender();
    void timingTasksRunUntilStop();
    void timingTaskFailureStopsAll();
    void stopThreadsEndsEverySender();
    void destroyedWhileSending();
    void addToSendBringsBaseForward();
    void tabTextsFollowLanguage();
    void textsShowWhole_data();
    void textsShowWhole();

private:
    void setBase(const QString &id, int frames, int times, int interval, const QString &data = QString());
    template <typename T>
    T *baseField(const char *name) const
    {
        return tabs->basePage()->findChild<T *>(QLatin1String(name));
    }
    void clickBaseSend() { baseField<QPushButton>("SendButton")->click(); }
    void waitIdle(int timeoutMs = 5000);

    std::unique_ptr<UiTabSend> tabs;
};

void tst_UiTabSend::init()
{
    QVERIFY(openBus());
    resetSender();
    for (int ch = 0; ch < UlGlobalSet::Channels; ++ch) {
        UlGlobalSet::instance().channel[ch].sending = false;
        UlGlobalSet::instance().channel[ch].sendMode = 0;
    }
    tabs = std::make_unique<UiTabSend>(nullptr, int(Tx));
    tabs->setSendEnabled(true);
}

void tst_UiTabSend::cleanup()
{
    tabs.reset();
    QCoreApplication::processEvents();
    UlGlobalSet::instance().IDFORMAT = 0;
    UlGlobalSet::instance().channel[Tx].sendMode = 0;
    closeBus();
}

void tst_UiTabSend::setBase(const QString &id, int frames, int times, int interval, const QString &data)
{
    baseField<QLineEdit>("m_ctrlId")->setText(id);
    baseField<QSpinBox>("m_ctrlFrames")->setValue(frames);
    baseField<QSpinBox>("m_ctrlSendTimes")->setValue(times);
    baseField<QSpinBox>("m_ctrlInterval")->setValue(interval);
    if (!data.isNull())
        baseField<QLineEdit>("m_ctrlData")->setText(data);
}

void tst_UiTabSend::waitIdle(int timeoutMs)
{
    QTRY_COMPARE_WITH_TIMEOUT(tabs->activeSender(), UiTabSend::NoSender, timeoutMs);
    QVERIFY(!UlGlobalSet::instance().channel[Tx].sending);
}

void tst_UiTabSend::pages()
{
    QCOMPARE(tabs->count(), 4);
    QCOMPARE(tabs->tabPosition(), QTabWidget::South);
    QCOMPARE(tabs->focusPolicy(), Qt::NoFocus);
    QCOMPARE(tabs->widget(UiTabSend::BasePage), tabs->basePage());
    QCOMPARE(tabs->widget(UiTabSend::ErrorInfoPage), tabs->errorInfo());
    QCOMPARE(tabs->errorInfo()->channel(), int(Tx));
    QCOMPARE(buttons(*tabs), expected(*tabs, -1));
    QVERIFY(buttons(*tabs).startsWith(QLatin1String("St")));
    tabs->setSendEnabled(false);
    QCOMPARE(buttons(*tabs), expected(*tabs, -1, false));
}

// Times 10 in bursts of 3 with 100 ms after each burst: 3, 3, 3, 1.
void tst_UiTabSend::burstsAndPauses()
{
    setBase(QStringLiteral("100"), 3, 10, 100);
    TransmitLog log;
    QSignalSpy failed(tabs.get(), &UiTabSend::sendErrorSignal);
    clickBaseSend();
    QCOMPARE(tabs->activeSender(), UiTabSend::BaseSender);
    QVERIFY(UlGlobalSet::instance().channel[Tx].sending);
    QCOMPARE(buttons(*tabs), expected(*tabs, UiTabSend::BasePage));
    const std::vector<VCI_CAN_OBJ> bus = heard(10);
    waitIdle();
    QCOMPARE(log.calls(), std::vector<uint32_t>({3, 3, 3, 1}));
    QCOMPARE(int(bus.size()), 10);
    // Device stamps in 0.1 ms: each burst about 100 ms after the one before.
    for (int burst = 1; burst < 4; ++burst) {
        const int64_t gap = int64_t(bus[size_t(3 * burst)].DeviceTime) - bus[size_t(3 * burst - 1)].DeviceTime;
        QVERIFY2(gap >= 950 && gap < 3000, qPrintable(QString::number(gap)));
    }
    QCOMPARE(bus.front().ID, 0x100u);
    QCOMPARE(bus.back().ID, 0x109u);  // the ID counts up by default
    QCOMPARE(sentCount(), int64_t(10));
    QCOMPARE(UlBuffer::instance(int(Tx)).count(), 10);
    QVERIFY(failed.isEmpty());
    QCOMPARE(buttons(*tabs), expected(*tabs, -1));
}

void tst_UiTabSend::countingIdsAndData_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("idRule");
    QTest::addColumn<int>("dataRule");
    QTest::addColumn<QList<uint>>("ids");
    QTest::addColumn<QByteArray>("counted");  // the counted byte per frame; empty: data fixed

    QTest::newRow("standard wraps after 7ff") << 0 << "7fe" << 1 << 0 << QList<uint>{0x7FE, 0x7FF, 0, 1, 2}
                                              << QByteArray();
    QTest::newRow("extended wraps after 1fffffff")
        << 1 << "1ffffffe" << 1 << 0 << QList<uint>{0x1FFFFFFE, 0x1FFFFFFF, 0, 1, 2} << QByteArray();
    QTest::newRow("fixed ID, byte 7 counts and wraps")
        << 0 << "123" << 0 << 8 << QList<uint>{0x123, 0x123, 0x123, 0x123, 0x123} << QByteArray::fromHex("feff000102");
    QTest::newRow("both count") << 0 << "10" << 1 << 1 << QList<uint>{0x10, 0x11, 0x12, 0x13, 0x14}
                                << QByteArray::fromHex("1112131415");
}

// Five frames in bursts of 2: the ID and the data byte count on across
// bursts.
void tst_UiTabSend::countingIdsAndData()
{
    QFETCH(int, format);
    QFETCH(QString, id);
    QFETCH(int, idRule);
    QFETCH(int, dataRule);
    QFETCH(QList<uint>, ids);
    QFETCH(QByteArray, counted);
    baseField<QComboBox>("m_ctrlFormat")->setCurrentIndex(format);
    baseField<QComboBox>("m_ctrlIdFlag")->setCurrentIndex(idRule);
    baseField<QComboBox>("m_ctrlDataFlag")->setCurrentIndex(dataRule);
    setBase(id, 2, 5, 0, QStringLiteral("11 22 33 44 55 66 77 FE"));
    clickBaseSend();
    const std::vector<VCI_CAN_OBJ> bus = heard(5);
    waitIdle();
    QCOMPARE(int(bus.size()), 5);
    for (int i = 0; i < 5; ++i) {
        const VCI_CAN_OBJ &f = bus[size_t(i)];
        QCOMPARE(f.ID, ids.at(i));
        QCOMPARE(int(f.ExternFlag), format);
        QByteArray expected = QByteArray::fromHex("11223344556677FE");
        if (!counted.isEmpty())
            expected[dataRule - 1] = counted.at(i);
        QCOMPARE(bytesOf(f), expected);
    }
}

// The field shows a controller code; the bus gets the real ID.
void tst_UiTabSend::leftAlignedIdIsSentReal()
{
    UlGlobalSet::instance().IDFORMAT = 1;
    baseField<QComboBox>("m_ctrlIdFlag")->setCurrentIndex(0);
    setBase(QStringLiteral("0061"), 1, 1, 0);
    clickBaseSend();
    const std::vector<VCI_CAN_OBJ> bus = heard(1);
    waitIdle();
    QCOMPARE(int(bus.size()), 1);
    QCOMPARE(bus.front().ID, 0x3u);
    QCOMPARE(baseField<QLineEdit>("m_ctrlId")->text(), QStringLiteral("0060"));
}

void tst_UiTabSend::idFormatChangeKeepsTheRealId_data()
{
    QTest::addColumn<int>("from");  // the ID format the ID is typed in
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("converted");
    QTest::addColumn<uint>("busId");
    QTest::newRow("extended, left-aligned to real") << 1 << 1 << "d5e6f78" << "01abcdef" << 0x1ABCDEFu;
    QTest::newRow("extended, real to left-aligned") << 0 << 1 << "1abcdef" << "0d5e6f78" << 0x1ABCDEFu;
    QTest::newRow("standard, left-aligned to real") << 1 << 0 << "ffe0" << "07ff" << 0x7FFu;
    QTest::newRow("standard, real to left-aligned") << 0 << 0 << "43" << "0860" << 0x43u;
}

// The ID field follows an ID-format change as the Task table does: the
// frame on the bus carries the ID that was typed.
void tst_UiTabSend::idFormatChangeKeepsTheRealId()
{
    QFETCH(int, from);
    QFETCH(int, format);
    QFETCH(QString, typed);
    QFETCH(QString, converted);
    QFETCH(uint, busId);
    auto *id = baseField<QLineEdit>("m_ctrlId");
    UlGlobalSet::instance().IDFORMAT = from;
    Q_EMIT tabs->idFormatChangedSignal();
    baseField<QComboBox>("m_ctrlFormat")->setCurrentIndex(format);
    baseField<QComboBox>("m_ctrlIdFlag")->setCurrentIndex(0);
    setBase(typed, 1, 1, 0);

    UlGlobalSet::instance().IDFORMAT = 1 - from;
    Q_EMIT tabs->idFormatChangedSignal();
    QCOMPARE(id->text(), converted);
    Q_EMIT tabs->idFormatChangedSignal();  // accepted without a change
    QCOMPARE(id->text(), converted);
    clickBaseSend();
    const std::vector<VCI_CAN_OBJ> bus = heard(1);
    waitIdle();
    QCOMPARE(int(bus.size()), 1);
    QCOMPARE(bus.front().ID, busId);
    QCOMPARE(int(bus.front().ExternFlag), format);
}

void tst_UiTabSend::refusedIdSendsNothing()
{
    setBase(QStringLiteral("800"), 1, 1, 0);
    QSignalSpy refused(tabs.get(), &UiTabSend::maxIdErrorSignal);
    clickBaseSend();
    QCOMPARE(refused.count(), 1);
    QCOMPARE(tabs->activeSender(), UiTabSend::NoSender);
    QVERIFY(!tabs->sendTaskThread()->isRunning());
    QTest::qWait(50);
    QCOMPARE(transmitted(), 0u);
    QCOMPARE(buttons(*tabs), expected(*tabs, -1));
}

// A channel on which nothing can be sent: one message, then idle.
void tst_UiTabSend::transmitFailure()
{
    QCOMPARE(VCISIM_SetTransmitLimit(Type, 0, Tx, 0), 1u);
    setBase(QStringLiteral("100"), 3, 1000, 0);
    QSignalSpy failed(tabs.get(), &UiTabSend::sendErrorSignal);
    clickBaseSend();
    QTRY_COMPARE(failed.count(), 1);
    waitIdle();
    QTest::qWait(100);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(sentCount(), int64_t(0));
    QCOMPARE(buttons(*tabs), expected(*tabs, -1));
    QVERIFY(!tabs->sendTaskThread()->isRunning());
}

void tst_UiTabSend::stopDuringLongInterval()
{
    setBase(QStringLiteral("100"), 1, 3, 99999999);
    QSignalSpy failed(tabs.get(), &UiTabSend::sendErrorSignal);
    clickBaseSend();
    QCOMPARE(int(heard(1).size()), 1);
    QElapsedTimer timer;
    timer.start();
    baseField<QPushButton>("StopButton")->click();
    QVERIFY2(timer.elapsed() < 100, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!tabs->sendTaskThread()->isRunning());
    QCOMPARE(tabs->activeSender(), UiTabSend::NoSender);
    QVERIFY(!UlGlobalSet::instance().channel[Tx].sending);
    QCOMPARE(buttons(*tabs), expected(*tabs, -1));
    QTest::qWait(50);
    QVERIFY(failed.isEmpty());
    QCOMPARE(transmitted(), 1u);
}

// Stop right after Send, before the thread has reported anything: no
// "Send failed.", and the reports of the stopped run change nothing.
void tst_UiTabSend::stopRacingStart()
{
    setBase(QStringLiteral("100"), 1, 100, 10);
    QSignalSpy failed(tabs.get(), &UiTabSend::sendErrorSignal);
    for (int i = 0; i < 20; ++i) {
        clickBaseSend();
        baseField<QPushButton>("StopButton")->click();
    }
    clickBaseSend();
    QTest::qWait(100);
    QVERIFY(failed.isEmpty());
    QCOMPARE(tabs->activeSender(), UiTabSend::BaseSender);
    QVERIFY(tabs->sendTaskThread()->isRunning());
    baseField<QPushButton>("StopButton")->click();
    QTest::qWait(50);
    QVERIFY(failed.isEmpty());
    QCOMPARE(buttons(*tabs), expected(*tabs, -1));
}

void tst_UiTabSend::buttonsFollowTheSender_data()
{
    QTest::addColumn<int>("tabDuring");
    QTest::addColumn<int>("tabAtEnd");
    for (int during = UiTabSend::BasePage; during <= UiTabSend::ErrorInfoPage; ++during) {
        const int atEnd = (during + 1) % 4;
        QTest::addRow("tab %d during, %d at the end", during, atEnd) << during << atEnd;
    }
}

// The Base page sends while the user moves through the tabs: the buttons
// stay those of the Base sender, and its end leaves every page idle.
void tst_UiTabSend::buttonsFollowTheSender()
{
    QFETCH(int, tabDuring);
    QFETCH(int, tabAtEnd);
    setBase(QStringLiteral("100"), 1, 3, 150);
    clickBaseSend();
    tabs->setCurrentIndex(tabDuring);
    QCOMPARE(buttons(*tabs), expected(*tabs, UiTabSend::BasePage));
    QTest::qWait(20);
    tabs->setCurrentIndex(tabAtEnd);
    QCOMPARE(buttons(*tabs), expected(*tabs, UiTabSend::BasePage));
    QVERIFY(UlGlobalSet::instance().channel[Tx].sending);
    waitIdle();
    QCOMPARE(buttons(*tabs), expected(*tabs, -1));
    QCOMPARE(transmitted(), 3u);
}

// A second Send while the Base task runs (a double click) neither restarts
// it nor starts another sender.
void tst_UiTabSend::sendWhileSendingStartsNothing()
{
    setBase(QStringLiteral("100"), 1, 3, 100);
    QueuedSpy runs(tabs->sendTaskThread(), &taskThread::startSignal);
    clickBaseSend();
    tabs->onStart(UiTabSend::BasePage, queueOf(TestFrames::task(TestFrames::frame(0x200, "x"), 1, 5)));
    Q_EMIT tabs->taskPage()->start(queueOf(TestFrames::task(TestFrames::frame(0x300, "x"), 1, 5)));
    QCOMPARE(tabs->activeSender(), UiTabSend::BaseSender);
    const std::vector<VCI_CAN_OBJ> bus = heard(3);
    waitIdle();
    QCOMPARE(runs.count(), 1);
    QCOMPARE(int(bus.size()), 3);
    for (const VCI_CAN_OBJ &f : bus)
        QVERIFY(f.ID >= 0x100 && f.ID < 0x103);
    QTest::qWait(50);
    QCOMPARE(transmitted(), 3u);
}

// The Task page's list runs on the send-task thread; the Task page's Stop
// ends it like the Base page's.
void tst_UiTabSend::taskListSender()
{
    UlGlobalSet::instance().channel[Tx].sendMode = 1;  // over and over
    tabs->setCurrentIndex(UiTabSend::BasePage);
    Q_EMIT tabs->taskPage()->start(queueOf(TestFrames::task(TestFrames::frame(0x300, "x"), 1, 1, 20)));
    QCOMPARE(tabs->activeSender(), UiTabSend::TaskListSender);
    QCOMPARE(tabs->sendTaskThread()->getPage(), int(taskThread::TaskPage));
    QCOMPARE(buttons(*tabs), expected(*tabs, UiTabSend::TaskPage));
    QVERIFY(heard(3).size() >= 3);
    Q_EMIT tabs->taskPage()->stop();
    QCOMPARE(tabs->activeSender(), UiTabSend::NoSender);
    QVERIFY(!tabs->sendTaskThread()->isRunning());
    const uint64_t sent = transmitted();
    QTest::qWait(60);
    QCOMPARE(transmitted(), sent);
    QCOMPARE(buttons(*tabs), expected(*tabs, -1));
}

// Timing send: the send-task thread ends at once, its tasks run on until
// Stop; its end report changes nothing, whatever tab is current.
void tst_UiTabSend::timingTasksRunUntilStop()
{
    UlGlobalSet::instance().channel[Tx].sendMode = 2;
    tabs->setCurrentIndex(UiTabSend::TaskPage);
    taskQueue queue;
    queue.enqueue(TestFrames::task(TestFrames::frame(0x301, "a"), 1, 1, 10));
    queue.enqueue(TestFrames::task(TestFrames::frame(0x302, "b"), 1, 1, 10));
    Q_EMIT tabs->taskPage()->start(queue);
    QCOMPARE(tabs->activeSender(), UiTabSend::TimingTaskSender);
    QTRY_COMPARE(tabs->sendTaskThread()->singleTaskCount(), 2);
    QTRY_VERIFY(!tabs->sendTaskThread()->isRunning());
    tabs->setCurrentIndex(UiTabSend::ErrorInfoPage);
    QTest::qWait(50);  // the run's end report comes in
    // Both tasks go on cycling; how fast depends on the machine's load.
    QTRY_VERIFY(transmitted() >= 4);
    QCOMPARE(tabs->activeSender(), UiTabSend::TimingTaskSender);
    QVERIFY(UlGlobalSet::instance().channel[Tx].sending);
    QCOMPARE(buttons(*tabs), expected(*tabs, UiTabSend::TaskPage));

    QElapsedTimer timer;
    timer.start();
    Q_EMIT tabs->taskPage()->stop();
    // The stop holds the window at most 90 ms; the bound allows for load.
    QVERIFY2(timer.elapsed() < 150, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(tabs->sendTaskThread()->singleTaskCount(), 0);
    waitIdle(0);
    QTRY_COMPARE(tabs->sendTaskThread()->timingThreadCount(), 0);
    const uint64_t sent = transmitted();
    QTest::qWait(50);
    QCOMPARE(transmitted(), sent);
}

// Every timing task fails: one message, every task stopped, idle.
void tst_UiTabSend::timingTaskFailureStopsAll()
{
    QCOMPARE(VCISIM_SetTransmitLimit(Type, 0, Tx, 0), 1u);
    UlGlobalSet::instance().channel[Tx].sendMode = 2;
    QSignalSpy failed(tabs.get(), &UiTabSend::sendErrorSignal);
    taskQueue queue;
    for (uint32_t id = 0x301; id <= 0x304; ++id)
        queue.enqueue(TestFrames::task(TestFrames::frame(id, "a"), 1, 1, 1));
    Q_EMIT tabs->taskPage()->start(queue);
    QTRY_COMPARE(failed.count(), 1);
    waitIdle();
    QTest::qWait(100);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(tabs->sendTaskThread()->singleTaskCount(), 0);
}

void tst_UiTabSend::stopThreadsEndsEverySender()
{
    UlGlobalSet::instance().channel[Tx].sendMode = 2;
    Q_EMIT tabs->taskPage()->start(queueOf(TestFrames::task(TestFrames::frame(0x301, "a"), 1, 1, 5)));
    QTRY_COMPARE(tabs->sendTaskThread()->singleTaskCount(), 1);
    tabs->stopThreads();
    QCOMPARE(tabs->sendTaskThread()->singleTaskCount(), 0);
    QCOMPARE(tabs->activeSender(), UiTabSend::NoSender);
    QVERIFY(!UlGlobalSet::instance().channel[Tx].sending);

    UlGlobalSet::instance().channel[Tx].sendMode = 0;
    setBase(QStringLiteral("100"), 1, 5, 99999999);
    drainBus();
    clickBaseSend();
    QCOMPARE(int(heard(1).size()), 1);
    tabs->stopThreads();
    QVERIFY(!tabs->sendTaskThread()->isRunning());
    QCOMPARE(buttons(*tabs), expected(*tabs, -1));
}

// The container goes while its threads send: they stop first.
void tst_UiTabSend::destroyedWhileSending()
{
    setBase(QStringLiteral("100"), 1, 1000, 1);
    clickBaseSend();
    QVERIFY(heard(2).size() >= 2);
    QPointer<taskThread> thread = tabs->sendTaskThread();
    tabs.reset();
    QVERIFY(thread.isNull());
    QVERIFY(!UlGlobalSet::instance().channel[Tx].sending);
    const uint64_t sent = transmitted();
    QTest::qWait(30);
    QCOMPARE(transmitted(), sent);
}

void tst_UiTabSend::addToSendBringsBaseForward()
{
    tabs->setCurrentIndex(UiTabSend::FilePage);
    QSignalSpy changed(tabs.get(), &QTabWidget::currentChanged);
    BaseSendParam param;
    param.format = 1;
    param.id = 0x1A;
    param.data = QStringLiteral("0A FF");
    Q_EMIT tabs->AddMoveSend(param);
    QCOMPARE(tabs->currentIndex(), int(UiTabSend::BasePage));
    QCOMPARE(baseField<QLineEdit>("m_ctrlId")->text(), QStringLiteral("1a"));
    QCOMPARE(changed.count(), 1);

    Q_EMIT tabs->AddMoveList(param);
    QCOMPARE(tabs->currentIndex(), int(UiTabSend::TaskPage));
}

void tst_UiTabSend::tabTextsFollowLanguage()
{
    QCOMPARE(tabs->tabText(UiTabSend::BasePage), QStringLiteral("Base"));
    {
        ChineseCatalogue chinese;
        QVERIFY(chinese.isLoaded());
        QStringList texts;
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i);
        QCOMPARE(texts, QStringList({"基本发送", "任务发送", "文件发送", "错误信息"}));
    }
    QCOMPARE(tabs->tabText(UiTabSend::ErrorInfoPage), QStringLiteral("ErrorInfo"));
}

void tst_UiTabSend::textsShowWhole_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("startChinese");
    QTest::addColumn<bool>("switched");
    // An empty family keeps the face the tests start with.
    for (const QString &family : {QString(), UiFont::cjkFamily()}) {
        const char *face = family.isEmpty() ? "Qt's face" : "program's face";
        QTest::addRow("English, %s", face) << family << false << false;
        QTest::addRow("Chinese, %s", face) << family << true << false;
        QTest::addRow("English to Chinese, %s", face) << family << false << true;
        QTest::addRow("Chinese to English, %s", face) << family << true << true;
    }
}

// Every label, every item of every combo box, closed and in its open list,
// the Task table's choice editors and the hint of the File page's count
// field on the Base, Task and File pages show whole in a channel window as
// large as a 1366 x 768 screen holds, in the language the window was built
// and first shown in, and after a switch to the other one; there no page
// scrolls.
void tst_UiTabSend::textsShowWhole()
{
    QFETCH(QString, family);
    QFETCH(bool, startChinese);
    QFETCH(bool, switched);
    if (!family.isEmpty() && !QFontDatabase().hasFamily(family))
        QSKIP("the face is not installed");
    const ApplicationFamily face(family);
    std::unique_ptr<ChineseCatalogue> chinese;
    if (startChinese)
        chinese = std::make_unique<ChineseCatalogue>();
    UiMdiChildCanGen window(nullptr, int(Tx));
    window.resize(ChannelWindowOn1366x768);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *sendTabs = window.findChild<UiTabSend *>();
    // The count field of a repeated replay is empty and shows its hint.
    sendTabs->widget(UiTabSend::FilePage)
            ->findChild<QComboBox *>(QStringLiteral("m_ctrlSendMode_2"))
            ->setCurrentIndex(UiTabSendFilePage::Repeatedly);
    // Each page shown once, in the language the window started in.
    for (int page = UiTabSend::BasePage; page <= UiTabSend::FilePage; ++page) {
        sendTabs->setCurrentIndex(page);
        settleLayouts();
    }
    if (switched && startChinese)
        chinese.reset();
    else if (switched)
        chinese = std::make_unique<ChineseCatalogue>();
    settleLayouts();
    QCOMPARE(window.size(), ChannelWindowOn1366x768);

    QStringList cut;
    for (int page = UiTabSend::BasePage; page <= UiTabSend::FilePage; ++page) {
        sendTabs->setCurrentIndex(page);
        settleLayouts();
        const QWidget *form = sendTabs->widget(page);
        const TextsShown shown = labelsAndChoicesShown(*form);
        // The Task page has the fewest: one label and three choices.
        QVERIFY2(shown.measured >= 4, qPrintable(sendTabs->tabText(page)));
        cut << shown.cut;
        if (page == UiTabSend::TaskPage) {
            // A row with an editor open on each choice; the table scrolls
            // to the editors it does not show.
            form->findChild<QPushButton *>(QStringLiteral("addButton"))->click();
            auto *table = form->findChild<QTableWidget *>();
            for (int column : {TaskRow::SendMode, TaskRow::Format, TaskRow::Type, TaskRow::IdRule, TaskRow::DataRule})
                table->openPersistentEditor(table->item(0, column));
            settleLayouts();
            QCOMPARE(table->findChildren<QComboBox *>().size(), 5);
        }
        const TextsShown lists = openListsShown(*form);
        // Four send modes at least.
        QVERIFY2(lists.measured >= 4, qPrintable(sendTabs->tabText(page)));
        cut << lists.cut;
        // The File page places its boxes without a layout.
        const QList<QGroupBox *> boxes = form->findChildren<QGroupBox *>();
        for (int i = 0; i < boxes.size(); ++i) {
            for (int j = i + 1; j < boxes.size(); ++j) {
                if (boxes[i]->parent() == boxes[j]->parent() && boxes[i]->geometry().intersects(boxes[j]->geometry()))
                    cut << QStringLiteral("%1 and %2 overlap").arg(boxes[i]->objectName(), boxes[j]->objectName());
            }
        }
        // The page is large enough: nothing of it scrolls.
        for (const QScrollArea *area : form->findChildren<QScrollArea *>()) {
            if (area->horizontalScrollBar()->isVisible() || area->verticalScrollBar()->isVisible())
                cut << QStringLiteral("%1 scrolls").arg(sendTabs->tabText(page));
        }
    }
    for (const QString &line : cut)
        qInfo("%s", qPrintable(line));
    QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("%1 texts cut or covered").arg(cut.size())));
}

MEROVAST_GUI_TEST_MAIN(tst_UiTabSend)
#include "tst_uitabsend.moc"
