#include "helplauncher.h"

#include "uimessage.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QObject>
#include <QProcess>

namespace {
constexpr int kStartTimeoutMs = 30000;
constexpr int kStopTimeoutMs = 3000;
} // namespace

HelpLauncher::HelpLauncher() : HelpLauncher(defaultViewer(), defaultCollection())
{
}

HelpLauncher::HelpLauncher(const QString &viewer, const QString &collection)
    : viewer(viewer), collection(collection)
{
}

HelpLauncher::~HelpLauncher()
{
    if (process && process->state() != QProcess::NotRunning) {
        process->terminate();
        process->waitForFinished(kStopTimeoutMs);
    }
    delete process;
}

bool HelpLauncher::showDocumentation()
{
    if (!process)
        process = new QProcess;
    if (process->state() == QProcess::Running)
        return true;
    process->start(viewer, {QStringLiteral("-collectionFile"), collection}, QIODevice::ReadWrite);
    if (!process->waitForStarted(kStartTimeoutMs)) {
        UiMessage::critical(nullptr, QObject::tr("Merovast"), QObject::tr("Unable to launch Help (%1)").arg(viewer));
        return false;
    }
    return true;
}

QString HelpLauncher::defaultViewer()
{
    return QLibraryInfo::location(QLibraryInfo::BinariesPath) + QDir::separator() + QStringLiteral("assistant");
}

QString HelpLauncher::defaultCollection()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/help/UserManual.qhc");
}
