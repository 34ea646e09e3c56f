// The charging pages' temperature unit: "℃" stays where the face that
// draws it has the sign, becomes "°C" where the face maps it to an empty
// glyph (the CJK face the program uses on machines without the desktop
// fonts), on the pages at construction and after a language change.
#include "chargeparamconfigwidget.h"
#include "chargingpages.h"
#include "chinesecatalogue.h"
#include "guitest.h"
#include "minorparameterwidget.h"
#include "monomertemperaturewidget.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QtTest>

namespace {

const QString kCjkFace = QStringLiteral("WenQuanYi Micro Hei"); // draws ℃ blank
const QString kLatinFace = QStringLiteral("DejaVu Sans");        // draws ℃

// The face itself, not a substitute the platform picked for the name.
bool installed(const QString &family)
{
    QFont font(family);
    return QFontInfo(font).family() == family;
}

// The temperature texts of the three pages.
QStringList temperatureTexts(const MinorParameterWidget &battery, const ChargeParamConfigWidget &parameters,
                             const MonomerTemperatureWidget &cells)
{
    return {battery.findChild<QLabel *>(QStringLiteral("label_2"))->text(),
            battery.findChild<QLabel *>(QStringLiteral("label_8"))->text(),
            parameters.findChild<QLabel *>(QStringLiteral("label_5"))->text(),
            cells.findChild<QTableWidget *>()->horizontalHeaderItem(2)->text()};
}

} // namespace

class tst_ChargingPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void celsius_data();
    void celsius();
    void pagesWriteAUnitTheirFaceDraws_data();
    void pagesWriteAUnitTheirFaceDraws();
};

void tst_ChargingPages::celsius_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("face with the sign") << kLatinFace << "Temperature(℃)" << "Temperature(℃)";
    QTest::newRow("face with a blank sign") << kCjkFace << "Temperature(℃)" << "Temperature(°C)";
    QTest::newRow("Chinese text in the blank face")
            << kCjkFace << "最高动力蓄电池温度(℃)：" << "最高动力蓄电池温度(°C)：";
    // The Chinese characters come from a fallback face, the sign from the face itself.
    QTest::newRow("Chinese text in the face with the sign")
            << kLatinFace << "最高动力蓄电池温度(℃)：" << "最高动力蓄电池温度(℃)：";
    QTest::newRow("no sign") << kCjkFace << "Max temperature(°C)：" << "Max temperature(°C)：";
    QTest::newRow("empty") << kCjkFace << "" << "";
}

void tst_ChargingPages::celsius()
{
    QFETCH(QString, family);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    if (!installed(family))
        QSKIP(qPrintable(family + QStringLiteral(" is not installed")));
    QFont font(family);
    font.setPointSize(10);
    QCOMPARE(ChargingPages::withCelsius(text, font), shown);
}

void tst_ChargingPages::pagesWriteAUnitTheirFaceDraws_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("unit");
    QTest::newRow("face with the sign") << kLatinFace << "℃";
    QTest::newRow("face with a blank sign") << kCjkFace << "°C";
}

void tst_ChargingPages::pagesWriteAUnitTheirFaceDraws()
{
    QFETCH(QString, family);
    QFETCH(QString, unit);
    if (!installed(family))
        QSKIP(qPrintable(family + QStringLiteral(" is not installed")));
    const QFont original = QApplication::font();
    QApplication::setFont(QFont(family, 9));
    {
        MinorParameterWidget battery;
        ChargeParamConfigWidget parameters;
        MonomerTemperatureWidget cells;
        const auto check = [&] {
            for (const QString &text : temperatureTexts(battery, parameters, cells))
                QVERIFY2(text.contains(QLatin1Char('(') + unit + QLatin1Char(')')), qPrintable(text));
        };
        check();
        {
            ChineseCatalogue chinese;
            QVERIFY(chinese.isLoaded());
            check();
        }
        check();
    }
    QApplication::setFont(original);
}

MEROVAST_GUI_TEST_MAIN(tst_ChargingPages)
#include "tst_chargingpages.moc"
