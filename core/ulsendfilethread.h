// Replays one file onto a channel, one frame per device call. A plain
// binary file is cut into frames of up to 8 data bytes on the task's
// template frame, one every Interval ms; a CSV, ASC or .can record file is
// sent frame by frame with the time gaps its frames recorded. Every frame
// is added to the channel's frame buffer as transmitted before it is sent.
//
// Signals of one run: errorSignal alone when the file cannot be opened or
// is not of its type (no frame is sent); otherwise progressValueChanged(0),
// begainSend, progress as the file is read, errorSignal on a frame that
// cannot be read or sent, and tailSignal last. failure() tells which of
// the three an errorSignal was.
//
// Timing: gaps are kept on a steady-clock schedule, so the replay takes as
// long as the recording did. Frames without a time of their own (rows the
// program transmitted, stored with time 0) go out at once and do not move
// the schedule; a time that goes back counts as no gap. Each recording
// appended to one file is timed on its own: its first frame goes out at
// once after the previous recording's last.
#pragma once

#include "taskobj.h"
#include "uthread.h"
#include "vci.h"
#include "vizoz_global.h"

#include <QMutex>
#include <QString>

#include <atomic>
#include <cstdint>

class CanObj;

class VIZOZ_EXPORT UlSendFileThread : public UThread
{
    Q_OBJECT
public:
    enum FileType { BinaryFile = 0, CsvFile = 1, AscFile = 2, CanFile = 3 };
    // Why the last run emitted errorSignal.
    enum Failure { NoFailure, CannotOpen, CannotRead, CannotSend };

    explicit UlSendFileThread(uint32_t channel);
    UlSendFileThread(QObject *parent, uint32_t channel);
    ~UlSendFileThread() override;

    // Taken when a run starts; a run in progress keeps what it started with.
    void setFileName(const QString &name);
    void setFileType(int type);
    // Only the template (first frame of the first CanData) and Interval
    // are used. With the left-aligned ID format the template's ID is the
    // controller's code and is sent as the real ID.
    void setParameter(const taskObj &task);

    uint32_t getChannel() const { return channel; }

    // Of the last run, set before its errorSignal; a new run clears it.
    Failure failure() const;
    // The reader's reason for CannotOpen and CannotRead, when it gave one.
    QString failureText() const;
    // Frames the last run sent, final before its tailSignal; a new run
    // starts again from 0. A run of a file without frames sends none.
    int64_t sentFrames() const { return sent; }

    // One frame into the frame buffer as transmitted, then sent; returns
    // the device's result (1 sent, 0 failed). For the replay's own thread.
    uint32_t writeObj(const CanObj &frame);

Q_SIGNALS:
    void changeStatus();
    // Per cent of the file read so far; emitted when it changes.
    void progressValueChanged(int percent);
    void errorSignal();
    void tailSignal();
    void begainSend();

public Q_SLOTS:
    void onInitUsedTime();

protected:
    void run() override;

private:
    // Sleeps until the steady-clock time due (ns), returning early with
    // false once the running flag is cleared.
    bool waitUntil(int64_t dueNs) const;
    void setFailure(Failure failure, const QString &text);

    std::atomic<int64_t> timerStartNs{0};
    std::atomic<int64_t> sent{0};
    const uint32_t channel;
    int fileType = BinaryFile;  // guarded by mutex
    QString fileName;           // guarded by mutex
    taskObj task;               // guarded by mutex
    mutable QMutex failureLock;
    Failure lastFailure = NoFailure;  // guarded by failureLock
    QString lastFailureText;          // guarded by failureLock
    VCI_CAN_OBJ record = {};    // run's thread only
};
