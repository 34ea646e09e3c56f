// A 16 x 16 pixel two-state lamp: green while the widget is enabled, red
// while it is disabled.
#pragma once

#include <QIcon>
#include <QWidget>

class UcBusStatusLed : public QWidget
{
    Q_OBJECT

public:
    explicit UcBusStatusLed(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QIcon icon;
};
