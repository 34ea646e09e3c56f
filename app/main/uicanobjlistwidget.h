// The frame list of a channel window: a virtual list over the channel's
// frame buffer (or its watch list in watch mode) that a timer refreshes,
// formatting only the rows in view, and that follows the newest frame.
// It finds IDs, goes to a line, names an ID and hands a frame to the send
// pages. GUI thread only.
#pragma once

#include "basesendparam.h"
#include "canobjstr.h"

#include <QTableView>
#include <QTimer>

#include <optional>

class QMenu;
class UiCanObjListModel;

class UiCanObjListWidget : public QTableView
{
    Q_OBJECT

public:
    static constexpr int DefaultRefreshCycle = 100;  // ms, until the buffer's cycle is applied
    static constexpr int RowHeight = 20;

    UiCanObjListWidget(QWidget *parent, int channel);
    ~UiCanObjListWidget() override;

    int channel() const { return channelIndex; }
    UiCanObjListModel *listModel() const { return frameModel; }
    // Rows the viewport holds (at least 1).
    int visibleRowCount() const;
    // Selects the frame at index and scrolls it into view.
    void scrollToLine(int line);
    bool followsNewest() const { return autoScroll; }
    QAction *findIdAction() const { return findAct; }
    QAction *addToSendAction() const { return sendAct; }
    QAction *addToListAction() const { return listAct; }
    QAction *nameSettingAction() const { return nameAct; }

Q_SIGNALS:
    void idFormatChangedSignal();
    void digitalTypeChangedSignal();
    // Hit number of the match shown and the number of matches.
    void onFINDCOUNT(int res, int total);
    void AddMoveSend(BaseSendParam param);
    void AddMoveList(BaseSendParam param);

public Q_SLOTS:
    // Refresh tick: follows the buffer and rewrites the rows in view.
    void updateList();
    // Empties the channel's buffer (ring, watch list, counters).
    void resetContents();
    // Empties the ring and the watch list, and the list with them.
    void clearContents();
    void hideSendFrame();
    void showSendFrame();
    void onGoto();
    void setRefreshCycle(int nRefreshCycle);
    void onIdFormatChanged();
    // Redraws the rows in view at once in the channel's data display.
    void onDigitalTypeChanged();
    // Manual: the list stays where the user put it; auto (the default):
    // it moves to the newest frame whenever the count changes.
    void onManualScroll();
    void onAutoScroll();
    void on_tableWidget_customContextMenuRequested(const QPoint &pos);
    void on_FindId();
    void on_MovetoSend();
    void on_MovetoList();
    void on_IdNameseting();
    // id: hexadecimal text; up: towards lower indices. Wraps around.
    void onFINDID(bool up, QString id);

protected:
    void changeEvent(QEvent *event) override;
    // Home and End go to the first and the last frame.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void retranslate();
    void fitColumns();
    // The right-clicked frame while its menu is open, else the current row's.
    std::optional<CanObjStr> actionFrame() const;
    BaseSendParam buildSendParam(const CanObjStr &frame) const;
    QList<int> findAllMatches(quint32 id) const;
    void showHit(int row, int hitNo, int total);

    int channelIndex;
    UiCanObjListModel *frameModel;
    QTimer refreshTimer;
    bool autoScroll = true;
    QMenu *contextMenu;
    QAction *findAct;
    QAction *sendAct;
    QAction *listAct;
    QAction *nameAct;
    std::optional<CanObjStr> contextFrame;
};
