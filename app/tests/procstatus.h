// Figures of this process from /proc/self/status, for tests and benchmarks
// that watch memory or threads.
#pragma once

#include <QByteArray>
#include <QFile>

namespace ProcStatus {

// The number after field ("VmRSS:", "Threads:"); -1 if it cannot be read.
inline qint64 field(const char *name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key(name);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Resident size in kB.
inline qint64 residentKb()
{
    return field("VmRSS:");
}

inline int threadCount()
{
    return int(field("Threads:"));
}

} // namespace ProcStatus
