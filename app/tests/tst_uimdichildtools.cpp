// The channel window's tool bar: its commands in order with their tips,
// the marks its menus start with, and what each command signals.
#include "guitest.h"
#include "uimdichildtools.h"

#include <QAction>
#include <QSignalSpy>
#include <QtTest>

class tst_UiMdiChildTools : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandsInOrder();
    void startedState();
    void menuMarksAtStart();
    void commandSignals_data();
    void commandSignals();
};

void tst_UiMdiChildTools::commandsInOrder()
{
    UiMdiChildTools tools;
    QStringList order;
    QStringList tips;
    for (const QAction *action : tools.actions()) {
        order << (action->isSeparator() ? QStringLiteral("|") : action->text());
        if (!action->isSeparator())
            tips << action->statusTip();
    }
    QCOMPARE(order, QStringList({"Start", "Stop", "|", "Goto", "Clear", "Save", "|", "Filter", "|", "Time Show",
                                 "Show Type", "|", "Send Frame Display", "|", "Save in realtime", "Stop save", "|",
                                 "DBC", "|", "GBT27930"}));
    QCOMPARE(tips, QStringList({"Start", "Stop", "Goto", "Clear", "Save", "Filter", "Time Show", "Show Type", "",
                                "Save in realtime", "Stop save", "", ""}));
    QCOMPARE(tools.iconSize(), QSize(16, 16));
    QCOMPARE(tools.toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
}

void tst_UiMdiChildTools::startedState()
{
    UiMdiChildTools tools;
    tools.setChannelStarted(true);
    QVERIFY(!tools.startAction()->isEnabled());
    QVERIFY(tools.stopAction()->isEnabled());
    tools.setChannelStarted(false);
    QVERIFY(tools.startAction()->isEnabled());
    QVERIFY(!tools.stopAction()->isEnabled());
}

void tst_UiMdiChildTools::menuMarksAtStart()
{
    UiMdiChildTools tools;
    QStringList marked;
    for (const QAction *action : tools.findChildren<QAction *>()) {
        if (action->isChecked())
            marked << action->objectName();
    }
    marked.sort();
    QCOMPARE(marked, QStringList({"clockTimeAct", "hexAct", "showSendFrameAct"}));
}

void tst_UiMdiChildTools::commandSignals_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("signal");
    const auto row = [](const char *command, const char *signal) {
        QTest::newRow(command) << QString::fromLatin1(command) << QByteArray(signal);
    };
    row("startAct", SIGNAL(channelStartSignal()));
    row("stopAct", SIGNAL(channelStopSignal()));
    row("gotoAct", SIGNAL(gotoSignal()));
    row("clearAct", SIGNAL(clearSignal()));
    row("saveAct", SIGNAL(saveSignal()));
    row("filterAct", SIGNAL(filterSignal()));
    row("rtSaveAct", SIGNAL(startRtSaveSignal()));
    row("stopRtSaveAct", SIGNAL(stopRtSaveSignal()));
    row("dbcAct", SIGNAL(showDBC()));
    row("gbtAct", SIGNAL(showGBT27930()));
    row("hideSendFrameAct", SIGNAL(hideSendFrameSignal()));
    row("showSendFrameAct", SIGNAL(showSendFrameSignal()));
    row("clockTimeAct", SIGNAL(clockTimeSignal()));
    row("normalTimeAct", SIGNAL(comparativeTimeSignal()));
    row("hexTimeAct", SIGNAL(HMSMTimeSignal()));
    row("decAct", SIGNAL(showTypeDecSignal()));
    row("hexAct", SIGNAL(showTypeHexSignal()));
    row("ascAct", SIGNAL(showTypeASCSignal()));
    row("binAct", SIGNAL(showTypeBINSignal()));
}

void tst_UiMdiChildTools::commandSignals()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, signal);
    UiMdiChildTools tools;
    QSignalSpy spy(&tools, signal.constData());
    tools.findChild<QAction *>(command)->trigger();
    QCOMPARE(spy.size(), 1);
}

MEROVAST_GUI_TEST_MAIN(tst_UiMdiChildTools)
#include "tst_uimdichildtools.moc"
