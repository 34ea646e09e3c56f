// An 8 x 8 pixel lamp of three colours: 0 off (gray), 1 green, 2 red; any
// other state draws gray.
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

    int state = Off;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSize pictureSize{8, 8};
    QIcon gray;
    QIcon green;
    QIcon red;
};
