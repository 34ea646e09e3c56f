// The tool bar of a channel window: Start and Stop, Goto, Clear, Save,
// Filter, the time, data and sent-frame display menus, real-time saving,
// and the DBC and GB/T 27930 windows. It only signals; the channel window
// acts.
#pragma once

#include <QToolBar>

class QAction;
class QActionGroup;
class QMenu;

class UiMdiChildTools : public QToolBar
{
    Q_OBJECT

public:
    explicit UiMdiChildTools(QWidget *parent = nullptr);

    // Start disabled and Stop enabled while the channel is started.
    void setChannelStarted(bool started);
    // Marks the time, data and sent-frame display entries the channel uses
    // (values of its row in the global settings).
    void showDisplayModes(int timeDisplay, int dataDisplay, bool sentHidden);

    QAction *startAction() const { return startAct; }
    QAction *stopAction() const { return stopAct; }

Q_SIGNALS:
    void channelStartSignal();
    void channelStopSignal();
    void gotoSignal();
    void clearSignal();
    void saveSignal();
    void filterSignal();
    void hideSendFrameSignal();
    void showSendFrameSignal();
    void clockTimeSignal();
    void comparativeTimeSignal();
    void showTypeDecSignal();
    void showTypeHexSignal();
    void showTypeASCSignal();
    void showTypeBINSignal();
    void startRtSaveSignal();
    void stopRtSaveSignal();
    void showDBC();
    void showGBT27930();
    void HMSMTimeSignal();

public Q_SLOTS:
    // Pop their menus under their buttons.
    void OnTimeShow();
    void OnShowType();
    void onSendFrameDisplay();
    // Exactly one of Clock Time, HEX Time and Normal Time is marked.
    void setClockTimeCheck();
    void setComparativeTimeCheck();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QAction *addTool(const char *name, const QString &icon);
    QAction *addEntry(QMenu *menu, QActionGroup *group, const char *name);
    void popUp(QAction *action, QMenu *menu);
    void retranslateUi();

    QAction *startAct;
    QAction *stopAct;
    QAction *gotoAct;
    QAction *clearAct;
    QAction *saveAct;
    QAction *filterAct;
    QAction *timeShowAct;
    QAction *showTypeAct;
    QAction *sendFrameDisplayAct;
    QAction *rtSaveAct;
    QAction *stopRtSaveAct;
    QAction *dbcAct;
    QAction *gbtAct;

    QMenu *timeMenu;
    QMenu *comparativeMenu;
    QAction *clockTimeAct;
    QAction *hexTimeAct;
    QAction *normalTimeAct;
    QMenu *showTypeMenu;
    QAction *decAct;
    QAction *hexAct;
    QAction *ascAct;
    QAction *binAct;
    QMenu *sendFrameMenu;
    QAction *hideSendAct;
    QAction *showSendAct;
};
