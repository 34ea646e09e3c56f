#include "uitabsendfilepage.h"

#include "ui_uitabsendfilepage.h"

#include "combopopupwidth.h"
#include "uifiledialog.h"
#include "uimessage.h"
#include "ulsendfilethread.h"

#include <QEvent>
#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>

#include <algorithm>

UiTabSendFilePage::UiTabSendFilePage(QWidget *parent, int channel)
    : UiTabSendPage(parent, channel), form(std::make_unique<Ui::UiTabSendFilePage>())
{
    form->setupUi(this);
    scrollForm();
    ComboPopupWidth::installAll(this);
    fitGeometry();
    form->progressBar->hide();
    restrictToHex(form->m_ctrlId);
    setSendControls(form->SendButton, form->StopButton);

    connect(form->SendButton, &QPushButton::clicked, this, &UiTabSendFilePage::startSendNowData);
    connect(form->StopButton, &QPushButton::clicked, this, &UiTabSendFilePage::stopSendNowData);
    connect(form->m_ctrlFormat, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &UiTabSendFilePage::curFormatChanged);
    connect(this, &UiTabSendPage::idFormatChangedSignal, this, &UiTabSendFilePage::onIdFormatChanged);
    connect(form->BrowseButton, &QPushButton::clicked, this, &UiTabSendFilePage::onBrowseFile);
    connect(form->m_ctrlType, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &UiTabSendFilePage::curTypeChanged);
    connect(form->m_ctrlSendMode_2, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &UiTabSendFilePage::NumberTimes);

    m_pSendFileThread = std::make_unique<UlSendFileThread>(uint32_t(channel));
    UlSendFileThread *thread = m_pSendFileThread.get();
    connect(thread, &UlSendFileThread::progressValueChanged, this, &UiTabSendFilePage::curProgressChanged);
    connect(thread, &UlSendFileThread::changeStatus, this, &UiTabSendFilePage::onThreadChangeStatus);
    connect(thread, &UlSendFileThread::errorSignal, this, &UiTabSendFilePage::onThreadError);
    connect(thread, &UlSendFileThread::tailSignal, this, &UiTabSendFilePage::onTailSignal);
    connect(thread, &UlSendFileThread::begainSend, this, &UiTabSendFilePage::onReplayBegun);
    UiTabSendPage::onAnswerTaskRunning(false);
}

UiTabSendFilePage::~UiTabSendFilePage()
{
    m_pSendFileThread->stop();
    m_pSendFileThread->waitForFinish();
}

void UiTabSendFilePage::retranslateUi()
{
    form->retranslateUi(this);
    if (form->m_ctrlSendMode_2->currentIndex() == Repeatedly)
        form->m_Bumber->setPlaceholderText(tr("importability"));
    fitGeometry();
}

void UiTabSendFilePage::fitGeometry()
{
    // The form's places and least sizes: the left box at 20, 10 holds its
    // grid 10 pixels in from its left, top and right and 4 from its bottom
    // (221 x 121 in 241 x 135); the right boxes stand 9 pixels beside it,
    // 651 wide, 45 high at the top and 78 high 5 pixels below.
    constexpr int top = 10;
    constexpr int inset = 10;
    constexpr int gap = 9;
    constexpr int below = 5;

    // The count field: the form's 60 pixels, or what its "repeatedly" hint
    // needs in the language in force (a line edit's size hint is 17 times
    // the width of an "x" and its frame and margins).
    QLineEdit *count = form->m_Bumber;
    const QFontMetrics metrics = count->fontMetrics();
    const int frame = count->sizeHint().width() - 17 * metrics.horizontalAdvance(QLatin1Char('x'));
    const int hint = metrics.horizontalAdvance(tr("importability")) + std::max(0, -metrics.minLeftBearing());
    count->setMaximumWidth(std::max(60, hint + frame));

    QWidget *grid = form->gridLayoutWidget;
    const QSize gridSize = grid->layout()->sizeHint().expandedTo(QSize(221, 121));
    grid->setGeometry(inset, inset, gridSize.width(), gridSize.height());
    form->groupBox->setGeometry(20, top, gridSize.width() + 2 * inset, gridSize.height() + inset + 4);

    QGroupBox *upper = form->groupBox_2;
    QGroupBox *lower = form->groupBox_3;
    const int x = form->groupBox->geometry().right() + 1 + gap;
    const int width = std::max({651, upper->sizeHint().width(), lower->sizeHint().width()});
    const int upperHeight = std::max(45, upper->sizeHint().height());
    upper->setGeometry(x, top, width, upperHeight);
    lower->setGeometry(x, top + upperHeight + below, width, std::max(78, lower->sizeHint().height()));

    // The body scrolls rather than cut the boxes; it keeps the top margin
    // beside and below them.
    const QRect boxes = form->groupBox->geometry() | upper->geometry() | lower->geometry();
    formBody()->setMinimumSize(boxes.right() + 1 + top, boxes.bottom() + 1 + top);
    updateGeometry();
}

void UiTabSendFilePage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    UiTabSendPage::changeEvent(event);
}

void UiTabSendFilePage::cannotRead(const QString &fileName, const QString &reason)
{
    UiMessage::warning(this, tr("Warning"), tr("%1 %2,\n%3").arg(tr("Cannot read file"), fileName, reason));
}

bool UiTabSendFilePage::checkFile()
{
    const QString fileName = form->m_ctrlFilename->text();
    if (fileName.isEmpty()) {
        UiMessage::warning(this, tr("Warning"),
                           tr("%1,%3.").arg(tr("Cannot read file"), tr("No file name specified")));
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        cannotRead(fileName, file.errorString());
        return false;
    }
    return true;
}

bool UiTabSendFilePage::buildFrames(taskObj &task)
{
    CanObj frame;  // no time stamp, user value 0
    task.Frames = form->m_ctrlFrames->value();
    task.Interval = form->m_ctrlInterval->value();
    task.Times = 1;
    frame.SendType = uint8_t(form->m_ctrlSendMode->currentIndex());
    frame.RemoteFlag = 0;
    frame.ExternFlag = uint8_t(form->m_ctrlFormat->currentIndex());
    // Record files bring their own IDs; the disabled ID field is not read.
    if (m_nFileType == UlSendFileThread::BinaryFile && !takeId(form->m_ctrlId, frame.ExternFlag != 0, frame.ID)) {
        Q_EMIT maxIdErrorSignal();
        return false;
    }
    CanData data;
    data.push(frame);
    task.frames.append(data);
    return true;
}

void UiTabSendFilePage::startSendNowData()
{
    if (!checkFile())
        return;
    taskObj task;
    if (!buildFrames(task)) {
        UiMessage::information(this, tr("Hint"), tr("Data error"));
        return;
    }
    if (m_runActive)
        return;
    const auto repeat = Repeat(form->m_ctrlSendMode_2->currentIndex());
    int total = form->m_Bumber->text().toInt();
    if (repeat == Circulation) {
        total = CirculationTimes;
    } else if (total <= 0) {
        UiMessage::information(this, tr("hint"), tr("The number of sending times is not specified"));
        return;
    }
    m_nTotalTimes = total;
    m_nSentTimes = 0;
    m_runFrames = 0;
    m_run = {task, m_nFileType, form->m_ctrlFilename->text(), repeat};
    m_runActive = true;
    m_failed = false;
    Q_EMIT startSignal();
    launchReplay();
}

void UiTabSendFilePage::launchReplay()
{
    // The replay before has reported its end; let it return first, a
    // running thread would not start again.
    m_pSendFileThread->waitForFinish();
    m_pSendFileThread->setParameter(m_run.task);
    m_pSendFileThread->setFileType(m_run.fileType);
    m_pSendFileThread->setFileName(m_run.fileName);
    m_pSendFileThread->start(QThread::InheritPriority);
}

void UiTabSendFilePage::stopSendNowData()
{
    m_pSendFileThread->stop();
    m_pSendFileThread->waitForFinish();
    dropQueuedReports();
    m_nTotalTimes = 1;
    m_nSentTimes = 0;
    endRun();
}

void UiTabSendFilePage::endRun()
{
    m_runActive = false;
    m_failed = false;
    form->progressBar->setValue(0);
    form->progressBar->hide();
    Q_EMIT tailSignal();
}

void UiTabSendFilePage::dropQueuedReports()
{
    // Everything the stopped thread reported is queued before this marker.
    ++m_staleReports;
    QMetaObject::invokeMethod(this, [this] { --m_staleReports; }, Qt::QueuedConnection);
}

void UiTabSendFilePage::onReplayBegun()
{
    if (!staleReport())
        Q_EMIT startSignal();
}

void UiTabSendFilePage::onThreadError()
{
    if (staleReport())
        return;
    switch (m_pSendFileThread->failure()) {
    case UlSendFileThread::CannotOpen:
        // The replay never began and sends no end report.
        endRun();
        cannotRead(m_run.fileName, m_pSendFileThread->failureText());
        break;
    case UlSendFileThread::CannotRead:
        m_failed = true;
        cannotRead(m_run.fileName, m_pSendFileThread->failureText());
        break;
    case UlSendFileThread::CannotSend:
    case UlSendFileThread::NoFailure:
        m_failed = true;
        Q_EMIT errorSignal();
        break;
    }
}

void UiTabSendFilePage::onTailSignal()
{
    if (staleReport())
        return;
    form->progressBar->setValue(0);
    form->progressBar->hide();
    const int64_t passFrames = m_pSendFileThread->sentFrames();
    m_runFrames += passFrames;
    if (!m_failed && passFrames == 0) {
        // Replaying it again would send nothing again, without a pause.
        endRun();
        if (m_runFrames == 0)
            UiMessage::information(this, tr("Hint"), tr("The file holds no frames: nothing was sent."));
        else
            UiMessage::information(this, tr("Hint"),
                                   tr("The file holds no more frames: the replay ended after %1 frames.")
                                       .arg(m_runFrames));
        return;
    }
    if (m_failed || m_run.repeat == Once) {
        endRun();
        return;
    }
    if (m_run.repeat == Circulation)
        m_nSentTimes = 1;
    else
        ++m_nSentTimes;
    if (m_nSentTimes < m_nTotalTimes) {
        launchReplay();
        return;
    }
    m_nSentTimes = 0;
    endRun();
}

void UiTabSendFilePage::curProgressChanged(int nValue)
{
    if (staleReport())
        return;
    form->progressBar->setValue(nValue);
    form->progressBar->setVisible(nValue < 100);
}

void UiTabSendFilePage::curFormatChanged(int index)
{
    switchIdFormat(form->m_ctrlId, index == 1);
}

void UiTabSendFilePage::onIdFormatChanged()
{
    const int idFormat = idFormatChange();
    if (idFormat >= 0)
        convertIdField(form->m_ctrlId, form->m_ctrlFormat->currentIndex() == 1, idFormat);
}

void UiTabSendFilePage::curTypeChanged(int index)
{
    m_nFileType = index;
    const bool common = index == UlSendFileThread::BinaryFile;
    form->m_ctrlFormat->setEnabled(common);
    form->m_ctrlId->setEnabled(common);
    form->m_ctrlInterval->setEnabled(common);
    form->m_ctrlFilename->clear();
}

void UiTabSendFilePage::NumberTimes(int index)
{
    QLineEdit *count = form->m_Bumber;
    switch (index) {
    case Once:
        count->setText(QStringLiteral("1"));
        count->setReadOnly(true);
        break;
    case Circulation:
        count->setText(QStringLiteral(" "));
        count->setReadOnly(true);
        break;
    default:
        count->clear();
        count->setPlaceholderText(tr("importability"));
        count->setReadOnly(false);
        break;
    }
}

void UiTabSendFilePage::onBrowseFile()
{
    QString filter;
    switch (m_nFileType) {
    case UlSendFileThread::CsvFile:
        filter = tr("CSV %1(*.CSV *.csv)").arg(tr("File"));
        break;
    case UlSendFileThread::AscFile:
        filter = tr("ASC %1(*.ASC *.asc)").arg(tr("File"));
        break;
    case UlSendFileThread::CanFile:
        filter = tr("CAN %1(*.CAN *.can)").arg(tr("File"));
        break;
    default:
        // "*" rather than "*.*": files without a suffix are files too.
        filter = tr("%1 %2(*)").arg(tr("All"), tr("File"));
        break;
    }
    const QString chosen = UiFileDialog::getOpenFileName(this, tr("Open"), QString(), filter);
    if (!chosen.isEmpty())
        form->m_ctrlFilename->setText(chosen);
}

void UiTabSendFilePage::onThreadChangeStatus()
{
    onAnswerTaskRunning(m_runActive);
}

void UiTabSendFilePage::onAnswerTaskRunning(bool running)
{
    UiTabSendPage::onAnswerTaskRunning(running);
    if (!running && m_runActive)
        stopSendNowData();
}

void UiTabSendFilePage::onActive()
{
    activate(2, form->m_ctrlSendMode);
}
