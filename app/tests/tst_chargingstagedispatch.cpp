// The charging window's dispatcher for the charging-stage, stop,
// statistics, error and battery messages: real byte sequences to the
// texts, lamps and tables of their pages, to the status line, the
// dashboards and the battery gauge; messages too short for their group
// change nothing.
#include "batterywidget.h"
#include "busstatusledwidget.h"
#include "digitaldashboardwidget.h"
#include "gbt27930.h"
#include "gbt27931widget.h"
#include "gbtframes.h"
#include "guitest.h"
#include "uilanguage.h"
#include "ulbuffer.h"

#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

using namespace GbtFrames;

namespace {

constexpr int Channel = 2;

enum Tab { ChargingTab = 2, EndTab, MinorTab, VoltageTab, TemperatureTab, ErrorTab };

constexpr int G = BusStatusLEDWidget::Green;
constexpr int R = BusStatusLEDWidget::Red;
constexpr int O = BusStatusLEDWidget::Off;

const char *const kErrorLamps[] = {
        "m_pWidgetChargeIdentificate00", "m_pWidgetChargeIdentificateaa", "m_pWidgetTimeSync",
        "m_pWidgetChargeIsReady",        "m_pWidgetChargeStatus",         "m_pWidgetChargeStop",
        "m_pWidgetChargeStatistics",     "m_pWidgetBMSCarId",             "m_pWidgetBMSCarId_2",
        "m_pWidgetBMSIsReady",           "m_pWidgetTotalState",           "m_pWidgetChargeRequire",
        "m_pWidgetBMSStopCharge",        "m_pWidgetBMSStatistics"};

const char *const kBatteryLamps[] = {"m_pWidgetVoltageStatus",     "m_pWidgetChargeStatusSOC",
                                     "m_pWidgetCurrentStatus",     "m_pWidgetTemperatureStatus",
                                     "m_pWidgetInsulationStatus",  "m_pWidgetOutputlinkerStatus",
                                     "m_pWidgetAllowCharge"};

} // namespace

class tst_ChargingStageDispatch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void messagesFillTheirPages_data();
    void messagesFillTheirPages();
    void stopLines();
    void timeoutReports();
    void batteryStatusLamps();
    void cellTablesFromTransfers();
    void statusLineAndBatteryAnimation();
    void bcsMovesTheGauges();
    void shortMessagesChangeNothing_data();
    void shortMessagesChangeNothing();

private:
    QWidget *page(int tab) const;
    QString text(int tab, const char *name) const;
    QString status() const;
    QList<int> lamps(int tab, const char *const *names, int count) const;
    // Every field, lamp and table cell of the six pages, the status line and
    // the gauges.
    QStringList shown() const;

    QPointer<GBT27931Widget> window;
    bool open = false;
};

void tst_ChargingStageDispatch::init()
{
    UiLanguage::setCode(UiLanguage::Other);
    window = new GBT27931Widget(Channel, &open);
}

void tst_ChargingStageDispatch::cleanup()
{
    delete window.data();
}

QWidget *tst_ChargingStageDispatch::page(int tab) const
{
    return window->findChild<QTabWidget *>(QStringLiteral("m_pTabWidget"))->widget(tab);
}

QString tst_ChargingStageDispatch::text(int tab, const char *name) const
{
    return page(tab)->findChild<QLineEdit *>(QLatin1String(name))->text();
}

QString tst_ChargingStageDispatch::status() const
{
    return window->findChild<QLineEdit *>(QStringLiteral("m_pLineEditSysOpeMode"))->text();
}

QList<int> tst_ChargingStageDispatch::lamps(int tab, const char *const *names, int count) const
{
    QList<int> states;
    for (int i = 0; i < count; ++i)
        states << page(tab)->findChild<BusStatusLEDWidget *>(QLatin1String(names[i]))->state;
    return states;
}

QStringList tst_ChargingStageDispatch::shown() const
{
    const auto *battery = window->findChild<BatteryWidget *>();
    QStringList values{status(), QString::number(battery->value()), QString::number(battery->isCharging())};
    for (const auto *gauge : window->findChildren<DigitalDashboardWidget *>())
        values << QString::number(gauge->currentValue());
    for (int tab = ChargingTab; tab <= ErrorTab; ++tab) {
        for (const QLineEdit *field : page(tab)->findChildren<QLineEdit *>())
            values << field->objectName() + QLatin1Char('=') + field->text();
        for (const BusStatusLEDWidget *lamp : page(tab)->findChildren<BusStatusLEDWidget *>())
            values << lamp->objectName() + QLatin1Char('=') + QString::number(lamp->state);
        for (const QTableWidget *table : page(tab)->findChildren<QTableWidget *>()) {
            for (int r = 0; r < table->rowCount(); ++r) {
                for (int c = 0; c < table->columnCount(); ++c)
                    values << table->item(r, c)->text();
            }
        }
    }
    return values;
}

void tst_ChargingStageDispatch::messagesFillTheirPages_data()
{
    QTest::addColumn<uint>("pgn");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("fields"); // object name, text, ...
    QTest::newRow("BCL 360 V, 0 A, mode 2")
            << uint(Gbt::BCL) << QByteArray::fromHex("100ea00f02") << int(ChargingTab)
            << QStringList{"m_pLineEditVoltageDemand", "360", "m_pLineEditCurrentDemand", "0",
                           "m_pLineEditChargeModel", "Constant current charge"};
    QTest::newRow("BCL mode 1, -10 A") << uint(Gbt::BCL) << QByteArray::fromHex("dd0e3c0f01") << int(ChargingTab)
                                       << QStringList{"m_pLineEditVoltageDemand", "380.5", "m_pLineEditCurrentDemand",
                                                      "-10", "m_pLineEditChargeModel", "Constant voltage charge"};
    QTest::newRow("BCS 3.3 V in group 1, 100 %")
            << uint(Gbt::BCS) << QByteArray::fromHex("dd0e3c0f4a11642c01") << int(ChargingTab)
            << QStringList{"m_pLineEditVoltageMeasure", "380.5", "m_pLineEditCurrentMeasure", "-10",
                           "m_pLineEditMaxVoltage", "3.3", "m_pLineEditNumber", "1", "m_pLineEditChargeStatus", "100",
                           "m_pLineEditRemainTime", "300"};
    QTest::newRow("CCS allowed") << uint(Gbt::CCS) << QByteArray::fromHex("9d0fa20f780001fe") << int(ChargingTab)
                                 << QStringList{"m_pLineEditVoloutput", "399.7", "m_pLineEditCuroutput", "0.2",
                                                "m_pLineEditTotalTime", "120", "m_pLineEditAllowCharge", "Allow"};
    QTest::newRow("CCS paused") << uint(Gbt::CCS) << QByteArray::fromHex("9d0fa20f780000ff") << int(ChargingTab)
                                << QStringList{"m_pLineEditAllowCharge", "Pause"};
    QTest::newRow("BSD 3.3 and 3.35 V") << uint(Gbt::BSD) << QByteArray::fromHex("5f4a014f010032") << int(EndTab)
                                        << QStringList{"m_pLineEditStaopChargeStatus", "95",
                                                       "m_pLineEditMinMonomerVoltage", "3.3",
                                                       "m_pLineEditMaxmonomerVoltage", "3.35",
                                                       "m_pLineEditMinTemperature", "-50",
                                                       "m_pLineEditMaxTemperature", "0"};
    QTest::newRow("CSD 123.4 kWh") << uint(Gbt::CSD) << QByteArray::fromHex("5a00d20401020304") << int(EndTab)
                                   << QStringList{"m_pLineEditChargeTime", "90", "m_pLineEditOutputEnergy", "123.4",
                                                  "m_pLineEditChargeSN", "67305985"};
    QTest::newRow("CSD largest charger number")
            << uint(Gbt::CSD) << QByteArray::fromHex("00000000ffffffff") << int(EndTab)
            << QStringList{"m_pLineEditChargeTime", "0", "m_pLineEditOutputEnergy", "0", "m_pLineEditChargeSN",
                           "4294967295"};
    QTest::newRow("BSM numbers from 1") << uint(Gbt::BSM) << QByteArray::fromHex("0b1e025a070000") << int(MinorTab)
                                        << QStringList{"m_pLineEditMaxVoltageSN", "12",
                                                       "m_pLineEditMaxMonomerTemperature", "-20",
                                                       "m_pLineEditMaxTemperatureSN", "3",
                                                       "m_pLineEditMinMonomerTemperature", "40",
                                                       "m_pLineEditMinTemperatureSN", "8"};
    QTest::newRow("BSM 150 degrees") << uint(Gbt::BSM) << QByteArray::fromHex("ffc8ff000000") + '\0'
                                     << int(MinorTab)
                                     << QStringList{"m_pLineEditMaxVoltageSN", "256", "m_pLineEditMaxMonomerTemperature",
                                                    "150", "m_pLineEditMaxTemperatureSN", "256"};
}

void tst_ChargingStageDispatch::messagesFillTheirPages()
{
    QFETCH(uint, pgn);
    QFETCH(QByteArray, data);
    QFETCH(int, tab);
    QFETCH(QStringList, fields);
    window->onProcessData(pgn, data);
    for (int i = 0; i < fields.size(); i += 2)
        QCOMPARE(text(tab, qPrintable(fields.at(i))), fields.at(i + 1));
}

void tst_ChargingStageDispatch::stopLines()
{
    const auto lines = [this](const char *reasons, const char *faults, const char *errors) {
        return QStringList{text(ChargingTab, reasons), text(ChargingTab, faults), text(ChargingTab, errors)};
    };
    const auto bms = [&] {
        return lines("m_pLineEditBMSStopReason", "m_pLineEditBMSStopFaultCause", "m_pLineEditBMSStopErrorCause");
    };
    const auto charger = [&] {
        return lines("m_pLineEditChargerStopReason", "m_pLineEditChargerStopFaultCause",
                     "m_pLineEditChargerStopErrorCause");
    };
    window->onProcessData(Gbt::BST, QByteArray::fromHex("00000000"));
    QCOMPARE(bms().at(0), QStringLiteral("The required SOC target value is not met;The total voltage set value is "
                                         "not reached;The set value of the unit voltage is not reached;The charger "
                                         "stopped normally"));
    QVERIFY(bms().at(1).startsWith(QLatin1String("Insulation is normal;Output connector temperature is normal;")));
    QVERIFY(bms().at(1).endsWith(QLatin1String(";Other normal")));
    QCOMPARE(bms().at(2), QStringLiteral("The current normal;The voltage is normal"));
    QCOMPARE(charger(), (QStringList{"", "", ""}));

    // The fault word is little-endian: bits 8-9 are in the second byte. The
    // fields that are set lead their lines.
    window->onProcessData(Gbt::BST, QByteArray::fromHex("c0200101"));
    QCOMPARE(bms().at(0).section(QLatin1Char(';'), 0, 0), QStringLiteral("Charger abort is not credible"));
    QCOMPARE(bms().at(1).section(QLatin1Char(';'), 0, 2),
             QStringLiteral("BMS original, output connector is not trusted;Battery temperature failure;"
                            "Insulation is normal"));
    QCOMPARE(bms().at(2), QStringLiteral("The current exceeds the demand value;The voltage is normal"));

    window->onProcessData(Gbt::CST, QByteArray::fromHex("00000000"));
    QCOMPARE(charger(), (QStringList{"normal", "normal", "normal"}));
    window->onProcessData(Gbt::CST, QByteArray::fromHex("0c0f0304"));
    QCOMPARE(charger(), (QStringList{"Artificial abort is not trusted",
                                     "The temperature of the charger is not reliable;Charger connector is not trusted"
                                     ";The sudden stop of the charger is not credible",
                                     "Abnormal voltage"}));
}

void tst_ChargingStageDispatch::timeoutReports()
{
    QCOMPARE(lamps(ErrorTab, kErrorLamps, 14), QVector<int>(14, O).toList());
    window->onProcessData(Gbt::BEM, QByteArray::fromHex("01040000"));
    QCOMPARE(lamps(ErrorTab, kErrorLamps, 14), (QList<int>{R, G, G, R, G, G, G, O, O, O, O, O, O, O}));
    QCOMPARE(status(), QStringLiteral("Charging failure"));
    // Codes 3 keep the lamps; bits outside the codes are not read.
    window->onProcessData(Gbt::CEM, QByteArray::fromHex("fd0e3bfc"));
    QCOMPARE(lamps(ErrorTab, kErrorLamps, 14), (QList<int>{R, G, G, R, G, G, G, R, O, O, O, O, O, G}));
    window->onProcessData(Gbt::BEM, QByteArray::fromHex("0f0e0a00ff"));
    QCOMPARE(lamps(ErrorTab, kErrorLamps, 14), (QList<int>{R, G, O, R, O, O, G, R, O, O, O, O, O, G}));
}

void tst_ChargingStageDispatch::batteryStatusLamps()
{
    // Charging forbidden: only the allowed lamp turns red.
    window->onProcessData(Gbt::BSM, QByteArray::fromHex("00000000000000"));
    QCOMPARE(lamps(MinorTab, kBatteryLamps, 7), (QList<int>{G, G, G, G, G, G, R}));
    window->onProcessData(Gbt::BSM, QByteArray::fromHex("00000000006415"));
    QCOMPARE(lamps(MinorTab, kBatteryLamps, 7), (QList<int>{G, R, O, R, R, R, G}));
    // 3 keeps each lamp; 2 keeps the allowed lamp as well.
    window->onProcessData(Gbt::BSM, QByteArray::fromHex("0000000000ff2f"));
    QCOMPARE(lamps(MinorTab, kBatteryLamps, 7), (QList<int>{G, R, O, R, R, R, G}));
}

void tst_ChargingStageDispatch::cellTablesFromTransfers()
{
    // Multi-packet messages through the queue, the poll thread and the reassembly.
    const QByteArray voltages = QByteArray::fromHex("4d11").repeated(4) + QByteArray::fromHex("4a114b114c");
    const QByteArray temperatures = QByteArray::fromHex("00325afa").repeated(3);
    const QVector<VCI_CAN_OBJ> frames =
            transfer(Gbt::BMV, voltages, Bms, Charger) + transfer(Gbt::BMT, temperatures, Bms, Charger);
    UlBuffer::instance(Channel).addGBT27930Frame(frames.constData(), frames.size());
    auto *cells = page(VoltageTab)->findChild<QTableWidget *>();
    auto *points = page(TemperatureTab)->findChild<QTableWidget *>();
    QTRY_COMPARE(points->rowCount(), 12);
    QCOMPARE(cells->rowCount(), 7);
    const auto row = [](const QTableWidget *table, int r) {
        return QStringList{table->item(r, 0)->text(), table->item(r, 1)->text(), table->item(r, 2)->text()};
    };
    QCOMPARE(row(cells, 0), (QStringList{"1", "1", "3.33"}));
    QCOMPARE(row(cells, 4), (QStringList{"5", "1", "3.3"}));
    QCOMPARE(row(cells, 5), (QStringList{"6", "1", "3.31"}));
    // The odd last byte is a cell of group 0.
    QCOMPARE(row(cells, 6), (QStringList{"7", "0", "0.76"}));
    QCOMPARE(row(points, 0), (QStringList{"1", "1", "-50"}));
    QCOMPARE(row(points, 11), (QStringList{"12", "12", "200"}));
}

void tst_ChargingStageDispatch::statusLineAndBatteryAnimation()
{
    auto *battery = window->findChild<BatteryWidget *>();
    QCOMPARE(status(), QString());
    window->onProcessData(Gbt::CCS, QByteArray::fromHex("9d0fa20f780001ff"));
    window->onProcessData(Gbt::BST, QByteArray::fromHex("00000000"));
    QCOMPARE(status(), QString());
    QVERIFY(!battery->isCharging());
    window->onProcessData(Gbt::BCS, QByteArray::fromHex("dd0e3c0f4a11642c01"));
    QCOMPARE(status(), QStringLiteral("Charging"));
    QVERIFY(!battery->isCharging());
    window->onProcessData(Gbt::BCL, QByteArray::fromHex("100ea00f02"));
    QVERIFY(battery->isCharging());
    window->onProcessData(Gbt::BSD, QByteArray::fromHex("5f4a014f010032"));
    QCOMPARE(status(), QStringLiteral("End of charging"));
    QVERIFY(!battery->isCharging());
    for (uint error : {uint(Gbt::BEM), uint(Gbt::CEM)}) {
        window->onProcessData(Gbt::BCL, QByteArray::fromHex("100ea00f02"));
        QCOMPARE(status(), QStringLiteral("Charging"));
        QVERIFY(battery->isCharging());
        window->onProcessData(error, QByteArray::fromHex("00000000"));
        QCOMPARE(status(), QStringLiteral("Charging failure"));
        QVERIFY(!battery->isCharging());
    }
}

void tst_ChargingStageDispatch::bcsMovesTheGauges()
{
    auto *voltage = window->findChild<DigitalDashboardWidget *>(QStringLiteral("m_pWidgetTotalVoltage"));
    auto *current = window->findChild<DigitalDashboardWidget *>(QStringLiteral("m_pWidgetTotalCurrent"));
    auto *battery = window->findChild<BatteryWidget *>();
    // 380.5 V, -10 A, 80 %
    window->onProcessData(Gbt::BCS, QByteArray::fromHex("dd0e3c0f4a11502c01"));
    QCOMPARE(voltage->currentValue(), 380.5);
    QCOMPARE(current->currentValue(), -10.0);
    QCOMPARE(battery->value(), 80.0);
    // 900 V and 1100 A are off the dashboards: the needles stay, the page
    // and the battery follow.
    window->onProcessData(Gbt::BCS, QByteArray::fromHex("2823983a4a11642c01"));
    QCOMPARE(voltage->currentValue(), 380.5);
    QCOMPARE(current->currentValue(), -10.0);
    QCOMPARE(battery->value(), 100.0);
    QCOMPARE(text(ChargingTab, "m_pLineEditVoltageMeasure"), QStringLiteral("900"));
    QCOMPARE(text(ChargingTab, "m_pLineEditCurrentMeasure"), QStringLiteral("1100"));
    QCOMPARE(status(), QStringLiteral("Charging"));
    // The range ends are on them.
    window->onProcessData(Gbt::BCS, QByteArray::fromHex("401f00004a11642c01"));
    QCOMPARE(voltage->currentValue(), 800.0);
    QCOMPARE(current->currentValue(), -400.0);
}

void tst_ChargingStageDispatch::shortMessagesChangeNothing_data()
{
    QTest::addColumn<uint>("pgn");
    QTest::addColumn<int>("size"); // one byte short of its group's length
    QTest::newRow("BCL") << uint(Gbt::BCL) << 4;
    QTest::newRow("BCS") << uint(Gbt::BCS) << 8;
    QTest::newRow("CCS") << uint(Gbt::CCS) << 6;
    QTest::newRow("BSM") << uint(Gbt::BSM) << 6;
    QTest::newRow("BST") << uint(Gbt::BST) << 3;
    QTest::newRow("CST") << uint(Gbt::CST) << 3;
    QTest::newRow("BSD") << uint(Gbt::BSD) << 6;
    QTest::newRow("CSD") << uint(Gbt::CSD) << 7;
    QTest::newRow("BEM") << uint(Gbt::BEM) << 3;
    QTest::newRow("CEM") << uint(Gbt::CEM) << 3;
    QTest::newRow("BMV empty") << uint(Gbt::BMV) << 0;
    QTest::newRow("BMT empty") << uint(Gbt::BMT) << 0;
}

void tst_ChargingStageDispatch::shortMessagesChangeNothing()
{
    QFETCH(uint, pgn);
    QFETCH(int, size);
    const QStringList before = shown();
    window->onProcessData(pgn, QByteArray(size, '\x55'));
    QCOMPARE(shown(), before);
}

MEROVAST_GUI_TEST_MAIN(tst_ChargingStageDispatch)
#include "tst_chargingstagedispatch.moc"
