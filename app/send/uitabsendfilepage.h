// The "File" send page: replays a file onto the channel on the channel's
// replay thread. A CSV, ASC or .can record file goes out frame by frame
// with its recorded gaps; any other file ("Common File") is cut into
// frames of up to 8 bytes on the page's ID, format and send mode, one
// every Interval ms. A run replays the file once, a given number of times,
// or until Stop ("circulation"); each replay starts only after the one
// before has ended, and the first failure ends the run with one message,
// as does a replay that finds no frame in the file (which says whether
// the run sent any).
//
// To the container the page reports a run's start (startSignal), its end
// (tailSignal, once per run) and a failed transmit (errorSignal). GUI
// thread only; the replay thread reports through queued signals.
#pragma once

#include "taskobj.h"
#include "uitabsendpage.h"

#include <memory>

class UlSendFileThread;

namespace Ui {
class UiTabSendFilePage;
}

class UiTabSendFilePage : public UiTabSendPage
{
    Q_OBJECT

public:
    enum Repeat { Once, Circulation, Repeatedly };
    // Replays of a "circulation" run: it never reaches them.
    static constexpr int CirculationTimes = 999;

    UiTabSendFilePage(QWidget *parent, int channel);
    // Stops the replay and waits for it.
    ~UiTabSendFilePage() override;

    UlSendFileThread *replayThread() const { return m_pSendFileThread.get(); }
    bool isRunning() const { return m_runActive; }
    int sentTimes() const { return m_nSentTimes; }

    // A file name is given and the file can be opened; else a warning.
    bool checkFile();
    // The template frame and Interval of a Common File replay; false (with
    // maxIdErrorSignal) when the ID is out of range.
    bool buildFrames(taskObj &task);

Q_SIGNALS:
    void startSignal();
    void tailSignal();
    void errorSignal();

public Q_SLOTS:
    void startSendNowData();
    // Ends the run: the replay in progress stops (within one pause slice)
    // and nothing restarts.
    void stopSendNowData();
    void curFormatChanged(int index);
    // The ID field keeps its real ID under the ID format now in force.
    void onIdFormatChanged();
    void curTypeChanged(int index);
    void NumberTimes(int index);
    void curProgressChanged(int nValue);
    void onBrowseFile();
    void onThreadChangeStatus();
    // Not running: a run in progress ends.
    void onAnswerTaskRunning(bool running) override;
    // A replay ended: the next one of the run starts, or the run ends.
    void onTailSignal();
    void onActive() override;

protected:
    void changeEvent(QEvent *event) override;

private Q_SLOTS:
    void onReplayBegun();
    void onThreadError();

private:
    void retranslateUi();
    // The form has no layout of its own; its boxes keep their places and
    // grow to what their texts need in the language in force, and the body
    // that holds them needs room for them all.
    void fitGeometry();
    void launchReplay();
    void endRun();
    void cannotRead(const QString &fileName, const QString &reason);
    // Reports of the replay thread queued until now are dropped.
    void dropQueuedReports();
    bool staleReport() const { return m_staleReports > 0 || !m_runActive; }

    std::unique_ptr<Ui::UiTabSendFilePage> form;
    int m_nFileType = 0;
    int m_nTotalTimes = 1;
    int m_nSentTimes = 0;
    std::unique_ptr<UlSendFileThread> m_pSendFileThread;

    // What the run in progress replays, fixed at its Send.
    struct Run {
        taskObj task;
        int fileType = 0;
        QString fileName;
        Repeat repeat = Once;
    } m_run;
    bool m_runActive = false;
    int64_t m_runFrames = 0;  // sent by the run's replays so far
    bool m_failed = false;   // the run ends with this replay
    int m_staleReports = 0;  // drop markers still queued
};
