// The main window's status bar: send time, sent and received frame counts
// of the active channel window, and a Clear button.
#pragma once

#include <QStatusBar>

class QLabel;
class QToolButton;

class UiStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit UiStatusBar(QWidget *parent = nullptr);

Q_SIGNALS:
    void clearSignal();

public Q_SLOTS:
    // Seconds; -1.0 (no send run) shows nothing, others their whole part.
    void setSendTime(double num);
    void setSendFrames(ulong num);
    void setRecvFrames(ulong num);
    // Empties the time, zeroes both counts, then emits clearSignal().
    void clear();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    QLabel *spacer;
    QLabel *sendTimeCaption;
    QLabel *sendTimeValue;
    QLabel *sendFramesCaption;
    QLabel *sendFramesValue;
    QLabel *recvFramesCaption;
    QLabel *recvFramesValue;
    QToolButton *clearButton;
};
