// Base of the worker threads: a QThread with a running flag that its loop
// tests, so that the owner can ask it to end and then wait for it.
#pragma once

#include "vizoz_global.h"

#include <QMutex>
#include <QThread>

#include <atomic>

class VIZOZ_EXPORT UThread : public QThread
{
    Q_OBJECT
public:
    explicit UThread(QObject *parent = nullptr);
    // Stops and waits; a subclass whose run() uses its own members calls
    // finish() in its destructor too, before those members go.
    ~UThread() override;

    // Clears the running flag; the loop ends at its next test.
    void stop();
    bool runFlag() const { return running.load(); }
    // Waits without a time-out; false when called from the thread itself.
    virtual bool waitForFinish();

public Q_SLOTS:
    // Sets the running flag before the thread exists, so a stop() right
    // after start() is never lost. Use this start, not QThread's.
    void start(QThread::Priority priority = QThread::InheritPriority);

protected:
    void run() override;
    void finish();

    // Free for subclasses.
    QMutex mutex;

private:
    std::atomic<bool> running{false};
};
