// The whole program against the simulated device library: opening a
// two-channel device gives two tabbed channel windows that follow the bus,
// the status bar follows the active one, and closing the device or the
// program is refused while a window or a sending channel needs it, and
// otherwise stops every thread of every channel before the device closes.
#include "apphelpers.h"
#include "canreadthread.h"
#include "canrealtimesavethread.h"
#include "devcan.h"
#include "guitest.h"
#include "merovast.h"
#include "modaldialog.h"
#include "taskthread.h"
#include "uibusstatus.h"
#include "uicanobjlistmodel.h"
#include "uicanobjlistwidget.h"
#include "uidevpageusb.h"
#include "uifiledialog.h"
#include "uimdichildcangen.h"
#include "uimdichildtools.h"
#include "uimessage.h"
#include "uiopendevice.h"
#include "uitabsend.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "ulnamemapping.h"
#include "vcisim.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <atomic>

namespace {

QAction *action(const Merovast &window, const char *name)
{
    return window.findChild<QAction *>(QLatin1String(name));
}

QString label(const Merovast &window, const char *name)
{
    return window.findChild<QLabel *>(QLatin1String(name))->text();
}

void inject(uint32_t channel, uint32_t id, int n)
{
    const DevCan &device = DevCan::instance();
    for (int i = 0; i < n; ++i) {
        VCI_CAN_OBJ f{};
        f.ID = id;
        f.DataLen = 1;
        f.Data[0] = uint8_t(i);
        QCOMPARE(VCISIM_InjectFrames(device.getDevType(), device.getDevIndex(), channel, &f, 1), 1u);
    }
}

} // namespace

class tst_MerovastChannels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void tabsFollowTheBus();
    void startStopClear();
    void displayMenusAfterReopening();
    void closeRefusals_data();
    void closeRefusals();
    void closingStopsEveryThread_data();
    void closingStopsEveryThread();
    void nameMapGoesWithTheWindow();

private:
    void openDevice(Merovast &window);

    QTemporaryDir programFolder;
    QList<UiMessage::Box> boxes;
    QString answer;
};

void tst_MerovastChannels::init()
{
    resetProgram(programFolder);
    for (int ch = 0; ch < UlGlobalSet::Channels; ++ch) {
        UlGlobalSet::instance().channel[ch].sending = false;
        UlGlobalSet::instance().channel[ch].counters = UlRunCounters();
        UlGlobalSet::instance().channel[ch].timeDisplay = 2;
    }
    boxes.clear();
    UiMessage::setHandler([this](const UiMessage::Box &box) {
        boxes << box;
        return QMessageBox::Ok;
    });
    UiFileDialog::setHandler([this](const UiFileDialog::Request &) { return answer; });
}

void tst_MerovastChannels::cleanup()
{
    for (int ch = 0; ch < UlGlobalSet::Channels; ++ch)
        UlGlobalSet::instance().channel[ch].sending = false;
    UiMessage::setHandler({});
    UiFileDialog::setHandler({});
    UiDevPageUsb::setConfigFolders(QString(), QString());
    DevCan::instance().closeDevice();
}

// DRAVIN-1200 board 1, two channels, through the open-device dialog; the
// program speaks English.
void tst_MerovastChannels::openDevice(Merovast &window)
{
    chooseEnglish(window);
    openDravin1200(window);
    QVERIFY(DevCan::instance().isOpen());
}

void tst_MerovastChannels::tabsFollowTheBus()
{
    Merovast window;
    window.show();
    openDevice(window);
    auto *area = window.findChild<QMdiArea *>();
    const QList<UiMdiChildCanGen *> windows = channelWindows(window);
    QCOMPARE(windows.size(), 2);
    QCOMPARE(windows[0]->channel(), 0);
    QCOMPARE(windows[1]->channel(), 1);
    QCOMPARE(area->viewMode(), QMdiArea::TabbedView);
    QCOMPARE(area->activeSubWindow()->widget(), windows[0]);
    QVERIFY(windows[1]->windowTitle().endsWith(QLatin1String(" Device:1 Channel 1")));

    inject(1, 0x111, 3);
    inject(0, 0x100, 2);
    UiCanObjListModel *list1 = windows[1]->frameList()->listModel();
    QTRY_COMPARE(list1->rowCount(), 3);
    QTRY_COMPARE(windows[0]->frameList()->listModel()->rowCount(), 2);
    QCOMPARE(list1->data(list1->index(0, UiCanObjListModel::IdColumn)).toString().trimmed(),
             QStringLiteral("0x00000111"));

    // The status bar shows the active channel's counters.
    QTRY_COMPARE(label(window, "recvFramesValue"), QStringLiteral("2"));
    area->setActiveSubWindow(area->subWindowList().at(1));
    QTRY_COMPARE(label(window, "recvFramesValue"), QStringLiteral("3"));
    // Its Clear zeroes that channel's counters only.
    window.findChild<QToolButton *>(QStringLiteral("statusBarBtnClear"))->click();
    QCOMPARE(UlGlobalSet::instance().channel[1].counters.received.load(), int64_t(0));
    QCOMPARE(UlGlobalSet::instance().channel[0].counters.received.load(), int64_t(2));
    inject(1, 0x112, 1);
    QTRY_COMPARE(label(window, "recvFramesValue"), QStringLiteral("1"));
}

void tst_MerovastChannels::startStopClear()
{
    Merovast window;
    window.show();
    openDevice(window);
    UiMdiChildCanGen *channel1 = channelWindows(window).at(1);
    UiCanObjListModel *list = channel1->frameList()->listModel();

    channel1->toolBar()->stopAction()->trigger();
    const DevCan &device = DevCan::instance();
    VCI_CAN_OBJ f{};
    f.ID = 0x5;
    QCOMPARE(VCISIM_InjectFrames(device.getDevType(), device.getDevIndex(), 1, &f, 1), 0u);

    channel1->toolBar()->startAction()->trigger();
    inject(1, 0x6, 4);
    QTRY_COMPARE(list->rowCount(), 4);

    channel1->findChild<QAction *>(QStringLiteral("clearAct"))->trigger();
    QCOMPARE(list->rowCount(), 0);
    QCOMPARE(UlBuffer::instance(1).count(), 0);
    inject(1, 0x7, 1);
    QTRY_COMPARE(list->rowCount(), 1);
}

// The list keeps a channel's time display across closing and opening the
// device; so does the new window's menu.
void tst_MerovastChannels::displayMenusAfterReopening()
{
    Merovast window;
    window.show();
    openDevice(window);
    channelWindows(window).at(0)->findChild<QAction *>(QStringLiteral("hexTimeAct"))->trigger();
    action(window, "closeAct")->trigger();
    QTRY_VERIFY(channelWindows(window).isEmpty());
    openDravin1200(window);
    const QList<UiMdiChildCanGen *> windows = channelWindows(window);
    QCOMPARE(windows.size(), 2);
    QCOMPARE(UlGlobalSet::instance().channel[0].timeDisplay.load(), 3);
    const auto marked = [](const UiMdiChildCanGen *channel, const char *name) {
        return channel->findChild<QAction *>(QLatin1String(name))->isChecked();
    };
    QVERIFY(marked(windows[0], "hexTimeAct"));
    QVERIFY(!marked(windows[0], "clockTimeAct"));
    QVERIFY(marked(windows[1], "clockTimeAct"));
}

void tst_MerovastChannels::closeRefusals_data()
{
    QTest::addColumn<QStringList>("open");
    QTest::addColumn<bool>("program");  // else the device
    QTest::addColumn<QString>("text");
    QTest::newRow("device: bus status") << QStringList{"bus status"} << false
                                        << "Please close the bus state dialog box first";
    QTest::newRow("device: DBC window") << QStringList{"dbc"} << false << "Please close the DBC dialog box first";
    QTest::newRow("device: charging window") << QStringList{"charging"} << false
                                             << "Please close the charging pile dialog box first";
    QTest::newRow("device: sending") << QStringList{"sending"} << false << "Please stop sending data first";
    QTest::newRow("device: replay window is not asked")
        << QStringList{"replay", "bus status"} << false << "Please close the bus state dialog box first";
    QTest::newRow("program: replay window first")
        << QStringList{"bus status", "replay"} << true << "Please close the DBC replay dialog box first";
    QTest::newRow("program: windows before sending")
        << QStringList{"sending", "charging"} << true << "Please close the charging pile dialog box first";
    QTest::newRow("program: sending") << QStringList{"sending"} << true << "Please stop sending data first";
}

void tst_MerovastChannels::closeRefusals()
{
    QFETCH(QStringList, open);
    QFETCH(bool, program);
    QFETCH(QString, text);
    Merovast window;
    window.show();
    openDevice(window);
    UiMdiChildCanGen *channel1 = channelWindows(window).at(1);
    std::unique_ptr<UiBusStatus> busStatus;
    for (const QString &what : open) {
        if (what == QLatin1String("bus status"))
            busStatus = std::make_unique<UiBusStatus>(2, QString());
        else if (what == QLatin1String("dbc"))
            channel1->onShowDBC();
        else if (what == QLatin1String("charging"))
            channel1->onShowGBT27930();
        else if (what == QLatin1String("sending"))
            channel1->sendTab()->UpdateUI(true);
        else if (what == QLatin1String("replay"))
            action(window, "dbcReplayAct")->trigger();
    }

    if (program)
        QVERIFY(!window.close());
    else
        action(window, "closeAct")->trigger();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, QStringLiteral("Hint"));
    QCOMPARE(boxes.first().text, text);
    QCOMPARE(boxes.first().parent, &window);
    QVERIFY(DevCan::instance().isOpen());
    QCOMPARE(channelWindows(window).size(), 2);
    QVERIFY(channel1->receiveThread()->isRunning());
    QVERIFY(window.isVisible());
}

void tst_MerovastChannels::closingStopsEveryThread_data()
{
    QTest::addColumn<bool>("program");
    QTest::newRow("close device") << false;
    QTest::newRow("close program") << true;
}

void tst_MerovastChannels::closingStopsEveryThread()
{
    QFETCH(bool, program);
    QTemporaryDir dir;
    Merovast window;
    window.show();
    openDevice(window);
    const QList<UiMdiChildCanGen *> windows = channelWindows(window);
    answer = dir.filePath(QStringLiteral("live.csv"));
    windows[1]->onStartRtSave();
    inject(1, 0x42, 3);

    // Each thread records whether the device was still open when it ended.
    auto endedWithDeviceOpen = std::make_shared<std::atomic<int>>(0);
    auto ended = std::make_shared<std::atomic<int>>(0);
    QList<QThread *> threads;
    for (UiMdiChildCanGen *child : windows)
        threads << child->receiveThread() << child->realTimeSaveThread() << child->sendTab()->sendTaskThread();
    int running = 0;
    for (QThread *thread : threads) {
        if (!thread->isRunning())
            continue;
        ++running;
        connect(thread, &QThread::finished, thread, [ended, endedWithDeviceOpen] {
            ++*ended;
            if (DevCan::instance().isOpen())
                ++*endedWithDeviceOpen;
        }, Qt::DirectConnection);
    }
    QCOMPARE(running, 3);  // two receive threads and the recording
    QTRY_COMPARE(windows[1]->realTimeSaveThread()->rowsWritten(), qint64(3));

    if (program)
        QVERIFY(window.close());
    else
        action(window, "closeAct")->trigger();
    QVERIFY(boxes.isEmpty());
    QCOMPARE(ended->load(), running);
    QCOMPARE(endedWithDeviceOpen->load(), running);
    QVERIFY(!DevCan::instance().isOpen());
    QVERIFY(channelWindows(window).isEmpty());
    QVERIFY(!UlGlobalSet::instance().channel[1].realTimeSave);
    QFile file(answer);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count('\n'), 1 + 3);
    if (!program) {
        QVERIFY(action(window, "openAct")->isEnabled());
        QVERIFY(!action(window, "closeAct")->isEnabled());
        // And the device opens again.
        openDevice(window);
        QCOMPARE(channelWindows(window).size(), 2);
    }
}

void tst_MerovastChannels::nameMapGoesWithTheWindow()
{
    {
        Merovast window;
        UlNameMapping::getSingleton()->add(0x123, QStringLiteral("Engine"));
    }
    QCOMPARE(UlNameMapping::getSingleton()->size(), 0);
}

MEROVAST_GUI_TEST_MAIN(tst_MerovastChannels)
#include "tst_merovastchannels.moc"
