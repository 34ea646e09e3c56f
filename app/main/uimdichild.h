// Base of the windows in the main window's multiple-document area.
#pragma once

#include <QWidget>

class UiMdiChild : public QWidget
{
    Q_OBJECT

public:
    explicit UiMdiChild(QWidget *parent = nullptr);
};
