// The charging window in the whole program against the simulated device
// library: a scripted charge between charger and BMS on the bus fills every
// page, the gauges and the status line; the end of a charge as a charging
// engineer reads it, in both languages; and closing the window while frames
// keep arriving stops its poll thread at once and the channel's hand-off
// with it.
#include "apphelpers.h"
#include "batterywidget.h"
#include "busstatusledwidget.h"
#include "digitaldashboardwidget.h"
#include "devcan.h"
#include "fieldtext.h"
#include "gbt27930.h"
#include "gbt27931widget.h"
#include "gbtframes.h"
#include "guitest.h"
#include "merovast.h"
#include "paintrecorder.h"
#include "uimdichildcangen.h"
#include "uimessage.h"
#include "ulbuffer.h"
#include "vcisim.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QLineEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace GbtFrames;

Q_DECLARE_METATYPE(QVector<VCI_CAN_OBJ>)

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

// The same handshake with a BRM that provides none of its optional fields.
QVector<VCI_CAN_OBJ> bareConversation()
{
    const QByteArray brm = QByteArray::fromHex("010100" "03" "e803" "5a0f") + QByteArray(41, '\xFF');
    QVector<VCI_CAN_OBJ> frames;
    frames << single(Gbt::CHM, QByteArray::fromHex("010100"), Charger, Bms)
           << single(Gbt::BHM, QByteArray::fromHex("a00f"), Bms, Charger)
           << single(Gbt::CRM, QByteArray::fromHex("aa01020304") + "021", Charger, Bms);
    frames << transfer(Gbt::BRM, brm, Bms, Charger);
    frames << transfer(Gbt::BCP, QByteArray::fromHex("5e01a00f5802a00f6ef401dd0e"), Bms, Charger);
    frames << single(Gbt::BRO, QByteArray::fromHex("aa"), Bms, Charger)
           << single(Gbt::CRO, QByteArray::fromHex("aa"), Charger, Bms);
    return frames;
}

// Constant voltage, 45 min left at 80 %; the hottest of nine points is
// point 5 at 40 degrees, the coolest point 8 at 20; cell voltage and state
// of charge too low; the BMS stops at its total-voltage set value, the
// charger on the BMS's stop.
QVector<VCI_CAN_OBJ> lowCharge()
{
    QVector<VCI_CAN_OBJ> frames;
    frames << single(Gbt::BCL, QByteArray::fromHex("a00fac0d01"), Bms, Charger);
    frames << transfer(Gbt::BCS, QByteArray::fromHex("dd0eae0d5911502d00"), Bms, Charger);
    frames << single(Gbt::CCS, QByteArray::fromHex("dc0ead0d1e0001ff"), Charger, Bms)
           << single(Gbt::BSM, QByteArray::fromHex("0b5a0446070a10"), Bms, Charger);
    frames << transfer(Gbt::BMT, QByteArray::fromHex("50515253" "5a" "545546" "56"), Bms, Charger);
    frames << single(Gbt::BST, QByteArray::fromHex("04000000"), Bms, Charger)
           << single(Gbt::CST, QByteArray::fromHex("40000000"), Charger, Bms);
    return frames;
}

void chooseLanguage(const Merovast &window, const char *catalogue)
{
    for (QAction *entry : window.findChild<QMenu *>(QStringLiteral("menuLanguage"))->actions()) {
        if (entry->data().toString().contains(QLatin1String(catalogue)))
            entry->trigger();
    }
    QCoreApplication::processEvents();
}

} // namespace

class tst_MerovastCharging : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void scriptedConversation();
    void endOfChargeInBothLanguages_data();
    void endOfChargeInBothLanguages();
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

void tst_MerovastCharging::endOfChargeInBothLanguages_data()
{
    QTest::addColumn<QVector<VCI_CAN_OBJ>>("ending");
    QTest::addColumn<QString>("status"); // in Chinese
    QTest::newRow("BSD") << QVector<VCI_CAN_OBJ>{single(Gbt::BSD, QByteArray::fromHex("5f57015a01465b"), Bms, Charger)}
                         << QStringLiteral("充电结束");
    QTest::newRow("BEM") << QVector<VCI_CAN_OBJ>{single(Gbt::BEM, QByteArray::fromHex("00000001"), Bms, Charger)}
                         << QStringLiteral("充电失败");
    QTest::newRow("CEM") << QVector<VCI_CAN_OBJ>{single(Gbt::CEM, QByteArray::fromHex("00000001"), Charger, Bms)}
                         << QStringLiteral("充电失败");
}

// English until the charge runs, Chinese from there to its end, English
// again: the pages show what the last messages said in the language in
// force, readable in their fields at the window's default size.
void tst_MerovastCharging::endOfChargeInBothLanguages()
{
    QFETCH(QVector<VCI_CAN_OBJ>, ending);
    QFETCH(QString, status);
    Merovast window;
    window.show();
    QPointer<GBT27931Widget> charging = openCharging(window);
    QVERIFY(charging);
    QVERIFY(QTest::qWaitForWindowExposed(charging));
    auto *tabs = charging->findChild<QTabWidget *>(QStringLiteral("m_pTabWidget"));
    const auto field = [&](int tab, const char *name) {
        return tabs->widget(tab)->findChild<QLineEdit *>(QLatin1String(name));
    };
    const auto text = [&](int tab, const char *name) { return field(tab, name)->text(); };
    const auto lamp = [&](const char *name) { return charging->findChild<BusStatusLEDWidget *>(QLatin1String(name))->state; };
    auto *battery = charging->findChild<BatteryWidget *>();

    inject(bareConversation());
    QTRY_COMPARE(lamp("m_pWidgetChargepileStatus"), int(BusStatusLEDWidget::Green));
    QCOMPARE(text(0, "m_pLineEditBatteryType"), QStringLiteral("Lithium iron phosphate battery"));
    for (const char *name : {"m_pLineEditManufacturer", "m_pLineEditBatterySN", "m_pLineEditBatteryPD",
                             "m_pLineEditBatteryCT", "m_pLineEditBatteryPR", "m_pLineEditVIN", "m_pLineEditVersion"})
        QVERIFY2(text(0, name).isEmpty(), qPrintable(QStringLiteral("%1: %2").arg(name, text(0, name))));

    inject(lowCharge());
    QTRY_COMPARE(text(2, "m_pLineEditChargerStopReason"), QStringLiteral("BMS suspension"));
    QVERIFY(battery->isCharging());
    QCOMPARE(charging->findChild<QLineEdit *>(QStringLiteral("m_pLineEditBMSClock"))->text(),
             QStringLiteral("00:45:00"));
    QCOMPARE(lamp("m_pWidgetVoltageStatus"), int(BusStatusLEDWidget::Red));
    QCOMPARE(lamp("m_pWidgetChargeStatusSOC"), int(BusStatusLEDWidget::Red));
    QCOMPARE(lamp("m_pWidgetCurrentStatus"), int(BusStatusLEDWidget::Green));
    // The hottest and coolest test points are the table's rows of those numbers.
    const auto *points = tabs->widget(6)->findChild<QTableWidget *>();
    QCOMPARE(text(4, "m_pLineEditMaxTemperatureSN"), QStringLiteral("5"));
    QCOMPARE(text(4, "m_pLineEditMinTemperatureSN"), QStringLiteral("8"));
    for (const char *point : {"m_pLineEditMaxTemperatureSN", "m_pLineEditMinTemperatureSN"}) {
        const int row = text(4, point).toInt() - 1;
        QCOMPARE(points->item(row, 1)->text(), text(4, point));
    }
    QCOMPARE(points->item(4, 2)->text(), text(4, "m_pLineEditMaxMonomerTemperature"));
    QCOMPARE(points->item(7, 2)->text(), text(4, "m_pLineEditMinMonomerTemperature"));

    chooseLanguage(window, "_zh");
    QCOMPARE(text(0, "m_pLineEditBatteryType"), QStringLiteral("磷酸铁锂电池"));
    QCOMPARE(text(0, "m_pLineEditBatteryPR"), QString());
    QCOMPARE(text(2, "m_pLineEditChargeModel"), QStringLiteral("恒压充电"));
    QCOMPARE(text(2, "m_pLineEditAllowCharge"), QStringLiteral("允许"));
    QCOMPARE(text(2, "m_pLineEditChargerStopReason"), QStringLiteral("BMS中止"));
    QVERIFY2(text(2, "m_pLineEditBMSStopReason").startsWith(QStringLiteral("达到总电压设定值;")),
             qPrintable(text(2, "m_pLineEditBMSStopReason")));
    QCOMPARE(charging->findChild<QLineEdit *>(QStringLiteral("m_pLineEditBMSClock"))->text(),
             QStringLiteral("00:45:00"));

    inject(ending);
    QTRY_VERIFY(!battery->isCharging());
    QCOMPARE(charging->findChild<QLineEdit *>(QStringLiteral("m_pLineEditSysOpeMode"))->text(), status);
    // The gauge draws its level again: 80 % of the inner 165 pixels, green.
    const QVector<PaintedShape> drawn = PaintRecorder::record(*battery);
    const auto bar = std::find_if(drawn.begin(), drawn.end(), [](const PaintedShape &shape) {
        return shape.kind == PaintedShape::Rect && shape.pen.style() == Qt::NoPen;
    });
    QVERIFY(bar != drawn.end());
    QCOMPARE(bar->rect.width(), 132.0);
    QCOMPARE(bar->color(), QColor(QStringLiteral("#41CD52")));
    QCOMPARE(textsOf(drawn), QStringList({"SOC", "80%"}));

    // The texts an engineer reads first show whole, in Chinese and back in English.
    tabs->setCurrentIndex(2);
    for (const char *catalogue : {"_zh", "_en"}) {
        chooseLanguage(window, catalogue);
        QTest::qWait(20);
        for (const char *name : {"m_pLineEditChargeModel", "m_pLineEditBMSStopReason", "m_pLineEditChargerStopReason"}) {
            QVERIFY2(firstPartShows(*field(2, name)), qPrintable(QStringLiteral("%1 %2").arg(catalogue, text(2, name))));
            // Not cut by the window either.
            QVERIFY2(field(2, name)->visibleRegion().boundingRect() == field(2, name)->rect(),
                     qPrintable(QStringLiteral("%1 %2").arg(catalogue, name)));
        }
    }
    QCOMPARE(text(2, "m_pLineEditChargeModel"), QStringLiteral("Constant voltage charge"));
    QVERIFY(text(2, "m_pLineEditBMSStopReason").startsWith(QLatin1String("Reach the total voltage set value;")));
    QCOMPARE(field(2, "m_pLineEditBMSStopReason")->toolTip(), text(2, "m_pLineEditBMSStopReason"));
    QCOMPARE(text(0, "m_pLineEditBatteryType"), QStringLiteral("Lithium iron phosphate battery"));
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
    // Stopped on every way out of the test, a failed check too.
    const auto stopCharger = qScopeGuard([&] {
        sending = false;
        charger.join();
    });
    QTRY_COMPARE(charging->findChild<QLineEdit *>(QStringLiteral("m_pLineEditProtocolVer"))->text(),
                 QStringLiteral("V1.1"));

    QElapsedTimer closing;
    closing.start();
    charging->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const qint64 elapsed = closing.elapsed();
    QVERIFY(charging.isNull());
    // A sanitizer build on a loaded machine (load 19 on 8 cores) took 123
    // ms; a close that waited for the poll thread to run out of frames
    // would not end while they arrive.
    QVERIFY2(elapsed < 500, qPrintable(QString::number(elapsed)));
    QVERIFY(!channel->isGbtOpen());
    UlBuffer &buffer = UlBuffer::instance(0);
    QVERIFY(!buffer.GBT27930Run());
    QTest::qWait(150); // the receive thread keeps reading the bus
    QCOMPARE(buffer.countGBT27930(), 0);
    QVERIFY(buffer.count() > 0);
}

MEROVAST_GUI_TEST_MAIN(tst_MerovastCharging)
#include "tst_merovastcharging.moc"
