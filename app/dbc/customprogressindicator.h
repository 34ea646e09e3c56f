// A small busy indicator: twelve rounded bars on a circle, fading from the
// leading one, turning by 30 degrees per timer tick while animated. It can
// print a percentage in its middle and shows a pixmap while stopped.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

class CustomProgressIndicator : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int delay READ animationDelay WRITE setAnimationDelay)
    Q_PROPERTY(bool displayedWhenStopped READ isDisplayedWhenStopped WRITE setDisplayedWhenStopped)
    Q_PROPERTY(QColor color READ color WRITE setColor)

public:
    explicit CustomProgressIndicator(QWidget *parent = nullptr);

    bool isAnimated() const { return m_timerId != -1; }
    int angle() const { return m_angle; }
    int animationDelay() const { return m_delay; }  // ms
    bool isDisplayedWhenStopped() const { return m_displayedWhenStopped; }
    const QColor &color() const { return m_color; }
    qint16 progress() const { return m_progress; }
    // Drawn over the whole widget while stopped and not displayed.
    void setPixmap(const QPixmap &pixmap);

    QSize sizeHint() const override;

Q_SIGNALS:
    void Finished();

public Q_SLOTS:
    void startAnimation();
    void stopAnimation();
    // Restarts a running timer with the new interval; a stopped one stays stopped.
    void setAnimationDelay(int delay);
    void setDisplayedWhenStopped(bool state);
    void setColor(const QColor &color);
    // 1..99 prints "n%" at the next repaint; 100 stops the animation there.
    void onProgress(qint16 _progress);

protected:
    void timerEvent(QTimerEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void killAnimationTimer();

    int m_angle = 0;  // degrees, leading bar
    int m_timerId = -1;
    int m_delay = 45;
    bool m_displayedWhenStopped = false;
    QColor m_color = Qt::gray;
    qint16 m_progress = 0;
    QPixmap m_pixmap;
};
