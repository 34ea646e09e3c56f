// A notification on a UIO node: the node becomes readable (a 32-bit event
// count) when the board interrupts; an eventfd, never drained, makes the
// cancel stick for every later wait.
#pragma once

#include "plxnotifier.h"

#include <memory>
#include <string>

class UioNotifier : public PlxNotifier
{
public:
    // nullptr when the node or the eventfd cannot be opened.
    static std::shared_ptr<UioNotifier> open(const std::string &node);
    ~UioNotifier() override;

    // PLX_STATUS_FAILED once the node hung up (poll error, end of file,
    // EIO): every later wait fails at once too.
    uint32_t wait(uint64_t timeoutMs) override;
    void cancel() override;

private:
    UioNotifier(int node, int cancel) : m_node(node), m_cancel(cancel) {}

    const int m_node;
    const int m_cancel;
};
