// The DBC frame-parsing window: a top-level window without parent that
// deletes itself when closed. The user loads a DBC file (parsed on a load
// thread) and the window decodes frames into the file's messages and
// signals, one tree row per message with a child row per signal.
//
// Live mode (replayMode 0) decodes the frames of one channel: after the
// first successful load it switches the channel's DBC hand-off on, and a
// poll thread moves the queued frames into the collector, which the GUI
// timer empties. Replay mode (1) decodes record files, which a replay
// thread feeds into the collector at their own timing, and never touches a
// channel's hand-off. Every window exports its rows as CSV, chooses the
// decoded messages in the ID list and sends a message from its row. The
// window keeps its opener's open flag true from construction to
// destruction. It joins its poll and replay threads before it goes; loaded
// files and a load thread it leaves behind go to DBCReleaseThread, so that
// neither a close nor a replaced file holds the GUI thread.
#pragma once

#include "bytespan.h"
#include "dbcdatabase.h"
#include "dbcframecollector.h"
#include "dbcmessagetree.h"

#include <QTimer>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class CustomProgressIndicator;
class QAction;
class QMenu;
class QTreeWidgetItem;

namespace DBC {
struct Message;
}

namespace Ui {
class DBCWidget;
}

class DBCWidget : public QWidget
{
    Q_OBJECT

public:
    enum Mode { LiveMode = 0, ReplayMode = 1 };
    enum Column {
        NumColumn,
        IdColumn,
        NameColumn,
        DirectionColumn,
        TimeColumn,
        PgnColumn,
        SourceColumn,
        DestinationColumn,
        TypeColumn,
        FormatColumn,
        LengthColumn,
        DataColumn,
        CommentColumn,
        ColumnCount
    };
    // Item data of column 0: RowKindRole is 1 on message rows; message rows
    // also keep their message key and the frame's flags.
    enum ItemRole { RowKindRole = Qt::UserRole, KeyRole, ExtendedRole, RemoteRole };
    static constexpr int MessageRow = 1;
    static constexpr int MaxScrollRows = DBCMessageTree::MaxScrollRows;
    // ms; a tree repaint costs milliseconds, so the rows refresh at 20 Hz.
    static constexpr int RefreshInterval = 50;
    static constexpr int PollIdleMs = 5;       // poll thread's pause when the queue is empty

    DBCWidget(int replayMode, int channel, bool *openFlag);
    ~DBCWidget() override;

    int replayMode() const { return mode; }
    int channel() const { return channelIndex; }
    bool isLoading() const { return loading; }
    bool isPaused() const { return paused; }
    bool isReading() const { return reading; }
    // The loaded file, or null before the first successful load.
    const DBCDatabase *database() const { return db.get(); }
    QString loadedPath() const { return path; }
    // Tests only: run on the load threads started from now on at their
    // cancel checks (see DBCDatabase::load), where a test holds a load.
    void setLoadCheckPoint(DBCDatabase::CheckPoint checkPoint) { loadCheckPoint = std::move(checkPoint); }

Q_SIGNALS:
    void ParseResult(bool ok, QString path);
    // One frame to show: time, extended flag, remote flag, the message
    // (a DBC::Message of the loaded file), its data bytes and their text.
    void ProcessData(uint nTime, uchar frameFormat, uchar frameType, void *p, gsl::span<uint8_t> data,
                     QString text);
    void ReadEnd();

public Q_SLOTS:
    void onToolButtonExport();
    void onToolButtonLoadDBC();
    void onToolButtonClear();
    void onToolButtonShowID();
    void onPushButtonRunStateClick();
    void onParseResult(bool ok, QString path);
    void onProcessData(uint nTime, uchar frameFormat, uchar frameType, void *p, gsl::span<uint8_t> data,
                       QString text);
    void ComboBoxDisplayTypeCurrentlndexChanged(int index);
    void onItemPressed(QTreeWidgetItem *pItem, int column);
    void onActionSend(bool b);
    void onPushButtonLoadFile();
    void onReadEnd();
    void TimeOutGteData();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct LoadJob;
    static void parseDBCFile(std::shared_ptr<LoadJob> job, QString path);
    void pollDBCQueue();
    void stopPolling();
    void retranslateTexts();
    void updateTitle();
    // One line of the load's message on a message that is not decoded.
    static QString refusedLine(const DBCDatabase::Refused &message);
    void applyDatabase(std::unique_ptr<DBCDatabase> loaded, DBCFrameCollector::Index index, const QString &file);
    void readRecordFile(QString file);
    void setRunIcon();

    std::unique_ptr<Ui::DBCWidget> form;
    bool *windowOpenFlag;
    CustomProgressIndicator *busyIndicator;
    int channelIndex;
    Mode mode;

    // GUI thread only: the loaded file and what the tree shows of it.
    std::unique_ptr<DBCDatabase> db;
    std::unique_ptr<DBCDatabase> retiredDb;  // replaced while the ID list showed it
    bool idListOpen = false;
    QString path;
    std::unique_ptr<DBCMessageTree> rows;
    int displayType = 0;
    QAction *sendAction;
    QMenu *contextMenu;
    Qt::MouseButton pressedButton = Qt::NoButton;  // of the last press on the tree
    // A copy of the message row last right-clicked: the tree may drop the row.
    std::unique_ptr<QTreeWidgetItem> menuRow;
    bool handOffOn = false;  // this window switched the channel's DBC hand-off on
    QTimer refreshTimer;

    // Load thread: one at a time. It shares only its job with the window,
    // so the window never waits for it: when the result arrives or the
    // window goes, the thread is joined, and what nobody takes is freed, on
    // the release thread. Closing the window cancels it.
    std::shared_ptr<LoadJob> loadJob;
    std::thread loadThread;
    DBCDatabase::CheckPoint loadCheckPoint;
    bool loading = false;
    bool closed = false;  // closed by the user: results arriving now show nothing

    // Shared with the poll and replay threads.
    DBCFrameCollector collector;
    std::atomic<bool> paused{false};
    std::atomic<bool> reading{false};

    // Replay thread: one at a time, joined before the next starts and when
    // the window goes.
    std::thread replayThread;
    std::atomic<bool> replayDone{false};
    QString replayError;  // under replayMutex; empty when the replay ended well
    std::mutex replayMutex;

    // Poll thread: started by the first successful live load.
    std::thread pollThread;
    std::atomic<bool> pollRun{false};
    std::mutex pollMutex;
    std::condition_variable pollWake;
};
