#include "dbcreleasethread.h"

#include <QCoreApplication>

#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

struct ReleaseQueue {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::shared_ptr<void>> waiting;
    int busy = 0;  // objects being released
    bool stopping = false;
    std::thread thread;

    ~ReleaseQueue() { shutdown(); }

    void shutdown()
    {
        std::thread ending;
        {
            const std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
            ending = std::move(thread);
        }
        changed.notify_all();
        if (ending.joinable())
            ending.join();
    }

    void run()
    {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return stopping || !waiting.empty(); });
            if (waiting.empty())
                return;
            std::shared_ptr<void> object = std::move(waiting.front());
            waiting.pop_front();
            ++busy;
            lock.unlock();
            object.reset();
            lock.lock();
            --busy;
            changed.notify_all();
        }
    }
};

ReleaseQueue &queue()
{
    static ReleaseQueue instance;
    return instance;
}

} // namespace

void DBCReleaseThread::release(std::shared_ptr<void> object)
{
    if (!object)
        return;
    ReleaseQueue &q = queue();
    bool start = false;
    {
        const std::lock_guard<std::mutex> lock(q.mutex);
        q.waiting.push_back(std::move(object));
        start = !q.thread.joinable();
        if (start) {
            q.stopping = false;
            q.thread = std::thread(&ReleaseQueue::run, &q);
        }
    }
    q.changed.notify_all();
    // Before the application object goes, while Qt's own state still lives.
    if (start && QCoreApplication::instance())
        qAddPostRoutine(&DBCReleaseThread::stop);
}

void DBCReleaseThread::join(std::thread thread)
{
    if (!thread.joinable())
        return;
    release(std::shared_ptr<void>(new std::thread(std::move(thread)), [](std::thread *t) {
        t->join();
        delete t;
    }));
}

void DBCReleaseThread::wait()
{
    ReleaseQueue &q = queue();
    std::unique_lock<std::mutex> lock(q.mutex);
    q.changed.wait(lock, [&q] { return q.waiting.empty() && q.busy == 0; });
}

void DBCReleaseThread::stop()
{
    queue().shutdown();
}
