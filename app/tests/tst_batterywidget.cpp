// The battery gauge: its body, cap and level at the charging window's size,
// the colour bands, which values it takes, the charging sweep, and drawing
// at sizes too small for it.
#include "batterywidget.h"
#include "guitest.h"
#include "paintrecorder.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const QColor kRed(QStringLiteral("#FF0000"));
const QColor kYellow(QStringLiteral("#DCB01A"));
const QColor kGreen(QStringLiteral("#41CD52"));

struct Painted {
    QVector<PaintedShape> shapes;
    explicit Painted(BatteryWidget &battery) : shapes(PaintRecorder::record(battery)) {}

    const PaintedShape *find(PaintedShape::Kind kind, const std::function<bool(const PaintedShape &)> &match) const
    {
        for (const PaintedShape &shape : shapes)
            if (shape.kind == kind && match(shape))
                return &shape;
        return nullptr;
    }
    const PaintedShape *outline() const
    {
        return find(PaintedShape::Rect, [](const PaintedShape &s) { return s.brush.style() == Qt::NoBrush; });
    }
    const PaintedShape *cap() const
    {
        return find(PaintedShape::Rect, [](const PaintedShape &s) { return s.color() == QColor(0xF0, 0xF0, 0xF0); });
    }
    // The level bar is the only shape without an outline.
    const PaintedShape *bar() const
    {
        return find(PaintedShape::Rect, [](const PaintedShape &s) { return s.pen.style() == Qt::NoPen; });
    }
    QString texts() const { return textsOf(shapes).join(QLatin1Char('|')); }
};

double barWidth(BatteryWidget &battery)
{
    const Painted painted(battery);
    return painted.bar() ? painted.bar()->rect.width() : -1;
}

} // namespace

class tst_BatteryWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void geometryAtTheWindowSize();
    void levelColour_data();
    void levelColour();
    void setValueTakesOnlyNewValuesInRange_data();
    void setValueTakesOnlyNewValuesInRange();
    void repaintsForValuesNotForText();
    void chargingSweep();
    void chargingRunsOnItsTimer();
    void tooSmallToDraw_data();
    void tooSmallToDraw();
};

void tst_BatteryWidget::geometryAtTheWindowSize()
{
    BatteryWidget battery;
    battery.resize(250, 80);
    battery.setText(QStringLiteral("SOC"));
    battery.setValue(50);
    const Painted painted(battery);

    QVERIFY(painted.outline());
    QCOMPARE(painted.outline()->rect, QRectF(57, 8, 175, 65));
    QCOMPARE(painted.outline()->pen.color(), QColor(117, 117, 117));
    QCOMPARE(painted.outline()->pen.widthF(), 2.0);
    QVERIFY(painted.cap());
    QCOMPARE(painted.cap()->rect, QRectF(232, 29.45, 12, 21.45));
    QCOMPARE(painted.cap()->pen.color(), QColor(117, 117, 117));
    QVERIFY(painted.bar());
    QCOMPARE(painted.bar()->rect, QRectF(62, 13, 82.5, 55));

    const PaintedShape *value = painted.find(PaintedShape::Text, [](const PaintedShape &s) { return s.text == "50%"; });
    QVERIFY(value);
    QCOMPARE(value->font.pixelSize(), 27);
    QCOMPARE(value->pen.color(), QColor(0x00, 0x80, 0xFF));
    QVERIFY(QRectF(62, 13, 165, 55).contains(value->bounds().center()));
    QVERIFY(qAbs(value->bounds().center().x() - (62 + 165 / 2.0)) < 1.0);

    const PaintedShape *caption = painted.find(PaintedShape::Text, [](const PaintedShape &s) { return s.text == "SOC"; });
    QVERIFY(caption);
    QCOMPARE(caption->rect.left(), 4.0);
    QCOMPARE(caption->font.pointSize(), 11);
    QVERIFY(caption->bounds().right() < 57);
}

void tst_BatteryWidget::levelColour_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << 0.0 << kRed << "0%";
    QTest::newRow("just below 20") << 19.99 << kRed << "20%";
    QTest::newRow("20") << 20.0 << kYellow << "20%";
    QTest::newRow("49.6 shows 50 but stays yellow") << 49.6 << kYellow << "50%";
    QTest::newRow("50") << 50.0 << kGreen << "50%";
    QTest::newRow("full") << 100.0 << kGreen << "100%";
}

void tst_BatteryWidget::levelColour()
{
    QFETCH(double, value);
    QFETCH(QColor, colour);
    QFETCH(QString, text);
    BatteryWidget battery;
    battery.resize(250, 80);
    battery.setValue(value);
    const Painted painted(battery);
    QVERIFY(painted.bar());
    QCOMPARE(painted.bar()->color(), colour);
    QCOMPARE(painted.bar()->rect.width(), 165 * value / 100);
    QCOMPARE(painted.texts(), text);
}

void tst_BatteryWidget::setValueTakesOnlyNewValuesInRange_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("inside") << 42.5 << 42.5;
    QTest::newRow("0 on a new gauge") << 0.0 << 0.0;
    QTest::newRow("above 100") << 100.5 << 0.0;
    QTest::newRow("below 0") << -1.0 << 0.0;
    QTest::newRow("not a number") << qQNaN() << 0.0;
}

void tst_BatteryWidget::setValueTakesOnlyNewValuesInRange()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    BatteryWidget battery;
    QSignalSpy changed(&battery, &BatteryWidget::valueChanged);
    battery.setValue(value);
    QCOMPARE(battery.value(), expected);
    const bool taken = expected != 0.0;
    QCOMPARE(changed.count(), taken ? 1 : 0);
    if (taken) {
        QCOMPARE(changed.first().first().toDouble(), expected);
        battery.setValue(value); // the same again
        QCOMPARE(changed.count(), 1);
    }
}

void tst_BatteryWidget::repaintsForValuesNotForText()
{
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    BatteryWidget battery;
    battery.resize(250, 80);
    battery.show();
    QVERIFY(QTest::qWaitForWindowExposed(&battery));
    QCoreApplication::processEvents();
    battery.installEventFilter(&counter);

    battery.setText(QStringLiteral("SOC"));
    QTest::qWait(50);
    QCOMPARE(counter.paints, 0);
    battery.setValue(30);
    QTRY_VERIFY(counter.paints > 0);

    // The end of a charge: the level must replace the last sweep frame even
    // when no animation tick is left to repaint.
    QTest::qWait(50);
    counter.paints = 0;
    battery.setCharging(true);
    battery.setCharging(false);
    QTRY_VERIFY(counter.paints > 0);
}

void tst_BatteryWidget::chargingSweep()
{
    BatteryWidget battery;
    battery.resize(250, 80);
    battery.setValue(10);
    battery.setCharging(true);
    QCOMPARE(barWidth(battery), 0.0);

    // 2, 4, ..., 98, then 0 again: 100 percent is never shown.
    for (int tick = 1; tick <= 52; ++tick) {
        battery.onTimeOutCharging();
        const int level = tick % 50 * 2;
        const Painted painted(battery);
        QCOMPARE(painted.bar()->rect.width(), level * 165 / 100.0);
        QCOMPARE(painted.bar()->color(), kGreen);
        QCOMPARE(painted.texts(), QStringLiteral("10%"));
    }

    // Off shows the level again; on again goes on from where it stopped.
    battery.setCharging(false);
    QCOMPARE(barWidth(battery), 16.5);
    battery.setCharging(true);
    QCOMPARE(barWidth(battery), 4 * 165 / 100.0);
    battery.onTimeOutCharging();
    QCOMPARE(barWidth(battery), 6 * 165 / 100.0);
}

void tst_BatteryWidget::chargingRunsOnItsTimer()
{
    BatteryWidget battery;
    battery.resize(250, 80);
    battery.setCharging(true);
    QTRY_VERIFY(barWidth(battery) >= 3 * 2 * 165 / 100.0);
    battery.setCharging(false);
    battery.setCharging(true);
    const double resumed = barWidth(battery);
    QVERIFY(resumed > 0);
    battery.setCharging(false);
    QTest::qWait(120);
    QCOMPARE(barWidth(battery), 0.0); // the level bar of value 0
    battery.setCharging(true);
    QVERIFY(barWidth(battery) >= resumed);
}

void tst_BatteryWidget::tooSmallToDraw_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("nothing") << QSize(0, 0);
    QTest::newRow("one pixel") << QSize(1, 1);
    QTest::newRow("5 by 5") << QSize(5, 5);
    QTest::newRow("body without inside") << QSize(14, 12);
    QTest::newRow("flat") << QSize(300, 6);
    QTest::newRow("narrow") << QSize(8, 200);
}

void tst_BatteryWidget::tooSmallToDraw()
{
    QFETCH(QSize, size);
    for (bool charging : {false, true}) {
        BatteryWidget battery;
        battery.resize(size);
        battery.setValue(100);
        battery.setCharging(charging);
        for (int i = 0; i < 30; ++i)
            battery.onTimeOutCharging();
        const WarningCatcher warnings;
        const QVector<PaintedShape> shapes = PaintRecorder::record(battery);
        QCOMPARE(warnings.caught(), QStringList());
        for (const PaintedShape &shape : shapes)
            QVERIFY(shape.kind == PaintedShape::Text || shape.inside(size));
        battery.grab(); // and on the raster engine
    }
}

MEROVAST_GUI_TEST_MAIN(tst_BatteryWidget)
#include "tst_batterywidget.moc"
