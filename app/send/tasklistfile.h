// Task-list files (*.txt) of the Task page: one line per table row, its 12
// fields separated by commas, nothing quoted. Written as UTF-8 with the
// platform's line ends; read as UTF-8 when the bytes are valid UTF-8 and
// as GBK (the local 8-bit encoding of a Chinese system) otherwise, with
// LF or CR LF line ends. No widgets; a read may run on any thread.
#pragma once

#include "taskrow.h"

#include <QList>
#include <QString>

#include <atomic>
#include <utility>

class TaskListFile
{
public:
    // A line that has 12 fields but cannot be sent.
    struct Refusal {
        int line;             // 1-based
        TaskRow::Field field;
        bool operator==(const Refusal &o) const { return line == o.line && field == o.field; }
    };

    // Reads the whole file. False, with errorString() and nothing read,
    // when it cannot be opened or read, or when it is past the list-file
    // bounds (tooLargeRefused()). Lines of any other number of
    // fields than 12 are skipped and counted (blank lines are not counted);
    // lines whose row has a fault under idFormat are refused.
    bool read(const QString &fileName, int idFormat);
    // From any thread, for a read on another: cancel() makes the read in
    // progress (or the next one) end soon, false with nothing read and
    // cancelled() true; progress() is the share of its lines done, 0-100.
    void cancel() { stop = true; }
    bool cancelled() const { return stop; }
    int progress() const { return done; }
    QList<TaskRow> rows() const { return readRows; }
    // The rows read, leaving none here.
    QList<TaskRow> takeRows() { return std::exchange(readRows, {}); }
    int skippedLines() const { return skipped; }
    QList<Refusal> refusals() const { return refused; }

    // Replaces the file with the rows, in order. False, with errorString()
    // and the old file kept where the system allows, on any failure.
    bool write(const QString &fileName, const QList<TaskRow> &rows);

    QString errorString() const { return error; }
    bool tooLargeRefused() const { return tooLarge; }

private:
    // Nothing read; pastBounds: refused for the list-file bounds.
    bool refuse(const QString &why, bool pastBounds);

    QList<TaskRow> readRows;
    QList<Refusal> refused;
    int skipped = 0;
    QString error;
    bool tooLarge = false;
    std::atomic<bool> stop{false};
    std::atomic<int> done{0};
};
