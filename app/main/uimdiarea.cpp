#include "uimdiarea.h"

UiMdiArea::UiMdiArea(QWidget *parent) : QMdiArea(parent)
{
}
