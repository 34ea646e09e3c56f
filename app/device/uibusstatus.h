// The modeless bus-status window: one panel per channel with bus load,
// frame rate, run lamp, controller and bus lamps and error counters,
// refreshed once a second from the frame buffers' counters and the
// controller status. Deletes itself when closed; at most one exists.
#pragma once

#include "busstatus.h"
#include "controlstatus.h"

#include <QDialog>
#include <QTimer>

#include <memory>

class CANRunStatusWidget;
class QGroupBox;
namespace Ui {
class UiBusStatus;
}

class UiBusStatus : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Channels = 4;
    static constexpr int RefreshMs = 999;

    // Set while a bus-status window exists (GUI thread only).
    static bool isShowing;

    // channels: 1..4; title: what follows the window's own title.
    UiBusStatus(int channels, const QString &title, QWidget *parent = nullptr);
    ~UiBusStatus() override;

    int channelCount() const { return channels; }
    CANRunStatusWidget *panel(int channel) const;

Q_SIGNALS:
    void showRunStatus(int nChannel, int nLoad, int nSpeed, bool status);
    void showControlStatus(int nChannel, ControlStatus cs);
    void showBusStatus(int nChannel, BusStatus bs, int sendCount, int recCount);
    void showErrorCount(int nChannel, int sendCount, int recCount);

public Q_SLOTS:
    void onShowRunStatus(int nChannel, int nLoad, int nSpeed, bool status);
    void onShowControlStatus(int nChannel, ControlStatus cs);
    void onShowBusStatus(int nChannel, BusStatus bs, int sendCount, int recCount);
    void onShowErrorCount(int nChannel, int sendCount, int recCount);
    // The timer tick: load and rate since the last tick, then the
    // controller status of every channel.
    void UpdateStatus();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void retranslateUi();

    std::unique_ptr<Ui::UiBusStatus> form;
    QGroupBox *groups[Channels] = {};
    CANRunStatusWidget *panels[Channels] = {};
    qint64 previousBits[Channels] = {};
    qint64 previousFrames[Channels] = {};
    int channels;
    QString titleSuffix;
    QTimer timer;
};
