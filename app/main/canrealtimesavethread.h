// A channel's real-time recording: while the channel's real-time-save flag
// is set, the frame buffer queues every frame it stores, and this thread
// writes them into the record file (format by the file's suffix) as they
// come. stop() ends a recording after the frames queued at that moment are
// written; frames queued later, while the flag stays set, are left for the
// next recording (so a recording can move to another file without losing
// a frame). CSV recordings go on in a new file part every splitRows rows.
//
// The owner sets the file name while the thread is not running; time
// display and ID format are taken when a recording starts.
#pragma once

#include "canthread.h"

#include <QString>

#include <atomic>

class RecordFileWriter;

class CanRealTimeSaveThread : public CanThread
{
    Q_OBJECT

public:
    static constexpr qint64 DefaultSplitRows = 1000000;
    // Longest wait for a frame before the running flag is looked at again.
    static constexpr unsigned long WaitMs = 20;

    enum Failure { OpenFailed, WriteFailed, SplitFailed };

    // Without a channel: runs nothing.
    CanRealTimeSaveThread();
    explicit CanRealTimeSaveThread(int channel);
    ~CanRealTimeSaveThread() override;

    void setFileName(const QString &name) { file = name; }
    QString fileName() const { return file; }
    void setSplitRows(qint64 rows) { splitRows = qMax<qint64>(1, rows); }
    // Rows written by the current or last recording.
    qint64 rowsWritten() const { return written; }
    // Name of the part that starts after rows rows of a recording into name.
    static QString partName(const QString &name, qint64 rows, qint64 splitRows);

Q_SIGNALS:
    // The recording ended early on a file it could not open or write: the
    // channel's real-time-save flag is clear again and its queue empty.
    void failed(int failure, QString fileName, QString errorText);

protected:
    void run() override;

private:
    void abandon(RecordFileWriter &writer, Failure failure);

    QString file;
    qint64 splitRows = DefaultSplitRows;
    std::atomic<qint64> written{0};
};
