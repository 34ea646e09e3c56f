// A painted on/off switch: a track, a knob that slides to the end of the
// current state and a state text, or instead one picture per state. A mouse
// press toggles it. GUI thread only.
#pragma once

#include <QColor>
#include <QWidget>

class QTimer;

class SwitchButton : public QWidget
{
    Q_OBJECT

public:
    enum ButtonStyle {
        SwitchStyleRect = 0,      // rounded rectangles, the knob half the width
        SwitchStylePill = 1,      // round ends, a round knob inside the track
        SwitchStyleOverhang = 2,  // a round knob wider than the inset track
        SwitchStyleImage = 3,     // one picture per state, centred
    };

    explicit SwitchButton(QWidget *parent = nullptr);
    ~SwitchButton() override;

    bool isChecked() const { return m_checked; }
    // Sets the state and slides the knob to it without emitting.
    void switchTo(bool checked);

Q_SIGNALS:
    void checkedChanged(bool checked);

public Q_SLOTS:
    // As switchTo, and emits checkedChanged when the state changes.
    void setChecked(bool checked);
    void setButtonStyle(SwitchButton::ButtonStyle buttonStyle);
    void setBgColor(const QColor &bgColorOff, const QColor &bgColorOn);
    void setSliderColor(const QColor &sliderColorOff, const QColor &sliderColorOn);
    void setTextColor(const QColor &textColorOff, const QColor &textColorOn);
    void setText(const QString &textOff, const QString &textOn);
    // Picture paths; a picture larger than the switch is scaled down to fit.
    void setImage(const QString &imageOff, const QString &imageOn);
    // Inset of knob and track in pixels; negative gives 0.
    void setSpace(int space);
    void setRectRadius(int rectRadius);
    void updateValue();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Knob position at rest for the state, or the current target for the
    // picture style when checked.
    int endPosition(bool checked) const;
    // Pixels per tick: width / divisor, at least 1.
    int stepFor(int divisor) const;
    void slideTo(bool checked);
    void drawImage(QPainter &painter);
    void drawTrack(QPainter &painter);
    void drawSlider(QPainter &painter);
    void drawText(QPainter &painter);

    bool m_checked = false;
    ButtonStyle m_buttonStyle = SwitchStylePill;
    QColor m_bgColorOff{225, 225, 225};
    QColor m_bgColorOn{65, 205, 82};
    QColor m_sliderColorOff{100, 100, 100};
    QColor m_sliderColorOn{255, 255, 255};
    QColor m_textColorOff{255, 255, 255};
    QColor m_textColorOn{10, 10, 10};
    QString m_textOff;
    QString m_textOn;
    QString m_imageOff;
    QString m_imageOn;
    int m_space = 2;
    int m_rectRadius = 5;
    int m_step;
    int m_startX = 0;
    int m_endX = 0;
    QTimer *m_timer;
};
