// The send tabs of a channel window: the "Base", "Task" and "File" send
// pages and the channel's "ErrorInfo" page. The container owns the
// channel's send-task thread, through which the Base and Task pages send;
// the File page replays files on a thread of its own.
//
// At most one sender is active at a time: the Base page's task, the Task
// page's list (on the send-task thread) or its timing tasks (all on one
// scheduler thread of the channel), or the File page's replay. The Send and Stop buttons of every
// page and the channel's sending flag follow the active sender, whichever
// tab is current: only its end returns the pages to idle, and any Stop
// stops it. Stops are synchronous but short: every send thread notices a
// stop within one slice of its pause, and a timing run is waited for at
// most 90 ms (one still inside a device call ends on its own). GUI thread only; the threads report
// through queued signals.
#pragma once

#include "basesendparam.h"
#include "taskqueue.h"

#include <QTabWidget>

#include <memory>

class ErrorInfoWidget;
class UiTabSendBasePage;
class UiTabSendFilePage;
class UiTabSendPage;
class taskThread;

class UiTabSend : public QTabWidget
{
    Q_OBJECT

public:
    enum Page { BasePage, TaskPage, FilePage, ErrorInfoPage };
    enum Sender { NoSender, BaseSender, TaskListSender, TimingTaskSender, FileSender };

    UiTabSend(QWidget *parent, int channel);
    // Stops every send thread and waits for it before it goes.
    ~UiTabSend() override;

    int channel() const { return m_nChannel; }
    bool isSendEnabled() const { return m_sendEnabled; }
    Sender activeSender() const { return m_active; }
    taskThread *sendTaskThread() const { return m_pTaskThread.get(); }
    UiTabSendBasePage *basePage() const { return m_pBasePage; }
    UiTabSendPage *taskPage() const { return m_pTaskPage; }
    UiTabSendFilePage *filePage() const { return m_pFilePage; }
    ErrorInfoWidget *errorInfo() const { return m_pErrorPage; }
    // The page of a tab index (0..2), or null.
    UiTabSendPage *sendPage(int index) const;

    // Stops every sender of the channel and waits for its threads; the
    // pages are idle afterwards. For the channel's Stop and its window's end.
    void stopThreads();
    // Send buttons available (the channel is started) or not.
    void setSendEnabled(bool on);

Q_SIGNALS:
    // A send thread could not send; sending has stopped.
    void sendErrorSignal();
    // A page refused a frame identifier as out of range.
    void maxIdErrorSignal();
    // Inputs from the channel window, forwarded to the pages.
    void idFormatChangedSignal();
    void AddMoveSend(BaseSendParam param);
    void AddMoveList(BaseSendParam param);

public Q_SLOTS:
    // The page of the tab index becomes active (onActive).
    void onChangePage(int page);
    // Stores bRun in the channel's sending flag and shows the buttons:
    // idle, or sending for the active sender (for the current tab when
    // none is recorded).
    void UpdateUI(bool bRun);
    // A Send of the Base (page 0) or Task (page 1) page: the tasks go to
    // the send-task thread, which starts; nothing happens while a sender
    // is active.
    void onStart(int page, taskQueue tObjQ);
    // The send-task thread's run ended: the Base task or the list is done.
    void onStop();
    // The channel was started or stopped: the current page becomes active
    // again.
    void onTaskChangeStatus();
    void onThreadStart();
    // Stop of the Base and Task pages: the active sender stops.
    void onBaseStop();
    void onTaskStop();
    // "Add to Send" and "Add to List" bring the Base and Task tabs forward.
    void onsend(BaseSendParam param);
    void onList(BaseSendParam param);

protected:
    void changeEvent(QEvent *event) override;

private Q_SLOTS:
    void onThreadError();
    void onFileStart();
    void onFileTail();

private:
    void createPages();
    void connectSignals();
    void createTaskThread();
    void retranslateUi();

    // Stops the active sender, waits for it, and shows idle.
    void stopSending();
    void stopTaskThread();
    void stopTimingTasks();
    void endSending();
    // Reports of the send-task thread queued until now belong to runs
    // already stopped; they are dropped.
    void dropQueuedReports();
    bool isTaskThreadSender() const;

    UiTabSendBasePage *m_pBasePage = nullptr;
    UiTabSendPage *m_pTaskPage = nullptr;
    UiTabSendFilePage *m_pFilePage = nullptr;
    ErrorInfoWidget *m_pErrorPage = nullptr;
    std::unique_ptr<taskThread> m_pTaskThread;
    const int m_nChannel;
    Sender m_active = NoSender;
    bool m_sendEnabled = false;
    int m_staleReports = 0;  // drop markers still queued
};
