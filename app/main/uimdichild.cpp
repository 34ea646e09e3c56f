#include "uimdichild.h"

UiMdiChild::UiMdiChild(QWidget *parent) : QWidget(parent)
{
    setGeometry(100, 100, 100, 100);
}

QSize UiMdiChild::minimumSizeHint() const
{
    return QWidget::minimumSizeHint().expandedTo(QSize(400, 300));
}
