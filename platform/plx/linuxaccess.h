// How the Linux back-end reports a file it cannot use: one line on stderr,
// "PlxApi: <file>: <what failed>: <reason>", with the reasons a user can
// act on spelled out (permissions, the kernel lockdown, a missing BAR).
#pragma once

#include <string>

namespace LinuxAccess {

// The active kernel lockdown mode ("integrity", "confidentiality") from
// $PLX_LOCKDOWN_FILE (default /sys/kernel/security/lockdown); empty when
// there is none or the file cannot be read.
std::string lockdownMode();

// The reason for errno err, as printed.
std::string reason(int err);

void report(const std::string &file, const char *what, int err);
void report(const std::string &file, const char *what, const std::string &reason);

} // namespace LinuxAccess
