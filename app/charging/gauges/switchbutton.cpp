#include "switchbutton.h"
#include "uifont.h"

#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kTickInterval = 5; // ms
constexpr int kPressDivisor = 50;
constexpr int kResizeDivisor = 30;

} // namespace

SwitchButton::SwitchButton(QWidget *parent)
    : QWidget(parent), m_imageOff(QStringLiteral(":/image/btncheckoff1.png")),
      m_imageOn(QStringLiteral(":/image/btncheckon1.png")), m_step(stepFor(kPressDivisor)), m_timer(new QTimer(this))
{
    m_timer->setInterval(kTickInterval);
    connect(m_timer, &QTimer::timeout, this, &SwitchButton::updateValue);
    setFont(QFont(UiFont::family(QStringLiteral("Microsoft Yahei")), 10));
}

SwitchButton::~SwitchButton() = default;

int SwitchButton::stepFor(int divisor) const
{
    return std::max(1, width() / divisor);
}

int SwitchButton::endPosition(bool checked) const
{
    if (!checked)
        return 0;
    const int W = width();
    const int H = height();
    switch (m_buttonStyle) {
    case SwitchStyleRect:
        return W - W / 2;
    case SwitchStylePill:
        return std::max(0, W - H);
    case SwitchStyleOverhang:
        return std::max(0, W + m_space - H);
    case SwitchStyleImage:
        break;
    }
    return m_endX;
}

void SwitchButton::slideTo(bool checked)
{
    m_checked = checked;
    m_endX = endPosition(checked);
    m_timer->start();
}

void SwitchButton::switchTo(bool checked)
{
    slideTo(checked);
    update();
}

void SwitchButton::setChecked(bool checked)
{
    const bool changed = checked != m_checked;
    switchTo(checked);
    if (changed)
        Q_EMIT checkedChanged(checked);
}

void SwitchButton::setButtonStyle(SwitchButton::ButtonStyle buttonStyle)
{
    m_buttonStyle = buttonStyle;
    update();
}

void SwitchButton::setBgColor(const QColor &bgColorOff, const QColor &bgColorOn)
{
    m_bgColorOff = bgColorOff;
    m_bgColorOn = bgColorOn;
    update();
}

void SwitchButton::setSliderColor(const QColor &sliderColorOff, const QColor &sliderColorOn)
{
    m_sliderColorOff = sliderColorOff;
    m_sliderColorOn = sliderColorOn;
    update();
}

void SwitchButton::setTextColor(const QColor &textColorOff, const QColor &textColorOn)
{
    m_textColorOff = textColorOff;
    m_textColorOn = textColorOn;
    update();
}

void SwitchButton::setText(const QString &textOff, const QString &textOn)
{
    m_textOff = textOff;
    m_textOn = textOn;
    update();
}

void SwitchButton::setImage(const QString &imageOff, const QString &imageOn)
{
    m_imageOff = imageOff;
    m_imageOn = imageOn;
    update();
}

void SwitchButton::setSpace(int space)
{
    m_space = std::max(0, space);
    update();
}

void SwitchButton::setRectRadius(int rectRadius)
{
    m_rectRadius = rectRadius;
    update();
}

void SwitchButton::updateValue()
{
    // The last step stops at the end rather than past it, so the knob
    // never leaves the track; the tick after it stops the timer.
    if (m_checked && m_startX < m_endX) {
        m_startX = std::min(m_startX + m_step, m_endX);
    } else if (!m_checked && m_startX > m_endX) {
        m_startX = std::max(m_startX - m_step, m_endX);
    } else {
        m_startX = m_endX;
        m_timer->stop();
    }
    update();
}

void SwitchButton::mousePressEvent(QMouseEvent *)
{
    m_checked = !m_checked;
    Q_EMIT checkedChanged(m_checked);
    m_step = stepFor(kPressDivisor);
    slideTo(m_checked);
}

void SwitchButton::resizeEvent(QResizeEvent *)
{
    m_step = stepFor(kResizeDivisor);
    // The knob jumps to its new end; a slide in progress ends there too.
    if (m_buttonStyle != SwitchStyleImage || !m_checked)
        m_startX = m_endX = endPosition(m_checked);
    update();
}

void SwitchButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_buttonStyle == SwitchStyleImage) {
        drawImage(painter);
        return;
    }
    painter.setPen(Qt::NoPen);
    for (auto draw : {&SwitchButton::drawTrack, &SwitchButton::drawSlider, &SwitchButton::drawText}) {
        painter.save();
        (this->*draw)(painter);
        painter.restore();
    }
}

void SwitchButton::drawImage(QPainter &painter)
{
    QPixmap picture(m_checked ? m_imageOn : m_imageOff);
    if (picture.isNull())
        return;
    if (picture.width() > width() || picture.height() > height())
        picture = picture.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    painter.drawPixmap(std::max(0, (width() - 1) / 2 - picture.width() / 2),
                       std::max(0, (height() - 1) / 2 - picture.height() / 2), picture);
}

void SwitchButton::drawTrack(QPainter &painter)
{
    const int W = width();
    const int H = height();
    const int s = m_space;
    painter.setBrush(m_checked ? m_bgColorOn : m_bgColorOff);
    switch (m_buttonStyle) {
    case SwitchStyleRect:
        painter.drawRoundedRect(rect(), m_rectRadius, m_rectRadius);
        break;
    case SwitchStylePill: {
        if (W < H)
            break;
        const int r = H / 2;
        QPainterPath path;
        path.moveTo(r, 0);
        path.arcTo(QRectF(0, 0, H, H), 90, 180);
        path.lineTo(W - r, H);
        path.arcTo(QRectF(W - H, 0, H, H), 270, 180);
        path.lineTo(r, 0);
        painter.drawPath(path);
        break;
    }
    case SwitchStyleOverhang:
        if (W > 2 * s && H > 2 * s)
            painter.drawRoundedRect(QRect(s, s, W - 2 * s, H - 2 * s), m_rectRadius, m_rectRadius);
        break;
    case SwitchStyleImage:
        break;
    }
}

void SwitchButton::drawSlider(QPainter &painter)
{
    const int W = width();
    const int H = height();
    const int s = m_space;
    const int x = m_startX;
    painter.setBrush(m_checked ? m_sliderColorOn : m_sliderColorOff);
    QRect knob;
    switch (m_buttonStyle) {
    case SwitchStyleRect:
        knob = QRect(x + s, s, W / 2 - 2 * s, H - 2 * s);
        break;
    case SwitchStylePill:
        knob = QRect(x + s, s, H - 2 * s, H - 2 * s);
        break;
    case SwitchStyleOverhang:
        knob = QRect(x, s / 2, H - s, H - s);
        break;
    case SwitchStyleImage:
        break;
    }
    // A knob that does not fit (a switch too small, or a space too large)
    // is left out.
    if (knob.isEmpty() || !rect().contains(knob))
        return;
    if (m_buttonStyle == SwitchStyleRect)
        painter.drawRoundedRect(knob, m_rectRadius, m_rectRadius);
    else
        painter.drawEllipse(knob);
}

void SwitchButton::drawText(QPainter &painter)
{
    const int W = width();
    const int H = height();
    const int s = m_space;
    if (m_checked) {
        painter.setPen(m_textColorOn);
        painter.drawText(QRect(0, 0, W / 2 + 2 * s, H), Qt::AlignCenter, m_textOn);
    } else {
        painter.setPen(m_textColorOff);
        painter.drawText(QRect(W / 2, 0, W / 2 - s, H), Qt::AlignCenter, m_textOff);
    }
}
