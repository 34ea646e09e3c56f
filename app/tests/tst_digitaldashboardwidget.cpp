// The round dashboard: where the needle points, the sizes of needle and
// labels, the animated and immediate value setters with their signals, the
// value text, the band modes, the hub picture, and drawing at sizes and
// settings that leave no room for the dial.
#include "digitaldashboardwidget.h"
#include "guitest.h"
#include "paintrecorder.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

const QColor kPointer(249, 2, 1);

// As the charging window sets up its voltage gauge.
void configureLikeTheChargingWindow(DigitalDashboardWidget &gauge)
{
    gauge.resize(180, 180);
    gauge.setValueColor(QColor(255, 0, 0));
    gauge.setTitleColor(QColor(0, 128, 255));
    gauge.setPixmapPath(QStringLiteral(":/Resources/Voltage.png"));
    gauge.setAnimation(4, 40);
    gauge.setBandColors({QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0)});
    gauge.setUnitFormat(QStringLiteral("%1V"));
    gauge.setTitle(QStringLiteral("Voltage"));
    QVERIFY(gauge.setValues(800, 0, 0, 800));
}

const PaintedShape *needle(const QVector<PaintedShape> &shapes)
{
    for (const PaintedShape &shape : shapes)
        if (shape.kind == PaintedShape::Polygon && shape.color() == kPointer)
            return &shape;
    return nullptr;
}

// Direction from the centre to the needle's tip, in degrees counter-
// clockwise from three o'clock.
double needleAngle(DigitalDashboardWidget &gauge)
{
    const QVector<PaintedShape> shapes = PaintRecorder::record(gauge);
    const PaintedShape *pointer = needle(shapes);
    if (!pointer)
        return qQNaN();
    const QPolygonF outline = pointer->outline();
    const QPointF tip = (outline.at(0) + outline.at(1)) / 2 - QPointF(gauge.width() / 2, gauge.height() / 2);
    return std::atan2(-tip.y(), tip.x()) * 180 / M_PI;
}

// The seven labels in drawing order, and their pixel size.
QStringList labels(DigitalDashboardWidget &gauge, int *pixelSize = nullptr)
{
    QStringList texts;
    for (const PaintedShape &shape : shapesOf(PaintRecorder::record(gauge), PaintedShape::Text)) {
        if (shape.font.weight() != 63)
            continue;
        texts << shape.text;
        if (pixelSize)
            *pixelSize = shape.font.pixelSize();
    }
    return texts;
}

// Every signal in the order it came.
struct SignalLog {
    QStringList entries;
    explicit SignalLog(DigitalDashboardWidget &gauge)
    {
        QObject::connect(&gauge, &DigitalDashboardWidget::currentValueChange,
                         [this](double v) { entries << QStringLiteral("current %1").arg(v); });
        QObject::connect(&gauge, QOverload<double>::of(&DigitalDashboardWidget::arriveEnd),
                         [this](double v) { entries << QStringLiteral("end %1").arg(v); });
        QObject::connect(&gauge, QOverload<>::of(&DigitalDashboardWidget::arriveEnd),
                         [this] { entries << QStringLiteral("end"); });
    }
};

void tick(DigitalDashboardWidget &gauge)
{
    QVERIFY(QMetaObject::invokeMethod(&gauge, "ontimeout"));
}

} // namespace

class tst_DigitalDashboardWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void needleDirection_data();
    void needleDirection();
    void sizesAt180_data();
    void sizesAt180();
    void animatedSet_data();
    void animatedSet();
    void animationOnItsTimer();
    void setWithoutMoving();
    void animationReachesLargeTargets();
    void refusals_data();
    void refusals();
    void limitsPullTheEndValueIn();
    void valueText_data();
    void valueText();
    void digitsWithUnit();
    void bandModes();
    void hubPictureLoadedOnce();
    void nothingOutsideTheWidget_data();
    void nothingOutsideTheWidget();
};

void tst_DigitalDashboardWidget::needleDirection_data()
{
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("angle");
    QTest::newRow("mid-range points up") << 0.0 << 100.0 << 50.0 << 90.0;
    QTest::newRow("minimum: lower left") << 0.0 << 100.0 << 0.0 << 210.0 - 360;
    QTest::newRow("maximum: lower right") << 0.0 << 100.0 << 100.0 << -30.0;
    QTest::newRow("negative range, zero up") << -1000.0 << 1000.0 << 0.0 << 90.0;
    QTest::newRow("whole degrees") << 0.0 << 240.0 << 0.5 << 210.0 - 360;
    QTest::newRow("zero-width range: at the minimum") << 5.0 << 5.0 << 5.0 << 210.0 - 360;
}

void tst_DigitalDashboardWidget::needleDirection()
{
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(double, value);
    QFETCH(double, angle);
    DigitalDashboardWidget gauge;
    gauge.resize(180, 180);
    QVERIFY(gauge.setValues(value, value, minimum, maximum));
    const WarningCatcher warnings;
    const double measured = needleAngle(gauge);
    QVERIFY2(qAbs(measured - angle) < 0.01, qPrintable(QString::number(measured)));
    QCOMPARE(warnings.caught(), QStringList());
}

void tst_DigitalDashboardWidget::sizesAt180_data()
{
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("0..120") << 0.0 << 120.0 << 12 << QStringList{"0", "20", "40", "60", "80", "100", "120"};
    QTest::newRow("0..800") << 0.0 << 800.0 << 10 << QStringList{"0", "133", "266", "400", "533", "666", "800"};
    // 10 / (0.04 + 1.1) gives a unit of 8.
    QTest::newRow("-1000..1000") << -1000.0 << 1000.0 << 10
                                 << QStringList{"-1000", "-666", "-333", "0", "333", "666", "1000"};
}

void tst_DigitalDashboardWidget::sizesAt180()
{
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(int, pixelSize);
    QFETCH(QStringList, texts);
    DigitalDashboardWidget gauge;
    gauge.resize(180, 180);
    QVERIFY(gauge.setValues(minimum, minimum, minimum, maximum));
    int size = 0;
    QCOMPARE(labels(gauge, &size), texts);
    QCOMPARE(size, pixelSize);

    // Needle 3 pixels wide at 0.8 r = 72 and 6 at 0.9 c = 30.78; straight
    // down before its turn.
    const QVector<PaintedShape> shapes = PaintRecorder::record(gauge);
    const PaintedShape *pointer = needle(shapes);
    QVERIFY(pointer);
    const QPolygonF expected({{-1.5, 72}, {1.5, 72}, {3, 30.78}, {-3, 30.78}});
    QCOMPARE(pointer->points.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY(QLineF(pointer->points.at(i), expected.at(i)).length() < 1e-9);
    QCOMPARE(pointer->pen.color(), kPointer.darker(150));
}

void tst_DigitalDashboardWidget::animatedSet_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<int>("step");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("up by 4") << 0.0 << 10.0 << 4
                             << QStringList{"current 4", "current 8", "end 10", "end", "current 10"};
    QTest::newRow("down, step's sign ignored") << 10.0 << 0.0 << -4
                                               << QStringList{"current 6", "current 2", "end 0", "end", "current 0"};
    QTest::newRow("exactly a step") << 0.0 << 8.0 << 4 << QStringList{"current 4", "end 8", "end", "current 8"};
    QTest::newRow("step 0 jumps") << 0.0 << 100.0 << 0 << QStringList{"end 100", "end", "current 100"};
}

void tst_DigitalDashboardWidget::animatedSet()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(int, step);
    QFETCH(QStringList, log);
    DigitalDashboardWidget gauge;
    QVERIFY(gauge.setCurrentValue(from));
    gauge.setAnimation(step, 40);
    SignalLog signalLog(gauge);
    QVERIFY(gauge.setTargetValue(to));
    QCOMPARE(gauge.endValue(), to);
    QCOMPARE(gauge.currentValue(), from);
    QVERIFY(signalLog.entries.isEmpty());
    for (int i = 0; i < log.size() + 2; ++i)
        tick(gauge);
    QCOMPARE(signalLog.entries, log);
    QCOMPARE(gauge.currentValue(), to);
}

void tst_DigitalDashboardWidget::animationOnItsTimer()
{
    DigitalDashboardWidget gauge;
    gauge.setAnimation(4, 10);
    SignalLog signalLog(gauge);
    QVERIFY(gauge.setTargetValue(10));
    QTRY_COMPARE(gauge.currentValue(), 10.0);
    QTest::qWait(60); // stopped at the target: nothing more
    QCOMPARE(signalLog.entries, (QStringList{"current 4", "current 8", "end 10", "end", "current 10"}));

    // A new target while moving changes the course: set at the first tick,
    // however many ticks a loaded machine runs before the test looks.
    signalLog.entries.clear();
    QMetaObject::Connection turn;
    turn = connect(&gauge, &DigitalDashboardWidget::currentValueChange, &gauge, [&] {
        QObject::disconnect(turn);
        QVERIFY(gauge.setTargetValue(0));
    });
    QVERIFY(gauge.setTargetValue(30));
    QTRY_COMPARE(gauge.currentValue(), 0.0);
    QCOMPARE(signalLog.entries, (QStringList{"current 14", "current 10", "current 6", "current 2", "end 0", "end",
                                             "current 0"}));
}

void tst_DigitalDashboardWidget::setWithoutMoving()
{
    DigitalDashboardWidget gauge;
    SignalLog signalLog(gauge);
    // No animation: the value jumps with all three signals.
    QVERIFY(gauge.setTargetValue(60));
    QCOMPARE(gauge.currentValue(), 60.0);
    QCOMPARE(signalLog.entries, (QStringList{"end 60", "end", "current 60"}));

    // Animated, but already there: the signals at once, no ticks needed.
    gauge.setAnimation(4, 40);
    signalLog.entries.clear();
    QVERIFY(gauge.setTargetValue(60));
    QCOMPARE(signalLog.entries, (QStringList{"end 60", "end", "current 60"}));
    tick(gauge);
    QCOMPARE(signalLog.entries.size(), 3);

    // Immediate sets move both values and say nothing.
    signalLog.entries.clear();
    QVERIFY(gauge.setCurrentValue(20));
    QVERIFY(gauge.setValues(90, 30, -10, 100));
    QCOMPARE(gauge.currentValue(), 30.0);
    QCOMPARE(gauge.endValue(), 90.0);
    QCOMPARE(gauge.minimum(), -10.0);
    QCOMPARE(gauge.maximum(), 100.0);
    QVERIFY(signalLog.entries.isEmpty());

    // A negative interval would never tick: no animation either.
    gauge.setAnimation(4, -40);
    signalLog.entries.clear();
    QVERIFY(gauge.setTargetValue(40));
    QCOMPARE(gauge.currentValue(), 40.0);
    QCOMPARE(signalLog.entries, (QStringList{"end 40", "end", "current 40"}));
    QVERIFY(gauge.setCurrentValue(30));

    // checkAnimation stops a running animation only without an interval.
    gauge.setAnimation(4, 40);
    QVERIFY(gauge.setTargetValue(50));
    gauge.checkAnimation();
    gauge.setAnimation(4, 0);
    gauge.checkAnimation();
    QTest::qWait(100);
    QCOMPARE(gauge.currentValue(), 30.0);
}

void tst_DigitalDashboardWidget::animationReachesLargeTargets()
{
    // A step of 1 does not change 1e17; the needle must still get there.
    DigitalDashboardWidget gauge;
    QVERIFY(gauge.setValues(1e17, 1e17, 0, 2e17));
    gauge.setAnimation(1, 5);
    QSignalSpy arrived(&gauge, QOverload<>::of(&DigitalDashboardWidget::arriveEnd));
    QVERIFY(gauge.setTargetValue(1e17 + 64));
    QTRY_COMPARE_WITH_TIMEOUT(arrived.count(), 1, 1000);
    QCOMPARE(gauge.currentValue(), 1e17 + 64);
}

void tst_DigitalDashboardWidget::refusals_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<double>("value");
    const double nan = qQNaN();
    const double inf = qInf();
    // Starting from minimum 0, maximum 100, current 50, end 70.
    QTest::newRow("maximum below the current value") << "setMaximum" << 49.0;
    QTest::newRow("maximum not a number") << "setMaximum" << nan;
    QTest::newRow("maximum infinite") << "setMaximum" << inf;
    QTest::newRow("minimum above the current value") << "setMinimum" << 51.0;
    QTest::newRow("minimum not a number") << "setMinimum" << nan;
    QTest::newRow("minimum minus infinity") << "setMinimum" << -inf;
    QTest::newRow("target above the maximum") << "setTargetValue" << 100.5;
    QTest::newRow("target below the minimum") << "setTargetValue" << -0.5;
    QTest::newRow("target not a number") << "setTargetValue" << nan;
    QTest::newRow("current above the maximum") << "setCurrentValue" << 101.0;
    QTest::newRow("current not a number") << "setCurrentValue" << nan;
    QTest::newRow("values: current outside the range") << "setValues current" << 150.0;
    QTest::newRow("values: end outside the range") << "setValues end" << -1.0;
    QTest::newRow("values: maximum below minimum") << "setValues maximum" << -20.0;
    QTest::newRow("values: maximum not a number") << "setValues maximum" << nan;
}

void tst_DigitalDashboardWidget::refusals()
{
    QFETCH(QString, call);
    QFETCH(double, value);
    DigitalDashboardWidget gauge;
    gauge.setAnimation(4, 40);
    QVERIFY(gauge.setValues(70, 50, 0, 100));
    SignalLog signalLog(gauge);
    bool result = true;
    if (call == "setMaximum")
        result = gauge.setMaximum(value);
    else if (call == "setMinimum")
        result = gauge.setMinimum(value);
    else if (call == "setTargetValue")
        result = gauge.setTargetValue(value);
    else if (call == "setCurrentValue")
        result = gauge.setCurrentValue(value);
    else if (call == "setValues current")
        result = gauge.setValues(70, value, 0, 100);
    else if (call == "setValues end")
        result = gauge.setValues(value, 50, 0, 100);
    else if (call == "setValues maximum")
        result = gauge.setValues(0, 0, 0, value);
    QVERIFY(!result);
    QCOMPARE(gauge.minimum(), 0.0);
    QCOMPARE(gauge.maximum(), 100.0);
    QCOMPARE(gauge.currentValue(), 50.0);
    QCOMPARE(gauge.endValue(), 70.0);
    tick(gauge);
    QCOMPARE(gauge.currentValue(), 50.0 + 4); // still heading for 70
    QCOMPARE(signalLog.entries, QStringList{"current 54"});
}

void tst_DigitalDashboardWidget::limitsPullTheEndValueIn()
{
    DigitalDashboardWidget gauge;
    QVERIFY(gauge.setValues(100, 50, 0, 120));
    QVERIFY(gauge.setMaximum(90));
    QCOMPARE(gauge.endValue(), 90.0);
    QVERIFY(gauge.setMaximum(50)); // down to the current value
    QVERIFY(gauge.setValues(0, 50, 0, 100));
    QVERIFY(gauge.setMinimum(20));
    QCOMPARE(gauge.endValue(), 20.0);
    QCOMPARE(gauge.currentValue(), 50.0);
}

void tst_DigitalDashboardWidget::valueText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("cut to 1") << 12.3456 << 1 << "12.3";
    QTest::newRow("cut to 0") << 12.3456 << 0 << "12";
    QTest::newRow("cut, not rounded") << 12.98 << 1 << "12.9";
    QTest::newRow("whole number stays") << 12.0 << 2 << "12";
    QTest::newRow("fewer decimals stay") << 12.3 << 3 << "12.3";
    QTest::newRow("six significant digits") << 3.14159265 << 8 << "3.14159";
    QTest::newRow("negative") << -0.56 << 1 << "-0.5";
    QTest::newRow("negative decimals as 0") << 7.5 << -2 << "7";
    QTest::newRow("exponent kept") << 1234567.0 << 1 << "1.2e+06";
    QTest::newRow("small exponent kept") << 0.000012345 << 0 << "1e-05";
}

void tst_DigitalDashboardWidget::valueText()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(DigitalDashboardWidget::valueText(value, decimals), text);
}

void tst_DigitalDashboardWidget::digitsWithUnit()
{
    DigitalDashboardWidget gauge;
    configureLikeTheChargingWindow(gauge);
    QVERIFY(gauge.setCurrentValue(412.78));
    QStringList texts = textsOf(PaintRecorder::record(gauge));
    QVERIFY2(texts.contains("412.7V"), qPrintable(texts.join('|')));
    QVERIFY(texts.contains("Voltage"));

    // A format without "%1" is shown as it is.
    gauge.setUnitFormat(QStringLiteral("off"));
    const WarningCatcher warnings;
    texts = textsOf(PaintRecorder::record(gauge));
    QVERIFY(texts.contains("off"));
    QCOMPARE(warnings.caught(), QStringList());
}

void tst_DigitalDashboardWidget::bandModes()
{
    // One colour: a pie from the scale's start to the value (1/16 degrees).
    const auto pies = [](DigitalDashboardWidget &gauge) {
        QVector<QRectF> found;
        for (const PaintedShape &shape : shapesOf(PaintRecorder::record(gauge), PaintedShape::Path))
            if (shape.brush.gradient())
                found << shape.bounds();
        return found;
    };
    DigitalDashboardWidget gauge;
    gauge.resize(180, 180);
    QVERIFY(gauge.setValues(0, 0, 0, 120));
    QCOMPARE(pies(gauge).size(), 0);
    QVERIFY(gauge.setCurrentValue(60)); // 210 degrees down to 90: the upper left
    QVector<QRectF> band = pies(gauge);
    QCOMPARE(band.size(), 1);
    QVERIFY(qAbs(band.first().left() - 9) < 0.5);
    QVERIFY(qAbs(band.first().top() - 9) < 0.5);
    QVERIFY(qAbs(band.first().right() - 90) < 0.5);
    QVERIFY(qAbs(band.first().bottom() - (90 + 81 * 0.5)) < 0.5);

    // A list: the whole scale whatever the value, even with one or no colour.
    for (const QList<QColor> &colors : {QList<QColor>{Qt::green, Qt::yellow, Qt::red}, QList<QColor>{Qt::blue},
                                        QList<QColor>{}}) {
        gauge.setBandColors(colors);
        for (double value : {0.0, 120.0}) {
            QVERIFY(gauge.setCurrentValue(value));
            const WarningCatcher warnings;
            band = pies(gauge);
            QCOMPARE(warnings.caught(), QStringList());
            QCOMPARE(band.size(), colors.isEmpty() ? 0 : 2);
            // -30 to 210 degrees: down to half the radius below the centre.
            for (const QRectF &pie : band)
                QVERIFY(qAbs(pie.bottom() - 90 - pie.width() / 4) < 0.5);
        }
    }
    gauge.setBandColor(Qt::cyan); // back to one colour
    QVERIFY(gauge.setCurrentValue(30));
    QCOMPARE(pies(gauge).size(), 1);
}

void tst_DigitalDashboardWidget::hubPictureLoadedOnce()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("hub.png"));
    QImage picture(40, 40, QImage::Format_ARGB32);
    picture.fill(Qt::yellow);
    QVERIFY(picture.save(path));

    DigitalDashboardWidget gauge;
    gauge.resize(180, 180);
    gauge.setPixmapPath(path);
    QVERIFY(QFile::remove(path));
    for (int paint = 0; paint < 2; ++paint) {
        const QVector<PaintedShape> pixmaps = shapesOf(PaintRecorder::record(gauge), PaintedShape::Pixmap);
        QCOMPARE(pixmaps.size(), 1);
        // r / 5 = 18 pixels, centred, above the digits.
        QCOMPARE(pixmaps.first().bounds(), QRectF(90 - 9, 90 - 27, 18, 18));
    }
    const QImage image = gauge.grab().toImage();
    QCOMPARE(image.pixelColor(90, 72), QColor(Qt::yellow));

    gauge.setPixmapPath(folder.filePath(QStringLiteral("missing.png")));
    QCOMPARE(shapesOf(PaintRecorder::record(gauge), PaintedShape::Pixmap).size(), 0);
}

void tst_DigitalDashboardWidget::nothingOutsideTheWidget_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("value");
    QTest::newRow("nothing") << QSize(0, 0) << 0.0 << 120.0 << 60.0;
    QTest::newRow("tiny") << QSize(12, 12) << 0.0 << 120.0 << 60.0;
    QTest::newRow("just too small") << QSize(59, 59) << 0.0 << 120.0 << 60.0;
    QTest::newRow("smallest dial") << QSize(60, 60) << 0.0 << 120.0 << 120.0;
    QTest::newRow("tall") << QSize(70, 400) << 0.0 << 800.0 << 800.0;
    QTest::newRow("charging window") << QSize(180, 180) << -1000.0 << 1000.0 << 1000.0;
    QTest::newRow("large") << QSize(1200, 900) << 0.0 << 1.0 << 0.5;
    QTest::newRow("zero-width range") << QSize(180, 180) << 3.0 << 3.0 << 3.0;
    QTest::newRow("huge range") << QSize(180, 180) << 0.0 << 1e12 << 5e11;
}

void tst_DigitalDashboardWidget::nothingOutsideTheWidget()
{
    QFETCH(QSize, size);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(double, value);
    for (bool colorList : {false, true}) {
        DigitalDashboardWidget gauge;
        configureLikeTheChargingWindow(gauge);
        if (!colorList)
            gauge.setBandColor(Qt::cyan);
        gauge.resize(size);
        QVERIFY(gauge.setValues(value, value, minimum, maximum));
        const WarningCatcher warnings;
        const QVector<PaintedShape> shapes = PaintRecorder::record(gauge);
        QCOMPARE(warnings.caught(), QStringList());
        for (const PaintedShape &shape : shapes) {
            if (shape.kind == PaintedShape::Text)
                continue;
            QVERIFY2(shape.inside(size), qPrintable(QStringLiteral("shape %1 at %2,%3 %4x%5")
                                                            .arg(shape.kind)
                                                            .arg(shape.bounds().x())
                                                            .arg(shape.bounds().y())
                                                            .arg(shape.bounds().width())
                                                            .arg(shape.bounds().height())));
        }
        QCOMPARE(shapes.isEmpty(), size.width() < 60 || size.height() < 60);
        gauge.grab();
    }
}

MEROVAST_GUI_TEST_MAIN(tst_DigitalDashboardWidget)
#include "tst_digitaldashboardwidget.moc"
