// The "Task" send page: a table of send tasks (one row = one frame template
// with its send mode, ID and data rules, burst size, frame count and
// interval) that the user edits, saves and loads as task-list files. Send
// hands the checked rows, in table order, as one task queue to the
// container, which runs it on the channel's send-task thread by the chosen
// strategy: once in order, in cycles, or each task on a timing thread of
// its own. Rows that cannot be sent are named to the user and left out.
// GUI thread only.
#pragma once

#include "taskrow.h"
#include "uitabsendpage.h"

#include <QList>

#include <memory>

class ComboBoxDelegate;
class QTableWidget;
class SlicedWork;

namespace Ui {
class UiTabSendTaskPage;
}

class UiTabSendTaskPage : public UiTabSendPage
{
    Q_OBJECT

public:
    static constexpr int RowHeight = 20;
    // Rows a slice of a Load fills, or removes, at a time.
    static constexpr int FillBatch = 64;
    static constexpr int RemoveBatch = 1024;

    UiTabSendTaskPage(QWidget *parent, int channel);
    ~UiTabSendTaskPage() override;

    QTableWidget *table() const;
    QList<TaskRow> rows() const;
    void appendRow(const TaskRow &row);

    // Save and Load without the file dialog; both report to the user and
    // return false on failure. A Load reads the file on a thread of its
    // own and fills the table in slices, under a progress dialog once it
    // lasts; cancelled, it leaves the table as it was.
    bool saveFile(const QString &fileName);
    bool loadFile(const QString &fileName);

Q_SIGNALS:
    // The share of a Load or a Send's preparation done, 0-100, each time
    // its progress dialog shows it.
    void workProgress(int percent);

public Q_SLOTS:
    void onAddTask();
    void onDelTask();
    // Builds the tasks of the checked rows in slices, under a progress
    // dialog once it lasts; cancelled, nothing is sent.
    void startSendData();
    void stopSendData();
    void saveTasks();
    void loadTasks();
    // Converts the IDs of every row when the ID format differs from the
    // one the table shows.
    void onIdFormatChanged();
    void ComboBoxSendTypeIndexChanged(const QString &text);
    void onMovetoList(BaseSendParam param);
    void onActive() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void fitColumns();
    TaskRow rowAt(int row) const;
    void fillRow(int row, const TaskRow &values);
    // The loaded rows in place of the table's, in slices; false, with the
    // old rows as they were, when the user cancelled.
    bool replaceRows(QList<TaskRow> loaded, SlicedWork &work);
    void removeRows(int first, int count, SlicedWork &work);
    void freeRows(QList<TaskRow> &rows, SlicedWork &work);
    QString faultText(TaskRow::Field field) const;

    std::unique_ptr<Ui::UiTabSendTaskPage> form;
    QList<ComboBoxDelegate *> delegates;  // children of the table, one per choice column
};
