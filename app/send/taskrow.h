// One row of the Task page's table in the form the task-list files hold
// it: the cell texts and choice numbers of its 12 columns. It checks
// whether it can be sent and turns into a send task. No widgets.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class taskObj;

struct TaskRow {
    // The table's columns, which are also the fields of a file line.
    enum Field {
        NoField = -1,
        Checked,
        Name,
        SendMode,
        Id,
        Format,
        Type,
        Data,
        Frames,
        IdRule,
        DataRule,
        Times,
        Interval,
        FieldCount
    };

    // Bounds of a row that may be sent.
    static constexpr int MaxFrames = 3;
    static constexpr int MaxTimes = 999999999;
    static constexpr int MaxInterval = 99999999;  // ms
    static constexpr int MaxDataBytes = 8;

    bool checked = true;
    QString name;
    int sendMode = 0;   // 0 normal, 1 single, 2 send and receive, 3 single send and receive
    QString id = QStringLiteral("0000");  // hexadecimal, in the ID format shown
    int format = 0;     // 0 standard, 1 extended
    int type = 0;       // 0 data frame, 1 remote frame
    QString data = QStringLiteral("11 22 33 44 55 66 77 88");
    QString frames = QStringLiteral("1");
    int idRule = 0;     // 1: the ID counts up per frame
    int dataRule = 0;   // n = 1..8: data byte n-1 counts up per frame
    QString times = QStringLiteral("1");
    QString interval = QStringLiteral("0");  // ms between bursts

    bool operator==(const TaskRow &other) const;

    // The 12 fields of the row's file line. Commas and line breaks in the
    // texts become blanks, so that the line splits into 12 fields again.
    QStringList fields() const;
    // A row from exactly 12 fields; false for any other count. Choice
    // fields that are not numbers read as 0.
    static bool fromFields(const QStringList &fields, TaskRow &row);

    // The first field that keeps the row from being sent under the given
    // ID format (1: IDs shown register-aligned), or NoField. Texts that are
    // not numbers read as 0; numbers too long for any range are out of it.
    Field fault(int idFormat) const;
    // The send task of a row without fault: one frame template carrying
    // the ID as shown (the send threads apply the ID format).
    taskObj toTask() const;

    // Data bytes of a data text: blanks removed, pairs of hexadecimal
    // digits from the left, a lone last digit taken as its high half; a
    // pair that is not hexadecimal gives 0.
    static QByteArray dataBytes(const QString &text);
    // The ID text after a change to the given ID format: to 1 the ID is
    // shifted left by 3 (extended) or 5 (standard), to 0 right; written
    // with at least 8 (extended) or 4 digits, lower case.
    static QString convertId(const QString &text, bool extended, int idFormat);
};
