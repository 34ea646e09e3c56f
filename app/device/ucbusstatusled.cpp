#include "ucbusstatusled.h"

#include <QPaintEvent>
#include <QPainter>

UcBusStatusLed::UcBusStatusLed(QWidget *parent) : QWidget(parent)
{
    icon.addFile(QStringLiteral(":Resources/red.png"), QSize(16, 16), QIcon::Normal, QIcon::Off);
    icon.addFile(QStringLiteral(":Resources/green.png"), QSize(16, 16), QIcon::Normal, QIcon::On);
}

void UcBusStatusLed::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawPixmap(event->rect().topLeft(),
                       icon.pixmap(QSize(16, 16), QIcon::Normal, isEnabled() ? QIcon::On : QIcon::Off));
}
