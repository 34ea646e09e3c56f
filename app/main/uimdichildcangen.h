// The window of one channel of the open device: its tool bar above a
// splitter with the frame list over the send tabs. It owns the channel's
// receive thread (running from construction) and real-time-save thread;
// Start and Stop start and reset the channel; a 500 ms timer hands the
// channel's counters to whoever shows them. It opens the channel's DBC and
// charging windows and relays the main window's ID-format and scroll
// signals to the list and the send tabs.
#pragma once

#include "uimdichild.h"

#include <QPointer>
#include <QTimer>

class CanReadThread;
class CanRealTimeSaveThread;
class DBCWidget;
class GBT27931Widget;
class QCloseEvent;
class QLabel;
class UiCanObjListWidget;
class UiMdiChildTools;
class UiTabSend;

class UiMdiChildCanGen : public UiMdiChild
{
    Q_OBJECT

public:
    static constexpr int CounterCycle = 500;  // ms

    UiMdiChildCanGen(QWidget *parent, int channel);
    // Stops the channel's threads, closes its DBC and charging windows and
    // empties its frame buffer.
    ~UiMdiChildCanGen() override;

    int channel() const { return channelIndex; }
    bool isDbcOpen() const { return dbcOpen; }
    bool isGbtOpen() const { return gbtOpen; }
    UiCanObjListWidget *frameList() const { return list; }
    UiMdiChildTools *toolBar() const { return tools; }
    UiTabSend *sendTab() const { return sendTabs; }
    CanReadThread *receiveThread() const { return readThread; }
    CanRealTimeSaveThread *realTimeSaveThread() const { return rtSaveThread; }
    DBCWidget *dbcWindow() const;
    GBT27931Widget *gbtWindow() const;
    // Why the window may not close now (sending, DBC or charging window
    // open), or empty.
    QString closeRefusal() const;

Q_SIGNALS:
    void recvNumSignal(ulong num);
    void sendNumSignal(ulong num);
    void usedTimeSignal(double val);
    void clearSignal();
    void closeSignal(int channel);
    void idFormatChangedSignal();
    void digitalTypeChangedSignal();
    void manualScrollSignal();
    void autoScrollSignal();

public Q_SLOTS:
    void onStart();
    // Stops the send, receive and real-time-save threads, waits for them,
    // then clears and resets the channel.
    void onStop();
    void onClear();
    void onSave();
    void onFilter();
    void onHideSendFrame();
    void onShowSendFrame();
    void onClockTime();
    void onComparativeTime();
    void onHexTime();
    void onShowTypeDec();
    void onShowTypeHex();
    void onShowTypeASC();
    void onShowTypeBIN();
    void onStartRtSave();
    void onStopRtSave();
    void onTimer();
    void onSendError();
    void onMaxIdErrorSignal();
    void clsNum();
    void setRefreshCycle(int nRefreshCycle);
    void onShowDBC();
    void onShowGBT27930();

protected:
    void changeEvent(QEvent *event) override;
    // Refused with a "Hint" box while the channel sends or its DBC or
    // charging window is open; otherwise the channel is stopped.
    void closeEvent(QCloseEvent *event) override;

private Q_SLOTS:
    void onRtSaveFailed(int failure, const QString &fileName, const QString &errorText);

private:
    void connectSignals();
    void updateActions();
    void updateTitle();
    void setDataDisplay(int mode);
    void checkRecordingDrops();
    void showRecordingDrops(qint64 dropped);
    void cannotWrite(const QString &fileName, const QString &errorText);
    // The file picked in the save dialog, named for its type and checked
    // writable by opening it as the save (or, with recording, the
    // real-time recording) will; empty when cancelled or refused.
    QString chooseSaveFile(const QString &suggested, const char *filter, bool recording);

    UiCanObjListWidget *list;
    UiMdiChildTools *tools;
    UiTabSend *sendTabs;
    QWidget *container;
    CanReadThread *readThread = nullptr;
    CanRealTimeSaveThread *rtSaveThread = nullptr;
    QTimer counterTimer;
    int channelIndex;
    bool dbcOpen = false;
    bool gbtOpen = false;
    QPointer<DBCWidget> dbcWidget;
    QPointer<GBT27931Widget> gbtWidget;
    // The buffer's real-time-save drop count when the last recording
    // started (-1 before the first), and whether its drops were reported.
    qint64 rtDropBase = -1;
    bool rtDropWarned = false;
    qint64 rtDropsShown = 0;
    QLabel *dropsLabel;
};
