// A value on a curved scale: a circular arc fitted into the widget with
// major and minor ticks, number labels at the major ticks, an arrow needle,
// a base bar along one edge and a round hub. Horizontal (arc opening
// downwards, base at the bottom) or vertical (the same turned 90 degrees
// clockwise); tick steps are chosen from the label size unless given.
// GUI thread only.
#pragma once

#include <QWidget>

class QGroupBox;
class QPainter;

class QScale : public QWidget
{
    Q_OBJECT

public:
    explicit QScale(QWidget *parent = nullptr);
    ~QScale() override;

    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    double value() const { return m_value; }
    double majorStepSize() const { return m_majorStepSize; }
    int minorStepCount() const { return m_minorStepCount; }
    Qt::Orientations orientations() const { return m_orientations; }
    bool isLabelsVisible() const { return m_labelsVisible; }
    bool isScaleVisible() const { return m_scaleVisible; }
    int borderWidth() const { return m_borderWidth; }

    void setLabelsVisible(bool visible);
    void setScaleVisible(bool visible);
    // Margin and thickness of the base bar in pixels; negative gives 0.
    void setBorderWidth(int width);
    // As QString::number's format and precision.
    void setLabelsFormat(char format, int precision);
    // The widest label expected for the range, which sizes the label space.
    QString labelSample() const { return m_labelSample; }

public Q_SLOTS:
    // Non-finite limits are ignored.
    void setMinimum(double minimum);
    void setMaximum(double maximum);
    void setRange(double minimum, double maximum);
    // Not limited to the range; non-finite values are ignored.
    void setValue(double value);
    // 0 or less: chosen from the label size.
    void setMajorStepSize(double size);
    // Minor intervals per major interval; 0 or less: chosen with the step.
    void setMinorStepCount(int count);
    // One flag decides; both or none: vertical when higher than wide.
    void setOrientations(Qt::Orientations orientations);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Layout;
    void updateScale();
    Layout layout(QPainter &painter) const;
    void drawTicks(QPainter &painter, const Layout &layout) const;
    void drawLabels(QPainter &painter, const Layout &layout) const;
    void drawNeedle(QPainter &painter, const Layout &layout) const;
    void drawBase(QPainter &painter, const Layout &layout) const;

    double m_minimum = 0.0;
    double m_maximum = 100.0;
    double m_value = 0.0;
    bool m_labelsVisible = true;
    bool m_scaleVisible = true;
    int m_borderWidth = 10;
    char m_labelFormat = 'g';
    int m_labelPrecision = -1;
    double m_majorStepSize = 0.0;
    int m_minorStepCount = -1;
    Qt::Orientations m_orientations = Qt::Horizontal | Qt::Vertical;
    QString m_labelSample;
    double m_pi;
    QGroupBox *m_frame;
};

// Draws the arc of the circle through three points, from the first over the
// middle one to the last; two points give two line segments from the origin
// through both; any other count draws nothing.
void drawArcThroughPoints(QPainter &painter, const QVector<QPointF> &points);
