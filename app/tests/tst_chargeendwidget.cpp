// The charge-end page: integers, trimmed numbers and the largest charger
// number, rows left alone by the other message, fields that hold their
// widest values, and label widths that follow the language.
#include "chargeendwidget.h"
#include "chinesecatalogue.h"
#include "guitest.h"
#include "labelwidths.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

namespace {

const char *const kBsdFields[] = {"m_pLineEditStaopChargeStatus", "m_pLineEditMaxmonomerVoltage",
                                  "m_pLineEditMinMonomerVoltage", "m_pLineEditMaxTemperature",
                                  "m_pLineEditMinTemperature"};
const char *const kCsdFields[] = {"m_pLineEditChargeTime", "m_pLineEditOutputEnergy", "m_pLineEditChargeSN"};

template <std::size_t N>
QStringList texts(const ChargeEndWidget &page, const char *const (&fields)[N])
{
    QStringList shown;
    for (const char *field : fields)
        shown << page.findChild<QLineEdit *>(QLatin1String(field))->text();
    return shown;
}

// -1 when the field's width is not fixed.
int fixedWidth(const ChargeEndWidget &page, const char *field)
{
    const auto *edit = page.findChild<QLineEdit *>(QLatin1String(field));
    return edit->minimumWidth() == edit->maximumWidth() ? edit->minimumWidth() : -1;
}

// Widths of the left and the right column's labels.
QList<int> labelWidths(const ChargeEndWidget &page)
{
    return {fixedLabelWidth(page, 1, 5), fixedLabelWidth(page, 6, 8)};
}

// At least left and right pixels, wider where a text needs it.
QList<int> neededWidths(const ChargeEndWidget &page, int left, int right)
{
    return {neededLabelWidth(page, 1, 5, left), neededLabelWidth(page, 6, 8, right)};
}

} // namespace

class tst_ChargeEndWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void bsd_data();
    void bsd();
    void csd_data();
    void csd();
    void fieldsAndWidths();
    void widthsFollowTheLanguage();
};

void tst_ChargeEndWidget::init()
{
    UiLanguage::setCode(UiLanguage::Other);
}

void tst_ChargeEndWidget::bsd_data()
{
    QTest::addColumn<int>("soc");
    QTest::addColumn<double>("highest");
    QTest::addColumn<double>("lowest");
    QTest::addColumn<int>("hot");
    QTest::addColumn<int>("cold");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("3.35 and 3.3") << 95 << 335 * 0.01 << 330 * 0.01 << 40 << -20
                                  << QStringList{"95", "3.35", "3.3", "40", "-20"};
    QTest::newRow("-50 and 0 degrees") << 100 << 12.0 << 0.0 << 0 << -50 << QStringList{"100", "12", "0", "0", "-50"};
    QTest::newRow("largest") << 255 << 655.35 << 3.45 << 205 << 205 << QStringList{"255", "655.35", "3.45", "205", "205"};
}

void tst_ChargeEndWidget::bsd()
{
    QFETCH(int, soc);
    QFETCH(double, highest);
    QFETCH(double, lowest);
    QFETCH(int, hot);
    QFETCH(int, cold);
    QFETCH(QStringList, shown);
    ChargeEndWidget page;
    BsdRecord record;
    record.stateOfCharge = quint8(soc);
    record.maxCellVoltage = highest;
    record.minCellVoltage = lowest;
    record.maxTemperature = qint16(hot);
    record.minTemperature = qint16(cold);
    page.updateBSD(record);
    QCOMPARE(texts(page, kBsdFields), shown);
    QCOMPARE(texts(page, kCsdFields), (QStringList{"", "", ""}));
}

void tst_ChargeEndWidget::csd_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<double>("energy");
    QTest::addColumn<quint32>("charger");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("123.4 kWh") << 90 << 123.4 << 67305985u << QStringList{"90", "123.4", "67305985"};
    QTest::newRow("nothing delivered") << 0 << 0.0 << 0u << QStringList{"0", "0", "0"};
    QTest::newRow("largest") << 65535 << 6553.5 << 4294967295u << QStringList{"65535", "6553.5", "4294967295"};
}

void tst_ChargeEndWidget::csd()
{
    QFETCH(int, minutes);
    QFETCH(double, energy);
    QFETCH(quint32, charger);
    QFETCH(QStringList, shown);
    ChargeEndWidget page;
    CsdRecord record;
    record.chargingTime = quint16(minutes);
    record.outputEnergy = energy;
    record.chargerNumber = charger;
    page.updateCSD(record);
    QCOMPARE(texts(page, kCsdFields), shown);
    QCOMPARE(texts(page, kBsdFields), (QStringList{"", "", "", "", ""}));
}

// The fields hold their widest values: the BMS's in the form's 70 pixels,
// the charger's (a number of ten digits) in one width wider.
void tst_ChargeEndWidget::fieldsAndWidths()
{
    ChargeEndWidget page;
    QCOMPARE(page.findChildren<QLineEdit *>().size(), 8);
    for (const auto *edit : page.findChildren<QLineEdit *>())
        QVERIFY(edit->isReadOnly());
    for (const char *field : kBsdFields)
        QCOMPARE(fixedWidth(page, field), 70);
    const int charger = fixedWidth(page, "m_pLineEditChargeSN");
    QVERIFY(charger > 70);
    for (const char *field : kCsdFields)
        QCOMPARE(fixedWidth(page, field), charger);
    BsdRecord bsd;
    bsd.stateOfCharge = 255;
    bsd.maxCellVoltage = 655.35;
    bsd.minCellVoltage = 655.35;
    bsd.maxTemperature = -50;
    bsd.minTemperature = 205;
    page.updateBSD(bsd);
    CsdRecord csd;
    csd.chargingTime = 65535;
    csd.outputEnergy = 6553.5;
    csd.chargerNumber = 0xFFFFFFFF;
    page.updateCSD(csd);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    const TextsShown shown = textsShown(page);
    QCOMPARE(shown.measured, 16);
    QVERIFY2(shown.cut.isEmpty(), qPrintable(shown.cut.join(QLatin1Char('\n'))));
    QCOMPARE(labelWidths(page), neededWidths(page, 160, 145));
}

void tst_ChargeEndWidget::widthsFollowTheLanguage()
{
    ChargeEndWidget page;
    const auto *label = page.findChild<QLabel *>(QStringLiteral("label"));
    {
        ChineseCatalogue chinese;
        QVERIFY(chinese.isLoaded());
        QCOMPARE(labelWidths(page), neededWidths(page, 105, 100));
        QCOMPARE(label->text(), QStringLiteral("中止SOC(%)："));
    }
    QCOMPARE(labelWidths(page), neededWidths(page, 160, 145));
    QCOMPARE(label->text(), QStringLiteral("Stop charge status(%)："));
    // A page made while Chinese is in force starts with its widths.
    UiLanguage::setCode(UiLanguage::Chinese);
    const ChargeEndWidget made;
    QCOMPARE(labelWidths(made), neededWidths(made, 105, 100));
}

MEROVAST_GUI_TEST_MAIN(tst_ChargeEndWidget)
#include "tst_chargeendwidget.moc"
