// The two-handle range slider: the step rule of its setters, dragging and
// arrow keys within the limits, and drawing without a span or a width.
#include "doubleslider.h"
#include "guitest.h"

#include <QSignalSpy>
#include <QtTest>

#include <algorithm>

namespace {

void send(QWidget *widget, QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void drag(QWidget *widget, const QPoint &from, const QPoint &to)
{
    send(widget, QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(widget, QEvent::MouseMove, to, Qt::LeftButton);
    send(widget, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// The handle colour at a pixel column, drawn into an image.
bool handleAt(DoubleSlider &slider, int x)
{
    const QImage image = slider.grab().toImage();
    return image.pixelColor(x + 3, 20) == QColor(Qt::darkGray);
}

// 300 pixels wide, range 5..1000 in steps of 1, drawn once (the handles'
// hit areas come from drawing).
struct Slider {
    DoubleSlider widget;
    Slider(float low, float high)
    {
        widget.resize(300, 45);
        widget.setStep(1.0f);
        widget.setRange(5.0f, 1000.0f);
        widget.setMinValue(low);
        widget.setMaxValue(high);
        widget.grab();
    }
    int pixel(float value) const { return int((value - 5.0f) * 300.0f / 995.0f); }
    QPoint handle(float value) const { return QPoint(std::clamp(pixel(value), 4, 300 - 8) + 3, 22); }
};

} // namespace

class tst_DoubleSlider : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stepRule_data();
    void stepRule();
    void rangePullsValuesIn();
    void dragStopsAtTheOtherHandle_data();
    void dragStopsAtTheOtherHandle();
    void pressOutsideHandlesMovesNothing();
    void handlesOnTopOfEachOther_data();
    void handlesOnTopOfEachOther();
    void arrowKeysMoveOneStep();
    void drawsOutOfRangeValuesAtTheEnds();
    void noSpanOrNoWidth();
};

void tst_DoubleSlider::stepRule_data()
{
    QTest::addColumn<bool>("high");
    QTest::addColumn<float>("value");
    QTest::addColumn<float>("expected");
    // Defaults 5 and 99 with step 1.
    QTest::newRow("low within a step") << false << 5.9f << 5.0f;
    QTest::newRow("low exactly a step") << false << 6.0f << 5.0f;
    QTest::newRow("low beyond a step") << false << 6.5f << 6.5f;
    QTest::newRow("low below minimum, no clamping") << false << -20.0f << -20.0f;
    QTest::newRow("high within a step") << true << 98.5f << 99.0f;
    QTest::newRow("high beyond a step") << true << 200.0f << 200.0f;
}

void tst_DoubleSlider::stepRule()
{
    QFETCH(bool, high);
    QFETCH(float, value);
    QFETCH(float, expected);
    DoubleSlider slider;
    slider.setStep(1.0f);
    QSignalSpy lowSpy(&slider, &DoubleSlider::minValueChanged);
    QSignalSpy highSpy(&slider, &DoubleSlider::maxValueChanged);
    if (high)
        slider.setMaxValue(value);
    else
        slider.setMinValue(value);
    QCOMPARE(high ? slider.maxValue() : slider.minValue(), expected);
    QSignalSpy &changed = high ? highSpy : lowSpy;
    const bool emitted = expected == value;
    QCOMPARE(changed.count(), emitted ? 1 : 0);
    if (emitted)
        QCOMPARE(changed.first().first().toFloat(), value);
    QCOMPARE((high ? lowSpy : highSpy).count(), 0);
}

void tst_DoubleSlider::rangePullsValuesIn()
{
    DoubleSlider slider;
    QSignalSpy lowSpy(&slider, &DoubleSlider::minValueChanged);
    QSignalSpy highSpy(&slider, &DoubleSlider::maxValueChanged);
    slider.setRange(10.0f, 50.0f);
    QCOMPARE(slider.minimum(), 10.0f);
    QCOMPARE(slider.maximum(), 50.0f);
    QCOMPARE(slider.minValue(), 10.0f);
    QCOMPARE(slider.maxValue(), 50.0f);
    QCOMPARE(lowSpy.count(), 1);
    QCOMPARE(highSpy.count(), 1);
    slider.setRange(0.0f, 100.0f); // values inside: untouched
    QCOMPARE(slider.minValue(), 10.0f);
    QCOMPARE(slider.maxValue(), 50.0f);
    QCOMPARE(lowSpy.count(), 1);
}

void tst_DoubleSlider::dragStopsAtTheOtherHandle_data()
{
    QTest::addColumn<bool>("lowHandle");
    QTest::addColumn<int>("toX");
    QTest::addColumn<float>("low");
    QTest::addColumn<float>("high");
    QTest::newRow("low to the far right") << true << 299 << 500.0f << 500.0f;
    QTest::newRow("low to the far left") << true << -50 << 5.0f << 500.0f;
    QTest::newRow("high to the far left") << false << 0 << 100.0f << 100.0f;
    QTest::newRow("high beyond the right end") << false << 400 << 100.0f << 1000.0f;
}

void tst_DoubleSlider::dragStopsAtTheOtherHandle()
{
    QFETCH(bool, lowHandle);
    QFETCH(int, toX);
    QFETCH(float, low);
    QFETCH(float, high);
    Slider s(lowHandle ? 200.0f : 100.0f, 500.0f);
    drag(&s.widget, s.handle(lowHandle ? 200.0f : 500.0f), QPoint(toX, 22));
    QCOMPARE(s.widget.minValue(), low);
    QCOMPARE(s.widget.maxValue(), high);
}

void tst_DoubleSlider::pressOutsideHandlesMovesNothing()
{
    Slider s(200.0f, 500.0f);
    QSignalSpy lowSpy(&s.widget, &DoubleSlider::minValueChanged);
    QSignalSpy highSpy(&s.widget, &DoubleSlider::maxValueChanged);
    drag(&s.widget, QPoint(150, 5), QPoint(290, 5));
    drag(&s.widget, QPoint(120, 22), QPoint(10, 22)); // between the handles
    QCOMPARE(lowSpy.count() + highSpy.count(), 0);
    // Moving without the button held does nothing either.
    send(&s.widget, QEvent::MouseButtonPress, s.handle(200.0f), Qt::LeftButton);
    send(&s.widget, QEvent::MouseMove, QPoint(250, 22), Qt::NoButton);
    QCOMPARE(lowSpy.count(), 0);
}

void tst_DoubleSlider::handlesOnTopOfEachOther_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("toX");
    QTest::addColumn<float>("low");
    QTest::addColumn<float>("high");
    // Both at one end: the handle that can move is taken.
    QTest::newRow("at the minimum") << 5.0f << 150 << 5.0f << 5.0f + 995.0f * 150 / 300;
    QTest::newRow("at the maximum") << 1000.0f << 150 << 5.0f + 995.0f * 150 / 300 << 1000.0f;
}

void tst_DoubleSlider::handlesOnTopOfEachOther()
{
    QFETCH(float, value);
    QFETCH(int, toX);
    QFETCH(float, low);
    QFETCH(float, high);
    Slider s(5.0f, 1000.0f);
    s.widget.setMinValue(value);
    s.widget.setMaxValue(value);
    s.widget.grab();
    drag(&s.widget, s.handle(value), QPoint(toX, 22));
    QCOMPARE(s.widget.minValue(), low);
    QCOMPARE(s.widget.maxValue(), high);
}

void tst_DoubleSlider::arrowKeysMoveOneStep()
{
    Slider s(200.0f, 500.0f);
    send(&s.widget, QEvent::MouseButtonPress, s.handle(200.0f), Qt::LeftButton);
    QTest::keyClick(&s.widget, Qt::Key_Right);
    QCOMPARE(s.widget.minValue(), 201.0f);
    QTest::keyClick(&s.widget, Qt::Key_Left);
    QTest::keyClick(&s.widget, Qt::Key_Left);
    QCOMPARE(s.widget.minValue(), 199.0f);
    QTest::keyClick(&s.widget, Qt::Key_Up); // not a slider key
    QCOMPARE(s.widget.minValue(), 199.0f);

    // The high handle stops at the maximum; leaving the widget drops the handle.
    s.widget.setMaxValue(999.5f);
    s.widget.grab();
    send(&s.widget, QEvent::MouseButtonPress, s.handle(999.5f), Qt::LeftButton);
    QTest::keyClick(&s.widget, Qt::Key_Right);
    QTest::keyClick(&s.widget, Qt::Key_Right);
    QCOMPARE(s.widget.maxValue(), 1000.0f);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&s.widget, &leave);
    QTest::keyClick(&s.widget, Qt::Key_Left);
    QCOMPARE(s.widget.maxValue(), 1000.0f);
}

void tst_DoubleSlider::drawsOutOfRangeValuesAtTheEnds()
{
    Slider s(5.0f, 1000.0f);
    s.widget.setMinValue(-500.0f);
    s.widget.setMaxValue(5000.0f);
    QVERIFY(handleAt(s.widget, 4));
    QVERIFY(handleAt(s.widget, 300 - 8));
    QVERIFY(!handleAt(s.widget, 150));
}

void tst_DoubleSlider::noSpanOrNoWidth()
{
    DoubleSlider slider;
    slider.resize(300, 45);
    slider.setRange(5.0f, 5.0f);
    QVERIFY(handleAt(slider, 4)); // every value at the left end
    drag(&slider, QPoint(7, 22), QPoint(200, 22));
    QCOMPARE(slider.maxValue(), 5.0f);

    // Handles together at the minimum take any press; with no width a
    // position has no value.
    DoubleSlider narrow;
    narrow.resize(0, 45);
    narrow.setRange(5.0f, 1000.0f);
    narrow.setMaxValue(5.0f);
    drag(&narrow, QPoint(0, 22), QPoint(10, 22));
    QCOMPARE(narrow.minValue(), 5.0f);
    QCOMPARE(narrow.maxValue(), 5.0f);
}

MEROVAST_GUI_TEST_MAIN(tst_DoubleSlider)
#include "tst_doubleslider.moc"
