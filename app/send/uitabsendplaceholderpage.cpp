#include "uitabsendplaceholderpage.h"

UiTabSendPlaceholderPage::UiTabSendPlaceholderPage(QWidget *parent, int channel)
    : UiTabSendPage(parent, channel)
{
}
