#include "uimdichildtools.h"

#include <QActionGroup>
#include <QEvent>
#include <QMenu>

UiMdiChildTools::UiMdiChildTools(QWidget *parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("UiMdiChildTools"));
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    startAct = addTool("startAct", QStringLiteral(":/Resources/start.png"));
    stopAct = addTool("stopAct", QStringLiteral(":/Resources/stop.png"));
    addSeparator();
    gotoAct = addTool("gotoAct", QStringLiteral(":/Resources/goto.png"));
    clearAct = addTool("clearAct", QStringLiteral(":/Resources/clear.png"));
    saveAct = addTool("saveAct", QStringLiteral(":/Resources/save.png"));
    addSeparator();
    filterAct = addTool("filterAct", QStringLiteral(":/Resources/filter.png"));
    addSeparator();
    timeShowAct = addTool("timeShowAct", QStringLiteral(":/Resources/time_show.png"));
    showTypeAct = addTool("showTypeAct", QStringLiteral(":/Resources/show_type.png"));
    addSeparator();
    sendFrameDisplayAct = addTool("sendFrameDisplayAct", QStringLiteral(":/Resources/show_type.png"));
    addSeparator();
    rtSaveAct = addTool("rtSaveAct", QStringLiteral(":/Resources/realtime_save_start.png"));
    stopRtSaveAct = addTool("stopRtSaveAct", QStringLiteral(":/Resources/realtime_save_stop.png"));
    addSeparator();
    dbcAct = addTool("dbcAct", QStringLiteral(":/Resources/DBC_24.png"));
    dbcAct->setText(tr("DBC"));
    addSeparator();
    gbtAct = addTool("gbtAct", QStringLiteral(":/Resources/GBT27930.png"));
    gbtAct->setText(QStringLiteral("GBT27930"));

    timeMenu = new QMenu(this);
    timeMenu->setMinimumWidth(100);
    auto *timeGroup = new QActionGroup(this);
    clockTimeAct = addEntry(timeMenu, timeGroup, "clockTimeAct");
    clockTimeAct->setChecked(true);
    comparativeMenu = new QMenu(this);
    comparativeMenu->setMinimumWidth(100);
    QAction *comparativeAct = timeMenu->addMenu(comparativeMenu);
    comparativeAct->setObjectName(QStringLiteral("comparativeTimeAct"));
    auto *comparativeGroup = new QActionGroup(this);
    hexTimeAct = addEntry(comparativeMenu, comparativeGroup, "hexTimeAct");
    normalTimeAct = addEntry(comparativeMenu, comparativeGroup, "normalTimeAct");

    showTypeMenu = new QMenu(this);
    showTypeMenu->setMinimumWidth(100);
    auto *typeGroup = new QActionGroup(this);
    decAct = addEntry(showTypeMenu, typeGroup, "decAct");
    hexAct = addEntry(showTypeMenu, typeGroup, "hexAct");
    ascAct = addEntry(showTypeMenu, typeGroup, "ascAct");
    binAct = addEntry(showTypeMenu, typeGroup, "binAct");
    hexAct->setChecked(true);

    sendFrameMenu = new QMenu(this);
    auto *sendGroup = new QActionGroup(this);
    hideSendAct = addEntry(sendFrameMenu, sendGroup, "hideSendFrameAct");
    showSendAct = addEntry(sendFrameMenu, sendGroup, "showSendFrameAct");
    showSendAct->setChecked(true);

    retranslateUi();

    connect(startAct, &QAction::triggered, this, &UiMdiChildTools::channelStartSignal);
    connect(stopAct, &QAction::triggered, this, &UiMdiChildTools::channelStopSignal);
    connect(gotoAct, &QAction::triggered, this, &UiMdiChildTools::gotoSignal);
    connect(clearAct, &QAction::triggered, this, &UiMdiChildTools::clearSignal);
    connect(saveAct, &QAction::triggered, this, &UiMdiChildTools::saveSignal);
    connect(filterAct, &QAction::triggered, this, &UiMdiChildTools::filterSignal);
    connect(timeShowAct, &QAction::triggered, this, &UiMdiChildTools::OnTimeShow);
    connect(showTypeAct, &QAction::triggered, this, &UiMdiChildTools::OnShowType);
    connect(sendFrameDisplayAct, &QAction::triggered, this, &UiMdiChildTools::onSendFrameDisplay);
    connect(rtSaveAct, &QAction::triggered, this, &UiMdiChildTools::startRtSaveSignal);
    connect(stopRtSaveAct, &QAction::triggered, this, &UiMdiChildTools::stopRtSaveSignal);
    connect(dbcAct, &QAction::triggered, this, &UiMdiChildTools::showDBC);
    connect(gbtAct, &QAction::triggered, this, &UiMdiChildTools::showGBT27930);

    connect(clockTimeAct, &QAction::triggered, this, &UiMdiChildTools::clockTimeSignal);
    connect(clockTimeAct, &QAction::triggered, this, &UiMdiChildTools::setClockTimeCheck);
    connect(hexTimeAct, &QAction::triggered, this, &UiMdiChildTools::HMSMTimeSignal);
    connect(hexTimeAct, &QAction::triggered, this, &UiMdiChildTools::setComparativeTimeCheck);
    connect(normalTimeAct, &QAction::triggered, this, &UiMdiChildTools::comparativeTimeSignal);
    connect(normalTimeAct, &QAction::triggered, this, &UiMdiChildTools::setComparativeTimeCheck);
    connect(decAct, &QAction::triggered, this, &UiMdiChildTools::showTypeDecSignal);
    connect(hexAct, &QAction::triggered, this, &UiMdiChildTools::showTypeHexSignal);
    connect(ascAct, &QAction::triggered, this, &UiMdiChildTools::showTypeASCSignal);
    connect(binAct, &QAction::triggered, this, &UiMdiChildTools::showTypeBINSignal);
    connect(hideSendAct, &QAction::triggered, this, &UiMdiChildTools::hideSendFrameSignal);
    connect(showSendAct, &QAction::triggered, this, &UiMdiChildTools::showSendFrameSignal);
}

QAction *UiMdiChildTools::addTool(const char *name, const QString &icon)
{
    QAction *action = addAction(QIcon(icon), QString());
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction *UiMdiChildTools::addEntry(QMenu *menu, QActionGroup *group, const char *name)
{
    QAction *action = menu->addAction(QString());
    action->setObjectName(QLatin1String(name));
    action->setCheckable(true);
    group->addAction(action);
    return action;
}

void UiMdiChildTools::retranslateUi()
{
    const struct {
        QAction *action;
        QString text;
        bool tip;
    } texts[] = {
        {startAct, tr("Start"), true},
        {stopAct, tr("Stop"), true},
        {gotoAct, tr("Goto"), true},
        {clearAct, tr("Clear"), true},
        {saveAct, tr("Save"), true},
        {filterAct, tr("Filter"), true},
        {timeShowAct, tr("Time Show"), true},
        {showTypeAct, tr("Show Type"), true},
        {sendFrameDisplayAct, tr("Send Frame Display"), false},
        {rtSaveAct, tr("Save in realtime"), true},
        {stopRtSaveAct, tr("Stop save"), true},
        {clockTimeAct, tr("Clock Time"), false},
        {comparativeMenu->menuAction(), tr("Comparative Time"), false},
        {hexTimeAct, tr("HEX Time"), false},
        {normalTimeAct, tr("Normal Time"), false},
        {decAct, tr("DEC"), false},
        {hexAct, tr("HEX"), false},
        {ascAct, tr("ASC"), false},
        {binAct, tr("BIN"), false},
        {hideSendAct, tr("Hide Send Frame"), true},
        {showSendAct, tr("Show Send Frame"), true},
    };
    for (const auto &entry : texts) {
        entry.action->setText(entry.text);
        if (entry.tip)
            entry.action->setStatusTip(entry.text);
    }
}

void UiMdiChildTools::showDisplayModes(int timeDisplay, int dataDisplay, bool sentHidden)
{
    clockTimeAct->setChecked(timeDisplay != 0 && timeDisplay != 3);
    normalTimeAct->setChecked(timeDisplay == 0);
    hexTimeAct->setChecked(timeDisplay == 3);
    QAction *const data[] = {decAct, hexAct, ascAct, binAct};
    if (dataDisplay >= 0 && dataDisplay < 4)
        data[dataDisplay]->setChecked(true);
    (sentHidden ? hideSendAct : showSendAct)->setChecked(true);
}

void UiMdiChildTools::setChannelStarted(bool started)
{
    startAct->setEnabled(!started);
    stopAct->setEnabled(started);
}

void UiMdiChildTools::popUp(QAction *action, QMenu *menu)
{
    QWidget *button = widgetForAction(action);
    if (button)
        menu->popup(button->mapToGlobal(QPoint(0, button->height())));
    else
        menu->popup(QCursor::pos());
}

void UiMdiChildTools::OnTimeShow()
{
    popUp(timeShowAct, timeMenu);
}

void UiMdiChildTools::OnShowType()
{
    popUp(showTypeAct, showTypeMenu);
}

void UiMdiChildTools::onSendFrameDisplay()
{
    popUp(sendFrameDisplayAct, sendFrameMenu);
}

void UiMdiChildTools::setClockTimeCheck()
{
    clockTimeAct->setChecked(true);
    hexTimeAct->setChecked(false);
    normalTimeAct->setChecked(false);
}

void UiMdiChildTools::setComparativeTimeCheck()
{
    clockTimeAct->setChecked(false);
}

void UiMdiChildTools::paintEvent(QPaintEvent *)
{
}

void UiMdiChildTools::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QToolBar::changeEvent(event);
}
