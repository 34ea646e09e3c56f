// A send page that is not built yet: an empty page with no buttons, so the
// send tabs keep their places and indexes.
#pragma once

#include "uitabsendpage.h"

class UiTabSendPlaceholderPage : public UiTabSendPage
{
    Q_OBJECT

public:
    UiTabSendPlaceholderPage(QWidget *parent, int channel);
};
