#include "slicedwork.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

SlicedWork::SlicedWork(QWidget *parent, const QString &title, const QString &label)
    : dialog(new QProgressDialog(label, QCoreApplication::translate("UiMessage", "Cancel"), 0, 100, parent))
{
    dialog->setWindowTitle(title);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    dialog->setMinimumDuration(ShowAfterMs);
    dialog->setValue(0);
    QApplication::setOverrideCursor(Qt::BusyCursor);
}

SlicedWork::~SlicedWork()
{
    QApplication::restoreOverrideCursor();
    delete dialog;
}

bool SlicedWork::turn(int percent, bool cancellable)
{
    if (!dialog)
        return false;
    // A modal dialog turns the event loop itself once it is shown.
    dialog->setValue(percent);
    Q_EMIT progressed(percent);
    QCoreApplication::processEvents();
    return dialog && !(cancellable && dialog->wasCanceled());
}

bool SlicedWork::run(const std::function<bool()> &step, const std::function<int()> &percent, bool cancellable)
{
    QElapsedTimer slice;
    for (;;) {
        slice.start();
        do {
            if (!step())
                return true;
        } while (slice.elapsed() < SliceMs);
        if (!turn(percent(), cancellable))
            return false;
    }
}

bool SlicedWork::waitFor(QThread *worker, const std::function<int()> &percent)
{
    QEventLoop loop;
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    connect(dialog, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
    connect(dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
    QTimer ticks;
    connect(&ticks, &QTimer::timeout, this, [&] {
        if (dialog)
            dialog->setValue(percent());
        Q_EMIT progressed(percent());
    });
    ticks.start(50);
    worker->start();
    Q_EMIT progressed(percent());
    // finished is queued from the worker's thread: it reaches the loop
    // even when the worker ends before exec.
    if (!worker->isFinished() && dialog && !dialog->wasCanceled())
        loop.exec();
    return worker->isFinished() && dialog && !dialog->wasCanceled();
}
