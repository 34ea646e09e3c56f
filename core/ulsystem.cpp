#include "ulsystem.h"

#include <QFileInfo>

namespace UlSystem {

QString programFolder()
{
    // Works before (and without) a QCoreApplication exists.
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    return exe.canonicalFilePath().isEmpty() ? QString() : QFileInfo(exe.canonicalFilePath()).absolutePath();
}

QString interfaceLibraryName()
{
    return QStringLiteral("libControlCAN.so");
}

} // namespace UlSystem
