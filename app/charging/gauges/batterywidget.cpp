#include "batterywidget.h"
#include "uifont.h"

#include <QPainter>

namespace {

constexpr int kChargeInterval = 40; // ms per animation step
constexpr int kChargeStep = 2;      // percent per animation step

// The battery body in pixels for a widget of width w and height h; the level
// bar and the value fill the inner area, 5 pixels inside the outline.
struct Body {
    int x, y, width, height, capWidth;
    Body(int w, int h)
        : x(w * 23 / 100), y(h * 10 / 100), width(w * 70 / 100), height(h * 82 / 100), capWidth(w * 5 / 100)
    {
    }
    QRect inner() const { return QRect(x + 5, y + 5, width - 10, height - 10); }
    // With the cap, and the pixel the outline's pen reaches beyond both.
    bool fits(const QRect &widget) const
    {
        return width > 0 && height > 0 && widget.contains(QRect(x - 1, y - 1, width + capWidth + 2, height + 2));
    }
};

QPen outlinePen(const QBrush &brush, qreal width)
{
    return QPen(brush, width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

BatteryWidget::BatteryWidget(QWidget *parent) : QWidget(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &BatteryWidget::onTimeOutCharging);
}

BatteryWidget::~BatteryWidget() = default;

void BatteryWidget::setValue(double value)
{
    if (!(value >= 0.0 && value <= 100.0) || value == m_value)
        return;
    m_value = value;
    Q_EMIT valueChanged(m_value);
    update();
}

void BatteryWidget::setText(const QString &text)
{
    m_text = text;
}

void BatteryWidget::setCharging(bool on)
{
    m_charging = on;
    if (on) {
        m_timer.start(kChargeInterval);
    } else {
        m_timer.stop();
        // The last animation frame would stay until something else repaints.
        update();
    }
}

void BatteryWidget::onTimeOutCharging()
{
    m_chargeLevel += kChargeStep;
    update();
    // The repaint runs later, so 100 percent is never shown.
    if (m_chargeLevel == 100)
        m_chargeLevel = 0;
}

void BatteryWidget::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.save();
    drawFrame(painter);
    painter.restore();
    painter.save();
    drawLevel(painter);
    painter.restore();
}

void BatteryWidget::drawFrame(QPainter &painter)
{
    const int w = width();
    const int h = height();
    const Body body(w, h);

    QFont font;
    font.setPointSize(11);
    font.setFamily(UiFont::family(QStringLiteral("Microsoft YaHei")));
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    painter.setFont(font);
    const int lineHeight = int(QFontMetricsF(font).height());
    painter.drawText(4, (h + lineHeight) / 2, m_text);

    if (!body.fits(rect()))
        return;
    painter.setPen(outlinePen(QColor(117, 117, 117, 255), 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(body.x, body.y, body.width, body.height));

    painter.setBrush(QColor(QStringLiteral("#F0F0F0")));
    painter.drawRect(QRectF(body.x + body.width, body.y + 0.33 * body.height, body.capWidth, 0.33 * body.height));
}

void BatteryWidget::drawLevel(QPainter &painter)
{
    const Body body(width(), height());
    const QRect inner = body.inner();
    if (!body.fits(rect()) || inner.width() <= 0 || inner.height() <= 0)
        return;

    QColor color(QStringLiteral("#41CD52"));
    qreal barWidth = 0.0;
    if (m_charging) {
        barWidth = m_chargeLevel * inner.width() / 100.0;
    } else {
        if (m_value < 20)
            color = QColor(QStringLiteral("#FF0000"));
        else if (m_value < 50)
            color = QColor(QStringLiteral("#DCB01A"));
        barWidth = inner.width() * m_value / 100;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawRect(QRectF(inner.x(), inner.y(), barWidth, inner.height()));

    const int pixelSize = int(inner.height() * 0.5);
    if (pixelSize < 1)
        return;
    QFont font;
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(outlinePen(QColor(QStringLiteral("#0080Ff")), 5.0));
    painter.drawText(inner, Qt::AlignCenter, QString::number(m_value, 'f', 0) + QLatin1Char('%'));
}
