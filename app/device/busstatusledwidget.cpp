#include "busstatusledwidget.h"

#include <QPainter>

BusStatusLEDWidget::BusStatusLEDWidget(QWidget *parent) : QWidget(parent)
{
    gray.addFile(QStringLiteral(":/Resources/gray.png"), QSize(), QIcon::Normal, QIcon::Off);
    green.addFile(QStringLiteral(":Resources/green.png"), QSize(), QIcon::Normal, QIcon::Off);
    red.addFile(QStringLiteral(":Resources/red.png"), QSize(), QIcon::Normal, QIcon::Off);
}

void BusStatusLEDWidget::setState(int value)
{
    state = value;
    update();
}

void BusStatusLEDWidget::setIconSize(const QSize &size)
{
    iconSize = size;
    setFixedSize(size);
}

void BusStatusLEDWidget::paintEvent(QPaintEvent *)
{
    const QIcon &icon = state == Green ? green : state == Red ? red : gray;
    QPainter painter(this);
    painter.drawPixmap(0, 0, icon.pixmap(iconSize));
}
