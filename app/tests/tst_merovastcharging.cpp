// The charging window in the whole program against the simulated device
// library: a scripted charger/BMS conversation on the bus fills the
// handshake and parameter pages, and closing the window while frames keep
// arriving stops its poll thread at once and the channel's hand-off with it.
#include "apphelpers.h"
#include "batterywidget.h"
#include "busstatusledwidget.h"
#include "devcan.h"
#include "gbt27930.h"
#include "gbt27931widget.h"
#include "gbtframes.h"
#include "guitest.h"
#include "merovast.h"
#include "uimdichildcangen.h"
#include "uimessage.h"
#include "ulbuffer.h"
#include "vcisim.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace GbtFrames;

namespace {

void inject(const QVector<VCI_CAN_OBJ> &frames)
{
    const DevCan &device = DevCan::instance();
    QCOMPARE(VCISIM_InjectFrames(device.getDevType(), device.getDevIndex(), 0, frames.constData(),
                                 uint32_t(frames.size())),
             uint32_t(frames.size()));
}

// Handshake, recognition and parameter exchange up to both ready messages.
QVector<VCI_CAN_OBJ> conversation()
{
    const QByteArray brm = QByteArray::fromHex("010100" "03" "e803" "5a0f" "43415442" "39300000" "220514" "102700"
                                               "01" "ff" "4c5a5941544a4b4c303132333435363738" "030f06e307" "ffffff");
    QVector<VCI_CAN_OBJ> frames;
    frames << single(Gbt::CHM, QByteArray::fromHex("010100"), Charger, Bms)
           << single(Gbt::BHM, QByteArray::fromHex("a00f"), Bms, Charger)
           << single(Gbt::CRM, QByteArray::fromHex("0001020304") + "021", Charger, Bms);
    frames << transfer(Gbt::BRM, brm, Bms, Charger);
    frames << single(Gbt::CRM, QByteArray::fromHex("aa01020304") + "021", Charger, Bms);
    frames << transfer(Gbt::BCP, QByteArray::fromHex("5e01a00f5802a00f6ef401dd0e"), Bms, Charger);
    frames << single(Gbt::CTS, QByteArray::fromHex("30150801072019"), Charger, Bms)
           << single(Gbt::CML, QByteArray::fromHex("401f881328230000"), Charger, Bms)
           << single(Gbt::BRO, QByteArray::fromHex("aa"), Bms, Charger)
           << single(Gbt::CRO, QByteArray::fromHex("aa"), Charger, Bms);
    return frames;
}

} // namespace

class tst_MerovastCharging : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void scriptedConversation();
    void closingWhileFramesArrive();

private:
    // The charging window of channel 0, opened from its channel window.
    GBT27931Widget *openCharging(Merovast &window);

    QTemporaryDir programFolder;
};

void tst_MerovastCharging::init()
{
    resetProgram(programFolder);
    UiMessage::setHandler([](const UiMessage::Box &) { return QMessageBox::Ok; });
}

void tst_MerovastCharging::cleanup()
{
    UiMessage::setHandler({});
    UiDevPageUsb::setConfigFolder(QString());
    DevCan::instance().closeDevice();
}

GBT27931Widget *tst_MerovastCharging::openCharging(Merovast &window)
{
    chooseEnglish(window);
    openDravin1200(window);
    UiMdiChildCanGen *channel = channelWindows(window).value(0);
    if (!channel)
        return nullptr;
    channel->findChild<QAction *>(QStringLiteral("gbtAct"))->trigger();
    return channel->gbtWindow();
}

void tst_MerovastCharging::scriptedConversation()
{
    Merovast window;
    window.show();
    QPointer<GBT27931Widget> charging = openCharging(window);
    QVERIFY(charging);
    const auto text = [&](const char *name) { return charging->findChild<QLineEdit *>(QLatin1String(name))->text(); };
    const auto lamp = [&](const char *name) { return charging->findChild<BusStatusLEDWidget *>(QLatin1String(name))->state; };

    inject(conversation());
    QTRY_COMPARE(lamp("m_pWidgetChargepileStatus"), int(BusStatusLEDWidget::Green));
    QCOMPARE(text("m_pLineEditProtocolVer"), QStringLiteral("V1.1"));
    QCOMPARE(lamp("m_pWidgetBMSRecognize"), int(BusStatusLEDWidget::Green));
    QCOMPARE(text("m_pLineEditChargeNum"), QStringLiteral("67305985"));
    QCOMPARE(text("m_pLineEditAreaCode"), QStringLiteral("021"));
    QCOMPARE(text("m_pLineEditBatteryType"), QStringLiteral("Lithium iron phosphate battery"));
    QCOMPARE(text("m_pLineEditBatteryPD"), QStringLiteral("2019-5-20"));
    QCOMPARE(text("m_pLineEditVIN"), QStringLiteral("LZYATJKL012345678"));
    QCOMPARE(text("m_pLineEditVersion"), QStringLiteral("2019-6-15 3"));
    QCOMPARE(text("m_pLineEditMaxAllowVoltage"), QStringLiteral("3.5"));
    QCOMPARE(text("m_pLineEditCurrentVoltage"), QStringLiteral("380.5"));
    QCOMPARE(text("m_pLineEditTime"), QStringLiteral("2019-7-1 8:15:30"));
    QCOMPARE(text("m_pLineEditMaxOutputCurrent"), QStringLiteral("500"));
    QCOMPARE(lamp("m_pWidgetBMSStatus"), int(BusStatusLEDWidget::Green));
    QCOMPARE(charging->findChild<BatteryWidget *>()->value(), 50.0);
    charging->close();
    QTRY_VERIFY(charging.isNull());
}

void tst_MerovastCharging::closingWhileFramesArrive()
{
    Merovast window;
    window.show();
    QPointer<GBT27931Widget> charging = openCharging(window);
    QVERIFY(charging);
    UiMdiChildCanGen *channel = channelWindows(window).at(0);
    const DevCan &device = DevCan::instance();
    std::atomic<bool> sending{true};
    std::thread charger([&] {
        const VCI_CAN_OBJ chm = single(Gbt::CHM, QByteArray::fromHex("010100"), Charger, Bms);
        while (sending) {
            VCISIM_InjectFrames(device.getDevType(), device.getDevIndex(), 0, &chm, 1);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    QTRY_COMPARE(charging->findChild<QLineEdit *>(QStringLiteral("m_pLineEditProtocolVer"))->text(),
                 QStringLiteral("V1.1"));

    QElapsedTimer closing;
    closing.start();
    charging->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const qint64 elapsed = closing.elapsed();
    QVERIFY(charging.isNull());
    QVERIFY2(elapsed < 100, qPrintable(QString::number(elapsed)));
    QVERIFY(!channel->isGbtOpen());
    UlBuffer &buffer = UlBuffer::instance(0);
    QVERIFY(!buffer.GBT27930Run());
    QTest::qWait(150); // the receive thread keeps reading the bus
    sending = false;
    charger.join();
    QCOMPARE(buffer.countGBT27930(), 0);
    QVERIFY(buffer.count() > 0);
}

MEROVAST_GUI_TEST_MAIN(tst_MerovastCharging)
#include "tst_merovastcharging.moc"
