// The modal "DBC File data" dialog of the frame-parsing window: one row per
// message of the loaded file, in ascending key order (standard messages
// before extended ones), with a check box for whether the window decodes
// it; the header's box shows whether all, none or some are checked and
// checks or clears them all. After OK the caller reads checkedMessages().
// A large list is filled in slices after it opens.
#pragma once

#include "dbcmessageentry.h"

#include <QDialog>
#include <QMap>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <memory>

class DBCMsgIDTableWidgetHeader;
class QTableWidgetItem;

namespace DBC {
struct Message;
}

namespace Ui {
class DBCDataWidget;
}

class DBCDataWidget : public QDialog
{
    Q_OBJECT

public:
    enum Column { CheckColumn, NumColumn, IdColumn, NameColumn, CommentColumn, ColumnCount };
    // Rows made at once, and per slice of the event loop after that.
    static constexpr int RowsPerSlice = 2000;
    // Characters of a message name that show whole at the dialog's default
    // size; the Comment column takes the room that is left.
    static constexpr int NameChars = 32;

    // The table's messages must outlive the dialog.
    DBCDataWidget(const QMap<quint32, DBCMessageEntry> &messageTable, QWidget *parent = nullptr);
    ~DBCDataWidget() override;

    // Message key to the state of its row's check box.
    QMap<quint32, bool> checkedMessages() const;

public Q_SLOTS:
    void onCheckStausChange(bool checked);
    void onOK();

protected:
    void changeEvent(QEvent *event) override;

private:
    // Column labels in the language in force, then fitColumns().
    void setColumnLabels();
    // Widens the Name column to the longest names (each up to NameChars
    // characters) and its header, and the dialog so that Comment keeps
    // room for its header.
    void fitColumns();
    void onItemChanged(QTableWidgetItem *item);
    void showHeaderState();
    void fillRows(int count);

    std::unique_ptr<Ui::DBCDataWidget> form;
    DBCMsgIDTableWidgetHeader *header;
    // Per row, in table order.
    QVector<quint32> keys;
    QVector<const DBC::Message *> messages;
    QVector<bool> rowChecked;
    QStringList longNames;  // the longest names, cut to NameChars
    int checkedRows = 0;
    int filledRows = 0;  // rows that have their items
    QTimer fillTimer;
};
