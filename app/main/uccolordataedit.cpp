#include "uccolordataedit.h"

#include <QPainter>
#include <QPen>

namespace {

QPen textPen(const QColor &color)
{
    return QPen(QBrush(color, Qt::SolidPattern), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

UcColorDataEdit::UcColorDataEdit()
{
    byteColors.fill(QColor(0, 0, 0, 255));
}

void UcColorDataEdit::setTexts(const QStringList &texts)
{
    byteTexts = texts;
}

void UcColorDataEdit::setColor(int i, const QColor &color)
{
    if (i >= 0 && i < Colors)
        byteColors[std::size_t(i)] = color;
}

QColor UcColorDataEdit::color(int i) const
{
    return i >= 0 && i < Colors ? byteColors[std::size_t(i)] : QColor(Qt::black);
}

void UcColorDataEdit::setItemWidth(int w)
{
    spacing = w;
}

void UcColorDataEdit::paintTexts(QPainter &painter, const QPoint &origin, const QStringList &texts,
                                 const QColor *colors, int colorCount, int left, int baseline, int spacing)
{
    for (int i = 0; i < texts.size(); ++i) {
        painter.setPen(textPen(i < colorCount ? colors[i] : QColor(Qt::black)));
        painter.drawText(QPoint(origin.x() + left + (spacing + Pitch) * i, origin.y() + baseline), texts.at(i));
    }
}

void UcColorDataEdit::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    paintTexts(painter, QPoint(), byteTexts, byteColors.data(), Colors, left, baseline, spacing);
}
