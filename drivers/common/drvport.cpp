#include "drvport.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

void logMessage(const std::wstring &text, const std::wstring &caption)
{
    std::fprintf(stderr, "%s: %s\n", DrvPort::toUtf8(caption).c_str(), DrvPort::toUtf8(text).c_str());
}

std::atomic<DrvPort::MessageHook> g_hook{logMessage};

} // namespace

uint32_t DrvPort::spin(uint32_t rounds)
{
    uint32_t i = 0;
    for (; i < rounds; ++i)
        asm volatile("" : "+r"(i)); // an opaque step the optimiser keeps
    return i;
}

void DrvPort::raiseThreadPriority()
{
    // The lowest real-time priority where allowed: a waking receive thread
    // then runs within microseconds even on a busy machine.
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_FIFO);
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0)
        return;
    const auto tid = id_t(syscall(SYS_gettid));
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, tid);
    if (errno == 0)
        setpriority(PRIO_PROCESS, tid, nice - 2);
}

void DrvPort::nameThread(const char *name)
{
    pthread_setname_np(pthread_self(), name);
}

long DrvPort::threadId()
{
    return long(syscall(SYS_gettid));
}

bool DrvPort::waitUntilAsleep(long threadId, uint32_t timeoutMs)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/task/%ld/stat", threadId);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        if (FILE *f = std::fopen(path, "r")) {
            char text[512];
            const size_t n = std::fread(text, 1, sizeof text - 1, f);
            std::fclose(f);
            text[n] = 0;
            // "tid (name) S ...": the state follows the last ')'.
            const char *close = std::strrchr(text, ')');
            if (close && close[1] == ' ' && close[2] == 'S')
                return true;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

void DrvPort::setMessageHook(MessageHook hook)
{
    g_hook.store(hook ? hook : logMessage);
}

void DrvPort::showMessage(const std::wstring &text, const std::wstring &caption)
{
    g_hook.load()(text, caption);
}

std::string DrvPort::toUtf8(const std::wstring &text)
{
    std::string out;
    for (wchar_t wc : text) {
        const auto c = uint32_t(wc);
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}
