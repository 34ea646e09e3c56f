#include "uthread.h"

UThread::UThread(QObject *parent)
    : QThread(parent)
{
}

UThread::~UThread()
{
    finish();
}

void UThread::start(QThread::Priority priority)
{
    running = true;
    QThread::start(priority);
}

void UThread::stop()
{
    running = false;
}

bool UThread::waitForFinish()
{
    return wait();
}

void UThread::run()
{
}

void UThread::finish()
{
    stop();
    if (QThread::currentThread() != this)
        wait();
}
