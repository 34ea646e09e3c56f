#include "linuxaccess.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

std::string LinuxAccess::lockdownMode()
{
    const char *file = std::getenv("PLX_LOCKDOWN_FILE");
    std::ifstream in(file && *file ? file : "/sys/kernel/security/lockdown");
    std::string line;
    if (!std::getline(in, line))
        return {};
    // "none [integrity] confidentiality": the bracketed word is active.
    const size_t open = line.find('[');
    const size_t close = line.find(']', open);
    if (open == std::string::npos || close == std::string::npos)
        return {};
    const std::string mode = line.substr(open + 1, close - open - 1);
    return mode == "none" ? std::string() : mode;
}

std::string LinuxAccess::reason(int err)
{
    switch (err) {
    case EACCES:
        return "permission denied (the user needs read and write access, see the README)";
    case EPERM: {
        const std::string mode = lockdownMode();
        if (!mode.empty())
            return "refused by the kernel lockdown (" + mode + "), which Secure Boot turns on";
        return "operation not permitted";
    }
    case ENOENT:
        return "no such file";
    default:
        return std::strerror(err);
    }
}

void LinuxAccess::report(const std::string &file, const char *what, int err)
{
    report(file, what, reason(err));
}

void LinuxAccess::report(const std::string &file, const char *what, const std::string &reason)
{
    std::fprintf(stderr, "PlxApi: %s: %s: %s\n", file.c_str(), what, reason.c_str());
}
