// The send-task thread of one channel: every frame of the base and task
// send pages goes out through it. A page hands over its tasks with
// setTaskQueue, sets its page number and starts the thread; each burst of
// frames is added to the channel's frame buffer as transmitted rows and
// then sent in one device call. In the task page's parallel (timing) mode
// all tasks of the run go to one UlTimingScheduler thread, which this
// thread owns; the run itself ends at once.
//
// Records always carry real, right-aligned IDs; with the left-aligned ID
// format a task's template holds the controller's code, converted once
// when the task starts.
#pragma once

#include "taskqueue.h"
#include "uthread.h"
#include "vci.h"
#include "vizoz_global.h"

#include <QList>

#include <atomic>
#include <cstdint>

class UlTimingScheduler;

class VIZOZ_EXPORT taskThread : public UThread
{
    Q_OBJECT
public:
    enum Page { NoPage = -1, BasePage = 0, TaskPage = 1, FilePage = 2 };
    // Frames per device call; longer bursts go out in several calls.
    static constexpr int BurstSize = 100;

    explicit taskThread(uint32_t channel);
    taskThread(QObject *parent, uint32_t channel);
    // Stops this thread and every timing thread, waiting for all.
    ~taskThread() override;

    void setPage(int page) { this->page = page; }
    int getPage() const { return page; }
    uint32_t getChannel() const { return channel; }

    // Clears the running flag and the page; an interval pause in progress
    // ends at once.
    void stop();
    // Stops the timing tasks, waiting at most StopWaitMs in all; a timing
    // thread still inside a device call then stays owned here, stopped,
    // until a later call or the destructor deletes it.
    void stopSingleTask();
    // Timing tasks of the running timing thread.
    int singleTaskCount() const;
    // Timing threads that have not ended yet, stopped ones included.
    int timingThreadCount() const;
    static constexpr int StopWaitMs = 90;

    // One frame, ID unchanged: into the frame buffer, then sent. Returns
    // the device's result.
    uint32_t writeObj(const CanObj &frame);
    // count identical frames; 1 when all were sent, else 0.
    int writeObj(const CanObj &frame, int count);
    // A burst of len frames from the template, counting the ID (idStep 1)
    // and data byte dataIncrease (1..8) per frame; the template's data and
    // runningId carry on to the next burst. 1 when all were sent, else 0.
    int writeObj(CanObj &templ, int len, int idStep, int dataIncrease, uint32_t &runningId);

    // Pauses for us microseconds, returning early (within a few ms) once
    // the thread's running flag is cleared. False when cut short.
    static bool pauseWhileRunning(const UThread &thread, int64_t us);

Q_SIGNALS:
    void changeStatus();
    void startSignal();
    // A burst was not sent in full, a task cannot be sent, the page is not
    // usable, or a single-task thread failed.
    void errorSignal();
    // The run ended; always its last signal.
    void tailSignal();

public Q_SLOTS:
    // Takes over the caller's tasks, leaving its queue empty. A run in
    // progress keeps the tasks it started with.
    void setTaskQueue(taskQueue &queue);
    void onInitUsedTime();
    void clearAll();
    void clearPipe();

protected:
    void run() override;
    void BaseOperation();
    void TaskOperation();
    void FileOperation();

private:
    // Sends one task from its template; false after an error was reported.
    bool sendTask(const taskObj &task);
    // Sends n records of the burst array (n <= BurstSize) after adding
    // them to the frame buffer.
    bool transmitBurst(int n);
    void startSingleTasks();
    // Deletes the stopped timing threads that have ended; singleLock held.
    void reapRetired();

    const uint32_t channel;
    std::atomic<int> page{NoPage};
    taskQueue tasks;       // guarded by mutex
    taskQueue runTasks;    // the run's own copy; worker thread only
    int64_t runSent = 0;   // frames sent by the run; worker thread only
    mutable QMutex singleLock;
    UlTimingScheduler *timing = nullptr;        // guarded by singleLock
    QList<UlTimingScheduler *> retired;         // stopped; guarded by singleLock
    VCI_CAN_OBJ burst[BurstSize] = {};        // worker thread only
};
