// Keeps the Frames column of the task table at 3 or less: an edit that
// leaves a decimal number of 4 or more there is set back to 3. Texts that
// are not numbers and smaller numbers stay as typed. Lives as a child of
// its table.
#pragma once

#include <QObject>

class QTableWidget;
class QTableWidgetItem;

class FramesLimiter : public QObject
{
    Q_OBJECT

public:
    explicit FramesLimiter(QTableWidget *table);

public Q_SLOTS:
    void onItemChanged(QTableWidgetItem *item);
};
