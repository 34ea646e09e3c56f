#include "uionotifier.h"

#include "linuxaccess.h"
#include "plxapi.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

std::shared_ptr<UioNotifier> UioNotifier::open(const std::string &node)
{
    // Read-write: a FIFO standing in for the node then never reports a
    // hang-up, and uio accepts either.
    const int fd = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    const int cancel = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (cancel < 0) {
        ::close(fd);
        return nullptr;
    }
    return std::shared_ptr<UioNotifier>(new UioNotifier(node, fd, cancel));
}

UioNotifier::~UioNotifier()
{
    ::close(m_node);
    ::close(m_cancel);
}

uint32_t UioNotifier::hungUp(const std::string &reason)
{
    if (!m_reported.exchange(true))
        LinuxAccess::report(m_name, "interrupt wait failed", reason);
    return PLX_STATUS_FAILED;
}

uint32_t UioNotifier::wait(uint64_t timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd fds[2] = {{m_cancel, POLLIN, 0}, {m_node, POLLIN, 0}};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        const int n = ::poll(fds, 2, int(left > 0 ? left : 0));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return hungUp(LinuxAccess::reason(errno));
        if (fds[0].revents & POLLIN)
            return PLX_STATUS_CANCELED;
        if (n == 0)
            return PLX_STATUS_TIMEOUT;
        if (fds[1].revents & POLLNVAL)
            return hungUp("not an open file");
        // On a hang-up the read tells why (EIO once the driver is unbound);
        // the node then stays readable, so the caller must stop.
        uint32_t count = 0;
        const ssize_t got = ::read(m_node, &count, sizeof count);
        if (got == ssize_t(sizeof count))
            return PLX_STATUS_OK;
        if (got >= 0)
            return hungUp(got == 0 ? "end of file instead of an interrupt count"
                                   : "an interrupt count of " + std::to_string(got) + " bytes");
        if (errno != EAGAIN && errno != EINTR)
            return hungUp(LinuxAccess::reason(errno));
        if (fds[1].revents & (POLLERR | POLLHUP))
            return hungUp("the node hung up");
    }
}

void UioNotifier::cancel()
{
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_cancel, &one, sizeof one);
}
