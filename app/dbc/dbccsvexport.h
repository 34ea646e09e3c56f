// CSV text of the frame-parsing window's export: a header line, then one
// line per tree row (a signal row starts with an empty field). Fields that
// hold a comma, a quote or a line break are quoted. Appending to a file
// that is not empty leaves its header alone. Holds no widgets.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class DBCCsvExport
{
public:
    struct Row {
        QStringList texts;  // the row's columns
        bool child = false; // a signal header or signal row
    };

    // The field as written: quoted, with inner quotes doubled, when needed.
    static QString field(const QString &text);
    // Header fields joined by commas.
    static QString headerLine(const QStringList &titles);
    // Each column followed by a comma; a child row starts with " ,".
    static QString rowLine(const Row &row);

    // Appends the rows to path (header first when the file is empty or
    // new). False with error set when the file cannot be opened or written.
    static bool append(const QString &path, const QStringList &titles, const QVector<Row> &rows, QString *error);
};
