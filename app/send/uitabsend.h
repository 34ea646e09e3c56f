// The send tabs of a channel window: the "Base", "Task" and "File" send
// pages and the channel's "ErrorInfo" page, over the channel's send-task
// thread. The three send pages are still empty; the channel window already
// drives the tabs through the signals and slots below.
#pragma once

#include "basesendparam.h"

#include <QTabWidget>

class ErrorInfoWidget;
class taskThread;

class UiTabSend : public QTabWidget
{
    Q_OBJECT

public:
    enum Page { BasePage, TaskPage, FilePage, ErrorInfoPage };

    UiTabSend(QWidget *parent, int channel);
    // Stops the send threads and waits for them.
    ~UiTabSend() override;

    int channel() const { return channelIndex; }
    bool isSendEnabled() const { return sendEnabled; }
    taskThread *sendTaskThread() const { return sendThread; }
    ErrorInfoWidget *errorInfo() const { return errorPage; }
    // Stops every send thread of the channel and waits for it to end.
    void stopThreads();

Q_SIGNALS:
    // The send-task thread could not send; the tabs stop sending by themselves.
    void sendErrorSignal();
    // A page refused a frame identifier as out of range.
    void maxIdErrorSignal();
    void idFormatChangedSignal();
    void AddMoveSend(BaseSendParam param);
    void AddMoveList(BaseSendParam param);

public Q_SLOTS:
    // Stores bRun in the channel's sending flag and sets the current page's
    // Send and Stop buttons; false returns the pages to idle.
    void UpdateUI(bool bRun);
    // Re-applies the current page's enabled state for the channel's
    // started state.
    void onTaskChangeStatus();
    void onChangePage(int index);
    // Send buttons of the Base, Task and File pages.
    void setSendEnabled(bool enabled);
    void onThreadStart();
    void onStop();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    int channelIndex;
    ErrorInfoWidget *errorPage;
    taskThread *sendThread;
    bool sendEnabled = false;
};
