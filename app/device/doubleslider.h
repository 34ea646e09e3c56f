// A painted horizontal slider with two handles that select the range
// [minValue, maxValue] inside [minimum, maximum]. GUI thread only.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

class DoubleSlider : public QWidget
{
    Q_OBJECT

public:
    explicit DoubleSlider(QWidget *parent = nullptr);

    float minimum() const { return minimumValue; }
    float maximum() const { return maximumValue; }
    float minValue() const { return lowValue; }
    float maxValue() const { return highValue; }
    float step() const { return stepValue; }
    void setStep(float step);
    void setRange(float min, float max);

    QSize sizeHint() const override;

Q_SIGNALS:
    void minValueChanged(float value);
    void maxValueChanged(float value);

public Q_SLOTS:
    void setLabel(const QString &label);
    // A value replaces the current one only when it differs by more than a step.
    void setMaxValue(float value);
    void setMinValue(float value);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    enum Handle { Low = 0, High = 1, None = 2 };

    float valueAt(int x) const;
    int pixelOf(float value) const;
    void changeLow(float value, bool exact);
    void changeHigh(float value, bool exact);

    float minimumValue = 0.0f;
    float maximumValue = 1000.0f;
    float stepValue = 0.01f;
    float lowValue = 5.0f;
    float highValue = 99.0f;
    QRect lowHandle;  // hit areas, set by the last paint
    QRect highHandle;
    int activeHandle = None;
    QString label;
};
