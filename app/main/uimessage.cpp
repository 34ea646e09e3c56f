#include "uimessage.h"

#include <QCoreApplication>
#include <QPushButton>

namespace {

UiMessage::Handler &handler()
{
    static UiMessage::Handler current;
    return current;
}

// Qt's own button texts are not in the program's catalogues.
const char *buttonText(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return QT_TRANSLATE_NOOP("UiMessage", "OK");
    case QMessageBox::Cancel:
        return QT_TRANSLATE_NOOP("UiMessage", "Cancel");
    case QMessageBox::Yes:
        return QT_TRANSLATE_NOOP("UiMessage", "Yes");
    case QMessageBox::No:
        return QT_TRANSLATE_NOOP("UiMessage", "No");
    default:
        return nullptr;
    }
}

} // namespace

QMessageBox::StandardButton UiMessage::information(QWidget *parent, const QString &title, const QString &text,
                                                   QMessageBox::StandardButtons buttons)
{
    return show({QMessageBox::Information, parent, title, text, buttons});
}

QMessageBox::StandardButton UiMessage::warning(QWidget *parent, const QString &title, const QString &text,
                                               QMessageBox::StandardButtons buttons)
{
    return show({QMessageBox::Warning, parent, title, text, buttons});
}

QMessageBox::StandardButton UiMessage::critical(QWidget *parent, const QString &title, const QString &text,
                                                QMessageBox::StandardButtons buttons)
{
    return show({QMessageBox::Critical, parent, title, text, buttons});
}

QMessageBox::StandardButton UiMessage::question(QWidget *parent, const QString &title, const QString &text,
                                                QMessageBox::StandardButtons buttons)
{
    return show({QMessageBox::Question, parent, title, text, buttons});
}

UiMessage::Handler UiMessage::setHandler(Handler replacement)
{
    Handler previous = std::move(handler());
    handler() = std::move(replacement);
    return previous;
}

QMessageBox::StandardButton UiMessage::show(const Box &box)
{
    return handler() ? handler()(box) : exec(box);
}

QMessageBox::StandardButton UiMessage::exec(const Box &box)
{
    return QMessageBox::StandardButton(build(box)->exec());
}

std::unique_ptr<QMessageBox> UiMessage::build(const Box &box)
{
    auto message = std::make_unique<QMessageBox>(box.icon, box.title, box.text, box.buttons, box.parent);
    for (QAbstractButton *button : message->buttons()) {
        if (const char *text = buttonText(message->standardButton(button)))
            button->setText(QCoreApplication::translate("UiMessage", text));
    }
    return message;
}

QString UiMessage::listText(const QStringList &entries, int total)
{
    total = qMax(total, entries.size());
    QStringList lines;
    const int shown = qMin(entries.size(), int(MaxListed));
    for (int i = 0; i < shown; ++i) {
        const QString &entry = entries.at(i);
        lines << (entry.size() > MaxLineChars ? entry.left(MaxLineChars - 1) + QChar(0x2026) : entry);
    }
    if (total > shown)
        lines << moreLine(total - shown);
    return lines.join(QLatin1Char('\n'));
}

QString UiMessage::moreLine(int more)
{
    return QCoreApplication::translate("UiMessage", "... and %1 more.").arg(more);
}
