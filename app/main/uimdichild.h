// Base of the windows in the main window's multiple-document area.
#pragma once

#include <QWidget>

class UiMdiChild : public QWidget
{
    Q_OBJECT

public:
    explicit UiMdiChild(QWidget *parent = nullptr);

    // At least 400 x 300, and at least what the window's layout needs: the
    // sub-window that holds it keeps to this (an explicit minimum size
    // would stand in for the layout's).
    QSize minimumSizeHint() const override;
};
