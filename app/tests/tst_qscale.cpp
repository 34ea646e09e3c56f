// The scale: its label sample, which way it lies, the tick steps it picks
// or is given and where the major ticks fall, the needle beyond the range,
// the setters' rules, drawing where the arc has no room or the steps make
// no sense, and the arc through three points.
#include "guitest.h"
#include "paintrecorder.h"
#include "qscale.h"

#include <QElapsedTimer>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

struct Painted {
    QVector<PaintedShape> shapes;
    QColor text, mid;

    explicit Painted(QScale &scale)
        : shapes(PaintRecorder::record(scale)), text(scale.palette().color(QPalette::Text)),
          mid(scale.palette().color(QPalette::Mid))
    {
    }
    // Tick lines: one pixel wide (the needle's line is two).
    QVector<QLineF> ticks() const
    {
        QVector<QLineF> lines;
        for (const PaintedShape &shape : shapes)
            if (shape.kind == PaintedShape::Line && shape.pen.widthF() == 1) {
                const QPolygonF ends = shape.outline();
                lines << QLineF(ends.at(0), ends.at(1));
            }
        return lines;
    }
    QVector<PaintedShape> labels() const { return shapesOf(shapes, PaintedShape::Text); }
    const PaintedShape *baseBar() const
    {
        for (const PaintedShape &shape : shapes)
            if (shape.kind == PaintedShape::Rect && shape.color() == mid)
                return &shape;
        return nullptr;
    }
    const PaintedShape *needle() const
    {
        for (const PaintedShape &shape : shapes)
            if (shape.kind == PaintedShape::Polygon && shape.color() == text)
                return &shape;
        return nullptr;
    }
};

QStringList numbers(double from, double to, double step)
{
    QStringList texts;
    for (double v = from; v <= to + step / 2; v += step)
        texts << QString::number(v);
    return texts;
}

} // namespace

class tst_QScale : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labelSample_data();
    void labelSample();
    void orientation_data();
    void orientation();
    void steps_data();
    void steps();
    void needleBeyondTheRange();
    void setterRules();
    void safeForEverySetting_data();
    void safeForEverySetting();
    void arcThroughPoints_data();
    void arcThroughPoints();
};

void tst_QScale::labelSample_data()
{
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<char>("format");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("sample");
    QTest::newRow("0..100") << 0.0 << 100.0 << 'g' << -1 << "800";
    QTest::newRow("-50..50") << -50.0 << 50.0 << 'g' << -1 << "-80";
    QTest::newRow("0..1") << 0.0 << 1.0 << 'g' << -1 << "8";
    QTest::newRow("0..0.05") << 0.0 << 0.05 << 'g' << -1 << "0.08";
    QTest::newRow("-0.3..0") << -0.3 << 0.0 << 'g' << -1 << "-0.8";
    QTest::newRow("1000..25000") << 1000.0 << 25000.0 << 'g' << -1 << "80000";
    QTest::newRow("fixed with 1 decimal") << 0.0 << 100.0 << 'f' << 1 << "800.0";
    QTest::newRow("zero-width range at 0") << 0.0 << 0.0 << 'g' << -1 << "8";
}

void tst_QScale::labelSample()
{
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(char, format);
    QFETCH(int, precision);
    QFETCH(QString, sample);
    QScale scale;
    scale.setLabelsFormat(format, precision);
    scale.setRange(minimum, maximum);
    QCOMPARE(scale.labelSample(), sample);
}

void tst_QScale::orientation_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("vertical");
    const int both = Qt::Horizontal | Qt::Vertical;
    QTest::newRow("wide, both flags") << QSize(300, 100) << both << false;
    QTest::newRow("high, both flags") << QSize(100, 300) << both << true;
    QTest::newRow("wide, no flag") << QSize(300, 100) << 0 << false;
    QTest::newRow("high, no flag") << QSize(100, 300) << 0 << true;
    QTest::newRow("wide, vertical") << QSize(300, 100) << int(Qt::Vertical) << true;
    QTest::newRow("high, horizontal") << QSize(100, 300) << int(Qt::Horizontal) << false;
}

void tst_QScale::orientation()
{
    QFETCH(QSize, size);
    QFETCH(int, flags);
    QFETCH(bool, vertical);
    QScale scale;
    scale.resize(size);
    scale.setOrientations(Qt::Orientations(flags));
    scale.setRange(0, 10);
    const Painted painted(scale);

    // The base bar lies along the bottom, or along the left when vertical.
    QVERIFY(painted.baseBar());
    const QRectF bar = painted.baseBar()->bounds();
    QCOMPARE(bar, vertical ? QRectF(0, 0, 10, size.height()) : QRectF(0, size.height() - 10, size.width(), 10));

    // The labels run from the minimum on the left (or at the top) to the
    // maximum, on the side away from the bar.
    const QVector<PaintedShape> labels = painted.labels();
    QVERIFY(labels.size() >= 2);
    QCOMPARE(labels.first().text, QStringLiteral("0"));
    QCOMPARE(labels.last().text, QStringLiteral("10"));
    for (int i = 1; i < labels.size(); ++i) {
        const QPointF step = labels.at(i).bounds().center() - labels.at(i - 1).bounds().center();
        QVERIFY(vertical ? step.y() > qAbs(step.x()) : step.x() > qAbs(step.y()));
    }
    for (const PaintedShape &label : labels)
        QVERIFY(vertical ? label.bounds().left() > bar.right() + 10 : label.bounds().bottom() < bar.top() - 10);
}

void tst_QScale::steps_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("major");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("labels"); // empty: automatic, 10 or 20 apart
    QTest::newRow("automatic") << QSize(300, 100) << 0.0 << 100.0 << 0.0 << 0 << QStringList();
    QTest::newRow("given major, automatic minor") << QSize(300, 100) << 0.0 << 100.0 << 25.0 << 0
                                                  << numbers(0, 100, 25);
    QTest::newRow("both given") << QSize(300, 100) << 0.0 << 100.0 << 50.0 << 10 << numbers(0, 100, 50);
    QTest::newRow("minimum off the minor step") << QSize(100, 300) << 5.0 << 95.0 << 10.0 << 5
                                                << numbers(10, 90, 10);
    QTest::newRow("minimum off both steps") << QSize(300, 100) << 3.0 << 97.0 << 10.0 << 5 << numbers(10, 90, 10);
    QTest::newRow("negative minimum off the step") << QSize(300, 100) << -5.0 << 95.0 << 10.0 << 5
                                                   << numbers(0, 90, 10);
    QTest::newRow("negative, vertical") << QSize(100, 300) << -50.0 << 50.0 << 25.0 << 5 << numbers(-50, 50, 25);
}

void tst_QScale::steps()
{
    QFETCH(QSize, size);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(double, major);
    QFETCH(int, count);
    QFETCH(QStringList, labels);
    QScale scale;
    scale.resize(size);
    scale.setRange(minimum, maximum);
    scale.setMajorStepSize(major);
    scale.setMinorStepCount(count);
    const Painted painted(scale);
    const QStringList texts = textsOf(painted.shapes);
    if (labels.isEmpty()) {
        QVERIFY2(texts == numbers(0, 100, 10) || texts == numbers(0, 100, 20), qPrintable(texts.join(' ')));
        labels = texts;
    }
    QCOMPARE(texts, labels);

    // Majors are the longer ticks; each one ends where a label stands.
    const QVector<QLineF> ticks = painted.ticks();
    double longest = 0;
    for (const QLineF &tick : ticks)
        longest = std::max(longest, tick.length());
    QVector<int> majors;
    for (int i = 0; i < ticks.size(); ++i)
        if (ticks.at(i).length() > 0.8 * longest)
            majors << i;
    QCOMPARE(majors.size(), labels.size());
    const QVector<PaintedShape> drawn = painted.labels();
    const bool vertical = size.height() > size.width();
    for (int k = 0; k < majors.size(); ++k) {
        const QPointF end = ticks.at(majors.at(k)).p2();
        const QPointF label = drawn.at(k).bounds().center();
        QVERIFY2(qAbs(vertical ? end.y() - label.y() : end.x() - label.x()) < 1.5,
                 qPrintable(QStringLiteral("label %1").arg(drawn.at(k).text)));
    }
    // Between majors the minor count: given, or 5 or 4 with the step.
    const int between = majors.at(1) - majors.at(0);
    if (count > 0)
        QCOMPARE(between, count);
    else
        QVERIFY(between == 5 || between == 4);
    for (int k = 1; k < majors.size(); ++k)
        QCOMPARE(majors.at(k) - majors.at(k - 1), between);
}

void tst_QScale::needleBeyondTheRange()
{
    QScale scale;
    scale.resize(300, 100);
    const auto tip = [&](double value) {
        scale.setValue(value);
        const Painted painted(scale);
        return painted.needle()->outline().at(2);
    };
    const QPointF low = tip(0);
    const QPointF high = tip(100);
    const QPointF middle = tip(50);
    QVERIFY(low.x() < middle.x() && middle.x() < high.x());
    QVERIFY(qAbs(middle.x() - 150) < 1);
    QVERIFY(tip(-20).x() < low.x());
    QVERIFY(tip(130).x() > high.x());
    QCOMPARE(scale.value(), 130.0);
    scale.setValue(qQNaN()); // ignored
    scale.setValue(qInf());
    QCOMPARE(scale.value(), 130.0);
}

void tst_QScale::setterRules()
{
    QScale scale;
    QCOMPARE(scale.minimumSize(), QSize(80, 60));
    QCOMPARE(scale.sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(scale.sizePolicy().verticalPolicy(), QSizePolicy::Expanding);

    scale.setRange(-10, qInf());
    QCOMPARE(scale.minimum(), -10.0);
    QCOMPARE(scale.maximum(), 100.0);
    QCOMPARE(scale.labelSample(), QStringLiteral("-800"));
    scale.setMinimum(qQNaN());
    scale.setMaximum(-qInf());
    QCOMPARE(scale.minimum(), -10.0);
    QCOMPARE(scale.maximum(), 100.0);
    scale.setMaximum(1000);
    QCOMPARE(scale.labelSample(), QStringLiteral("-8000"));

    scale.setBorderWidth(-5);
    QCOMPARE(scale.borderWidth(), 0);
    scale.setBorderWidth(4);
    QCOMPARE(scale.borderWidth(), 4);
    scale.setMajorStepSize(-3);
    QCOMPARE(scale.majorStepSize(), -3.0); // kept; drawn as automatic
    scale.setMinorStepCount(7);
    QCOMPARE(scale.minorStepCount(), 7);
    scale.setOrientations(Qt::Vertical);
    QCOMPARE(scale.orientations(), Qt::Orientations(Qt::Vertical));
    scale.setLabelsVisible(false);
    scale.setScaleVisible(false);
    QVERIFY(!scale.isLabelsVisible());
    QVERIFY(!scale.isScaleVisible());
    const Painted painted(scale);
    QVERIFY(painted.labels().isEmpty());
    QVERIFY(painted.ticks().isEmpty());
    QVERIFY(painted.needle());
}

void tst_QScale::safeForEverySetting_data()
{
    QTest::addColumn<QString>("setting");
    for (const char *setting : {"zero-width range", "reversed range", "border leaves no room", "no border",
                                "labels hidden", "scale hidden", "tiny major step", "huge minor count",
                                "infinite major step", "major step not a number", "exponent labels",
                                "huge range", "tiny range", "far from zero", "value not a number"})
        QTest::newRow(setting) << QString::fromLatin1(setting);
}

void tst_QScale::safeForEverySetting()
{
    QFETCH(QString, setting);
    for (const QSize &size : {QSize(80, 60), QSize(300, 100), QSize(100, 300), QSize(900, 60)}) {
        QScale scale;
        scale.resize(size);
        scale.setValue(30);
        if (setting == "zero-width range")
            scale.setRange(5, 5);
        else if (setting == "reversed range")
            scale.setRange(100, 0);
        else if (setting == "border leaves no room")
            scale.setBorderWidth(200);
        else if (setting == "no border")
            scale.setBorderWidth(0);
        else if (setting == "labels hidden")
            scale.setLabelsVisible(false);
        else if (setting == "scale hidden")
            scale.setScaleVisible(false);
        else if (setting == "tiny major step")
            scale.setMajorStepSize(1e-9);
        else if (setting == "huge minor count")
            scale.setMinorStepCount(1000000000);
        else if (setting == "infinite major step")
            scale.setMajorStepSize(qInf());
        else if (setting == "major step not a number")
            scale.setMajorStepSize(qQNaN());
        else if (setting == "exponent labels")
            scale.setLabelsFormat('e', 2);
        else if (setting == "huge range")
            scale.setRange(-1e300, 1e300);
        else if (setting == "tiny range")
            scale.setRange(0, 1e-300);
        else if (setting == "far from zero") {
            scale.setRange(1e20, 1e20 + 1e5); // label numbers past 2^53 steps
            scale.setMajorStepSize(1e4);
        }
        else if (setting == "value not a number")
            scale.setValue(qQNaN());
        const WarningCatcher warnings;
        QElapsedTimer painting;
        painting.start();
        const Painted painted(scale);
        QVERIFY(painting.elapsed() < 2000);
        QCOMPARE(warnings.caught(), QStringList());
        QVERIFY(painted.ticks().size() < 2000);
        for (const PaintedShape &shape : painted.shapes) {
            QVERIFY(shape.finite());
            QVERIFY(!shape.text.contains(QLatin1String("nan")) && !shape.text.contains(QLatin1String("inf")));
        }
        scale.grab();
    }
}

void tst_QScale::arcThroughPoints_data()
{
    QTest::addColumn<QVector<QPointF>>("points");
    QTest::addColumn<QRectF>("bounds"); // of the path drawn; empty: nothing drawn
    // Circle of radius 40 around (50, 50).
    QTest::newRow("over the top") << QVector<QPointF>{{90, 50}, {50, 10}, {10, 50}} << QRectF(10, 10, 80, 40);
    QTest::newRow("over the top, backwards") << QVector<QPointF>{{10, 50}, {50, 10}, {90, 50}} << QRectF(10, 10, 80, 40);
    QTest::newRow("under the bottom") << QVector<QPointF>{{90, 50}, {50, 90}, {10, 50}} << QRectF(10, 50, 80, 40);
    QTest::newRow("three quarters") << QVector<QPointF>{{90, 50}, {10, 50}, {50, 90}} << QRectF(10, 10, 80, 80);
    QTest::newRow("two points from the origin") << QVector<QPointF>{{20, 10}, {40, 30}} << QRectF(0, 0, 40, 30);
    QTest::newRow("in one line") << QVector<QPointF>{{10, 10}, {20, 20}, {30, 30}} << QRectF(10, 10, 20, 20);
    QTest::newRow("one point") << QVector<QPointF>{{10, 10}} << QRectF();
    QTest::newRow("four points") << QVector<QPointF>{{1, 1}, {2, 2}, {3, 1}, {4, 4}} << QRectF();
}

void tst_QScale::arcThroughPoints()
{
    QFETCH(QVector<QPointF>, points);
    QFETCH(QRectF, bounds);
    const QVector<PaintedShape> shapes =
            PaintRecorder::record(QSize(100, 100), [&](QPainter &painter) { drawArcThroughPoints(painter, points); });
    QRectF drawn;
    for (const PaintedShape &shape : shapes)
        drawn |= shape.bounds();
    if (bounds.isNull()) {
        QVERIFY(drawn.isEmpty());
        return;
    }
    QVERIFY2(qAbs(drawn.left() - bounds.left()) < 0.5 && qAbs(drawn.top() - bounds.top()) < 0.5
                     && qAbs(drawn.right() - bounds.right()) < 0.5 && qAbs(drawn.bottom() - bounds.bottom()) < 0.5,
             qPrintable(QStringLiteral("%1,%2 %3x%4").arg(drawn.x()).arg(drawn.y()).arg(drawn.width()).arg(drawn.height())));
}

MEROVAST_GUI_TEST_MAIN(tst_QScale)
#include "tst_qscale.moc"
