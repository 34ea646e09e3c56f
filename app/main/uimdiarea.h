// The main window's multiple-document area, holding one window per channel.
#pragma once

#include <QMdiArea>

class UiMdiArea : public QMdiArea
{
    Q_OBJECT

public:
    explicit UiMdiArea(QWidget *parent = nullptr);
};
