// A horizontal battery symbol showing a state of charge in percent: an
// outlined body with a cap, a level bar coloured by the value, the value
// in the middle and a caption at the left edge. While charging, a bar
// sweeps from empty to nearly full instead. GUI thread only.
#pragma once

#include <QTimer>
#include <QWidget>

class QPainter;

class BatteryWidget : public QWidget
{
    Q_OBJECT

public:
    explicit BatteryWidget(QWidget *parent = nullptr);
    ~BatteryWidget() override;

    // Values outside 0..100 and the current value are ignored.
    void setValue(double value);
    double value() const { return m_value; }
    // Shown at the next repaint; does not repaint by itself.
    void setText(const QString &text);
    // Off repaints at once to show the level again.
    void setCharging(bool on);
    bool isCharging() const { return m_charging; }

Q_SIGNALS:
    void valueChanged(double m_value);

public Q_SLOTS:
    void onTimeOutCharging();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawFrame(QPainter &painter);
    void drawLevel(QPainter &painter);

    double m_value = 0.0;
    QString m_text;
    bool m_charging = false;
    QTimer m_timer;
    int m_chargeLevel = 0; // percent, 0..98 in steps of 2
};
