#include "customprogressindicator.h"

#include <QPainter>
#include <QTimerEvent>

CustomProgressIndicator::CustomProgressIndicator(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
}

void CustomProgressIndicator::setPixmap(const QPixmap &pixmap)
{
    m_pixmap = pixmap;
    update();
}

QSize CustomProgressIndicator::sizeHint() const
{
    return QSize(25, 25);
}

void CustomProgressIndicator::startAnimation()
{
    m_angle = 0;
    if (m_timerId == -1)
        m_timerId = startTimer(m_delay, Qt::CoarseTimer);
}

void CustomProgressIndicator::stopAnimation()
{
    killAnimationTimer();
    update();
}

void CustomProgressIndicator::setAnimationDelay(int delay)
{
    const bool running = m_timerId != -1;
    killAnimationTimer();
    m_delay = delay;
    if (running)
        m_timerId = startTimer(m_delay, Qt::CoarseTimer);
}

void CustomProgressIndicator::setDisplayedWhenStopped(bool state)
{
    m_displayedWhenStopped = state;
    update();
}

void CustomProgressIndicator::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void CustomProgressIndicator::onProgress(qint16 _progress)
{
    m_progress = _progress;
}

void CustomProgressIndicator::killAnimationTimer()
{
    if (m_timerId != -1)
        killTimer(m_timerId);
    m_timerId = -1;
}

void CustomProgressIndicator::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timerId) {
        QWidget::timerEvent(event);
        return;
    }
    m_angle = (m_angle + 30) % 360;
    update();
}

void CustomProgressIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (m_timerId == -1 && !m_displayedWhenStopped) {
        p.drawPixmap(rect(), m_pixmap);
        return;
    }

    const int w = qMin(width(), height());
    const int outerRadius = (w - 1) / 2;
    const int barLength = outerRadius - int(outerRadius * 0.38);
    const int barWidth = int(barLength * (w <= 32 ? 0.35 : 0.23));
    const int cornerRadius = barWidth / 2;

    if (m_progress > 0 && m_progress < 100) {
        p.setPen(m_color);
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("%1%").arg(m_progress));
    } else if (m_progress == 100) {
        killAnimationTimer();
    }

    p.setPen(Qt::NoPen);
    for (int i = 0; i < 12; ++i) {
        QColor bar = m_color;
        bar.setAlphaF(1.0 - i / 12.0);
        p.setBrush(bar);
        p.save();
        p.translate(QRectF(rect()).center());
        p.rotate(m_angle - 30 * i);
        p.drawRoundedRect(-barWidth / 2, -outerRadius, barWidth, barLength, cornerRadius, cornerRadius);
        p.restore();
    }
}
