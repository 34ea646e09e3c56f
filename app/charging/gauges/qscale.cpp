#include "qscale.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

QPen plainPen(const QColor &color, qreal width)
{
    return QPen(QBrush(color), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

// One paint's geometry, in the coordinates of the horizontal picture (the
// vertical one is the same turned 90 degrees clockwise).
struct QScale::Layout {
    bool vertical = false;
    double length = 0;                      // along the base bar
    double breadth = 0;                     // across it
    double labelAlong = 0, labelAcross = 0; // label space at the ends and above the arc
    double sampleHeight = 0;
    double radius = 0;
    QPointF centre;
    double theta = 0; // degrees the arc covers
    double start = 0; // angle of the minimum, counter-clockwise from three o'clock
    double tickLength = 0;
    double range = 0;
    double major = 0; // 0: no ticks and no labels
    int count = 0;    // minor intervals per major one

    bool hasArc() const { return radius > 0 && std::isfinite(radius) && theta > 0; }
    double minor() const { return major / count; }
    // Angle of the value v, counter-clockwise from three o'clock.
    double angleOf(double v, double minimum) const { return range != 0 ? (v - minimum) / range * -theta + start : start; }
    // Painter coordinates of the horizontal picture with the origin at the
    // arc's centre.
    void moveToCentre(QPainter &painter) const
    {
        if (vertical) {
            painter.rotate(90);
            painter.translate(0, labelAlong / 4 - breadth);
        }
        painter.translate(centre);
    }
};

QScale::QScale(QWidget *parent) : QWidget(parent), m_pi(std::acos(-1.0)), m_frame(new QGroupBox)
{
    updateScale();
    setMinimumSize(80, 60);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto *layout = new QHBoxLayout;
    layout->addWidget(m_frame);
    layout->setContentsMargins(0, 0, 0, 0);
    setLayout(layout);
}

QScale::~QScale() = default;

void QScale::setMinimum(double minimum)
{
    if (std::isfinite(minimum))
        m_minimum = minimum;
    updateScale();
    update();
}

void QScale::setMaximum(double maximum)
{
    if (std::isfinite(maximum))
        m_maximum = maximum;
    updateScale();
    update();
}

void QScale::setRange(double minimum, double maximum)
{
    if (std::isfinite(maximum))
        m_maximum = maximum;
    if (std::isfinite(minimum))
        m_minimum = minimum;
    updateScale();
    update();
}

void QScale::setValue(double value)
{
    if (std::isfinite(value))
        m_value = value;
    update();
}

void QScale::setMajorStepSize(double size)
{
    m_majorStepSize = size;
    update();
}

void QScale::setMinorStepCount(int count)
{
    m_minorStepCount = count;
    update();
}

void QScale::setOrientations(Qt::Orientations orientations)
{
    m_orientations = orientations;
    update();
}

void QScale::setLabelsVisible(bool visible)
{
    m_labelsVisible = visible;
    update();
}

void QScale::setScaleVisible(bool visible)
{
    m_scaleVisible = visible;
    update();
}

void QScale::setBorderWidth(int width)
{
    m_borderWidth = std::max(0, width);
    update();
}

void QScale::setLabelsFormat(char format, int precision)
{
    m_labelFormat = format;
    m_labelPrecision = precision;
    updateScale();
    update();
}

void QScale::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
}

// A label as wide as the widest one of the range: 8 in the leading digit's
// place (-8 with negative values), 800 for 0..100.
void QScale::updateScale()
{
    double m = std::max(std::fabs(m_minimum), std::fabs(m_maximum));
    double sample = std::min(m_minimum, m_maximum) < 0 ? -8 : 8;
    if (m > 0) {
        while (m < 1) {
            m *= 10;
            sample /= 10;
        }
        while (m >= 10) {
            m /= 10;
            sample *= 10;
        }
    }
    m_labelSample = QString::number(sample, m_labelFormat, m_labelPrecision);
}

QScale::Layout QScale::layout(QPainter &painter) const
{
    const int W = width();
    const int H = height();
    Layout l;
    const bool horizontalFlag = m_orientations.testFlag(Qt::Horizontal);
    const bool verticalFlag = m_orientations.testFlag(Qt::Vertical);
    l.vertical = horizontalFlag != verticalFlag ? verticalFlag : H > W;
    const QRectF sample = painter.boundingRect(QRectF(0, 0, W, H), Qt::AlignBottom | Qt::AlignHCenter, m_labelSample);
    const double labelWidth = m_labelsVisible ? sample.width() : 0;
    const double labelHeight = m_labelsVisible ? sample.height() : 0;
    l.sampleHeight = sample.height();
    l.length = l.vertical ? H : W;
    l.breadth = l.vertical ? W : H;
    l.labelAlong = l.vertical ? labelHeight : labelWidth;
    l.labelAcross = l.vertical ? labelWidth : labelHeight;
    l.range = m_maximum - m_minimum;

    // The widest arc whose ends leave room for the labels and whose top
    // stays below them; none when they leave no room.
    const double bw = m_borderWidth;
    const double a = l.labelAlong;
    const double b = l.labelAcross;
    const double c = l.length - a - 2 * bw;
    const double h = l.breadth / 2 - b - bw;
    if (c <= 0 || h <= 0)
        return l;
    l.radius = c * c / (8 * h) + h / 2;
    l.centre = QPointF(l.length / 2, l.radius + b + bw);
    if (l.breadth / 2 + h - bw > l.radius) {
        const double t = bw + b;
        l.radius = (std::sqrt(4 * t * t + 3 * c * c) + 4 * t) / 3 - b - 2 * bw;
        l.centre = QPointF(l.length / 2, l.breadth - bw);
    }
    l.theta = 2 * std::asin(std::min(1.0, c / (2 * l.radius))) * 180 / m_pi;
    l.start = 90 + l.theta / 2;
    l.tickLength = std::min({2.5 * l.sampleHeight, l.radius / 4, (l.breadth - bw) / 4});
    if (!l.hasArc() || l.range == 0)
        return l;

    // Automatic steps: major ticks at least a label apart, on 1, 2 or 5
    // times a power of ten.
    double q = std::fabs(l.range) * std::max(1.5 * l.sampleHeight, a) / c;
    if (q > 0 && std::isfinite(q)) {
        int e = 0;
        while (q < 1) {
            q *= 10;
            --e;
        }
        while (q >= 10) {
            q /= 10;
            ++e;
        }
        const double unit = std::pow(10.0, e);
        l.major = q > 5 ? 10 * unit : q > 2 ? 5 * unit : 2 * unit;
        l.count = q > 2 ? 5 : 4;
    }
    if (m_majorStepSize > 0 && std::isfinite(m_majorStepSize))
        l.major = m_majorStepSize;
    if (m_minorStepCount > 0)
        l.count = m_minorStepCount;
    // Ticks closer than a pixel along the arc are not drawn, nor their labels.
    if (l.count == 0 || std::fabs(l.range) / l.minor() > l.radius * l.theta * m_pi / 180)
        l.major = 0;
    return l;
}

void QScale::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Layout l = layout(painter);
    painter.setPen(plainPen(palette().color(QPalette::Text), 1));
    if (l.hasArc() && l.major > 0) {
        if (m_scaleVisible)
            drawTicks(painter, l);
        if (m_labelsVisible)
            drawLabels(painter, l);
    }
    if (l.hasArc())
        drawNeedle(painter, l);
    drawBase(painter, l);
}

void QScale::drawTicks(QPainter &painter, const Layout &l) const
{
    painter.save();
    l.moveToCentre(painter);
    const double minor = l.minor();
    const double first = std::fmod(m_minimum, minor);
    painter.rotate(first / l.range * -l.theta - l.start);
    // Tick 0 stands on the multiple of the minor step next to the minimum;
    // the major ticks are those on multiples of the major step.
    const double firstIndex = std::round((m_minimum - first) / minor);
    const int phase = int(std::fmod(std::fmod(-firstIndex, l.count) + l.count, l.count));
    const int ticks = int(l.count * l.range / l.major);
    const double tl = l.tickLength;
    for (int i = 0; i <= ticks; ++i) {
        const double outer = i % l.count == phase ? l.radius : l.radius - 0.4 * tl;
        painter.drawLine(QPointF(l.radius - tl, 0), QPointF(outer, 0));
        painter.rotate(minor * l.theta / l.range);
    }
    painter.restore();
}

void QScale::drawLabels(QPainter &painter, const Layout &l) const
{
    const double cx = l.centre.x();
    const double cy = l.centre.y();
    const double R = l.radius;
    // Counted in integers: far from zero k + 1 can equal k.
    const double first = std::ceil(m_minimum / l.major);
    const double labels = std::trunc(m_maximum / l.major) - first;
    for (int k = 0; k <= labels; ++k) {
        const double v = (first + k) * l.major;
        const double alpha = l.angleOf(v, m_minimum) * m_pi / 180;
        const QString text = QString::number(v, m_labelFormat, m_labelPrecision);
        if (l.vertical)
            painter.drawText(QRect(int(width() - cy + R * std::sin(alpha)), 0, width(),
                                   int(height() + 2 * R * std::cos(alpha))),
                             Qt::AlignLeft | Qt::AlignVCenter, text);
        else
            painter.drawText(QRect(0, 0, int(2 * (cx + R * std::cos(alpha))), int(cy - R * std::sin(alpha))),
                             Qt::AlignBottom | Qt::AlignHCenter, text);
    }
}

void QScale::drawNeedle(QPainter &painter, const Layout &l) const
{
    painter.save();
    l.moveToCentre(painter);
    painter.rotate(-l.angleOf(m_value, m_minimum));
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Text));
    const double tip = std::trunc(l.radius) - std::trunc(l.tickLength);
    painter.drawPolygon(QPolygonF({{0, -2}, {tip - 10, -2}, {tip, 0}, {tip - 10, 2}, {0, 2}}));
    painter.setPen(plainPen(palette().color(QPalette::Base), 2));
    painter.drawLine(QPointF(0, 0), QPointF(std::trunc(l.radius - 15 - std::trunc(l.tickLength)), 0));
    painter.restore();
}

void QScale::drawBase(QPainter &painter, const Layout &l) const
{
    const int W = width();
    const int H = height();
    const int bw = m_borderWidth;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Mid));
    painter.drawRect((l.vertical ? QRect(0, 0, bw, H) : QRect(0, H - bw, W, bw)) & rect());
    if (l.hasArc()) {
        const double cy = l.centre.y();
        const QPointF centre = l.vertical ? QPointF(W - cy - l.labelAlong / 4, H / 2.0) : l.centre;
        const double radius = std::max(l.radius / 4, l.vertical ? cy - 0.75 * W - bw : cy - bw - 0.75 * H);
        painter.drawEllipse(centre, radius, radius);
    }
    painter.restore();
}

void drawArcThroughPoints(QPainter &painter, const QVector<QPointF> &points)
{
    QPainterPath path;
    if (points.size() == 2) {
        path.moveTo(0, 0);
        path.lineTo(points.at(0));
        path.lineTo(points.at(1));
        painter.drawPath(path);
        return;
    }
    if (points.size() != 3) {
        painter.drawPath(path);
        return;
    }
    const QPointF p1 = points.at(0);
    const QPointF p2 = points.at(1);
    const QPointF p3 = points.at(2);
    // The centre is where the perpendicular bisectors of p1p2 and p2p3 meet.
    const double d = 2 * (p1.x() * (p2.y() - p3.y()) + p2.x() * (p3.y() - p1.y()) + p3.x() * (p1.y() - p2.y()));
    if (d == 0) {
        // On one line (or repeated): the arc of an infinite circle.
        path.moveTo(p1);
        path.lineTo(p2);
        path.lineTo(p3);
        painter.drawPath(path);
        return;
    }
    const auto sq = [](const QPointF &p) { return p.x() * p.x() + p.y() * p.y(); };
    const QPointF centre((sq(p1) * (p2.y() - p3.y()) + sq(p2) * (p3.y() - p1.y()) + sq(p3) * (p1.y() - p2.y())) / d,
                         (sq(p1) * (p3.x() - p2.x()) + sq(p2) * (p1.x() - p3.x()) + sq(p3) * (p2.x() - p1.x())) / d);
    const double radius = QLineF(centre, p2).length();
    const double pi = std::atan2(0, -1);
    const auto angle = [&](const QPointF &p) { return std::atan2(centre.y() - p.y(), p.x() - centre.x()) * 180 / pi; };
    const auto sweep = [](double from, double to) {
        const double s = std::fmod(to - from, 360.0);
        return s < 0 ? s + 360 : s;
    };
    const double a1 = angle(p1);
    const double a2 = angle(p2);
    const double a3 = angle(p3);
    const QRectF square(QPointF(std::trunc(centre.x() - radius), std::trunc(centre.y() - radius)),
                        QPointF(std::trunc(centre.x() + radius), std::trunc(centre.y() + radius)));
    // Counter-clockwise from the first point when that passes the middle
    // one, else from the last.
    const bool fromFirst = sweep(a1, a2) <= sweep(a1, a3);
    const double from = fromFirst ? a1 : a3;
    const double span = fromFirst ? sweep(a1, a3) : sweep(a3, a1);
    path.arcMoveTo(square, from);
    path.arcTo(square, from, span);
    painter.drawPath(path);
}
