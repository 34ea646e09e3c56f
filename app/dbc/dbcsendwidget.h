// The modal dialog that sends one DBC message built from signal values:
// the message row of the frame-parsing window with one row per signal
// (value, raw value, range) and its data bytes in hexadecimal and binary.
// Editing a signal's physical value encodes it into the data at once;
// "Send" transmits the frame the chosen number of times at the chosen
// interval on the window's channel, from a send thread of the dialog's own
// (one at a time; the dialog joins it when it goes, ending it within
// StopSliceMs). The frame's ID, format and length come from the message,
// its remote flag from the message row's item data. Enter commits an open
// value editor and moves to the next signal's value; only Send sends, and
// it first commits an open editor, so the frame carries the values shown.
// A language switch retranslates the dialog as the window behind it: the
// frame type and format, the signal captions and the headers, with the
// columns refitted to them.
#pragma once

#include "vci.h"

#include <QDialog>
#include <QByteArray>

#include <atomic>
#include <memory>
#include <thread>

class QTreeWidgetItem;

namespace DBC {
struct Message;
class Signal;
}

namespace Ui {
class DBCSendWidget;
}

class DBCSendWidget : public QDialog
{
    Q_OBJECT

public:
    // Columns of the signal rows; the message row has the frame-parsing
    // window's columns without "Num".
    enum Column {
        IdColumn = 0,
        NameColumn = 1,
        ValueColumn = 2,
        UnitColumn = 3,
        RawColumn = 4,
        DescriptionColumn = 9,
        DataColumn = 10,
        RangeColumn = 11,
        ColumnCount = 12
    };
    static constexpr int RowRole = Qt::UserRole;  // 1 message row, 2 signal row
    static constexpr int MessageRow = 1;
    static constexpr int SignalRow = 2;
    static constexpr int MaxFrameBytes = 8;
    static constexpr int StopSliceMs = 100;

    // source: a message row of the frame-parsing window (read here only);
    // message: its message in the window's file, which outlives the dialog.
    DBCSendWidget(QTreeWidgetItem *source, const DBC::Message *message, int channel, QWidget *parent = nullptr);
    ~DBCSendWidget() override;

    // The frame's data bytes as they stand.
    QByteArray frameData() const { return data; }
    bool isSending() const { return sending; }

Q_SIGNALS:
    void SendCompleted(bool ok);

public Q_SLOTS:
    void openPersistentEditor(QTreeWidgetItem *item, int column);
    void onItemSelectionChanged();
    void onItemChanged(QTreeWidgetItem *item, int column);
    void onPushButtonSendClick();
    void onSendCompleted(bool ok);

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildTree(QTreeWidgetItem *source);
    // The frame type and format and the signal captions in the language in
    // force.
    void retranslateRows();
    // Every column as wide as its header and cells need.
    void fitColumns();
    // Writes an open value editor's text into its cell and closes it.
    void commitEditor();
    // Opens the value editor of the signal row after item, if there is one.
    void editNextSignal(QTreeWidgetItem *item);
    QWidget *editorOf(QTreeWidgetItem *item) const;
    void fillSendTypes();
    void showData();
    // False when the signal lies past the frame's bytes.
    bool showSignal(QTreeWidgetItem *item, const DBC::Signal &signal);
    const DBC::Signal *signalOf(const QTreeWidgetItem *item) const;
    void sendFrames(int interval, int count, VCI_CAN_OBJ frame);

    std::unique_ptr<Ui::DBCSendWidget> form;
    const DBC::Message *m_message;
    std::thread m_sendThread;
    int m_channel;
    QTreeWidgetItem *m_editingItem = nullptr;
    int valueEdits = 0;  // value cells committed so far
    QTreeWidgetItem *messageRow = nullptr;
    QTreeWidgetItem *headerRow = nullptr;  // the signal captions; none without signals
    QByteArray data;
    quint32 frameId = 0;
    bool extended = false;
    bool remote = false;
    bool sending = false;
    std::atomic<bool> stopSending{false};
};
