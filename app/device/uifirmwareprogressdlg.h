// The firmware upload dialog: picks a *.bin image and sends it over
// channel 0 through the channel's transmit pipe. The dialog owns a sender
// that queues the image and a transmit thread that puts it on the bus;
// closing it, Escape, or any error stops both, waits for them and empties
// the pipe, so nothing of an abandoned upload reaches the bus later.
#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>

class CanWriteThread;
class UlSendFirmwareThread;
namespace Ui {
class UiFirmwareProgressDlg;
}

class UiFirmwareProgressDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr uint32_t Channel = 0;

    explicit UiFirmwareProgressDlg(QWidget *parent = nullptr);
    ~UiFirmwareProgressDlg() override;

    // Every way of ending the dialog comes through here.
    void done(int result) override;

public Q_SLOTS:
    void createActions();
    // nValue: per cent of the image queued.
    void curProgressChanged(int nValue);
    void onCancel();
    // Checks the file and starts an upload unless one is running.
    void startSendNowData();
    // Ends the image early; units already queued still go out, followed by
    // the end, digest and finish frames.
    void onStop();
    void onThreadFinished();
    void onThreadChangeStatus();
    void onBrowseFile();

private Q_SLOTS:
    void onReadError();
    void onTransmitError();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Shows why path cannot be sent; true when it can be read.
    bool checkFile(const QString &path);
    // Stops and waits for both threads, then empties the pipe.
    void stopThreads();

    std::unique_ptr<Ui::UiFirmwareProgressDlg> form;
    QString fileName;
    // Children of the dialog; both have ended before the dialog goes.
    UlSendFirmwareThread *sender;
    CanWriteThread *writer;
};
