// The operating-system services the board drivers need, in one small
// place: recursive register and transmit locks (like Windows critical
// sections), busy delays, a best-effort thread priority, and the hook that
// stands in for a message box. Standard C++ and POSIX only.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

namespace DrvPort {

// Recursive, so that a caller holding it over a run of register accesses
// can still call the accessors that take it for each byte.
using CriticalSection = std::recursive_mutex;

// Runs a busy loop of rounds steps that the compiler keeps; returns the
// final count for the caller's spin sink. One step is about one cycle.
uint32_t spin(uint32_t rounds);

// Raises the calling thread above normal priority where the system lets
// it: the lowest real-time priority (root or CAP_SYS_NICE), else a lower
// nice value; silently keeps the priority otherwise.
void raiseThreadPriority();
// Names the calling thread for ps, top and debuggers (15 characters).
void nameThread(const char *name);
// The calling thread's system-wide id, for waitUntilAsleep.
long threadId();
// Waits (up to timeoutMs) until the thread is blocked in a wait rather
// than runnable: a thread woken from a wait gets the processor sooner
// than one that was merely preempted. False on a time-out.
bool waitUntilAsleep(long threadId, uint32_t timeoutMs);

// Receives what would have been a message box with an OK button.
using MessageHook = void (*)(const std::wstring &text, const std::wstring &caption);
// nullptr restores the default hook, which logs "caption: text" to stderr.
void setMessageHook(MessageHook hook);
void showMessage(const std::wstring &text, const std::wstring &caption);

std::string toUtf8(const std::wstring &text);

} // namespace DrvPort
