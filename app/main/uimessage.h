// Message boxes of the program. Every window shows its boxes through here,
// so that tests can replace the modal box with a recorder.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

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

private:
    static QMessageBox::StandardButton show(const Box &box);
};
