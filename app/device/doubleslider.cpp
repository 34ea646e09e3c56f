#include "doubleslider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor kSelected(51, 153, 155);
constexpr int kHeight = 45;

} // namespace

DoubleSlider::DoubleSlider(QWidget *parent) : QWidget(parent)
{
    setFixedHeight(kHeight);
    setFocusPolicy(Qt::StrongFocus);
}

QSize DoubleSlider::sizeHint() const
{
    return QSize(300, kHeight);
}

void DoubleSlider::setStep(float step)
{
    stepValue = step;
}

void DoubleSlider::setRange(float min, float max)
{
    minimumValue = min;
    maximumValue = max;
    if (min > lowValue)
        setMinValue(min);
    if (highValue > max)
        setMaxValue(max);
}

void DoubleSlider::setLabel(const QString &text)
{
    label = text;
    update();
}

void DoubleSlider::setMinValue(float value)
{
    changeLow(value, false);
}

void DoubleSlider::setMaxValue(float value)
{
    changeHigh(value, false);
}

// exact: any difference counts (keys move by one step, which the step rule
// would swallow).
void DoubleSlider::changeLow(float value, bool exact)
{
    const float difference = std::fabs(lowValue - value);
    if (exact ? difference == 0.0f : !(difference > stepValue))
        return;
    lowValue = value;
    Q_EMIT minValueChanged(value);
}

void DoubleSlider::changeHigh(float value, bool exact)
{
    const float difference = std::fabs(highValue - value);
    if (exact ? difference == 0.0f : !(difference > stepValue))
        return;
    highValue = value;
    Q_EMIT maxValueChanged(value);
}

float DoubleSlider::valueAt(int x) const
{
    if (width() <= 0)
        return minimumValue;
    return minimumValue + (maximumValue - minimumValue) * float(x) / float(width());
}

int DoubleSlider::pixelOf(float value) const
{
    const int last = width() - 8;
    const float span = maximumValue - minimumValue;
    // No span (or no width yet) puts every value at the left end.
    const double p = span != 0.0f && width() > 0 ? double(value - minimumValue) * width() / span : 0.0;
    if (!(p >= 5.0)) // also NaN
        return 4;
    if (p >= double(last))
        return last;
    return int(p);
}

void DoubleSlider::mousePressEvent(QMouseEvent *event)
{
    if (lowHandle.contains(event->pos()))
        activeHandle = Low;
    else if (highHandle.contains(event->pos()))
        activeHandle = High;
    else
        activeHandle = None;
    // Handles on top of each other: take the one that can move.
    if (std::fabs(lowValue - highValue) < stepValue) {
        if (std::fabs(lowValue - minimumValue) < stepValue)
            activeHandle = High;
        else if (std::fabs(lowValue - maximumValue) < stepValue)
            activeHandle = Low;
    }
    update();
}

void DoubleSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const float value = valueAt(event->pos().x());
    if (activeHandle == Low)
        changeLow(std::clamp(value, minimumValue, std::max(minimumValue, highValue)), false);
    else if (activeHandle == High)
        changeHigh(std::clamp(value, std::min(lowValue, maximumValue), maximumValue), false);
    update();
}

void DoubleSlider::keyPressEvent(QKeyEvent *event)
{
    QWidget::keyPressEvent(event);
    int direction = 0;
    if (event->key() == Qt::Key_Left)
        direction = -1;
    else if (event->key() == Qt::Key_Right)
        direction = 1;
    if (direction == 0 || activeHandle == None)
        return;
    if (activeHandle == Low) {
        const float value = lowValue + direction * stepValue;
        changeLow(std::clamp(value, minimumValue, std::max(minimumValue, highValue)), true);
    } else {
        const float value = highValue + direction * stepValue;
        changeHigh(std::clamp(value, std::min(lowValue, maximumValue), maximumValue), true);
    }
    update();
}

void DoubleSlider::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    activeHandle = None;
    update();
}

void DoubleSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    const int p1 = pixelOf(lowValue);
    const int p2 = pixelOf(highValue);
    painter.fillRect(QRect(QPoint(4, 23), QPoint(width() - 5, 25)), Qt::gray);
    painter.fillRect(QRect(QPoint(p1 + 4, 23), QPoint(p2 + 3, 25)), kSelected);
    lowHandle = QRect(QPoint(p1, 14), QPoint(p1 + 7, 32));
    highHandle = QRect(QPoint(p2, 14), QPoint(p2 + 7, 32));
    painter.fillRect(lowHandle, activeHandle == Low ? kSelected : QColor(Qt::darkGray));
    painter.fillRect(highHandle, activeHandle == High ? kSelected : QColor(Qt::darkGray));
}
