// The main window's tool and help commands: the dialogs they open, the
// bus-status and DBC replay windows one at a time, the buffer setting
// reaching the channel windows' lists, and watch mode.
#include "apphelpers.h"
#include "canwritethread.h"
#include "dbcwidget.h"
#include "devcan.h"
#include "guitest.h"
#include "merovast.h"
#include "modaldialog.h"
#include "uibuffersetting.h"
#include "uibusstatus.h"
#include "uicanobjlistmodel.h"
#include "uicanobjlistwidget.h"
#include "uidevpageusb.h"
#include "uimdichildcangen.h"
#include "uimessage.h"
#include "uiopendevice.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "vcisim.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QList<DBCWidget *> dbcWindows()
{
    QList<DBCWidget *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *dbc = qobject_cast<DBCWidget *>(widget))
            windows << dbc;
    }
    return windows;
}

QList<UiBusStatus *> busStatusWindows()
{
    QList<UiBusStatus *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *status = qobject_cast<UiBusStatus *>(widget))
            windows << status;
    }
    return windows;
}

void processDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs the buffer dialog from the main window with these values.
void setBuffer(Merovast &window, int size, int cycle)
{
    onNextModal<UiBufferSetting>([=](UiBufferSetting *d) {
        d->findChild<QSpinBox *>(QStringLiteral("spinBoxBufferSize"))->setValue(size);
        d->findChild<QSpinBox *>(QStringLiteral("spinBoxRefreshCycle"))->setValue(cycle);
        d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    window.findChild<QAction *>(QStringLiteral("bufferAct"))->trigger();
}

} // namespace

class tst_MerovastTools : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void dialogs_data();
    void dialogs();
    void deviceInformation();
    void dbcReplayOnceAtATime();
    void watchTwice();
    void busStatusTitle_data();
    void busStatusTitle();
    void busStatusOnceAtATime();
    void bufferRestartsListTimers();
    void watchClearsChannelWindows();

private:
    // A two-channel board through the open-device dialog: two channel windows.
    void openChannels(Merovast &window);

    QTemporaryDir programFolder;
    static QAction *action(const Merovast &window, const QString &name)
    {
        return window.findChild<QAction *>(name);
    }
    static void openDevice(uint32_t type, uint32_t index)
    {
        QCOMPARE(DevCan::instance().openDevice(type, index, 0), 1u);
    }
};

void tst_MerovastTools::openChannels(Merovast &window)
{
    openDravin1200(window);
    QVERIFY(DevCan::instance().isOpen());
    QCOMPARE(channelWindows(window).size(), 2);
}

void tst_MerovastTools::init()
{
    resetProgram(programFolder);
    for (int ch = 0; ch < UlBuffer::Channels; ++ch) {
        UlBuffer::instance(ch).setMaxCount(UlBuffer::DefaultMaxCount);
        UlBuffer::instance(ch).setRefreshCycle(UlBuffer::DefaultRefreshCycle);
    }
    UlGlobalSet::instance().watch = false;
    for (int ch = 0; ch < UlBuffer::Channels; ++ch)
        UlBuffer::instance(ch).reset();
    UiMessage::setHandler([](const UiMessage::Box &) { return QMessageBox::Ok; });
}

void tst_MerovastTools::cleanup()
{
    for (UiBusStatus *window : busStatusWindows())
        window->close();
    processDeferredDeletes();
    UiMessage::setHandler({});
    UiDevPageUsb::setConfigFolders(QString(), QString());
    DevCan::instance().closeDevice();
}

void tst_MerovastTools::dialogs_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("About") << "aboutAct" << "UiAboutDlg";
    QTest::newRow("Device Information") << "deviceInfoAct" << "UiDeviceInfoDlg";
    QTest::newRow("Buffer") << "bufferAct" << "UiBufferSetting";
    QTest::newRow("Buffer Setting") << "bufferSettingAct" << "UiBufferSetting";
    // Hidden in the menu, yet the dialog behind it works.
    QTest::newRow("Update Firmware") << "updateFirmwareAct" << "UiFirmwareProgressDlg";
}

// Each command runs its dialog modal over the main window; the firmware
// dialog leaves no transmit thread behind.
void tst_MerovastTools::dialogs()
{
    QFETCH(QString, command);
    QFETCH(QString, dialog);
    openDevice(VCI_KELMO_USB2, 0);
    Merovast window;
    QVERIFY(!action(window, QStringLiteral("updateFirmwareAct"))->isVisible());
    QString shown;
    onNextModal<QDialog>([&](QDialog *d) {
        shown = QString::fromLatin1(d->metaObject()->className());
        QCOMPARE(d->parentWidget(), &window);
        QVERIFY(d->isModal());
        d->close();
    });
    action(window, command)->trigger();
    QCOMPARE(shown, dialog);
    QVERIFY(window.findChildren<QDialog *>().isEmpty());
    QVERIFY(window.findChildren<CanWriteThread *>().isEmpty());
}

void tst_MerovastTools::deviceInformation()
{
    openDevice(VCI_KELMO_USB2, 2);
    Merovast window;
    QString text;
    onNextModal<QDialog>([&](QDialog *d) {
        text = d->findChild<QLabel *>(QStringLiteral("m_pLabelDevInfo"))->text();
        d->accept();
    });
    action(window, QStringLiteral("deviceInfoAct"))->trigger();
    // The window runs in Chinese.
    QVERIFY2(text.contains(QStringLiteral("序列号：SIM-T4-I2")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("CAN 通道数：2")), qPrintable(text));
}

void tst_MerovastTools::dbcReplayOnceAtATime()
{
    auto window = std::make_unique<Merovast>();
    QAction *replay = action(*window, QStringLiteral("dbcReplayAct"));
    replay->trigger();
    QCOMPARE(dbcWindows().size(), 1);
    DBCWidget *first = dbcWindows().first();
    QCOMPARE(first->replayMode(), int(DBCWidget::ReplayMode));
    QCOMPARE(first->channel(), 0);
    QVERIFY(first->isVisible());
    QVERIFY(!first->parentWidget());
    replay->trigger();
    QCOMPARE(dbcWindows().size(), 1);

    first->close();
    processDeferredDeletes();
    QVERIFY(dbcWindows().isEmpty());
    replay->trigger();
    QCOMPARE(dbcWindows().size(), 1);
    // The replay window holds the main window's flag: it goes with it.
    window.reset();
    QVERIFY(dbcWindows().isEmpty());
}

// Watch on keeps the watch lists; watch off empties all four.
void tst_MerovastTools::watchTwice()
{
    for (int ch = 0; ch < UlBuffer::Channels; ++ch) {
        UlCanObj frame;
        frame.obj.ID = 0x300 + uint32_t(ch);
        UlBuffer::instance(ch).addWatchFrame(frame);
    }
    Merovast window;
    QAction *watch = action(window, QStringLiteral("watchAct"));
    watch->trigger();
    QVERIFY(UlGlobalSet::instance().isWatch());
    QVERIFY(watch->isChecked());
    for (int ch = 0; ch < UlBuffer::Channels; ++ch)
        QCOMPARE(UlBuffer::instance(ch).countW(), 1);
    watch->trigger();
    QVERIFY(!UlGlobalSet::instance().isWatch());
    QVERIFY(!watch->isChecked());
    for (int ch = 0; ch < UlBuffer::Channels; ++ch)
        QCOMPARE(UlBuffer::instance(ch).countW(), 0);
}

void tst_MerovastTools::busStatusTitle_data()
{
    QTest::addColumn<uint>("type");
    QTest::addColumn<uint>("index");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("title");
    QTest::newRow("KELMO") << uint(VCI_KELMO_USB2) << 0u << true << "BusStatus - KELMO Device 0";
    QTest::newRow("DRAVIN") << uint(VCI_DRAVIN_PCI4) << 3u << true << "BusStatus - DRAVIN Device 3";
    QTest::newRow("DRAVEX") << uint(VCI_DRAVEX_PCIE1) << 7u << true << "BusStatus - DRAVEX Device 7";
    QTest::newRow("in Chinese") << uint(VCI_KELMO_USB1) << 2u << false << "总线状态 - KELMO 设备 2";
}

void tst_MerovastTools::busStatusTitle()
{
    QFETCH(uint, type);
    QFETCH(uint, index);
    QFETCH(bool, english);
    QFETCH(QString, title);
    openDevice(type, index);
    Merovast window;
    if (english)
        chooseEnglish(window);
    action(window, QStringLiteral("busStatusAct"))->trigger();
    const QList<UiBusStatus *> windows = busStatusWindows();
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows[0]->windowTitle(), title);
    QCOMPARE(windows[0]->channelCount(), int(vciChannelCount(type)));
}

// One bus-status window at a time, top-level and modeless; closing it
// allows a new one.
void tst_MerovastTools::busStatusOnceAtATime()
{
    openDevice(VCI_DRAVIN_PCI4, 0);
    Merovast window;
    QAction *busStatus = action(window, QStringLiteral("busStatusAct"));
    busStatus->trigger();
    busStatus->trigger();
    QList<UiBusStatus *> windows = busStatusWindows();
    QCOMPARE(windows.size(), 1);
    QVERIFY(UiBusStatus::isShowing);
    QVERIFY(windows[0]->isVisible());
    QVERIFY(!windows[0]->isModal());
    QVERIFY(!windows[0]->parentWidget());
    windows[0]->close();
    processDeferredDeletes();
    QVERIFY(busStatusWindows().isEmpty());
    QVERIFY(!UiBusStatus::isShowing);
    busStatus->trigger();
    QCOMPARE(busStatusWindows().size(), 1);
}

// Ok in the buffer dialog restarts every channel window's list timer with
// the new cycle: at 100 s a new frame stays off the list; at 20 ms it shows.
void tst_MerovastTools::bufferRestartsListTimers()
{
    Merovast window;
    openChannels(window);
    setBuffer(window, UlBuffer::DefaultMaxCount, 100000);
    VCI_CAN_OBJ frame{};
    frame.ID = 0x123;
    frame.DataLen = 1;
    for (int ch = 0; ch < 2; ++ch)
        QCOMPARE(UlBuffer::instance(ch).addFrame(&frame, 1, false), 1);
    QTest::qWait(400); // four ticks of the lists' first cycle
    for (UiMdiChildCanGen *child : channelWindows(window))
        QCOMPARE(child->frameList()->listModel()->rowCount(), 0);

    setBuffer(window, UlBuffer::DefaultMaxCount, 20);
    for (UiMdiChildCanGen *child : channelWindows(window))
        QTRY_COMPARE(child->frameList()->listModel()->rowCount(), 1);
    action(window, QStringLiteral("closeAct"))->trigger();
}

// Every press clears every channel window, which empties its list.
void tst_MerovastTools::watchClearsChannelWindows()
{
    Merovast window;
    openChannels(window);
    QList<QSharedPointer<QSignalSpy>> clears;
    for (UiMdiChildCanGen *child : channelWindows(window))
        clears << QSharedPointer<QSignalSpy>::create(child, &UiMdiChildCanGen::clearSignal);
    VCI_CAN_OBJ frame{};
    frame.ID = 0x55;
    for (int press = 1; press <= 2; ++press) {
        for (int ch = 0; ch < 2; ++ch)
            QCOMPARE(UlBuffer::instance(ch).addFrame(&frame, 1, false), 1);
        action(window, QStringLiteral("watchAct"))->trigger();
        QCOMPARE(UlGlobalSet::instance().isWatch(), press == 1);
        for (int ch = 0; ch < 2; ++ch) {
            QCOMPARE(clears[ch]->count(), press);
            QCOMPARE(UlBuffer::instance(ch).count(), 0);
        }
    }
    action(window, QStringLiteral("closeAct"))->trigger();
}

MEROVAST_GUI_TEST_MAIN(tst_MerovastTools)
#include "tst_merovasttools.moc"
