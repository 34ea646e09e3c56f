// The modal "DBC File data" dialog of the frame-parsing window: one row per
// message of the loaded file, in ascending ID order, with a check box for
// whether the window decodes it; the header's box shows whether all, none
// or some are checked and checks or clears them all. After OK the caller
// reads checkedMessages(). Filled in time linear in the message count.
#pragma once

#include "dbcmessageentry.h"

#include <QDialog>
#include <QMap>
#include <QVector>

#include <memory>

class DBCMsgIDTableWidgetHeader;
class QTableWidgetItem;

namespace Ui {
class DBCDataWidget;
}

class DBCDataWidget : public QDialog
{
    Q_OBJECT

public:
    enum Column { CheckColumn, NumColumn, IdColumn, NameColumn, CommentColumn, ColumnCount };

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
    void setColumnLabels();
    void onItemChanged(QTableWidgetItem *item);
    void showHeaderState();

    std::unique_ptr<Ui::DBCDataWidget> form;
    DBCMsgIDTableWidgetHeader *header;
    QVector<bool> rowChecked;  // as last seen, per row
    int checkedRows = 0;
};
