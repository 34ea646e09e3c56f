#include "uitabsend.h"

#include "devcan.h"
#include "errorinfowidget.h"
#include "taskthread.h"
#include "uitabsendbasepage.h"
#include "uitabsendfilepage.h"
#include "uitabsendtaskpage.h"
#include "ulglobalset.h"

#include <QEvent>

namespace {

// Task page strategy that runs every task on its own schedule.
constexpr int kTimingSend = 2;

int validChannel(int channel)
{
    return channel >= 0 && channel < UlGlobalSet::Channels ? channel : 0;
}

} // namespace

UiTabSend::UiTabSend(QWidget *parent, int channel)
    : QTabWidget(parent), m_nChannel(validChannel(channel))
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("UiTabSend"));
    resize(400, 300);
    setMinimumSize(0, 0);
    setAutoFillBackground(true);
    createPages();
    connectSignals();
    createTaskThread();
    retranslateUi();
    m_sendEnabled = DevCan::instance().isStarted(uint32_t(m_nChannel));
    UpdateUI(false);
}

UiTabSend::~UiTabSend()
{
    stopThreads();
}

void UiTabSend::createPages()
{
    m_pBasePage = new UiTabSendBasePage(this, m_nChannel);
    m_pTaskPage = new UiTabSendTaskPage(this, m_nChannel);
    m_pFilePage = new UiTabSendFilePage(this, m_nChannel);
    m_pErrorPage = new ErrorInfoWidget(m_nChannel, this);
    addTab(m_pBasePage, QString());
    addTab(m_pTaskPage, QString());
    addTab(m_pFilePage, QString());
    addTab(m_pErrorPage, QString());
    setTabPosition(QTabWidget::South);
    setFocusPolicy(Qt::NoFocus);
}

void UiTabSend::connectSignals()
{
    connect(m_pBasePage, &UiTabSendPage::start, this, [this](taskQueue queue) { onStart(BasePage, queue); });
    connect(m_pBasePage, &UiTabSendPage::stop, this, &UiTabSend::onBaseStop);
    connect(m_pBasePage, &UiTabSendPage::maxIdErrorSignal, this, &UiTabSend::maxIdErrorSignal);
    connect(m_pTaskPage, &UiTabSendPage::start, this, [this](taskQueue queue) { onStart(TaskPage, queue); });
    connect(m_pTaskPage, &UiTabSendPage::stop, this, &UiTabSend::onTaskStop);
    connect(m_pTaskPage, &UiTabSendPage::maxIdErrorSignal, this, &UiTabSend::maxIdErrorSignal);
    connect(m_pFilePage, &UiTabSendFilePage::startSignal, this, &UiTabSend::onFileStart);
    connect(m_pFilePage, &UiTabSendFilePage::errorSignal, this, &UiTabSend::sendErrorSignal);
    connect(m_pFilePage, &UiTabSendPage::maxIdErrorSignal, this, &UiTabSend::maxIdErrorSignal);
    connect(m_pFilePage, &UiTabSendFilePage::tailSignal, this, &UiTabSend::onFileTail);
    connect(this, &QTabWidget::currentChanged, this, &UiTabSend::onChangePage);
    for (int i = BasePage; i <= FilePage; ++i)
        connect(this, &UiTabSend::idFormatChangedSignal, sendPage(i), &UiTabSendPage::idFormatChangedSignal);
    // The page takes the frame before its tab comes forward.
    connect(this, &UiTabSend::AddMoveSend, m_pBasePage, &UiTabSendPage::AddMoveSend);
    connect(this, &UiTabSend::AddMoveList, m_pTaskPage, &UiTabSendPage::AddMoveList);
    connect(this, &UiTabSend::AddMoveSend, this, &UiTabSend::onsend);
    connect(this, &UiTabSend::AddMoveList, this, &UiTabSend::onList);
}

void UiTabSend::createTaskThread()
{
    m_pTaskThread = std::make_unique<taskThread>(uint32_t(m_nChannel));
    connect(m_pTaskThread.get(), &taskThread::startSignal, this, &UiTabSend::onThreadStart);
    connect(m_pTaskThread.get(), &taskThread::errorSignal, this, &UiTabSend::onThreadError);
    connect(m_pTaskThread.get(), &taskThread::tailSignal, this, &UiTabSend::onStop);
}

void UiTabSend::retranslateUi()
{
    setWindowTitle(tr("UiTabSend"));
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

UiTabSendPage *UiTabSend::sendPage(int index) const
{
    switch (index) {
    case BasePage:
        return m_pBasePage;
    case TaskPage:
        return m_pTaskPage;
    case FilePage:
        return m_pFilePage;
    default:
        return nullptr;
    }
}

void UiTabSend::onChangePage(int page)
{
    if (UiTabSendPage *p = sendPage(page))
        p->onActive();
}

void UiTabSend::onTaskChangeStatus()
{
    onChangePage(currentIndex());
}

void UiTabSend::setSendEnabled(bool on)
{
    m_sendEnabled = on;
    UpdateUI(UlGlobalSet::instance().channel[m_nChannel].sending);
}

void UiTabSend::UpdateUI(bool bRun)
{
    UlGlobalSet::instance().channel[m_nChannel].sending = bRun;
    if (!bRun) {
        for (int i = BasePage; i <= FilePage; ++i)
            sendPage(i)->setSendState(m_sendEnabled, false, false);
        return;
    }
    int owner = currentIndex();
    switch (m_active) {
    case BaseSender:
        owner = BasePage;
        break;
    case TaskListSender:
    case TimingTaskSender:
        owner = TaskPage;
        break;
    case FileSender:
        owner = FilePage;
        break;
    case NoSender:
        break;
    }
    if (owner < 0)
        return;
    for (int i = BasePage; i <= FilePage; ++i)
        sendPage(i)->setSendState(false, owner == i || owner == ErrorInfoPage, true);
}

bool UiTabSend::isTaskThreadSender() const
{
    return m_active == BaseSender || m_active == TaskListSender || m_active == TimingTaskSender;
}

void UiTabSend::onStart(int page, taskQueue tObjQ)
{
    if (page != BasePage && page != TaskPage)
        return;
    // A Send while sending (only a page's own signal can do it) would hand
    // a starting run another queue: it is dropped.
    if (m_active != NoSender)
        return;
    // A run whose end was reported may still be returning.
    m_pTaskThread->waitForFinish();
    m_pTaskThread->setTaskQueue(tObjQ);
    m_pTaskThread->setPage(page);
    if (page == BasePage)
        m_active = BaseSender;
    else if (UlGlobalSet::instance().channel[m_nChannel].sendMode == kTimingSend)
        m_active = TimingTaskSender;
    else
        m_active = TaskListSender;
    UpdateUI(true);
    m_pTaskThread->start(QThread::NormalPriority);
}

void UiTabSend::onThreadStart()
{
    if (m_staleReports == 0 && isTaskThreadSender())
        UpdateUI(true);
}

void UiTabSend::onThreadError()
{
    if (m_staleReports > 0 || !isTaskThreadSender())
        return;
    stopSending();
    Q_EMIT sendErrorSignal();
}

void UiTabSend::onStop()
{
    // Timing tasks go on after the run that started them.
    if (m_staleReports == 0 && (m_active == BaseSender || m_active == TaskListSender))
        endSending();
}

void UiTabSend::onFileStart()
{
    if (m_active == NoSender)
        m_active = FileSender;
    if (m_active == FileSender)
        UpdateUI(true);
}

void UiTabSend::onFileTail()
{
    // Also ends a sending state shown with no sender behind it.
    if (m_active == FileSender || m_active == NoSender)
        endSending();
}

void UiTabSend::onBaseStop()
{
    stopSending();
}

void UiTabSend::onTaskStop()
{
    stopSending();
}

void UiTabSend::onsend(BaseSendParam)
{
    setCurrentIndex(BasePage);
}

void UiTabSend::onList(BaseSendParam)
{
    setCurrentIndex(TaskPage);
}

void UiTabSend::stopSending()
{
    switch (m_active) {
    case BaseSender:
    case TaskListSender:
        stopTaskThread();
        break;
    case TimingTaskSender:
        stopTimingTasks();
        break;
    case FileSender:
        m_pFilePage->stopSendNowData();
        break;
    case NoSender:
        break;
    }
    endSending();
}

void UiTabSend::stopThreads()
{
    stopTaskThread();
    stopTimingTasks();
    m_pFilePage->stopSendNowData();
    endSending();
}

void UiTabSend::stopTaskThread()
{
    m_pTaskThread->stop();
    m_pTaskThread->waitForFinish();
    m_pTaskThread->clearAll();
    m_pTaskThread->setPage(taskThread::NoPage);
    dropQueuedReports();
}

void UiTabSend::stopTimingTasks()
{
    m_pTaskThread->stopSingleTask();
    dropQueuedReports();
}

void UiTabSend::endSending()
{
    m_active = NoSender;
    UpdateUI(false);
}

void UiTabSend::dropQueuedReports()
{
    // Everything the stopped threads reported is queued before this marker.
    ++m_staleReports;
    QMetaObject::invokeMethod(this, [this] { --m_staleReports; }, Qt::QueuedConnection);
}
