// Message boxes of the program. Every window shows its boxes through here,
// so that tests can replace the modal box with a recorder.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

class UiMessage
{
public:
    struct Box {
        QMessageBox::Icon icon;
        QWidget *parent;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
    };
    // Shows a box and returns the button chosen.
    using Handler = std::function<QMessageBox::StandardButton(const Box &)>;

    static QMessageBox::StandardButton information(QWidget *parent, const QString &title, const QString &text,
                                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    static QMessageBox::StandardButton warning(QWidget *parent, const QString &title, const QString &text,
                                               QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    static QMessageBox::StandardButton critical(QWidget *parent, const QString &title, const QString &text,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    static QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Yes
                                                        | QMessageBox::No);

    // Replaces the modal box (GUI thread only); an empty handler restores
    // it. Returns the handler that was in force.
    static Handler setHandler(Handler handler);

    // The modal box itself, with the program's own button texts.
    static QMessageBox::StandardButton exec(const Box &box);
    // The box exec shows, not yet shown.
    static std::unique_ptr<QMessageBox> build(const Box &box);

    // Entries of a box that lists them, one per line: at most MaxListed
    // (each cut to MaxLineChars), then one line with how many more there
    // are, so that a box stays readable and on screen whatever the count.
    // total: the number of entries in all, when the caller built only the
    // first of them (at least MaxListed); -1 for entries.size().
    static constexpr int MaxListed = 20;
    static constexpr int MaxLineChars = 100;
    static QString listText(const QStringList &entries, int total = -1);
    // The line that stands for more entries not listed.
    static QString moreLine(int more);

private:
    static QMessageBox::StandardButton show(const Box &box);
};
