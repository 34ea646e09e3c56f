// Keeps a line edit of hexadecimal bytes as upper-case pairs separated by
// single blanks while the user types. GUI thread.
#pragma once

#include <QObject>
#include <QPointer>

class QLineEdit;

class HexFormatter : public QObject
{
    Q_OBJECT

public:
    // Does not own edit; give edit as parent so that both go together.
    HexFormatter(QLineEdit *edit, QObject *parent);

    // Restricts edit to hexadecimal digits and blanks and formats it from
    // now on; the formatter and the validator are children of edit.
    static void install(QLineEdit *edit);

    // "0102 03" -> "01 02 03"
    static QString format(const QString &text);

public Q_SLOTS:
    void onTextChanged(const QString &text);

private:
    QPointer<QLineEdit> edit;
};
