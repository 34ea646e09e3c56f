// The "Automatic Detection" dialog: the user picks a bit-rate range and a
// waiting time per try, starts the probing thread on one channel and
// chooses the found timing. After an accepted exec() chosenBtr0() and
// chosenBtr1() hold two hexadecimal digits each ("00", "1C").
#pragma once

#include "cautoprobingthread.h"
#include "ratedate.h"

#include <QDialog>

#include <memory>

class DoubleSlider;
class QTableWidgetItem;
namespace Ui {
class UiAutoProbing;
}

class UiAutoProbing : public QDialog
{
    Q_OBJECT

public:
    explicit UiAutoProbing(int channel, QWidget *parent = nullptr);
    ~UiAutoProbing() override;

    QString chosenBtr0() const { return btr0; }
    QString chosenBtr1() const { return btr1; }
    bool isRunning() const { return running; }

    // Stops a running probe and waits for it before the dialog ends.
    void done(int result) override;

public Q_SLOTS:
    void onOperation();
    void slotShowRateInfo(RateDate rd);
    void onEndTest();
    void slotShowError(int errCode, QString strErr);
    void ChangedCurremItem(QTableWidgetItem *current, QTableWidgetItem *previous);
    void accept() override;
    void onMinValueChanged(float v);
    void onMaxValueChanged(float v);

protected:
    void changeEvent(QEvent *event) override;

private:
    void onProbeFinished();
    void updateOk();
    void retranslateUi();

    std::unique_ptr<Ui::UiAutoProbing> form;
    DoubleSlider *slider;
    bool running = false;
    bool errorShown = false; // one box per run: a failing try repeats per candidate
    QString btr0;
    QString btr1;
    int channel;
    CAutoProbingThread probe;
};
