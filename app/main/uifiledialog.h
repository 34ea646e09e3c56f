// File-name dialogs of the program. Windows ask for file names through
// here, so that tests can answer in place of the modal dialog.
#pragma once

#include <QString>

#include <functional>

class QWidget;

class UiFileDialog
{
public:
    enum Mode { Open, Save };
    struct Request {
        Mode mode;
        QWidget *parent;
        QString caption;
        QString dir;
        QString filter;
        // Save only, may be null: receives the filter the user chose.
        QString *selectedFilter = nullptr;
    };
    // Returns the chosen file name, or an empty string when cancelled.
    using Handler = std::function<QString(const Request &)>;

    static QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                   const QString &filter);
    static QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                   const QString &filter, QString *selectedFilter = nullptr);

    // Replaces the modal dialog (GUI thread only); an empty handler restores
    // it. Returns the handler that was in force.
    static Handler setHandler(Handler handler);
};
