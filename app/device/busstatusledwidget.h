// A lamp of three colours, 8 x 8 pixels unless resized: 0 off (gray),
// 1 green, 2 red; any other state draws gray.
#pragma once

#include <QIcon>
#include <QSize>
#include <QWidget>

class BusStatusLEDWidget : public QWidget
{
    Q_OBJECT

public:
    enum State { Off = 0, Green = 1, Red = 2 };

    explicit BusStatusLEDWidget(QWidget *parent = nullptr);

    // Sets the state and repaints.
    void setState(int value);
    // Sets the picture size and fixes the widget to it.
    void setIconSize(const QSize &size);

    int state = Off;
    // Size of the picture drawn at the top-left corner.
    QSize iconSize{8, 8};

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QIcon gray;
    QIcon green;
    QIcon red;
};
