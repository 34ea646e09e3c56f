#include "uimdichildcangen.h"

#include "canreadthread.h"
#include "canrealtimesavethread.h"
#include "dbcwidget.h"
#include "devcan.h"
#include "gbt27931widget.h"
#include "recordfilewriter.h"
#include "uicanobjlistwidget.h"
#include "uifiledialog.h"
#include "uiidfiltersetting.h"
#include "uimdichildtools.h"
#include "uimessage.h"
#include "uisaveprogressdlg.h"
#include "uitabsend.h"
#include "ulbuffer.h"
#include "ulglobalset.h"

#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

#include <cstring>

namespace {

const char kSaveFilter[] = "CAN File(*.can);;CSV File(*.CSV);;ASC File(*.ASC)";
const char kRealTimeFilter[] = "CAN File(*.can);;CSV File(*.csv);;ASC File(*.asc)";

// A recording appends to a CSV or ASC file and starts a .can file anew.
QIODevice::OpenMode recordingMode(const QString &fileName)
{
    if (RecordFileWriter::formatOf(fileName) == RecordFileWriter::CanFormat)
        return QIODevice::WriteOnly;
    return QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text;
}

int validChannel(int channel)
{
    return channel >= 0 && channel < UlGlobalSet::Channels ? channel : 0;
}

} // namespace

UiMdiChildCanGen::UiMdiChildCanGen(QWidget *parent, int channel)
    : UiMdiChild(parent), channelIndex(validChannel(channel))
{
    container = new QWidget(this);
    auto *layout = new QVBoxLayout;
    auto *splitter = new QSplitter(Qt::Vertical);
    tools = new UiMdiChildTools(container);
    list = new UiCanObjListWidget(container, channelIndex);
    sendTabs = new UiTabSend(container, channelIndex);
    splitter->addWidget(list);
    splitter->addWidget(sendTabs);
    for (int i = 0; i < splitter->count(); ++i)
        splitter->handle(i)->setEnabled(true);
    // Shown while a recording has lost frames, until the next recording.
    dropsLabel = new QLabel(container);
    dropsLabel->setObjectName(QStringLiteral("rtDropsLabel"));
    QPalette warning = dropsLabel->palette();
    warning.setColor(QPalette::WindowText, QColor(0xC0, 0, 0));
    dropsLabel->setPalette(warning);
    dropsLabel->setContentsMargins(4, 1, 4, 1);
    dropsLabel->hide();
    layout->addWidget(tools);
    layout->addWidget(dropsLabel);
    layout->addWidget(splitter);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(1);
    container->setLayout(layout);
    // Laid out rather than resized by hand, so that the sub-window holding
    // this window learns the least size its content needs.
    auto *windowLayout = new QVBoxLayout(this);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    windowLayout->addWidget(container);

    readThread = new CanReadThread(uint32_t(channelIndex), this);
    rtSaveThread = new CanRealTimeSaveThread(channelIndex);
    rtSaveThread->setParent(this);

    // The channel's display choices outlive its window (a device closed and
    // opened again); the menus show the ones in force.
    const channelStatus &row = UlGlobalSet::instance().channel[channelIndex];
    tools->showDisplayModes(row.timeDisplay, row.dataDisplay, UlBuffer::instance(channelIndex).getHideSendFrame());

    connectSignals();
    // The channel is polled from the moment its window exists.
    readThread->start(QThread::HighPriority);

    updateActions();
    updateTitle();
    counterTimer.start(CounterCycle);
}

UiMdiChildCanGen::~UiMdiChildCanGen()
{
    counterTimer.stop();
    sendTabs->stopThreads();
    readThread->stop();
    readThread->waitForFinish();
    UlGlobalSet::instance().channel[channelIndex].realTimeSave = false;
    rtSaveThread->stop();
    rtSaveThread->waitForFinish();
    // Their open flags live here.
    delete dbcWidget.data();
    delete gbtWidget.data();
    UlBuffer &buffer = UlBuffer::instance(channelIndex);
    buffer.init(buffer.getMaxCount());
    buffer.reset();
}

DBCWidget *UiMdiChildCanGen::dbcWindow() const
{
    return dbcWidget;
}

GBT27931Widget *UiMdiChildCanGen::gbtWindow() const
{
    return gbtWidget;
}

void UiMdiChildCanGen::connectSignals()
{
    connect(tools, &UiMdiChildTools::channelStartSignal, this, &UiMdiChildCanGen::onStart);
    connect(tools, &UiMdiChildTools::channelStartSignal, sendTabs, &UiTabSend::onTaskChangeStatus);
    connect(tools, &UiMdiChildTools::channelStopSignal, this, &UiMdiChildCanGen::onStop);
    connect(tools, &UiMdiChildTools::channelStopSignal, sendTabs, &UiTabSend::onTaskChangeStatus);
    connect(tools, &UiMdiChildTools::gotoSignal, list, &UiCanObjListWidget::onGoto);
    connect(tools, &UiMdiChildTools::clearSignal, this, &UiMdiChildCanGen::onClear);
    connect(tools, &UiMdiChildTools::saveSignal, this, &UiMdiChildCanGen::onSave);
    connect(tools, &UiMdiChildTools::filterSignal, this, &UiMdiChildCanGen::onFilter);
    connect(tools, &UiMdiChildTools::hideSendFrameSignal, this, &UiMdiChildCanGen::onHideSendFrame);
    connect(tools, &UiMdiChildTools::showSendFrameSignal, this, &UiMdiChildCanGen::onShowSendFrame);
    connect(tools, &UiMdiChildTools::clockTimeSignal, this, &UiMdiChildCanGen::onClockTime);
    connect(tools, &UiMdiChildTools::comparativeTimeSignal, this, &UiMdiChildCanGen::onComparativeTime);
    connect(tools, &UiMdiChildTools::HMSMTimeSignal, this, &UiMdiChildCanGen::onHexTime);
    connect(tools, &UiMdiChildTools::showTypeDecSignal, this, &UiMdiChildCanGen::onShowTypeDec);
    connect(tools, &UiMdiChildTools::showTypeHexSignal, this, &UiMdiChildCanGen::onShowTypeHex);
    connect(tools, &UiMdiChildTools::showTypeASCSignal, this, &UiMdiChildCanGen::onShowTypeASC);
    connect(tools, &UiMdiChildTools::showTypeBINSignal, this, &UiMdiChildCanGen::onShowTypeBIN);
    connect(tools, &UiMdiChildTools::startRtSaveSignal, this, &UiMdiChildCanGen::onStartRtSave);
    connect(tools, &UiMdiChildTools::stopRtSaveSignal, this, &UiMdiChildCanGen::onStopRtSave);
    connect(tools, &UiMdiChildTools::showDBC, this, &UiMdiChildCanGen::onShowDBC);
    connect(tools, &UiMdiChildTools::showGBT27930, this, &UiMdiChildCanGen::onShowGBT27930);

    connect(sendTabs, &UiTabSend::sendErrorSignal, this, &UiMdiChildCanGen::onSendError);
    connect(sendTabs, &UiTabSend::maxIdErrorSignal, this, &UiMdiChildCanGen::onMaxIdErrorSignal);

    connect(this, &UiMdiChildCanGen::digitalTypeChangedSignal, list, &UiCanObjListWidget::digitalTypeChangedSignal);
    connect(this, &UiMdiChildCanGen::idFormatChangedSignal, list, &UiCanObjListWidget::idFormatChangedSignal);
    connect(this, &UiMdiChildCanGen::idFormatChangedSignal, sendTabs, &UiTabSend::idFormatChangedSignal);
    connect(this, &UiMdiChildCanGen::manualScrollSignal, list, &UiCanObjListWidget::onManualScroll);
    connect(this, &UiMdiChildCanGen::autoScrollSignal, list, &UiCanObjListWidget::onAutoScroll);
    connect(&counterTimer, &QTimer::timeout, this, &UiMdiChildCanGen::onTimer);
    connect(list, &UiCanObjListWidget::AddMoveSend, sendTabs, &UiTabSend::AddMoveSend);
    connect(list, &UiCanObjListWidget::AddMoveList, sendTabs, &UiTabSend::AddMoveList);

    connect(rtSaveThread, &CanRealTimeSaveThread::failed, this, &UiMdiChildCanGen::onRtSaveFailed,
            Qt::QueuedConnection);
}

void UiMdiChildCanGen::updateActions()
{
    const bool started = DevCan::instance().isStarted(uint32_t(channelIndex));
    tools->setChannelStarted(started);
    sendTabs->setSendEnabled(started);
}

void UiMdiChildCanGen::updateTitle()
{
    DevCan &device = DevCan::instance();
    QString name;
    VCI_BOARD_INFO info{};
    if (device.readBoardInfo(&info) == 1)
        name = QString::fromLatin1(info.HardwareType, int(qstrnlen(info.HardwareType, sizeof info.HardwareType)));
    if (device.getDevType() == 12)
        name = QStringLiteral("VARNET-UDP");
    else if (device.getDevType() == 17)
        name = QStringLiteral("VARNET-TCP");
    setWindowTitle(QStringLiteral("%1 %2:%3 %4 %5")
                       .arg(name, tr("Device"), QString::number(device.getDevIndex()), tr("Channel"),
                            QString::number(channelIndex)));
}

QString UiMdiChildCanGen::closeRefusal() const
{
    if (dbcOpen)
        return tr("Please close the DBC dialog box first");
    if (gbtOpen)
        return tr("Please close the charging pile dialog box first");
    if (UlGlobalSet::instance().channel[channelIndex].sending)
        return tr("Please stop sending data first");
    return QString();
}

void UiMdiChildCanGen::onStart()
{
    DevCan &device = DevCan::instance();
    if (device.StartCAN(uint32_t(channelIndex)) != 1) {
        UiMessage::information(this, tr("Error"), tr("Start device failed."));
        return;
    }
    if (!readThread->isRunning())
        readThread->start(QThread::HighPriority);
    updateActions();
}

void UiMdiChildCanGen::onStop()
{
    // No thread of the channel may call the device once it is reset; the
    // send tabs stop whatever sends, timing tasks included, and go idle.
    sendTabs->stopThreads();
    readThread->stop();
    readThread->waitForFinish();
    onStopRtSave();
    DevCan &device = DevCan::instance();
    device.clearBuffer(uint32_t(channelIndex));
    device.ResetCAN(uint32_t(channelIndex));
    updateActions();
}

void UiMdiChildCanGen::onClear()
{
    list->clearContents();
    list->verticalScrollBar()->setValue(0);
    clsNum();
    Q_EMIT clearSignal();
}

void UiMdiChildCanGen::clsNum()
{
    UlRunCounters &counters = UlGlobalSet::instance().channel[channelIndex].counters;
    counters.usedTime = -1.0;
    counters.received = 0;
    counters.sent = 0;
}

void UiMdiChildCanGen::cannotWrite(const QString &fileName, const QString &errorText)
{
    UiMessage::warning(this, tr("Warning"), tr("%1 %2,\n%3").arg(tr("Cannot write file"), fileName, errorText));
}

QString UiMdiChildCanGen::chooseSaveFile(const QString &suggested, const char *filter, bool recording)
{
    QString chosenFilter;
    const QString chosen
        = UiFileDialog::getSaveFileName(this, tr("Save"), suggested, QLatin1String(filter), &chosenFilter);
    if (chosen.isEmpty())
        return QString();
    const QString fileName = RecordFileWriter::nameToSave(chosen, chosenFilter);
    if (fileName.isEmpty()) {
        cannotWrite(chosen, tr("Unknown file type: save as .can, .csv or .asc."));
        return QString();
    }
    QFile check(fileName);
    if (!check.open(recording ? recordingMode(fileName) : QIODevice::WriteOnly | QIODevice::Truncate)) {
        cannotWrite(fileName, check.errorString());
        return QString();
    }
    return fileName;
}

void UiMdiChildCanGen::onSave()
{
    const QString fileName = chooseSaveFile(QString(), kSaveFilter, false);
    if (fileName.isEmpty())
        return;
    UiSaveProgressDlg dialog(this, channelIndex, fileName);
    dialog.exec();
}

void UiMdiChildCanGen::onStartRtSave()
{
    const QString fileName = chooseSaveFile(QStringLiteral("test"), kRealTimeFilter, true);
    if (fileName.isEmpty())
        return;

    UlBuffer &buffer = UlBuffer::instance(channelIndex);
    channelStatus &row = UlGlobalSet::instance().channel[channelIndex];
    if (rtSaveThread->isRunning() && row.realTimeSave) {
        // A new file ends the recording in hand; the channel goes on
        // queuing, so every frame is in the old file or in the new one.
        rtSaveThread->stop();
        rtSaveThread->waitForFinish();
    } else {
        onStopRtSave();
        // Frames that came in after the last recording had stopped are not
        // part of this one.
        buffer.dropRtSaveFrames();
    }
    rtDropBase = buffer.droppedRtSave();
    rtDropWarned = false;
    showRecordingDrops(0);
    row.realTimeSave = true;
    rtSaveThread->setFileName(fileName);
    rtSaveThread->start(QThread::InheritPriority);
}

void UiMdiChildCanGen::onStopRtSave()
{
    UlGlobalSet::instance().channel[channelIndex].realTimeSave = false;
    rtSaveThread->stop();
    rtSaveThread->waitForFinish();
}

void UiMdiChildCanGen::onRtSaveFailed(int failure, const QString &fileName, const QString &errorText)
{
    // The receive thread may have queued a frame while the recording gave up.
    if (!UlGlobalSet::instance().channel[channelIndex].realTimeSave)
        UlBuffer::instance(channelIndex).dropRtSaveFrames();
    if (failure == CanRealTimeSaveThread::SplitFailed)
        UiMessage::warning(this, tr("error"), tr("open file error!"));
    else
        cannotWrite(fileName, errorText);
}

void UiMdiChildCanGen::onFilter()
{
    UiIdFilterSetting dialog(this, channelIndex);
    dialog.exec();
}

void UiMdiChildCanGen::onHideSendFrame()
{
    UlBuffer::instance(channelIndex).setHideSendFrame(true);
}

void UiMdiChildCanGen::onShowSendFrame()
{
    UlBuffer::instance(channelIndex).setHideSendFrame(false);
}

void UiMdiChildCanGen::onClockTime()
{
    UlGlobalSet::instance().channel[channelIndex].timeDisplay = 2;
}

void UiMdiChildCanGen::onComparativeTime()
{
    UlGlobalSet::instance().channel[channelIndex].timeDisplay = 0;
}

void UiMdiChildCanGen::onHexTime()
{
    UlGlobalSet::instance().channel[channelIndex].timeDisplay = 3;
}

void UiMdiChildCanGen::setDataDisplay(int mode)
{
    UlGlobalSet::instance().channel[channelIndex].dataDisplay = mode;
    Q_EMIT digitalTypeChangedSignal();
}

void UiMdiChildCanGen::onShowTypeDec()
{
    setDataDisplay(0);
}

void UiMdiChildCanGen::onShowTypeHex()
{
    setDataDisplay(1);
}

void UiMdiChildCanGen::onShowTypeASC()
{
    setDataDisplay(2);
}

void UiMdiChildCanGen::onShowTypeBIN()
{
    setDataDisplay(3);
}

void UiMdiChildCanGen::onTimer()
{
    const UlRunCounters &counters = UlGlobalSet::instance().channel[channelIndex].counters;
    Q_EMIT usedTimeSignal(counters.usedTime);
    Q_EMIT recvNumSignal(ulong(counters.received.load()));
    Q_EMIT sendNumSignal(ulong(counters.sent.load()));
    checkRecordingDrops();
}

// The real-time-save queue drops its oldest frames when the file cannot
// keep up; the user hears of it once per recording and sees the count.
void UiMdiChildCanGen::checkRecordingDrops()
{
    if (rtDropBase < 0)
        return;
    const qint64 dropped = UlBuffer::instance(channelIndex).droppedRtSave() - rtDropBase;
    if (dropped <= 0)
        return;
    showRecordingDrops(dropped);
    if (rtDropWarned)
        return;
    rtDropWarned = true;
    UiMessage::warning(this, tr("Warning"),
                       tr("Saving in real time cannot keep up with the bus: %1 frames were not written to %2. "
                          "The recording goes on.")
                               .arg(dropped)
                               .arg(QDir::toNativeSeparators(rtSaveThread->fileName())));
}

void UiMdiChildCanGen::showRecordingDrops(qint64 dropped)
{
    rtDropsShown = dropped;
    dropsLabel->setText(tr("Saving in real time: %1 frames not saved").arg(dropped));
    dropsLabel->setVisible(dropped > 0);
}

void UiMdiChildCanGen::onSendError()
{
    UiMessage::information(this, tr("Error"), tr("Send failed."));
}

void UiMdiChildCanGen::onMaxIdErrorSignal()
{
    UiMessage::information(this, tr("Error"),
                           tr("Frame ID exceeded. Standard Frame ID's valid value is 0 - 0x7ff, Extend Frame ID's "
                              "valid value is 0 - 0x1fffffff."));
}

void UiMdiChildCanGen::setRefreshCycle(int nRefreshCycle)
{
    list->setRefreshCycle(nRefreshCycle);
}

void UiMdiChildCanGen::onShowDBC()
{
    if (dbcOpen && dbcWidget) {
        dbcWidget->show();
        dbcWidget->raise();
        return;
    }
    dbcWidget = new DBCWidget(DBCWidget::LiveMode, channelIndex, &dbcOpen);
    dbcWidget->show();
}

void UiMdiChildCanGen::onShowGBT27930()
{
    if (gbtOpen && gbtWidget) {
        gbtWidget->show();
        gbtWidget->raise();
        return;
    }
    gbtWidget = new GBT27931Widget(channelIndex, &gbtOpen);
    gbtWidget->show();
}

void UiMdiChildCanGen::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        updateTitle();
        showRecordingDrops(rtDropsShown);
    }
    UiMdiChild::changeEvent(event);
}

void UiMdiChildCanGen::closeEvent(QCloseEvent *event)
{
    const QString refusal = closeRefusal();
    if (!refusal.isEmpty()) {
        UiMessage::information(this, tr("Hint"), refusal);
        event->ignore();
        return;
    }
    onStop();
    event->accept();
    Q_EMIT closeSignal(channelIndex);
}
