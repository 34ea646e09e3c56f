// Starts the external help viewer (Qt Assistant) on the user manual and
// stops it again when the launcher goes. GUI thread only.
#pragma once

#include <QString>

class QProcess;

class HelpLauncher
{
public:
    // The installed viewer on the collection beside the program.
    HelpLauncher();
    // A given viewer program and collection file.
    HelpLauncher(const QString &viewer, const QString &collection);
    ~HelpLauncher();
    HelpLauncher(const HelpLauncher &) = delete;
    HelpLauncher &operator=(const HelpLauncher &) = delete;

    // Starts the viewer unless it runs already. False (after an error box)
    // when it does not start; the next call tries again.
    bool showDocumentation();

    // Qt Assistant of the Qt the program runs on.
    static QString defaultViewer();
    // "help/UserManual.qhc" in the program's folder.
    static QString defaultCollection();

private:
    QProcess *process = nullptr; // no parent: deleted here
    QString viewer;
    QString collection;
};
