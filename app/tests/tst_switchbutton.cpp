// The switch button: a press toggles it once and slides the knob in steps
// to the end of its style, a second press turns it round, a resize puts it
// at the end at once, setChecked and switchTo, the picture style, and
// switches too small for their knob.
#include "guitest.h"
#include "paintrecorder.h"
#include "switchbutton.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// The knob's left edge, or -1 when none is drawn.
int knobX(SwitchButton &button)
{
    const QVector<PaintedShape> shapes = PaintRecorder::record(button);
    // Track first, knob second (text last).
    int shapesSeen = 0;
    for (const PaintedShape &shape : shapes) {
        if (shape.kind == PaintedShape::Text)
            continue;
        if (++shapesSeen == 2)
            return qRound(shape.bounds().left());
    }
    return -1;
}

QTimer *timer(SwitchButton &button)
{
    return button.findChild<QTimer *>();
}

// Ticks until the knob rests; the number of ticks that moved it.
int slide(SwitchButton &button, QVector<int> *positions = nullptr)
{
    int moves = 0;
    for (int guard = 0; timer(button)->isActive() && guard < 10000; ++guard) {
        const int before = knobX(button);
        button.updateValue();
        const int after = knobX(button);
        if (after != before) {
            ++moves;
            if (positions)
                *positions << after;
        }
    }
    return moves;
}

void press(SwitchButton &button, Qt::MouseButton mouse = Qt::LeftButton)
{
    QTest::mousePress(&button, mouse, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(&button, mouse, Qt::NoModifier, QPoint(10, 10));
}

// A hidden widget gets its resize event when shown or first sent an event;
// send it now.
void resize(SwitchButton &button, const QSize &size)
{
    QResizeEvent event(size, button.size());
    button.resize(size);
    button.setAttribute(Qt::WA_PendingResizeEvent, false);
    QCoreApplication::sendEvent(&button, &event);
}

} // namespace

class tst_SwitchButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pressSlidesToTheEnd();
    void pressWhileSlidingTurnsBack();
    void slidesOnItsTimer();
    void resizeSnapsToTheEnd();
    void endOfEachStyle_data();
    void endOfEachStyle();
    void setCheckedAndSwitchTo();
    void pictureStyle();
    void tooSmallForTheKnob_data();
    void tooSmallForTheKnob();
};

void tst_SwitchButton::pressSlidesToTheEnd()
{
    SwitchButton button;
    resize(button, QSize(100, 30));
    QSignalSpy changed(&button, &SwitchButton::checkedChanged);
    QCOMPARE(knobX(button), 2);

    press(button, Qt::RightButton); // any button
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toBool(), true);
    QVERIFY(button.isChecked());
    QVERIFY(timer(button)->isActive());
    QCOMPARE(timer(button)->interval(), 5);

    // W / 50 = 2 pixels a tick: 35 ticks from 0 to 70, then the timer stops.
    QVector<int> positions;
    QCOMPARE(slide(button, &positions), 35);
    QCOMPARE(positions.first(), 2 + 2);
    QCOMPARE(positions.last(), 2 + 70);
    QCOMPARE(changed.count(), 1);
    QVERIFY(!timer(button)->isActive());
}

void tst_SwitchButton::pressWhileSlidingTurnsBack()
{
    SwitchButton button;
    resize(button, QSize(100, 30));
    QSignalSpy changed(&button, &SwitchButton::checkedChanged);
    press(button);
    for (int i = 0; i < 10; ++i)
        button.updateValue();
    QCOMPARE(knobX(button), 2 + 20);
    press(button);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.last().first().toBool(), false);
    QVector<int> positions;
    QCOMPARE(slide(button, &positions), 10);
    QCOMPARE(positions.first(), 2 + 18);
    QCOMPARE(positions.last(), 2);
}

void tst_SwitchButton::slidesOnItsTimer()
{
    SwitchButton button;
    resize(button, QSize(100, 30));
    press(button);
    QTRY_VERIFY(!timer(button)->isActive());
    QCOMPARE(knobX(button), 72);
}

void tst_SwitchButton::resizeSnapsToTheEnd()
{
    SwitchButton button;
    resize(button, QSize(100, 30));
    press(button);
    slide(button);
    resize(button, QSize(200, 30));
    QCOMPARE(knobX(button), 2 + 170);

    // In the middle of a slide: at the new end at once, and it stays there.
    press(button);
    slide(button);
    press(button);
    for (int i = 0; i < 5; ++i)
        button.updateValue();
    QCOMPARE(knobX(button), 2 + 5 * 4);
    resize(button, QSize(300, 30));
    QCOMPARE(knobX(button), 2 + 270);
    slide(button);
    QCOMPARE(knobX(button), 2 + 270);

    // The step is W / 30 after a resize (a press takes W / 50 again).
    button.switchTo(false);
    button.updateValue();
    QCOMPARE(knobX(button), 2 + 270 - 10);
}

void tst_SwitchButton::endOfEachStyle_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("space");
    QTest::addColumn<QRect>("off");
    QTest::addColumn<QRect>("on");
    // 100 by 30; knob rectangles at rest.
    QTest::newRow("rectangle") << int(SwitchButton::SwitchStyleRect) << 2 << QRect(2, 2, 46, 26) << QRect(52, 2, 46, 26);
    QTest::newRow("pill") << int(SwitchButton::SwitchStylePill) << 2 << QRect(2, 2, 26, 26) << QRect(72, 2, 26, 26);
    QTest::newRow("overhang") << int(SwitchButton::SwitchStyleOverhang) << 4 << QRect(0, 2, 26, 26)
                              << QRect(74, 2, 26, 26);
}

void tst_SwitchButton::endOfEachStyle()
{
    QFETCH(int, style);
    QFETCH(int, space);
    QFETCH(QRect, off);
    QFETCH(QRect, on);
    SwitchButton button;
    resize(button, QSize(100, 30));
    button.setButtonStyle(SwitchButton::ButtonStyle(style));
    button.setSpace(space);
    button.setText(QStringLiteral("off"), QStringLiteral("on"));
    button.setTextColor(Qt::red, Qt::blue);
    for (bool pressed : {false, true}) {
        if (pressed) {
            press(button);
            slide(button);
        }
        const QVector<PaintedShape> shapes = PaintRecorder::record(button);
        QCOMPARE(shapes.size(), 3); // track, knob, text
        QCOMPARE(shapes.at(1).bounds(), QRectF(pressed ? on : off));
        QCOMPARE(shapes.at(1).color(), pressed ? QColor(255, 255, 255) : QColor(100, 100, 100));
        QCOMPARE(shapes.at(0).color(), pressed ? QColor(65, 205, 82) : QColor(225, 225, 225));
        QCOMPARE(shapes.at(2).text, pressed ? QStringLiteral("on") : QStringLiteral("off"));
        QCOMPARE(shapes.at(2).pen.color(), pressed ? QColor(Qt::blue) : QColor(Qt::red));
        // The text stands on the side the knob has left.
        QVERIFY(pressed ? shapes.at(2).bounds().right() < 50 + 2 * space : shapes.at(2).bounds().left() > 50);
        for (const PaintedShape &shape : shapes)
            QVERIFY(shape.kind == PaintedShape::Text || shape.inside(QSize(100, 30)));
    }
    // switchTo takes the knob to the same end as a press.
    SwitchButton other;
    resize(other, QSize(100, 30));
    other.setButtonStyle(SwitchButton::ButtonStyle(style));
    other.setSpace(space);
    other.switchTo(true);
    slide(other);
    QCOMPARE(PaintRecorder::record(other).at(1).bounds(), QRectF(on));
}

void tst_SwitchButton::setCheckedAndSwitchTo()
{
    SwitchButton button;
    resize(button, QSize(100, 30));
    QSignalSpy changed(&button, &SwitchButton::checkedChanged);
    button.switchTo(true);
    QVERIFY(button.isChecked());
    QVERIFY(timer(button)->isActive());
    slide(button);
    QCOMPARE(knobX(button), 72);
    QCOMPARE(changed.count(), 0);

    button.setChecked(false);
    QVERIFY(!button.isChecked());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toBool(), false);
    slide(button);
    QCOMPARE(knobX(button), 2);
    button.setChecked(false); // no change, no signal
    QCOMPARE(changed.count(), 1);
    QVERIFY(QMetaObject::invokeMethod(&button, "setChecked", Q_ARG(bool, true)));
    QCOMPARE(changed.count(), 2);
    QVERIFY(button.isChecked());
}

void tst_SwitchButton::pictureStyle()
{
    QTemporaryDir folder;
    const auto picture = [&](const QString &name, const QSize &size, const QColor &color) {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(color);
        const QString path = folder.filePath(name);
        image.save(path);
        return path;
    };
    const QString off = picture(QStringLiteral("off.png"), QSize(40, 20), Qt::red);
    const QString on = picture(QStringLiteral("on.png"), QSize(30, 30), Qt::green);
    SwitchButton button;
    resize(button, QSize(100, 30));
    button.setButtonStyle(SwitchButton::SwitchStyleImage);
    QVector<PaintedShape> shapes = PaintRecorder::record(button);
    QVERIFY(shapes.isEmpty()); // the default pictures do not exist

    button.setImage(off, on);
    shapes = PaintRecorder::record(button);
    QCOMPARE(shapes.size(), 1);
    QCOMPARE(shapes.first().kind, PaintedShape::Pixmap);
    QCOMPARE(shapes.first().bounds(), QRectF(49 - 20, 14 - 10, 40, 20));
    press(button);
    shapes = PaintRecorder::record(button);
    QCOMPARE(shapes.size(), 1);
    QCOMPARE(shapes.first().bounds(), QRectF(49 - 15, 0, 30, 30)); // not a pixel above the top
    const QImage drawn = button.grab().toImage();
    QCOMPARE(drawn.pixelColor(50, 15), QColor(Qt::green));
    slide(button);

    // A picture larger than the switch is fitted into it.
    button.setImage(off, picture(QStringLiteral("big.png"), QSize(300, 60), Qt::blue));
    shapes = PaintRecorder::record(button);
    QCOMPARE(shapes.size(), 1);
    QCOMPARE(shapes.first().bounds().size(), QSizeF(100, 20));
    QVERIFY(shapes.first().inside(QSize(100, 30)));
}

void tst_SwitchButton::tooSmallForTheKnob_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("space");
    QTest::newRow("nothing") << QSize(0, 0) << 2;
    QTest::newRow("narrower than 50") << QSize(40, 20) << 2;
    QTest::newRow("narrower than 30") << QSize(20, 10) << 2;
    QTest::newRow("higher than wide") << QSize(10, 40) << 2;
    QTest::newRow("space larger than the switch") << QSize(100, 30) << 40;
    QTest::newRow("negative space") << QSize(100, 30) << -6;
}

void tst_SwitchButton::tooSmallForTheKnob()
{
    QFETCH(QSize, size);
    QFETCH(int, space);
    for (int style : {SwitchButton::SwitchStyleRect, SwitchButton::SwitchStylePill, SwitchButton::SwitchStyleOverhang}) {
        SwitchButton button;
        button.setButtonStyle(SwitchButton::ButtonStyle(style));
        button.setSpace(space);
        resize(button, size);
        for (int presses = 0; presses < 2; ++presses) {
            press(button);
            // The step is at least a pixel: the knob gets to its end.
            slide(button);
            QVERIFY(!timer(button)->isActive());
            const WarningCatcher warnings;
            const QVector<PaintedShape> shapes = PaintRecorder::record(button);
            QCOMPARE(warnings.caught(), QStringList());
            for (const PaintedShape &shape : shapes)
                QVERIFY(shape.kind == PaintedShape::Text || shape.inside(size));
            button.grab();
        }
    }
}

MEROVAST_GUI_TEST_MAIN(tst_SwitchButton)
#include "tst_switchbutton.moc"
