// The modal progress dialog of saving a channel's frame buffer: runs a
// saveThread on a copy of the buffer, shows its progress and offers
// Cancel (Escape too). It closes when the thread has ended, after telling
// whether the save was complete, cancelled or failed.
#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class saveThread;
namespace Ui {
class UiSaveProgressDlg;
}

class UiSaveProgressDlg : public QDialog
{
    Q_OBJECT

public:
    // Takes the copy of the channel's buffer and starts the thread.
    UiSaveProgressDlg(QWidget *parent, int channel, const QString &fileName);
    // Stops the thread and waits for it.
    ~UiSaveProgressDlg() override;

    saveThread *thread() const { return worker; }

public Q_SLOTS:
    void onChangedStatus(int value);
    // Tells how the save ended, then accepts.
    void onSaveThreadExit();
    // Asks the thread to stop after the frame in hand.
    void onCancel();
    // Escape: cancels; the dialog closes once the thread has ended.
    void reject() override;

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<Ui::UiSaveProgressDlg> form;
    int channel;
    QString fileName;
    saveThread *worker;
    bool ended = false;
};
