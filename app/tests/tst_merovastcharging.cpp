// The charging window in the whole program against the simulated device
// library: a scripted charge between charger and BMS on the bus fills every
// page, the gauges and the status line, and closing the window while frames
// keep arriving stops its poll thread at once and the channel's hand-off
// with it.
#include "apphelpers.h"
#include "batterywidget.h"
#include "busstatusledwidget.h"
#include "digitaldashboardwidget.h"
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
#include <QTabWidget>
#include <QTableWidget>
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

// From the ready messages to the end: the charging stage with the battery's
// reports, both stop messages, both statistics and the BMS's time-out
// report on the charger's statistics.
QVector<VCI_CAN_OBJ> charge()
{
    QVector<VCI_CAN_OBJ> frames;
    frames << single(Gbt::BCL, QByteArray::fromHex("a00fac0d02"), Bms, Charger); // 400 V, -50 A
    frames << transfer(Gbt::BCS, QByteArray::fromHex("dd0eae0d5911502d00"), Bms, Charger);
    frames << single(Gbt::CCS, QByteArray::fromHex("dc0ead0d1e0001ff"), Charger, Bms)
           << single(Gbt::BSM, QByteArray::fromHex("0b5a0246070010"), Bms, Charger);
    frames << transfer(Gbt::BMV, QByteArray::fromHex("58115911571159115811"), Bms, Charger);
    frames << transfer(Gbt::BMT, QByteArray::fromHex("3c3d3e3f4041424344"), Bms, Charger);
    frames << single(Gbt::BST, QByteArray::fromHex("01000000"), Bms, Charger)
           << single(Gbt::CST, QByteArray::fromHex("40000000"), Charger, Bms)
           << single(Gbt::BSD, QByteArray::fromHex("5f57015a01465b"), Bms, Charger)
           << single(Gbt::CSD, QByteArray::fromHex("2d00000101020304"), Charger, Bms)
           << single(Gbt::BEM, QByteArray::fromHex("00000001"), Bms, Charger);
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
    UiDevPageUsb::setConfigFolders(QString(), QString());
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

    inject(charge());
    auto *tabs = charging->findChild<QTabWidget *>(QStringLiteral("m_pTabWidget"));
    // Pages share field names.
    const auto field = [&](int tab, const char *name) {
        return tabs->widget(tab)->findChild<QLineEdit *>(QLatin1String(name))->text();
    };
    QTRY_COMPARE(lamp("m_pWidgetChargeStatistics"), int(BusStatusLEDWidget::Red));
    const QStringList chargingPage{field(2, "m_pLineEditVoltageDemand"),  field(2, "m_pLineEditCurrentDemand"),
                                   field(2, "m_pLineEditChargeModel"),    field(2, "m_pLineEditVoltageMeasure"),
                                   field(2, "m_pLineEditCurrentMeasure"), field(2, "m_pLineEditMaxVoltage"),
                                   field(2, "m_pLineEditNumber"),         field(2, "m_pLineEditChargeStatus"),
                                   field(2, "m_pLineEditRemainTime"),     field(2, "m_pLineEditVoloutput"),
                                   field(2, "m_pLineEditCuroutput"),      field(2, "m_pLineEditTotalTime"),
                                   field(2, "m_pLineEditAllowCharge")};
    QCOMPARE(chargingPage, (QStringList{"400", "-50", "Constant current charge", "380.5", "-49.8", "3.45", "1", "80",
                                        "45", "380.4", "-49.9", "30", "Allow"}));
    QVERIFY(field(2, "m_pLineEditBMSStopReason").startsWith(QLatin1String("Achieve the required SOC target values;")));
    QCOMPARE(field(2, "m_pLineEditBMSStopErrorCause"), QStringLiteral("The current normal;The voltage is normal"));
    QCOMPARE(field(2, "m_pLineEditChargerStopReason"), QStringLiteral("BMS suspension"));
    QCOMPARE(field(2, "m_pLineEditChargerStopFaultCause"), QStringLiteral("normal"));
    const QStringList endPage{field(3, "m_pLineEditStaopChargeStatus"), field(3, "m_pLineEditMaxmonomerVoltage"),
                              field(3, "m_pLineEditMinMonomerVoltage"), field(3, "m_pLineEditMaxTemperature"),
                              field(3, "m_pLineEditMinTemperature"),    field(3, "m_pLineEditChargeTime"),
                              field(3, "m_pLineEditOutputEnergy"),      field(3, "m_pLineEditChargeSN")};
    QCOMPARE(endPage, (QStringList{"95", "3.46", "3.43", "41", "20", "45", "25.6", "67305985"}));
    const QStringList batteryPage{field(4, "m_pLineEditMaxVoltageSN"), field(4, "m_pLineEditMaxMonomerTemperature"),
                                  field(4, "m_pLineEditMaxTemperatureSN"),
                                  field(4, "m_pLineEditMinMonomerTemperature"),
                                  field(4, "m_pLineEditMinTemperatureSN")};
    QCOMPARE(batteryPage, (QStringList{"12", "40", "3", "20", "8"}));
    QCOMPARE(lamp("m_pWidgetAllowCharge"), int(BusStatusLEDWidget::Green));
    QCOMPARE(lamp("m_pWidgetInsulationStatus"), int(BusStatusLEDWidget::Green));
    const auto *cells = tabs->widget(5)->findChild<QTableWidget *>();
    QCOMPARE(cells->rowCount(), 5);
    QCOMPARE(cells->item(4, 2)->text(), QStringLiteral("3.44"));
    const auto *points = tabs->widget(6)->findChild<QTableWidget *>();
    QCOMPARE(points->rowCount(), 9);
    QCOMPARE(points->item(8, 2)->text(), QStringLiteral("18"));
    QCOMPARE(lamp("m_pWidgetChargeStop"), int(BusStatusLEDWidget::Green));
    QCOMPARE(lamp("m_pWidgetBMSStatistics"), int(BusStatusLEDWidget::Off));
    QCOMPARE(text("m_pLineEditSysOpeMode"), QStringLiteral("Charging failure"));
    QCOMPARE(charging->findChild<DigitalDashboardWidget *>(QStringLiteral("m_pWidgetTotalVoltage"))->currentValue(),
             380.5);
    QCOMPARE(charging->findChild<DigitalDashboardWidget *>(QStringLiteral("m_pWidgetTotalCurrent"))->currentValue(),
             -49.8);
    QCOMPARE(charging->findChild<BatteryWidget *>()->value(), 80.0);
    QVERIFY(!charging->findChild<BatteryWidget *>()->isCharging());
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
