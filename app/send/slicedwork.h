// Work of the GUI thread too long to do at once (Load and Send of a large
// task list), done in slices of about SliceMs between which the event loop
// turns, under a window-modal progress dialog with a Cancel button and the
// busy cursor. The dialog shows once the work has lasted ShowAfterMs, so
// short work never flashes it; work that ends within its first slice
// never turns the event loop. GUI thread only.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QProgressDialog;
class QThread;
class QWidget;

class SlicedWork : public QObject
{
    Q_OBJECT

public:
    static constexpr int SliceMs = 20;
    static constexpr int ShowAfterMs = 500;

    // The dialog is a child of parent, with its title and label.
    SlicedWork(QWidget *parent, const QString &title, const QString &label);
    // Closes the dialog and restores the cursor.
    ~SlicedWork() override;

    // Calls step until it returns false (nothing left); percent tells the
    // share done. True when done; false when the user cancelled first
    // (only where cancellable) or the dialog went with its parent.
    bool run(const std::function<bool()> &step, const std::function<int()> &percent, bool cancellable = true);
    // Starts worker and turns the event loop until it has finished (true),
    // or until the user cancelled or the dialog went (false; the worker is
    // left to its owner, still running).
    bool waitFor(QThread *worker, const std::function<int()> &percent);

Q_SIGNALS:
    // The share done, 0-100, each time the dialog shows it.
    void progressed(int percent);

private:
    // The event loop turns once; false when the work is to end.
    bool turn(int percent, bool cancellable);

    QPointer<QProgressDialog> dialog;
};
