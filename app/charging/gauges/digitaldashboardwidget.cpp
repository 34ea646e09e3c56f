#include "digitaldashboardwidget.h"
#include "uifont.h"

#include <QConicalGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace {

// Below this dial radius (pixels) the bezel's rings would not fit in the
// widget; the gauge stays empty.
constexpr int kMinRadius = 30;
constexpr double kPi = 3.14159265;
// The scale covers 240 degrees, from the lower left (minimum) clockwise
// over the top to the lower right (maximum).
constexpr double kScaleDegrees = 240.0;

double radians(double degrees)
{
    return degrees * kPi / 180.0;
}

QPen plainPen(const QColor &color, qreal width)
{
    return QPen(QBrush(color), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

QColor withAlpha(QColor color, int alpha)
{
    color.setAlpha(alpha);
    return color;
}

QRectF square(double radius)
{
    return QRectF(-radius, -radius, 2 * radius, 2 * radius);
}

} // namespace

DigitalDashboardWidget::DigitalDashboardWidget(QWidget *parent) : QWidget(parent)
{
    if (!m_unitFormat.contains(QLatin1String("%1")))
        m_unitFormat = QStringLiteral("%1");
    connect(&m_timer, &QTimer::timeout, this, &DigitalDashboardWidget::ontimeout);
}

DigitalDashboardWidget::~DigitalDashboardWidget() = default;

bool DigitalDashboardWidget::setValues(double endValue, double currentValue, double minimum, double maximum)
{
    const auto inside = [&](double v) { return std::isfinite(v) && v >= minimum && v <= maximum; };
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || !inside(currentValue) || !inside(endValue))
        return false;
    m_endValue = endValue;
    m_currentValue = currentValue;
    m_minimum = minimum;
    m_maximum = maximum;
    update();
    return true;
}

bool DigitalDashboardWidget::setMaximum(double maximum)
{
    if (!std::isfinite(maximum) || maximum < m_currentValue)
        return false;
    m_maximum = maximum;
    m_endValue = std::min(m_endValue, maximum);
    update();
    return true;
}

bool DigitalDashboardWidget::setMinimum(double minimum)
{
    if (!std::isfinite(minimum) || minimum > m_currentValue)
        return false;
    m_minimum = minimum;
    m_endValue = std::max(m_endValue, minimum);
    update();
    return true;
}

bool DigitalDashboardWidget::setTargetValue(double value)
{
    if (!(value >= m_minimum && value <= m_maximum))
        return false;
    m_endValue = value;
    if (m_interval == 0) {
        m_currentValue = value;
        arrive();
        Q_EMIT currentValueChange(m_currentValue);
        update();
    } else if (m_currentValue == value) {
        arrive();
        Q_EMIT currentValueChange(m_currentValue);
    } else if (!m_timer.isActive()) {
        m_timer.start();
    }
    return true;
}

bool DigitalDashboardWidget::setCurrentValue(double value)
{
    if (!(value >= m_minimum && value <= m_maximum))
        return false;
    m_currentValue = m_endValue = value;
    update();
    return true;
}

void DigitalDashboardWidget::setAnimation(int step, int interval)
{
    m_step = step;
    // A negative interval would never tick; it means no animation.
    m_interval = std::max(0, interval);
    m_timer.setInterval(m_interval);
}

void DigitalDashboardWidget::checkAnimation()
{
    if (m_interval == 0)
        m_timer.stop();
}

void DigitalDashboardWidget::ontimeout()
{
    if (m_currentValue != m_endValue) {
        const double step = std::fabs(double(m_step));
        const double distance = std::fabs(m_currentValue - m_endValue);
        const double next = m_currentValue < m_endValue ? m_currentValue + step : m_currentValue - step;
        // A step too small to change a large value counts as arrived, or
        // the needle would never get there.
        if (m_step != 0 && step < distance && next != m_currentValue) {
            m_currentValue = next;
        } else {
            m_currentValue = m_endValue;
            arrive();
        }
        Q_EMIT currentValueChange(m_currentValue);
        update();
    }
    if (m_currentValue == m_endValue)
        m_timer.stop();
}

void DigitalDashboardWidget::arrive()
{
    Q_EMIT arriveEnd(m_endValue);
    Q_EMIT arriveEnd();
}

double DigitalDashboardWidget::share(double value) const
{
    const double range = m_maximum - m_minimum;
    return range > 0 ? (value - m_minimum) / range : 0.0;
}

QString DigitalDashboardWidget::valueText(double value, int decimals)
{
    QString text = QString::number(value);
    const int point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        return text;
    // The exponent of a very large or small value stays.
    int end = text.indexOf(QLatin1Char('e'), point);
    if (end < 0)
        end = text.size();
    const int keep = decimals <= 0 ? point : std::min(end, point + 1 + decimals);
    return text.left(keep) + text.mid(end);
}

void DigitalDashboardWidget::setBandColor(const QColor &color)
{
    m_bandColor = color;
    m_useBandColors = 0;
    update();
}

void DigitalDashboardWidget::setBandColors(const QList<QColor> &colors)
{
    m_bandColors = colors;
    m_useBandColors = 1;
    update();
}

void DigitalDashboardWidget::setUnitFormat(const QString &format)
{
    m_unitFormat = format;
}

void DigitalDashboardWidget::setPixmapPath(const QString &path)
{
    m_pixmapPath = path;
    m_pixmap.load(path);
    update();
}

bool DigitalDashboardWidget::setValueDecimals(int decimals)
{
    m_valueDecimals = decimals;
    update();
    return true;
}

bool DigitalDashboardWidget::setScaleDecimals(int decimals)
{
    m_scaleDecimals = decimals;
    update();
    return true;
}

void DigitalDashboardWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.translate(width() / 2, height() / 2);
    m_radius = std::min(width(), height()) / 2;
    m_innerRadius = 0.38 * m_radius;
    if (m_radius < kMinRadius)
        return;

    const auto step = [&](void (DigitalDashboardWidget::*draw)(QPainter &)) {
        painter.save();
        (this->*draw)(painter);
        painter.restore();
    };
    step(&DigitalDashboardWidget::drawBezel);
    step(&DigitalDashboardWidget::drawFace);
    step(m_useBandColors ? &DigitalDashboardWidget::drawColorBand : &DigitalDashboardWidget::drawBand);
    step(&DigitalDashboardWidget::drawScaleArc);
    step(&DigitalDashboardWidget::drawTicks);
    step(&DigitalDashboardWidget::drawInnerFace);
    step(&DigitalDashboardWidget::drawScaleLabels);
    step(&DigitalDashboardWidget::drawNeedle);
    step(&DigitalDashboardWidget::drawHub);
    step(&DigitalDashboardWidget::drawPictureAndDigits);
    step(&DigitalDashboardWidget::drawTitle);
    if (!m_glareHidden) {
        drawGlare(painter, 0.4, 5, 70, 150);
        drawGlare(painter, 0.4, 4, 45, 165);
        drawGlare(painter, 0.33, 40, 30, 180);
    }
}

void DigitalDashboardWidget::drawBezel(QPainter &painter)
{
    const double r = m_radius;
    QConicalGradient outer(0, 0, 90);
    outer.setColorAt(0.0, m_bezelColor);
    outer.setColorAt(0.5, m_bezelColor);
    outer.setColorAt(0.12, m_bezelColor.darker(80));
    outer.setColorAt(0.88, m_bezelColor.darker(80));
    outer.setColorAt(0.4, m_bezelColor.darker(50));
    outer.setColorAt(0.6, m_bezelColor.darker(50));
    outer.setColorAt(0.25, m_bezelColor.darker(130));
    outer.setColorAt(0.75, m_bezelColor.darker(130));
    outer.setColorAt(1.0, m_bezelColor);
    painter.setBrush(outer);
    painter.drawEllipse(QPointF(0, 0), 0.96 * r, 0.98 * r);

    QConicalGradient inner(0, 0, 45);
    for (double at : {0.0, 0.5, 1.0, 0.25, 0.75})
        inner.setColorAt(at, m_bezelColor.darker(130));
    inner.setColorAt(0.12, m_bezelColor.darker(80));
    inner.setColorAt(0.88, m_bezelColor.darker(80));
    inner.setColorAt(0.4, m_bezelColor.darker(50).darker(130));
    inner.setColorAt(0.6, m_bezelColor.darker(50));
    painter.setBrush(inner);
    painter.drawEllipse(QPointF(0, 0), 0.93 * r, 0.94 * r);
}

void DigitalDashboardWidget::drawFace(QPainter &painter)
{
    painter.setBrush(m_faceColor);
    painter.drawEllipse(QPointF(0, 0), 0.9 * m_radius, 0.9 * m_radius);
}

void DigitalDashboardWidget::drawBand(QPainter &painter)
{
    const int span = int(share(m_currentValue) * kScaleDegrees * 16);
    if (span == 0)
        return;
    const double k = 0.77 / 0.9; // inner edge of the ticks over the face radius
    const double a = 1 - (1 - k) / 3;
    const double b = (1 - k) / 3 + k + 0.01;
    QRadialGradient gradient(0, 0, 0.9 * m_radius);
    const QColor faint = withAlpha(m_bandColor, 40);
    const QColor edge = withAlpha(m_bandColor, 50);
    gradient.setColorAt(1.0, faint);
    gradient.setColorAt(k - 0.005, faint);
    gradient.setColorAt(0.0, Qt::transparent);
    gradient.setColorAt(k - 0.006, Qt::transparent);
    gradient.setColorAt(b - 0.03, edge);
    gradient.setColorAt(a + 0.03, edge);
    gradient.setColorAt(b - 0.01, m_bandColor.darker(200));
    gradient.setColorAt(a + 0.01, m_bandColor.darker(200));
    gradient.setColorAt(b, m_bandColor);
    gradient.setColorAt(a, m_bandColor);
    painter.setBrush(gradient);
    painter.drawPie(square(0.9 * m_radius), 3360 - span, span);
}

void DigitalDashboardWidget::drawColorBand(QPainter &painter)
{
    const int n = m_bandColors.size();
    if (n == 0)
        return;
    const auto gradient = [&](int alpha) {
        QConicalGradient g(0, 0, -30);
        for (int k = 0; k < n; ++k) {
            const QColor color = alpha < 0 ? m_bandColors.at(k) : withAlpha(m_bandColors.at(k), alpha);
            // One colour covers the whole scale.
            if (n == 1) {
                g.setColorAt(0.0, color);
                g.setColorAt(2.0 / 3, color);
            } else {
                g.setColorAt((n - 1 - k) * (2.0 / 3) / (n - 1), color);
            }
        }
        g.setColorAt(2.0 / 3 + 0.01, Qt::transparent);
        g.setColorAt(1.0, Qt::transparent);
        return g;
    };
    constexpr int start = -480;
    constexpr int span = 3840;
    painter.setBrush(gradient(-1));
    painter.drawPie(square(0.8666668 * m_radius), start, span);
    painter.setBrush(m_faceColor);
    painter.drawPie(square(0.8223336 * m_radius), start, span);
    painter.setBrush(gradient(90));
    painter.drawPie(square(0.9 * m_radius), start, span);
}

void DigitalDashboardWidget::drawScaleArc(QPainter &painter)
{
    const double r = m_radius;
    const int width = int(0.9 * r - 0.77 * r + 4.0);
    painter.setPen(plainPen(QColor(255, 255, 255, 30), width));
    painter.setBrush(Qt::transparent);
    const double corner = width / 2 - 0.9 * r - 3.0;
    const double side = 1.8 * r - width + 6.0;
    painter.drawArc(QRectF(corner, corner, side, side), -405, 3690);
}

void DigitalDashboardWidget::drawTicks(QPainter &painter)
{
    const double r = m_radius;
    const QPolygonF major({{-2, 0.9 * r}, {2, 0.9 * r}, {1, 0.77 * r}, {-1, 0.77 * r}});
    const QPolygonF minor({{-1, 0.9 * r}, {1, 0.9 * r}, {1, 0.81 * r}, {-1, 0.81 * r}});
    painter.rotate(60);
    for (int i = 0; i <= 24; ++i) {
        const double t = (m_maximum - m_minimum) / 24 * i;
        painter.setBrush(t > m_currentValue - m_minimum ? m_inactiveScaleColor : m_activeScaleColor);
        painter.drawPolygon(i % 4 == 0 ? major : minor);
        painter.rotate(10);
    }
}

void DigitalDashboardWidget::drawInnerFace(QPainter &painter)
{
    const double c = m_innerRadius;
    painter.setBrush(m_faceColor);
    painter.drawEllipse(QPointF(0, 0), 0.77 * m_radius - 2.0, 0.77 * m_radius - 2.0);
    QRadialGradient gradient(0, 0, 1.06 * c);
    gradient.setColorAt(1.0, m_faceColor);
    gradient.setColorAt(0.98, m_faceColor.darker(100));
    gradient.setColorAt(0.95, m_faceColor.darker(110));
    gradient.setColorAt(0.9, m_faceColor.darker(120));
    painter.setBrush(gradient);
    painter.drawEllipse(QPointF(0, 0), 1.18 * c, 1.18 * c);
}

void DigitalDashboardWidget::drawScaleLabels(QPainter &painter)
{
    const int r = m_radius;
    const double range = m_maximum - m_minimum;
    int unit = r <= 120 ? 10 : r < 500 ? 13 + (r - 120) / 30 : 13 + (r - 120) / 40;
    if (range > 500)
        unit = std::max(1, int(unit / (range / 5000 * 0.1 + 1.0 + 0.1)));
    QFont font;
    font.setFamily(UiFont::family(QStringLiteral("Euphemia")));
    font.setPixelSize(std::max(1, unit * 90 / 72));
    font.setWeight(63);
    painter.setFont(font);

    struct Placement {
        int dx, dy;
        Qt::Alignment align;
    };
    static const Placement placements[7] = {
            {1, -3, Qt::AlignLeft | Qt::AlignVCenter},  {-4, 0, Qt::AlignLeft | Qt::AlignHCenter},
            {0, 8, Qt::AlignLeft | Qt::AlignTop},       {0, 0, Qt::AlignHCenter | Qt::AlignTop},
            {-3, 8, Qt::AlignRight | Qt::AlignTop},     {-3, 0, Qt::AlignRight | Qt::AlignHCenter},
            {-3, 0, Qt::AlignRight | Qt::AlignBottom},
    };
    // Each anchor is the previous one, rounded to pixels, turned by 40
    // degrees (screen angles, clockwise).
    const int distance = int(0.77 * r);
    QPoint anchor(qRound(distance * std::cos(radians(150))), qRound(distance * std::sin(radians(150))));
    for (int i = 0; i < 7; ++i) {
        if (i > 0) {
            const double angle = std::atan2(anchor.y(), anchor.x()) + radians(40);
            anchor = QPoint(qRound(distance * std::cos(angle)), qRound(distance * std::sin(angle)));
        }
        const double value = m_minimum + range / 6 * i;
        const QString text = valueText(value, m_scaleDecimals);
        const Placement &place = placements[i];
        const int textWidth = int(text.size()) * unit;
        int left = anchor.x() - textWidth / 2 + place.dx;
        if (place.align & Qt::AlignLeft)
            left = anchor.x() + place.dx;
        else if (place.align & Qt::AlignRight)
            left = anchor.x() - textWidth + place.dx;
        painter.setPen(value > m_currentValue ? m_inactiveScaleColor : m_activeScaleColor);
        painter.drawText(QRect(left, anchor.y() - unit + place.dy, textWidth, 2 * unit), int(place.align), text);
    }
}

void DigitalDashboardWidget::drawNeedle(QPainter &painter)
{
    const int r = m_radius;
    const int a = r <= 120 ? 3 : r < 500 ? (r - 120) / 100 + 3 : (r - 120) / 140 + 3;
    const int b = r <= 120 ? 6 : 3 * a;
    const double c = m_innerRadius;
    const QPolygonF needle({{-a / 2.0, 0.8 * r}, {a / 2.0, 0.8 * r}, {b / 2.0, 0.9 * c}, {-b / 2.0, 0.9 * c}});
    painter.rotate(60 + int(kScaleDegrees * share(m_currentValue)));
    painter.setPen(m_pointerColor.darker(150));
    painter.setBrush(m_pointerColor);
    painter.drawPolygon(needle);
}

void DigitalDashboardWidget::drawHub(QPainter &painter)
{
    const double c = m_innerRadius;
    QRadialGradient gradient(0, 0, c);
    gradient.setColorAt(1.0, m_hubColor.lighter(130));
    gradient.setColorAt(0.96, m_hubColor.lighter(110));
    gradient.setColorAt(0.95, m_hubColor.lighter(105));
    gradient.setColorAt(0.8, m_hubColor);
    painter.setBrush(gradient);
    painter.drawEllipse(QPointF(0, 0), c, c);
}

void DigitalDashboardWidget::drawPictureAndDigits(QPainter &painter)
{
    const double c = m_innerRadius;
    const int size = m_radius / 5;
    if (!m_pixmap.isNull())
        painter.drawPixmap(int(-0.5 * size), int(-0.8 * c), size, size,
                           m_pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::FastTransformation));

    const int length = std::max(valueText(m_minimum, m_valueDecimals).size(),
                                valueText(m_maximum, m_valueDecimals).size());
    const double charWidth = 2 * c / (length + 1 + std::max(0, m_valueDecimals));
    QFont font;
    font.setFamily(UiFont::family(QStringLiteral("DokChampa")));
    font.setPointSize(12);
    painter.setFont(font);
    painter.setPen(m_valueColor);
    QString text = m_unitFormat;
    text.replace(QLatin1String("%1"), valueText(m_currentValue, m_valueDecimals));
    painter.drawText(QRectF(-c, -0.2 * c, 2 * c, 2 * charWidth), Qt::AlignCenter, text);
}

void DigitalDashboardWidget::drawTitle(QPainter &painter)
{
    const double f = 0.25 * m_innerRadius + 2.0;
    QFont font;
    font.setFamily(UiFont::family(QStringLiteral("Euphemia")));
    font.setPointSize(int(f));
    font.setWeight(QFont::Bold);
    painter.setFont(font);
    painter.setPen(m_titleColor);
    painter.drawText(QRectF(-6 * f, 1.2 * m_innerRadius, 12 * f, 2 * f), Qt::AlignCenter, m_title);
}

// A faint white crescent along the top of the face, between the angles from
// and to (degrees, counter-clockwise from three o'clock); ratio 0 gives a
// circular segment, larger ratios a thinner crescent.
void DigitalDashboardWidget::drawGlare(QPainter &painter, double ratio, int alpha, double from, double to)
{
    constexpr int points = 150;
    const double radius = 0.9 * m_radius;
    const double step = (to - from) / points;
    QPolygonF arc;
    for (int j = 0; j < points; ++j) {
        const double angle = radians(from + j * step);
        arc << QPointF(std::cos(angle) * radius, -std::sin(angle) * radius);
    }
    QPolygonF shape = arc;
    if (ratio != 0) {
        const QPointF first = arc.first();
        const QPointF last = arc.last();
        for (int j = 0; j < points; ++j) {
            const QPointF chord = last + (first - last) * (double(j) / points);
            shape << chord + (arc.at(points - 1 - j) - chord) * ratio;
        }
    }
    painter.save();
    painter.setBrush(QColor(255, 255, 255, alpha));
    painter.drawPolygon(shape);
    painter.restore();
}
