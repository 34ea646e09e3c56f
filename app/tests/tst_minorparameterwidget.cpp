// The battery status page: numbers from 1 and signed temperatures, the six
// status lamps and the charging-allowed lamp of opposite sense, code 3
// (and 2 for the allowed lamp) keeping a lamp, and the repaint.
#include "busstatusledwidget.h"
#include "chinesecatalogue.h"
#include "guitest.h"
#include "labelwidths.h"
#include "minorparameterwidget.h"
#include "paintcounter.h"

#include <QLineEdit>
#include <QtTest>

// The seven BSM states in lamp order.
using States = std::array<quint8, 7>;
Q_DECLARE_METATYPE(QList<States>)

namespace {

const char *const kFields[] = {"m_pLineEditMaxVoltageSN", "m_pLineEditMaxMonomerTemperature",
                               "m_pLineEditMaxTemperatureSN", "m_pLineEditMinMonomerTemperature",
                               "m_pLineEditMinTemperatureSN"};
const char *const kLamps[] = {"m_pWidgetVoltageStatus",     "m_pWidgetChargeStatusSOC",  "m_pWidgetCurrentStatus",
                              "m_pWidgetTemperatureStatus", "m_pWidgetInsulationStatus", "m_pWidgetOutputlinkerStatus",
                              "m_pWidgetAllowCharge"};

constexpr int G = BusStatusLEDWidget::Green;
constexpr int R = BusStatusLEDWidget::Red;
constexpr int O = BusStatusLEDWidget::Off;

BsmRecord withStates(const States &s)
{
    BsmRecord bsm;
    bsm.cellVoltageState = s[0];
    bsm.stateOfChargeState = s[1];
    bsm.currentState = s[2];
    bsm.temperatureState = s[3];
    bsm.insulationState = s[4];
    bsm.connectorState = s[5];
    bsm.chargingAllowed = s[6];
    return bsm;
}

QStringList texts(const MinorParameterWidget &page)
{
    QStringList shown;
    for (const char *name : kFields)
        shown << page.findChild<QLineEdit *>(QLatin1String(name))->text();
    return shown;
}

QList<int> states(const MinorParameterWidget &page)
{
    QList<int> shown;
    for (const char *name : kLamps)
        shown << page.findChild<BusStatusLEDWidget *>(QLatin1String(name))->state;
    return shown;
}

} // namespace

class tst_MinorParameterWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void form();
    void numbers_data();
    void numbers();
    void lamps_data();
    void lamps();
    void visibleLampsRepaint();
    void chineseLabels();
};

void tst_MinorParameterWidget::form()
{
    MinorParameterWidget page;
    for (const char *name : kFields) {
        const auto *edit = page.findChild<QLineEdit *>(QLatin1String(name));
        QVERIFY(edit->isReadOnly() && edit->text().isEmpty());
        QCOMPARE(edit->minimumWidth(), 60);
        QCOMPARE(edit->maximumWidth(), 60);
    }
    for (const char *name : kLamps) {
        const auto *lamp = page.findChild<BusStatusLEDWidget *>(QLatin1String(name));
        QCOMPARE(lamp->state, O);
        QCOMPARE(lamp->iconSize, QSize(12, 12));
        QCOMPARE(lamp->maximumSize(), QSize(12, 12));
    }
    int left = 300;
    for (int n : {2, 5, 7, 8, 11})
        left = neededLabelWidth(page, n, n, left);
    for (int n : {2, 5, 7, 8, 11})
        QCOMPARE(fixedLabelWidth(page, n, n), left);
    QCOMPARE(fixedLabelWidth(page, 13, 19), neededLabelWidth(page, 13, 19, 200));
}

void tst_MinorParameterWidget::numbers_data()
{
    QTest::addColumn<QList<int>>("record"); // cell, highest, its point, lowest, its point
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("from 0 and -20") << QList<int>{0, 150, 2, -20, 7} << QStringList{"1", "150", "3", "-20", "8"};
    QTest::newRow("-50") << QList<int>{11, -50, 0, -50, 0} << QStringList{"12", "-50", "1", "-50", "1"};
    QTest::newRow("byte 255 is number 256") << QList<int>{255, 205, 255, 0, 255}
                                            << QStringList{"256", "205", "256", "0", "256"};
}

void tst_MinorParameterWidget::numbers()
{
    QFETCH(QList<int>, record);
    QFETCH(QStringList, shown);
    MinorParameterWidget page;
    BsmRecord bsm;
    bsm.maxVoltageCell = quint8(record[0]);
    bsm.maxTemperature = qint16(record[1]);
    bsm.maxTemperaturePoint = quint8(record[2]);
    bsm.minTemperature = qint16(record[3]);
    bsm.minTemperaturePoint = quint8(record[4]);
    page.updateBSM(bsm);
    QCOMPARE(texts(page), shown);
}

void tst_MinorParameterWidget::lamps_data()
{
    QTest::addColumn<QList<States>>("messages"); // in order of arrival
    QTest::addColumn<QList<int>>("lamps");
    QTest::newRow("all normal, charging forbidden") << QList<States>{{0, 0, 0, 0, 0, 0, 0}}
                                                    << QList<int>{G, G, G, G, G, G, R};
    QTest::newRow("charging allowed") << QList<States>{{0, 0, 0, 0, 0, 0, 1}} << QList<int>{G, G, G, G, G, G, G};
    QTest::newRow("faults, connector on its own") << QList<States>{{1, 2, 1, 2, 0, 1, 1}}
                                                  << QList<int>{R, R, R, O, G, R, G};
    // Cell voltage and state of charge: 2 is too low, a fault like too high;
    // for the others 2 is not credible.
    QTest::newRow("too low is a fault") << QList<States>{{2, 2, 2, 2, 2, 2, 1}} << QList<int>{R, R, O, O, O, O, G};
    QTest::newRow("too low after normal") << QList<States>{{0, 0, 0, 0, 0, 0, 1}, {2, 2, 0, 0, 0, 0, 1}}
                                          << QList<int>{R, R, G, G, G, G, G};
    QTest::newRow("3 keeps every lamp, 2 the allowed one")
            << QList<States>{{1, 0, 2, 1, 0, 1, 0}, {3, 3, 3, 3, 3, 3, 2}} << QList<int>{R, G, O, R, G, R, R};
    QTest::newRow("3 keeps the allowed lamp")
            << QList<States>{{0, 0, 0, 0, 0, 0, 1}, {0, 0, 2, 0, 0, 0, 3}} << QList<int>{G, G, O, G, G, G, G};
    QTest::newRow("3 before anything keeps grey")
            << QList<States>{{3, 3, 3, 3, 3, 3, 3}} << QList<int>{O, O, O, O, O, O, O};
}

void tst_MinorParameterWidget::lamps()
{
    QFETCH(QList<States>, messages);
    QFETCH(QList<int>, lamps);
    MinorParameterWidget page;
    for (const States &states : messages)
        page.updateBSM(withStates(states));
    QCOMPARE(states(page), lamps);
}

void tst_MinorParameterWidget::visibleLampsRepaint()
{
    MinorParameterWidget page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto *allowed = page.findChild<BusStatusLEDWidget *>(QLatin1String(kLamps[6]));
    PaintCounter paints(allowed);
    page.updateBSM(withStates({0, 0, 0, 0, 0, 0, 1}));
    QTRY_VERIFY(paints.count > 0);
}

void tst_MinorParameterWidget::chineseLabels()
{
    MinorParameterWidget page;
    const auto *label = page.findChild<QLabel *>(QStringLiteral("label_19"));
    {
        ChineseCatalogue chinese;
        QVERIFY(chinese.isLoaded());
        QCOMPARE(label->text(), QStringLiteral("是否允许充电："));
        QCOMPARE(fixedLabelWidth(page, 13, 19), neededLabelWidth(page, 13, 19, 200));
    }
    QCOMPARE(label->text(), QStringLiteral("Whether charging is allowed："));
    QCOMPARE(page.windowTitle(), QStringLiteral("MinorParameterWidget"));
}

MEROVAST_GUI_TEST_MAIN(tst_MinorParameterWidget)
#include "tst_minorparameterwidget.moc"
