// The charging page: number texts, the mode and permission texts, the
// three lines of BST and of CST, rows left alone by other messages, the
// labels in Chinese, texts that fit their fields in both languages, and
// decoded texts shown again in a new language.
#include "chargingwidget.h"
#include "chinesecatalogue.h"
#include "fieldtext.h"
#include "guitest.h"
#include "labelwidths.h"
#include "uilanguage.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(StopStatusRecord)

namespace {

// Every field in row order: 13 of BCL, BCS and CCS, then 6 of BST and CST.
const char *const kFields[] = {"m_pLineEditVoltageDemand",     "m_pLineEditCurrentDemand",
                               "m_pLineEditChargeModel",       "m_pLineEditVoltageMeasure",
                               "m_pLineEditCurrentMeasure",    "m_pLineEditMaxVoltage",
                               "m_pLineEditNumber",            "m_pLineEditChargeStatus",
                               "m_pLineEditRemainTime",        "m_pLineEditVoloutput",
                               "m_pLineEditCuroutput",         "m_pLineEditTotalTime",
                               "m_pLineEditAllowCharge",       "m_pLineEditBMSStopReason",
                               "m_pLineEditBMSStopFaultCause", "m_pLineEditBMSStopErrorCause",
                               "m_pLineEditChargerStopReason", "m_pLineEditChargerStopFaultCause",
                               "m_pLineEditChargerStopErrorCause"};
constexpr int kStateFields = 13;

QString text(const ChargingWidget &page, const char *field)
{
    return page.findChild<QLineEdit *>(QLatin1String(field))->text();
}

QStringList texts(const ChargingWidget &page, std::initializer_list<const char *> fields)
{
    QStringList shown;
    for (const char *field : fields)
        shown << text(page, field);
    return shown;
}

StopStatusRecord stop(quint8 reasons, quint16 faults, quint8 errors)
{
    StopStatusRecord record;
    record.reasons = reasons;
    record.faults = faults;
    record.errors = errors;
    return record;
}

const QString kBstReasonsNormal = QStringLiteral(
        "The required SOC target value is not met;The total voltage set value is not reached;"
        "The set value of the unit voltage is not reached;The charger stopped normally");
const QString kBstFaultsNormal = QStringLiteral(
        "Insulation is normal;Output connector temperature is normal;BMS original, output connector is normal;"
        "Charging connector is normal;Battery pack temperature is normal;High voltage relay normal;"
        "The voltage at monitoring point 2 is normal;Other normal");

} // namespace

class tst_ChargingWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { UiLanguage::setCode(UiLanguage::Other); }
    void formAndWidths();
    void bcl_data();
    void bcl();
    void bcs();
    void ccsPermission_data();
    void ccsPermission();
    void bstLines_data();
    void bstLines();
    void cstLines_data();
    void cstLines();
    void eachMessageKeepsToItsRows();
    void chineseLabels();
    void textsFitTheirFields_data();
    void textsFitTheirFields();
    void decodedTextsFollowTheLanguage();
};

void tst_ChargingWidget::formAndWidths()
{
    ChargingWidget page;
    for (int i = 0; i < int(std::size(kFields)); ++i) {
        auto *edit = page.findChild<QLineEdit *>(QLatin1String(kFields[i]));
        QVERIFY2(edit->isReadOnly() && edit->text().isEmpty(), kFields[i]);
        QCOMPARE(edit->minimumWidth(), edit->maximumWidth());
        // The mode field and the stop fields are as wide as their texts need.
        if (i == 2 || i >= kStateFields)
            QVERIFY2(edit->minimumWidth() >= (i < kStateFields ? 60 : 300), kFields[i]);
        else
            QCOMPARE(edit->minimumWidth(), 60);
        if (i > kStateFields)
            QCOMPARE(edit->minimumWidth(), page.findChild<QLineEdit *>(QLatin1String(kFields[kStateFields]))->minimumWidth());
    }
    QCOMPARE(fixedLabelWidth(page, 1, kStateFields), neededLabelWidth(page, 1, kStateFields, 132));
    QCOMPARE(fixedLabelWidth(page, kStateFields + 1, 19), neededLabelWidth(page, kStateFields + 1, 19, 310));
    QCOMPARE(page.findChild<QLabel *>(QStringLiteral("label_6"))->text(), QStringLiteral("Max voltage(V)："));
    QCOMPARE(page.findChild<QLabel *>(QStringLiteral("label_19"))->text(),
             QStringLiteral("Reason of the charger stop charging："));
}

void tst_ChargingWidget::bcl_data()
{
    QTest::addColumn<double>("voltage");
    QTest::addColumn<double>("current");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("mode 2") << 360.0 << 0.0 << 2 << QStringList{"360", "0", "Constant current charge"};
    QTest::newRow("mode 0") << 380.5 << -10.0 << 0 << QStringList{"380.5", "-10", "Constant current charge"};
    QTest::newRow("mode 1") << 0.1 << 12.34 << 1 << QStringList{"0.1", "12.34", "Constant voltage charge"};
    QTest::newRow("mode 257") << 6553.5 << -400.0 << 257 << QStringList{"6553.5", "-400", "Constant current charge"};
}

void tst_ChargingWidget::bcl()
{
    QFETCH(double, voltage);
    QFETCH(double, current);
    QFETCH(int, mode);
    QFETCH(QStringList, shown);
    ChargingWidget page;
    BclRecord record;
    record.voltageDemand = voltage;
    record.currentDemand = current;
    record.chargeMode = mode;
    page.updateBCL(record);
    QCOMPARE(texts(page, {"m_pLineEditVoltageDemand", "m_pLineEditCurrentDemand", "m_pLineEditChargeModel"}), shown);
}

void tst_ChargingWidget::bcs()
{
    ChargingWidget page;
    BcsRecord record;
    record.measuredVoltage = 400.0;
    record.measuredCurrent = -0.1;
    record.maxCellVoltage = 330 * 0.01;
    record.maxCellGroup = 15;
    record.stateOfCharge = 100;
    record.remainingTime = 600;
    page.updateBCS(record);
    QCOMPARE(texts(page, {"m_pLineEditVoltageMeasure", "m_pLineEditCurrentMeasure", "m_pLineEditMaxVoltage",
                          "m_pLineEditNumber", "m_pLineEditChargeStatus", "m_pLineEditRemainTime"}),
             (QStringList{"400", "-0.1", "3.3", "15", "100", "600"}));
    record.stateOfCharge = 50;
    page.updateBCS(record);
    QCOMPARE(text(page, "m_pLineEditChargeStatus"), QStringLiteral("50"));
    record.stateOfCharge = 0;
    record.remainingTime.reset(); // not valid
    page.updateBCS(record);
    QCOMPARE(text(page, "m_pLineEditChargeStatus"), QStringLiteral("0"));
    QCOMPARE(text(page, "m_pLineEditRemainTime"), QString());
}

void tst_ChargingWidget::ccsPermission_data()
{
    QTest::addColumn<int>("allowed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("1") << 1 << "Allow";
    QTest::newRow("0") << 0 << "Pause";
    QTest::newRow("2") << 2 << "Pause";
}

void tst_ChargingWidget::ccsPermission()
{
    QFETCH(int, allowed);
    QFETCH(QString, shown);
    ChargingWidget page;
    CcsRecord record;
    record.outputVoltage = 399.7;
    record.outputCurrent = 0.2;
    record.chargingTime = 120;
    record.chargingAllowed = quint8(allowed);
    page.updateCCS(record);
    QCOMPARE(texts(page, {"m_pLineEditVoloutput", "m_pLineEditCuroutput", "m_pLineEditTotalTime",
                          "m_pLineEditAllowCharge"}),
             (QStringList{"399.7", "0.2", "120", shown}));
}

void tst_ChargingWidget::bstLines_data()
{
    QTest::addColumn<StopStatusRecord>("record");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("all zero") << stop(0, 0, 0)
                              << QStringList{kBstReasonsNormal, kBstFaultsNormal,
                                             "The current normal;The voltage is normal"};
    QTest::newRow("error byte 1") << stop(0, 0, 0x01)
                                  << QStringList{kBstReasonsNormal, kBstFaultsNormal,
                                                 "The current exceeds the demand value;The voltage is normal"};
    // Fields that are set come first, each group in bit order.
    QTest::newRow("codes 1, 2, 3 before the normal fields")
            << stop(0xE4, 0xC0D8, 0x0E)
            << QStringList{"Reach the total voltage set value;The unit voltage set value is not trusted;"
                           "Charger abort is not credible;The required SOC target value is not met",
                           "Output connector temperature is not trusted;BMS original, output connector failure;"
                           "Charging connector is not trusted;Others are not credible;Insulation is normal;"
                           "Battery pack temperature is normal;High voltage relay normal;"
                           "The voltage at monitoring point 2 is normal",
                           "The current cannot be trusted.;Voltage untrustworthy"};
    const QStringList notCredible{
            "SoC target values are not trusted;The total voltage set value cannot be trusted;"
            "The unit voltage set value is not trusted;Charger abort is not credible",
            "Insulation unreliable;Output connector temperature is not trusted;"
            "BMS original, output connector is not trusted;Charging connector is not trusted;"
            "Battery pack temperature can not be trusted;High voltage relays can't be trusted;"
            "The voltage at monitoring point 2 cannot be trusted;Others are not credible",
            "The current cannot be trusted.;Voltage untrustworthy"};
    QTest::newRow("every code 2") << stop(0xAA, 0xAAAA, 0x0A) << notCredible;
    QTest::newRow("every code 3") << stop(0xFF, 0xFFFF, 0xFF) << notCredible;
    QTest::newRow("code 1 of the first and the connector fields")
            << stop(0x01, 0x0005, 0x04)
            << QStringList{"Achieve the required SOC target values;The total voltage set value is not reached;"
                           "The set value of the unit voltage is not reached;The charger stopped normally",
                           "insulation fault ;Output connector over-temperature;"
                           "BMS original, output connector is normal;Charging connector is normal;"
                           "Battery pack temperature is normal;High voltage relay normal;"
                           "The voltage at monitoring point 2 is normal;Other normal",
                           "Abnormal voltage;The current normal"};
}

void tst_ChargingWidget::bstLines()
{
    QFETCH(StopStatusRecord, record);
    QFETCH(QStringList, lines);
    ChargingWidget page;
    page.updateBST(record);
    QCOMPARE(texts(page, {"m_pLineEditBMSStopReason", "m_pLineEditBMSStopFaultCause", "m_pLineEditBMSStopErrorCause"}),
             lines);
    // Cut by the field, a line shows its beginning, and all of it as its tool tip.
    const auto *faults = page.findChild<QLineEdit *>(QStringLiteral("m_pLineEditBMSStopFaultCause"));
    QCOMPARE(faults->cursorPosition(), 0);
    QCOMPARE(faults->toolTip(), lines.at(1));
}

void tst_ChargingWidget::cstLines_data()
{
    QTest::addColumn<StopStatusRecord>("record");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("nothing set") << stop(0, 0, 0) << QStringList{"normal", "normal", "normal"};
    QTest::newRow("unused fault bits") << stop(0, 0xF000, 0xF0) << QStringList{"normal", "normal", "normal"};
    QTest::newRow("one field each")
            << stop(0x04, 0x0001, 0x04)
            << QStringList{"Artificial suspension", "The charger is overheated", "Abnormal voltage"};
    QTest::newRow("several fields, codes 2 and 3 alike")
            << stop(0x71, 0x060C, 0x05)
            << QStringList{"Stop when the set condition of the charger is reached;Failure abort is not trusted"
                           ";BMS suspension",
                           "Charger connector is not trusted;The sudden stop of the charger is not credible"
                           ";Other fault",
                           "Current mismatch;Abnormal voltage"};
    QTest::newRow("every fault field set")
            << stop(0xFF, 0x0FFF, 0x0F)
            << QStringList{"Reaching the set condition of the charger is not credible;Artificial abort is not trusted"
                           ";Failure abort is not trusted;The BMS abort is not trusted",
                           "The temperature of the charger is not reliable;Charger connector is not trusted"
                           ";The internal temperature of the charger cannot be trusted"
                           ";The amount of electricity required is not credible"
                           ";The sudden stop of the charger is not credible;Others are not credible",
                           "The current cannot be trusted;Voltage untrustworthy"};
}

void tst_ChargingWidget::cstLines()
{
    QFETCH(StopStatusRecord, record);
    QFETCH(QStringList, lines);
    ChargingWidget page;
    page.updateCST(record);
    QCOMPARE(texts(page, {"m_pLineEditChargerStopReason", "m_pLineEditChargerStopFaultCause",
                          "m_pLineEditChargerStopErrorCause"}),
             lines);
}

void tst_ChargingWidget::eachMessageKeepsToItsRows()
{
    ChargingWidget page;
    const auto filled = [&page] {
        QList<int> rows;
        for (int i = 0; i < int(std::size(kFields)); ++i) {
            if (!text(page, kFields[i]).isEmpty())
                rows << i + 1;
        }
        return rows;
    };
    page.updateCST(stop(0, 0, 0));
    QCOMPARE(filled(), (QList<int>{17, 18, 19}));
    page.updateCCS(CcsRecord());
    QCOMPARE(filled(), (QList<int>{10, 11, 12, 13, 17, 18, 19}));
    page.updateBST(stop(0, 0, 0));
    BcsRecord bcs;
    bcs.remainingTime = 0;
    page.updateBCS(bcs);
    QCOMPARE(filled(), (QList<int>{4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
    page.updateBCL(BclRecord());
    QCOMPARE(filled().size(), 19);
}

void tst_ChargingWidget::chineseLabels()
{
    ChargingWidget page;
    auto *label = page.findChild<QLabel *>(QStringLiteral("label"));
    {
        ChineseCatalogue chinese;
        QVERIFY(chinese.isLoaded());
        QCOMPARE(label->text(), QStringLiteral("需求电压(V)："));
        QCOMPARE(page.findChild<QLabel *>(QStringLiteral("label_6"))->text(), QStringLiteral("最高单体电压(V)："));
        QCOMPARE(fixedLabelWidth(page, 1, kStateFields), neededLabelWidth(page, 1, kStateFields, 132));
        // The stop labels as wide as their texts need.
        QCOMPARE(fixedLabelWidth(page, kStateFields + 1, 19), neededLabelWidth(page, kStateFields + 1, 19, 0));
        page.updateBCL(BclRecord());
        QCOMPARE(text(page, "m_pLineEditChargeModel"), QStringLiteral("恒流充电"));
        page.updateCST(stop(0, 0, 0));
        QCOMPARE(text(page, "m_pLineEditChargerStopReason"), QStringLiteral("正常"));
    }
    QCOMPARE(label->text(), QStringLiteral("Voltage demand(V)："));
}

void tst_ChargingWidget::textsFitTheirFields_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::newRow("English") << false;
    QTest::newRow("Chinese") << true;
}

// Every stop field set on its own (codes 1 and 2) shows its text whole at
// the head of its line, and both mode texts show whole.
void tst_ChargingWidget::textsFitTheirFields()
{
    QFETCH(bool, chinese);
    std::unique_ptr<ChineseCatalogue> catalogue;
    if (chinese) {
        catalogue = std::make_unique<ChineseCatalogue>();
        QVERIFY(catalogue->isLoaded());
    }
    ChargingWidget page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    const auto field = [&page](const char *name) { return page.findChild<QLineEdit *>(QLatin1String(name)); };
    for (qint32 mode : {1, 2}) {
        BclRecord bcl;
        bcl.chargeMode = mode;
        page.updateBCL(bcl);
        QVERIFY2(firstPartShows(*field("m_pLineEditChargeModel")), qPrintable(text(page, "m_pLineEditChargeModel")));
    }
    const struct {
        int fields;
        const char *bst;
        const char *cst;
        StopStatusRecord (*record)(quint32 item);
    } items[] = {
            {4, "m_pLineEditBMSStopReason", "m_pLineEditChargerStopReason", [](quint32 v) { return stop(quint8(v), 0, 0); }},
            {8, "m_pLineEditBMSStopFaultCause", "m_pLineEditChargerStopFaultCause",
             [](quint32 v) { return stop(0, quint16(v), 0); }},
            {2, "m_pLineEditBMSStopErrorCause", "m_pLineEditChargerStopErrorCause",
             [](quint32 v) { return stop(0, 0, quint8(v)); }},
    };
    for (const auto &item : items) {
        for (int n = 0; n < item.fields; ++n) {
            for (quint32 code : {1u, 2u}) {
                const StopStatusRecord record = item.record(code << (2 * n));
                page.updateBST(record);
                page.updateCST(record);
                QVERIFY2(firstPartShows(*field(item.bst)), qPrintable(field(item.bst)->text()));
                QVERIFY2(firstPartShows(*field(item.cst)), qPrintable(field(item.cst)->text()));
            }
        }
    }
}

void tst_ChargingWidget::decodedTextsFollowTheLanguage()
{
    ChargingWidget page;
    BclRecord bcl;
    bcl.chargeMode = BclRecord::ConstantVoltage;
    page.updateBCL(bcl);
    CcsRecord ccs;
    ccs.chargingAllowed = CcsRecord::Allowed;
    page.updateCCS(ccs);
    page.updateBST(stop(0x01, 0, 0));
    page.updateCST(stop(0x40, 0, 0));
    const QStringList english = texts(page, {"m_pLineEditChargeModel", "m_pLineEditAllowCharge",
                                             "m_pLineEditBMSStopReason", "m_pLineEditChargerStopReason"});
    QCOMPARE(english.mid(0, 2), (QStringList{"Constant voltage charge", "Allow"}));
    {
        ChineseCatalogue chinese;
        QVERIFY(chinese.isLoaded());
        QCOMPARE(text(page, "m_pLineEditChargeModel"), QStringLiteral("恒压充电"));
        QCOMPARE(text(page, "m_pLineEditAllowCharge"), QStringLiteral("允许"));
        QVERIFY(text(page, "m_pLineEditBMSStopReason").startsWith(QStringLiteral("达到所需SOC目标值;")));
        QCOMPARE(text(page, "m_pLineEditChargerStopReason"), QStringLiteral("BMS中止"));
        QCOMPARE(page.findChild<QLineEdit *>(QStringLiteral("m_pLineEditChargerStopReason"))->toolTip(),
                 QStringLiteral("BMS中止"));
    }
    QCOMPARE(texts(page, {"m_pLineEditChargeModel", "m_pLineEditAllowCharge", "m_pLineEditBMSStopReason",
                          "m_pLineEditChargerStopReason"}),
             english);
}

MEROVAST_GUI_TEST_MAIN(tst_ChargingWidget)
#include "tst_chargingwidget.moc"
