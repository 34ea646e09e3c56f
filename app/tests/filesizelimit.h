// A disk that fills, for the save tests: while an object lives, files this
// process writes cannot grow past the given size (RLIMIT_FSIZE), and a write
// past it takes what fits and then fails with EFBIG, as a write onto a full
// disk takes what fits and fails with ENOSPC. SIGXFSZ, which would end the
// process, is ignored meanwhile. The limit holds for every thread and file
// of the process: keep the object's life short.
#pragma once

#include <QString>

#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (getrlimit(RLIMIT_FSIZE, &saved) != 0)
            return;
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        set = (saved.rlim_max == RLIM_INFINITY || bytes <= saved.rlim_max) && setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        if (set)
            setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isSet() const { return set; }
    // The system's text for a write past the limit.
    static QString reason() { return QString::fromLocal8Bit(std::strerror(EFBIG)); }

private:
    rlimit saved{};
    bool set = false;
    void (*previousHandler)(int) = SIG_DFL;
};
