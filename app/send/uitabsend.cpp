#include "uitabsend.h"

#include "devcan.h"
#include "errorinfowidget.h"
#include "taskthread.h"
#include "ulglobalset.h"

#include <QEvent>

UiTabSend::UiTabSend(QWidget *parent, int channel)
    : QTabWidget(parent),
      channelIndex(channel >= 0 && channel < UlGlobalSet::Channels ? channel : 0)
{
    setObjectName(QStringLiteral("UiTabSend"));
    for (const char *name : {"basePage", "taskPage", "filePage"}) {
        auto *page = new QWidget(this);
        page->setObjectName(QLatin1String(name));
        addTab(page, QString());
    }
    errorPage = new ErrorInfoWidget(channelIndex, this);
    addTab(errorPage, QString());
    retranslateUi();

    sendThread = new taskThread(this, uint32_t(channelIndex));
    connect(sendThread, &taskThread::startSignal, this, &UiTabSend::onThreadStart);
    connect(sendThread, &taskThread::errorSignal, this, &UiTabSend::sendErrorSignal);
    connect(sendThread, &taskThread::errorSignal, this, &UiTabSend::onStop);
    connect(sendThread, &taskThread::tailSignal, this, &UiTabSend::onStop);
    connect(this, &QTabWidget::currentChanged, this, &UiTabSend::onChangePage);
}

UiTabSend::~UiTabSend()
{
    stopThreads();
}

void UiTabSend::stopThreads()
{
    sendThread->stop();
    sendThread->waitForFinish();
}

void UiTabSend::retranslateUi()
{
    setTabText(BasePage, tr("Base"));
    setTabText(TaskPage, tr("Task"));
    setTabText(FilePage, tr("File"));
    setTabText(ErrorInfoPage, tr("ErrorInfo"));
}

void UiTabSend::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QTabWidget::changeEvent(event);
}

void UiTabSend::UpdateUI(bool bRun)
{
    UlGlobalSet::instance().channel[channelIndex].sending = bRun;
}

void UiTabSend::onTaskChangeStatus()
{
    onChangePage(currentIndex());
}

void UiTabSend::onChangePage(int index)
{
    Q_UNUSED(index)
    setSendEnabled(DevCan::instance().isStarted(uint32_t(channelIndex)));
}

void UiTabSend::setSendEnabled(bool enabled)
{
    sendEnabled = enabled;
}

void UiTabSend::onThreadStart()
{
    UpdateUI(true);
}

void UiTabSend::onStop()
{
    UpdateUI(false);
}
