#include "hexformatter.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

HexFormatter::HexFormatter(QLineEdit *edit, QObject *parent) : QObject(parent), edit(edit) {}

void HexFormatter::install(QLineEdit *edit)
{
    if (!edit)
        return;
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f ]*")), edit));
    auto *formatter = new HexFormatter(edit, edit);
    connect(edit, &QLineEdit::textChanged, formatter, &HexFormatter::onTextChanged);
}

QString HexFormatter::format(const QString &text)
{
    QString digits = text;
    digits.remove(QLatin1Char(' '));
    QString out;
    out.reserve(digits.size() + digits.size() / 2);
    for (int i = 0; i < digits.size(); i += 2) {
        if (i > 0)
            out += QLatin1Char(' ');
        out += digits.midRef(i, 2);
    }
    return out.toUpper();
}

void HexFormatter::onTextChanged(const QString &text)
{
    if (!edit)
        return;
    const QSignalBlocker blocker(edit);
    const int position = edit->cursorPosition();
    const QString out = format(text);
    edit->setText(out);
    // The cursor moves by the blanks gained or lost, so it stays behind the
    // character just typed.
    edit->setCursorPosition(qBound(0, position + (out.size() - text.size()), out.size()));
}
