// How long a thread was ready to run but waited for a processor: Linux's
// run-queue wait of the thread (the second field of its schedstat, ns). A
// loaded machine adds it to any time a thread takes, whatever the program
// does, so tests that bound a time take it out. Reads 0 where the kernel
// does not keep it, so that a time then counts whole.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

class RunQueueWait
{
public:
    // Of the thread that makes it, whichever thread reads it later.
    RunQueueWait()
        : schedstat(::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC))
    {
    }
    ~RunQueueWait()
    {
        if (schedstat >= 0)
            ::close(schedstat);
    }
    RunQueueWait(const RunQueueWait &) = delete;
    RunQueueWait &operator=(const RunQueueWait &) = delete;

    // ns the thread has waited since it began; 0 unknown.
    int64_t ns() const
    {
        char text[96] = {};
        if (schedstat < 0 || ::pread(schedstat, text, sizeof text - 1, 0) <= 0)
            return 0;
        long long running = 0, waiting = 0;
        return std::sscanf(text, "%lld %lld", &running, &waiting) == 2 ? waiting : 0;
    }

    static int64_t ofCallingThread() { return RunQueueWait().ns(); }

private:
    const int schedstat;
};

// One moment of the calling thread: the steady clock and the thread's
// run-queue wait so far (ns). Two moments of one thread tell how much of
// the time between them the thread was given.
struct ThreadMoment
{
    int64_t atNs = 0;
    int64_t waitedNs = 0;

    static ThreadMoment now()
    {
        const int64_t at = std::chrono::duration_cast<std::chrono::nanoseconds>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count();
        return {at, RunQueueWait::ofCallingThread()};
    }

    // ns from earlier to this moment, without the thread's run-queue wait
    // between them.
    int64_t heldSince(const ThreadMoment &earlier) const
    {
        return atNs - earlier.atNs - (waitedNs - earlier.waitedNs);
    }
};
