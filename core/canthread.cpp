#include "canthread.h"

CanThread::CanThread(uint32_t channel, QObject *parent)
    : UThread(parent)
    , channel(channel)
{
}

CanThread::~CanThread()
{
    finish();
}

void CanThread::run()
{
    while (runFlag())
        msleep(50);
}
