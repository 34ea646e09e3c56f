// A round gauge: bezel, dark face, a 240 degree scale with 25 ticks and 7
// labels, a band along the scale (one colour up to the value, or a list of
// colours over the whole scale), a needle, a hub with a small picture, the
// value as digits with a unit, a title and faint glare. The needle can move
// to a new value in timed steps. GUI thread only.
#pragma once

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

class QPainter;

class DigitalDashboardWidget : public QWidget
{
    Q_OBJECT

public:
    explicit DigitalDashboardWidget(QWidget *parent = nullptr);
    ~DigitalDashboardWidget() override;

    // The value setters return false and change nothing for a value that is
    // outside the range or not finite.
    bool setValues(double endValue, double currentValue, double minimum, double maximum);
    bool setMaximum(double maximum);
    bool setMinimum(double minimum);
    // Moves the needle in steps of the animation, or at once without one.
    bool setTargetValue(double value);
    // At once, without signals.
    bool setCurrentValue(double value);
    double maximum() const { return m_maximum; }
    double minimum() const { return m_minimum; }
    double currentValue() const { return m_currentValue; }
    double endValue() const { return m_endValue; }

    // step: value units per tick (its absolute value); interval in ms, 0
    // or less for no animation.
    void setAnimation(int step, int interval);
    void checkAnimation();

    void setTitleColor(const QColor &color) { assign(m_titleColor, color); }
    void setValueColor(const QColor &color) { assign(m_valueColor, color); }
    void setActiveScaleColor(const QColor &color) { assign(m_activeScaleColor, color); }
    void setInactiveScaleColor(const QColor &color) { assign(m_inactiveScaleColor, color); }
    void setPointerColor(const QColor &color) { assign(m_pointerColor, color); }
    void setHubColor(const QColor &color) { assign(m_hubColor, color); }
    void setFaceColor(const QColor &color) { assign(m_faceColor, color); }
    void setBezelColor(const QColor &color) { assign(m_bezelColor, color); }
    void setBandColor(const QColor &color);
    void setBandColors(const QList<QColor> &colors);
    void setTitle(const QString &title) { assign(m_title, title); }
    // "%1" stands for the digits; takes effect at the next repaint.
    void setUnitFormat(const QString &format);
    // The hub picture, loaded here once.
    void setPixmapPath(const QString &path);
    bool setValueDecimals(int decimals);
    bool setScaleDecimals(int decimals);
    void setGlareHidden(bool hidden) { assign(m_glareHidden, hidden); }

    // value in the general format with six significant digits, cut (not
    // rounded) after decimals digits: 12.3456 with 1 gives "12.3".
    static QString valueText(double value, int decimals);

Q_SIGNALS:
    void arriveEnd(double endvalue);
    void currentValueChange(double CurrentValue);
    void arriveEnd();

protected Q_SLOTS:
    void ontimeout();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Stores a look setting and repaints.
    template <typename T>
    void assign(T &member, const T &value)
    {
        member = value;
        update();
    }
    void arrive();
    // Share of the range below value, 0 for a range of zero width.
    double share(double value) const;
    void drawBezel(QPainter &painter);
    void drawFace(QPainter &painter);
    void drawBand(QPainter &painter);
    void drawColorBand(QPainter &painter);
    void drawScaleArc(QPainter &painter);
    void drawTicks(QPainter &painter);
    void drawInnerFace(QPainter &painter);
    void drawScaleLabels(QPainter &painter);
    void drawNeedle(QPainter &painter);
    void drawHub(QPainter &painter);
    void drawPictureAndDigits(QPainter &painter);
    void drawTitle(QPainter &painter);
    void drawGlare(QPainter &painter, double ratio, int alpha, double from, double to);

    bool m_glareHidden = false;
    int m_scaleDecimals = 0;
    int m_valueDecimals = 1;
    double m_minimum = 0.0;
    double m_maximum = 120.0;
    double m_currentValue = 0.0;
    double m_endValue = 0.0;
    int m_useBandColors = 0;
    QTimer m_timer;
    int m_interval = 0;
    int m_step = 0; // until setAnimation: every animated set jumps on the first tick
    QString m_title;
    QString m_unitFormat;
    QString m_pixmapPath;
    QPixmap m_pixmap; // as loaded; scaled to the dial at each paint
    int m_radius = 0;
    QColor m_inactiveScaleColor{185, 185, 185};
    QColor m_valueColor{255, 255, 255};
    QColor m_titleColor{192, 192, 192};
    QColor m_pointerColor{249, 2, 1};
    QColor m_bandColor{83, 213, 251};
    QList<QColor> m_bandColors;
    QColor m_activeScaleColor{255, 255, 255};
    QColor m_faceColor{26, 26, 26};
    QColor m_bezelColor{252, 252, 248};
    QColor m_hubColor{38, 38, 38};
    double m_innerRadius = 0.0;
};
