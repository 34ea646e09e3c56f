// A notification on a UIO node: the node becomes readable (a 32-bit event
// count) when the board interrupts; an eventfd, never drained, makes the
// cancel stick for every later wait.
#pragma once

#include "plxnotifier.h"

#include <atomic>
#include <memory>
#include <string>

class UioNotifier : public PlxNotifier
{
public:
    // nullptr when the node or the eventfd cannot be opened.
    static std::shared_ptr<UioNotifier> open(const std::string &node);
    ~UioNotifier() override;

    // PLX_STATUS_FAILED once the node hung up (poll error, end of file,
    // EIO): every later wait fails at once too. The first failure prints
    // one PlxApi line naming the node and the reason.
    uint32_t wait(uint64_t timeoutMs) override;
    void cancel() override;

private:
    UioNotifier(const std::string &name, int node, int cancel) : m_name(name), m_node(node), m_cancel(cancel) {}
    uint32_t hungUp(const std::string &reason);

    const std::string m_name;
    const int m_node;
    const int m_cancel;
    std::atomic<bool> m_reported{false};
};
