// The busy indicator: its defaults, the bar geometry it paints at two
// sizes, turning by 30 degrees per tick, the percentage text, progress 100
// stopping the animation, and the delay setter leaving a stopped indicator
// stopped.
#include "customprogressindicator.h"
#include "guitest.h"

#include <QPainter>
#include <QtMath>

#include <cmath>
#include <QtTest>

namespace {

// The widget painted onto a transparent image.
QImage painted(CustomProgressIndicator &indicator)
{
    QImage image(indicator.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    indicator.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

bool blank(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
    return true;
}

} // namespace

class tst_CustomProgressIndicator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaults();
    void bars_data();
    void bars();
    void turnsWhileAnimated();
    void progressText();
    void progressHundredStops();
    void delayWhileStopped();
};

void tst_CustomProgressIndicator::defaults()
{
    CustomProgressIndicator indicator;
    QVERIFY(!indicator.isAnimated());
    QCOMPARE(indicator.animationDelay(), 45);
    QCOMPARE(indicator.property("delay").toInt(), 45);
    QCOMPARE(indicator.color(), QColor(Qt::gray));
    QCOMPARE(indicator.sizeHint(), QSize(25, 25));
    QCOMPARE(indicator.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(indicator.focusPolicy(), Qt::NoFocus);
    // Stopped, with no pixmap: nothing at all.
    indicator.resize(22, 22);
    QVERIFY(blank(painted(indicator), indicator.rect()));
    // A pixmap fills the widget while stopped.
    QPixmap pixmap(8, 8);
    pixmap.fill(Qt::red);
    indicator.setPixmap(pixmap);
    const QImage image = painted(indicator);
    QCOMPARE(QColor(image.pixel(0, 0)), QColor(Qt::red));
    QCOMPARE(QColor(image.pixel(21, 21)), QColor(Qt::red));
}

void tst_CustomProgressIndicator::bars_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("radius");  // outer radius r
    QTest::addColumn<int>("length");  // bar length h
    QTest::newRow("22 x 22") << 22 << 10 << 7;
    QTest::newRow("40 x 40") << 40 << 19 << 12;
}

void tst_CustomProgressIndicator::bars()
{
    QFETCH(int, size);
    QFETCH(int, radius);
    QFETCH(int, length);
    CustomProgressIndicator indicator;
    indicator.resize(size, size);
    indicator.setColor(Qt::black);
    indicator.setDisplayedWhenStopped(true);
    const QImage image = painted(indicator);
    const double centre = size / 2.0;
    const int column = int(centre);
    // The leading bar points up, from the outer radius inwards.
    const int top = int(centre) - radius;
    QCOMPARE(qAlpha(image.pixel(column, top - 1)), 0);
    for (int y = top + 1; y <= top + length - 2; ++y)
        QCOMPARE(qAlpha(image.pixel(column, y)), 255);
    QCOMPARE(qAlpha(image.pixel(column, top + length)), 0);
    // The others fade clockwise: the bar 30 degrees after the leader is
    // nearly gone, the one 30 degrees before it nearly full.
    const double middle = radius - length / 2.0;
    const auto alphaAt = [&](double degrees) {
        const double rad = qDegreesToRadians(degrees);
        return qAlpha(image.pixel(int(centre + middle * std::sin(rad)), int(centre - middle * std::cos(rad))));
    };
    QVERIFY(alphaAt(30) < 64);
    QVERIFY(alphaAt(-30) > 192);
}

void tst_CustomProgressIndicator::turnsWhileAnimated()
{
    CustomProgressIndicator indicator;
    indicator.resize(22, 22);
    indicator.setAnimationDelay(5);
    indicator.startAnimation();
    QVERIFY(indicator.isAnimated());
    QTRY_VERIFY(indicator.angle() >= 60);
    QCOMPARE(indicator.angle() % 30, 0);
    indicator.stopAnimation();
    QVERIFY(!indicator.isAnimated());
    const int stopped = indicator.angle();
    QTest::qWait(30);
    QCOMPARE(indicator.angle(), stopped);
    // A new start begins at the top again.
    indicator.startAnimation();
    QCOMPARE(indicator.angle(), 0);
}

void tst_CustomProgressIndicator::progressText()
{
    CustomProgressIndicator indicator;
    indicator.resize(60, 60);
    indicator.startAnimation();
    // The bars leave the middle free; the text is drawn there.
    const QRect middle(22, 24, 16, 12);
    QVERIFY(blank(painted(indicator), middle));
    indicator.onProgress(50);
    QVERIFY(!blank(painted(indicator), middle));
    QVERIFY(indicator.isAnimated());
}

void tst_CustomProgressIndicator::progressHundredStops()
{
    CustomProgressIndicator indicator;
    indicator.resize(22, 22);
    indicator.startAnimation();
    indicator.onProgress(100);
    QVERIFY(indicator.isAnimated());
    painted(indicator);
    QVERIFY(!indicator.isAnimated());
}

void tst_CustomProgressIndicator::delayWhileStopped()
{
    CustomProgressIndicator indicator;
    indicator.setAnimationDelay(100);
    QCOMPARE(indicator.animationDelay(), 100);
    QVERIFY(!indicator.isAnimated());
    indicator.startAnimation();
    indicator.setAnimationDelay(20);
    QVERIFY(indicator.isAnimated());
    QCOMPARE(indicator.animationDelay(), 20);
}

MEROVAST_GUI_TEST_MAIN(tst_CustomProgressIndicator)
#include "tst_customprogressindicator.moc"
