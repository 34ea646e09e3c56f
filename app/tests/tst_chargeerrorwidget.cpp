// The charge-error page: each code on its lamp (3 keeps the lamp as it
// was), BEM and CEM on their own rows, lamp sizes, and label widths that
// follow the language.
#include "busstatusledwidget.h"
#include "chargeerrorwidget.h"
#include "chinesecatalogue.h"
#include "guitest.h"
#include "labelwidths.h"
#include "paintcounter.h"

#include <QLabel>
#include <QtTest>

namespace {

const char *const kLamps[] = {"m_pWidgetChargeIdentificate00", "m_pWidgetChargeIdentificateaa", "m_pWidgetTimeSync",
                              "m_pWidgetChargeIsReady",        "m_pWidgetChargeStatus",         "m_pWidgetChargeStop",
                              "m_pWidgetChargeStatistics",     "m_pWidgetBMSCarId",             "m_pWidgetBMSCarId_2",
                              "m_pWidgetBMSIsReady",           "m_pWidgetTotalState",           "m_pWidgetChargeRequire",
                              "m_pWidgetBMSStopCharge",        "m_pWidgetBMSStatistics"};

constexpr int G = BusStatusLEDWidget::Green;
constexpr int R = BusStatusLEDWidget::Red;
constexpr int O = BusStatusLEDWidget::Off;

TimeoutCodes codes(std::array<quint8, 7> values)
{
    TimeoutCodes report;
    report.codes = values;
    return report;
}

QList<int> states(const ChargeErrorWidget &page)
{
    QList<int> shown;
    for (const char *name : kLamps)
        shown << page.findChild<BusStatusLEDWidget *>(QLatin1String(name))->state;
    return shown;
}

// Widths of the left and the right column's labels.
QList<int> labelWidths(const ChargeErrorWidget &page)
{
    return {fixedLabelWidth(page, 1, 7), fixedLabelWidth(page, 8, 14)};
}

// At least left and right pixels, wider where a text needs it.
QList<int> neededWidths(const ChargeErrorWidget &page, int left, int right)
{
    return {neededLabelWidth(page, 1, 7, left), neededLabelWidth(page, 8, 14, right)};
}

} // namespace

class tst_ChargeErrorWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void lampsStartGreyAtTwelvePixels();
    void reportsSetTheirOwnRows();
    void codeThreeKeepsTheLamp();
    void visibleLampsRepaint();
    void widthsFollowTheLanguage();
};

void tst_ChargeErrorWidget::init()
{
    UiLanguage::setCode(UiLanguage::Other);
}

void tst_ChargeErrorWidget::lampsStartGreyAtTwelvePixels()
{
    ChargeErrorWidget page;
    QCOMPARE(states(page), QVector<int>(14, O).toList());
    for (const char *name : kLamps) {
        const auto *lamp = page.findChild<BusStatusLEDWidget *>(QLatin1String(name));
        QCOMPARE(lamp->iconSize, QSize(12, 12));
        QCOMPARE(lamp->minimumSize(), QSize(12, 12));
        QCOMPARE(lamp->maximumSize(), QSize(12, 12));
    }
    QCOMPARE(page.findChild<QLabel *>(QStringLiteral("label_4"))->text(),
             QStringLiteral("Recv Charger is ready to charge  msg："));
}

void tst_ChargeErrorWidget::reportsSetTheirOwnRows()
{
    ChargeErrorWidget page;
    page.updateBEM(codes({0, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(states(page), (QList<int>{G, G, G, G, G, G, G, O, O, O, O, O, O, O}));
    page.updateCEM(codes({1, 0, 2, 1, 0, 2, 1}));
    QCOMPARE(states(page), (QList<int>{G, G, G, G, G, G, G, R, G, O, R, G, O, R}));
    page.updateBEM(codes({1, 0, 0, 1, 0, 0, 0}));
    QCOMPARE(states(page), (QList<int>{R, G, G, R, G, G, G, R, G, O, R, G, O, R}));
}

void tst_ChargeErrorWidget::codeThreeKeepsTheLamp()
{
    ChargeErrorWidget page;
    page.updateCEM(codes({3, 3, 3, 3, 3, 3, 3}));
    QCOMPARE(states(page), QVector<int>(14, O).toList());
    page.updateBEM(codes({0, 1, 2, 0, 1, 2, 0}));
    page.updateBEM(codes({3, 3, 3, 3, 3, 3, 3}));
    QCOMPARE(states(page).mid(0, 7), (QList<int>{G, R, O, G, R, O, G}));
    page.updateBEM(codes({2, 3, 3, 3, 0, 3, 1}));
    QCOMPARE(states(page).mid(0, 7), (QList<int>{O, R, O, G, G, O, R}));
}

void tst_ChargeErrorWidget::visibleLampsRepaint()
{
    ChargeErrorWidget page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto *first = page.findChild<BusStatusLEDWidget *>(QLatin1String(kLamps[0]));
    auto *last = page.findChild<BusStatusLEDWidget *>(QLatin1String(kLamps[13]));
    PaintCounter firstPaints(first);
    PaintCounter lastPaints(last);
    page.updateBEM(codes({1, 0, 0, 0, 0, 0, 0}));
    QTRY_VERIFY(firstPaints.count > 0);
    page.updateCEM(codes({0, 0, 0, 0, 0, 0, 1}));
    QTRY_VERIFY(lastPaints.count > 0);
}

void tst_ChargeErrorWidget::widthsFollowTheLanguage()
{
    ChargeErrorWidget page;
    QCOMPARE(labelWidths(page), neededWidths(page, 371, 240));
    for (int round = 0; round < 2; ++round) {
        {
            ChineseCatalogue chinese;
            QVERIFY(chinese.isLoaded());
            QCOMPARE(labelWidths(page), neededWidths(page, 220, 160));
            QCOMPARE(page.findChild<QLabel *>(QStringLiteral("label_14"))->text(),
                     QStringLiteral("BMS统计数据报文："));
        }
        QCOMPARE(labelWidths(page), neededWidths(page, 371, 240));
        QCOMPARE(page.findChild<QLabel *>(QStringLiteral("label_14"))->text(),
                 QStringLiteral("Recv BMS statistics msg："));
    }
}

MEROVAST_GUI_TEST_MAIN(tst_ChargeErrorWidget)
#include "tst_chargeerrorwidget.moc"
