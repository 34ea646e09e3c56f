#include "uimdichild.h"

UiMdiChild::UiMdiChild(QWidget *parent) : QWidget(parent)
{
    setGeometry(100, 100, 100, 100);
    setMinimumSize(400, 300);
}
