// The main window's tool and help commands: the dialogs they open, the
// DBC replay window one at a time, and watch mode.
#include "canwritethread.h"
#include "dbcwidget.h"
#include "devcan.h"
#include "guitest.h"
#include "merovast.h"
#include "modaldialog.h"
#include "uimessage.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "vcisim.h"

#include <QAction>
#include <QLabel>
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

void processDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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

private:
    static QAction *action(const Merovast &window, const QString &name)
    {
        return window.findChild<QAction *>(name);
    }
    static void openDevice(uint32_t type, uint32_t index)
    {
        QCOMPARE(DevCan::instance().openDevice(type, index, 0), 1u);
    }
};

void tst_MerovastTools::init()
{
    VCISIM_ResetAll();
    DevCan::instance().closeDevice();
    UlGlobalSet::instance().watch = false;
    for (int ch = 0; ch < UlBuffer::Channels; ++ch)
        UlBuffer::instance(ch).reset();
    UiMessage::setHandler([](const UiMessage::Box &) { return QMessageBox::Ok; });
}

void tst_MerovastTools::cleanup()
{
    UiMessage::setHandler({});
    DevCan::instance().closeDevice();
    processDeferredDeletes();
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

MEROVAST_GUI_TEST_MAIN(tst_MerovastTools)
#include "tst_merovasttools.moc"
