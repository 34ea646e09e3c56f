#include "dbcwidget.h"

#include "combopopupwidth.h"
#include "customprogressindicator.h"
#include "dbc/message.h"
#include "dbcdatabase.h"
#include "dbcdatawidget.h"
#include "dbcrecordreplay.h"
#include "dbcreleasethread.h"
#include "dbcsendwidget.h"
#include "dbcsignaltext.h"
#include "uifiledialog.h"
#include "uilanguage.h"
#include "uimessage.h"
#include "ulbuffer.h"
#include "ui_dbcwidget.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>

#include <chrono>

namespace {

constexpr int kRunIconSize = 28;

void releaseIndex(DBCFrameCollector::Index index)
{
    DBCReleaseThread::release(std::make_unique<DBCFrameCollector::Index>(std::move(index)));
}

} // namespace

// What a load thread shares with its window.
struct DBCWidget::LoadJob {
    std::atomic<bool> cancel{false};
    DBCDatabase::CheckPoint checkPoint;
    std::mutex mutex;
    // Under mutex. The window clears it before it goes; while it is set the
    // thread may signal the window.
    DBCWidget *window = nullptr;
    std::unique_ptr<DBCDatabase> db;  // the result, with its collector index
    DBCFrameCollector::Index index;
    DBCDatabase::ParseStop stop;      // where a failed parse stopped
};

DBCWidget::DBCWidget(int replayMode, int channel, bool *openFlag)
    : QWidget(nullptr),
      form(std::make_unique<Ui::DBCWidget>()),
      windowOpenFlag(openFlag),
      channelIndex(channel >= 0 && channel < UlBuffer::Channels ? channel : 0),
      mode(replayMode == LiveMode ? LiveMode : ReplayMode)
{
    registerByteSpanMetaType();
    form->setupUi(this);
    ComboPopupWidth::installAll(this);
    setAttribute(Qt::WA_DeleteOnClose);
    if (windowOpenFlag)
        *windowOpenFlag = true;

    busyIndicator = new CustomProgressIndicator(this);
    busyIndicator->setObjectName(QStringLiteral("busyIndicator"));
    busyIndicator->setFixedSize(22, 22);
    busyIndicator->setColor(Qt::gray);
    form->toolLayout->insertWidget(form->toolLayout->indexOf(form->m_pButtonLoadFile) + 1, busyIndicator);

    sendAction = new QAction(this);
    sendAction->setObjectName(QStringLiteral("sendAction"));
    contextMenu = new QMenu(this);
    contextMenu->setObjectName(QStringLiteral("contextMenu"));
    contextMenu->addAction(sendAction);

    QTreeWidget *tree = form->m_pTreeWidgetMessage;
    tree->setUniformRowHeights(true);
    tree->headerItem()->setTextAlignment(NumColumn, Qt::AlignCenter);
    for (int column = IdColumn; column < ColumnCount; ++column)
        tree->headerItem()->setTextAlignment(column, Qt::AlignLeft | Qt::AlignVCenter);
    const struct {
        int column, width;
    } widths[] = {{DirectionColumn, 60}, {TimeColumn, 70},        {PgnColumn, 50},   {SourceColumn, 50},
                  {TypeColumn, 50},      {FormatColumn, 50},      {DestinationColumn, 60},
                  {LengthColumn, 60}};
    // The least widths; the rows widen a column to the texts it shows in the
    // language in force and to eight data bytes (DBCMessageTree::fitTexts).
    for (const auto &w : widths)
        tree->setColumnWidth(w.column, w.width);
    rows = std::make_unique<DBCMessageTree>(tree);

    form->m_comboBoxProtocoType->setCurrentIndex(1);
    form->m_pButtonLoadFile->setVisible(mode == ReplayMode);
    retranslateTexts();

    connect(this, &DBCWidget::ParseResult, this, &DBCWidget::onParseResult);
    connect(this, &DBCWidget::ProcessData, this, &DBCWidget::onProcessData);
    connect(this, &DBCWidget::ReadEnd, this, &DBCWidget::onReadEnd);
    connect(form->m_pButtonLoad, &QToolButton::clicked, this, &DBCWidget::onToolButtonLoadDBC);
    connect(form->m_pButtonClear, &QToolButton::clicked, this, &DBCWidget::onToolButtonClear);
    connect(form->m_pToolButtonShowID, &QToolButton::clicked, this, &DBCWidget::onToolButtonShowID);
    connect(form->m_pToolButtonExport, &QToolButton::clicked, this, &DBCWidget::onToolButtonExport);
    connect(form->m_pPushButtonRunState, &QToolButton::clicked, this, &DBCWidget::onPushButtonRunStateClick);
    connect(form->m_pButtonLoadFile, &QToolButton::clicked, this, &DBCWidget::onPushButtonLoadFile);
    connect(form->m_comboBoxDisplayType, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &DBCWidget::ComboBoxDisplayTypeCurrentlndexChanged);
    connect(tree, &QTreeWidget::itemPressed, this, &DBCWidget::onItemPressed);
    connect(sendAction, &QAction::triggered, this, &DBCWidget::onActionSend);
    connect(&refreshTimer, &QTimer::timeout, this, &DBCWidget::TimeOutGteData);
    tree->viewport()->installEventFilter(this);
    refreshTimer.start(RefreshInterval);
}

DBCWidget::~DBCWidget()
{
    if (windowOpenFlag)
        *windowOpenFlag = false;
    if (loadJob) {
        loadJob->cancel = true;
        std::unique_ptr<DBCDatabase> unclaimed;
        DBCFrameCollector::Index unclaimedIndex;
        {
            const std::lock_guard<std::mutex> lock(loadJob->mutex);
            loadJob->window = nullptr;
            unclaimed = std::move(loadJob->db);
            unclaimedIndex = std::move(loadJob->index);
        }
        DBCReleaseThread::release(std::move(unclaimed));
        releaseIndex(std::move(unclaimedIndex));
    }
    DBCReleaseThread::join(std::move(loadThread));
    refreshTimer.stop();
    reading = false;
    if (replayThread.joinable())
        replayThread.join();
    stopPolling();
    if (handOffOn) {
        UlBuffer &buffer = UlBuffer::instance(channelIndex);
        buffer.setDBCRun(false);
        buffer.ClearDBC();
    }
    // The rows point into the file: gone before it.
    rows->setDatabase(nullptr);
    releaseIndex(collector.setIndex({}));
    DBCReleaseThread::release(std::move(db));
    DBCReleaseThread::release(std::move(retiredDb));
    if (loading)
        QApplication::restoreOverrideCursor();
}

void DBCWidget::stopPolling()
{
    {
        const std::lock_guard<std::mutex> lock(pollMutex);
        pollRun = false;
    }
    pollWake.notify_all();
    if (pollThread.joinable())
        pollThread.join();
}

void DBCWidget::retranslateTexts()
{
    form->retranslateUi(this);
    // A combo box keeps the least width of the texts it first had; the
    // window's layout must not squeeze one below the texts it has now.
    for (QComboBox *box : {form->m_comboBoxDisplayType, form->m_comboBoxProtocoType})
        box->setMinimumWidth(box->sizeHint().width());
    updateTitle();
    rows->retranslate();
    form->m_pButtonLoadFile->setText(reading ? tr("Stop read") : tr("Read file"));
    form->m_pPushButtonRunState->setToolTip(tr("Pause or start parsing frames"));
    form->m_pButtonLoadFile->setFixedSize(UiLanguage::code() == UiLanguage::Chinese ? QSize(90, 28)
                                                                                    : QSize(100, 28));
    sendAction->setText(tr("Send"));
}

void DBCWidget::updateTitle()
{
    const QString unloaded = tr("Frame Parsing - Unloaded DBC File");
    if (path.isEmpty()) {
        setWindowTitle(unloaded);
        return;
    }
    const int dash = unloaded.indexOf(QLatin1Char('-'));
    const QString lead = dash >= 0 ? unloaded.left(dash + 1) : unloaded + QStringLiteral(" -");
    setWindowTitle(lead + QLatin1Char(' ') + path);
}

bool DBCWidget::eventFilter(QObject *watched, QEvent *event)
{
    // The tree reports the pressed row but not the button.
    if (event->type() == QEvent::MouseButtonPress && watched == form->m_pTreeWidgetMessage->viewport())
        pressedButton = static_cast<QMouseEvent *>(event)->button();
    return QWidget::eventFilter(watched, event);
}

void DBCWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateTexts();
    QWidget::changeEvent(event);
}

void DBCWidget::closeEvent(QCloseEvent *event)
{
    // The load ends within a statement; its result is dropped.
    closed = true;
    if (loadJob)
        loadJob->cancel = true;
    QWidget::closeEvent(event);
}

void DBCWidget::onToolButtonLoadDBC()
{
    if (loading)
        return;
    const QString file =
            UiFileDialog::getOpenFileName(this, tr("Open DBC File"), QString(), tr("DBC File(*.dbc)"));
    if (file.isEmpty())
        return;
    loading = true;
    form->m_pButtonLoad->setEnabled(false);
    busyIndicator->startAnimation();
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    loadJob = std::make_shared<LoadJob>();
    loadJob->window = this;
    loadJob->checkPoint = loadCheckPoint;
    loadThread = std::thread(&DBCWidget::parseDBCFile, loadJob, file);
}

void DBCWidget::parseDBCFile(std::shared_ptr<LoadJob> job, QString file)
{
    auto loaded = std::make_unique<DBCDatabase>();
    DBCDatabase::ParseStop stop;
    const bool ok = loaded->load(file, &job->cancel, &stop, job->checkPoint);
    // Made here, so that a large file's tables cost the GUI thread nothing.
    DBCFrameCollector::Index index = ok ? DBCFrameCollector::indexOf(loaded->messageTable) : DBCFrameCollector::Index();
    const std::lock_guard<std::mutex> lock(job->mutex);
    if (!job->window)
        return;
    job->db = ok ? std::move(loaded) : nullptr;
    job->index = std::move(index);
    job->stop = stop;
    // Queued: the window, alive while the lock is held, drops the event if
    // it goes before the event is delivered.
    Q_EMIT job->window->ParseResult(ok, file);
}

void DBCWidget::onParseResult(bool ok, QString file)
{
    DBCReleaseThread::join(std::move(loadThread));
    std::unique_ptr<DBCDatabase> loaded;
    DBCFrameCollector::Index index;
    DBCDatabase::ParseStop stop;
    if (loadJob) {
        const std::lock_guard<std::mutex> lock(loadJob->mutex);
        loaded = std::move(loadJob->db);
        index = std::move(loadJob->index);
        stop = loadJob->stop;
    }
    loadJob.reset();
    if (loading) {
        loading = false;
        QApplication::restoreOverrideCursor();
    }
    form->m_pButtonLoad->setEnabled(true);
    busyIndicator->stopAnimation();
    // A result queued just before the window closed.
    if (closed) {
        DBCReleaseThread::release(std::move(loaded));
        releaseIndex(std::move(index));
        return;
    }

    if (!ok || !loaded) {
        QString text = tr("Error parsing DBC file");
        if (stop.line > 0)
            text += QLatin1Char('\n') + tr("Parsing stopped at line %1, column %2.").arg(stop.line).arg(stop.column);
        UiMessage::information(this, tr("Tips"), text);
        return;
    }
    applyDatabase(std::move(loaded), std::move(index), file);
    QString text = tr("Load successful");
    const QVector<DBCDatabase::Refused> &refused = db->refusedMessages();
    if (!refused.isEmpty()) {
        QStringList lines;
        for (int i = 0; i < refused.size() && i < UiMessage::MaxListed; ++i)
            lines << refusedLine(refused.at(i));
        text += QLatin1Char('\n') + tr("Messages not decoded:") + QLatin1Char('\n')
                + UiMessage::listText(lines, refused.size());
    }
    UiMessage::information(this, tr("Tips"), text);
}

QString DBCWidget::refusedLine(const DBCDatabase::Refused &message)
{
    const QString id = DBCSignalText::id(message.dbcId);
    if (message.reason == DBCDatabase::Refused::NotCanId)
        return tr("%1 (%2): bit 29 or 30 is set, no CAN frame has this ID").arg(message.name, id);
    return tr("%1 (%2): its frames are decoded as %3 (%4)")
            .arg(message.name, id, message.keptName, DBCSignalText::id(message.keptDbcId));
}

void DBCWidget::applyDatabase(std::unique_ptr<DBCDatabase> loaded, DBCFrameCollector::Index index,
                              const QString &file)
{
    // Rows of the previous file cannot be refreshed by the new one.
    rows->setDatabase(loaded.get());
    // An open ID list still shows the previous file's messages.
    if (idListOpen) {
        DBCReleaseThread::release(std::move(retiredDb));
        retiredDb = std::move(db);
    }
    DBCReleaseThread::release(std::move(db));
    db = std::move(loaded);
    path = file;
    releaseIndex(collector.setIndex(std::move(index)));
    collector.clear();
    updateTitle();
    form->m_comboBoxProtocoType->setCurrentIndex(db->isJ1939() ? 1 : 0);
    rows->setJ1939(db->isJ1939());
    rows->fitNameColumns(width() / 3);

    if (!db->oversizedMessages().isEmpty()) {
        const QStringList &names = db->oversizedMessages();
        QStringList lines;
        for (int i = 0; i < names.size() && i < UiMessage::MaxListed; ++i)
            lines << names.at(i) + tr("Exceeding size");
        UiMessage::information(this, tr("Warm"), UiMessage::listText(lines, names.size()));
    }

    if (mode == LiveMode) {
        if (!handOffOn) {
            UlBuffer::instance(channelIndex).setDBCRun(true);
            handOffOn = true;
        }
        if (!pollThread.joinable()) {
            pollRun = true;
            pollThread = std::thread(&DBCWidget::pollDBCQueue, this);
        }
    }
}

void DBCWidget::pollDBCQueue()
{
    UlBuffer &buffer = UlBuffer::instance(channelIndex);
    VCI_CAN_OBJ frame;
    while (pollRun) {
        // Paused: the queue is still drained, so no backlog waits for the resume.
        while (pollRun && buffer.takeDBCFrame(frame)) {
            if (!paused)
                collector.feed(frame);
        }
        std::unique_lock<std::mutex> lock(pollMutex);
        pollWake.wait_for(lock, std::chrono::milliseconds(PollIdleMs), [this] { return !pollRun; });
    }
}

void DBCWidget::TimeOutGteData()
{
    if (!db)
        return;
    const auto show = [this](quint32 key, DBCPendingFrame &frame) {
        // A key of an earlier file: dropped.
        const auto entry = db->messageTable.constFind(key);
        if (entry == db->messageTable.cend())
            return;
        const gsl::span<uint8_t> data(reinterpret_cast<uint8_t *>(frame.data.data()),
                                      std::size_t(frame.data.size()));
        Q_EMIT ProcessData(frame.time, frame.extended, frame.remote, const_cast<DBC::Message *>(entry->message),
                           data, QString::fromLatin1(frame.data.toHex().toUpper()));
    };
    // Classified display shows the newest frame of each message, scroll
    // display every frame (the newest MaxScrollRows of a tick).
    if (displayType == 0) {
        QMap<quint32, DBCPendingFrame> latest = collector.takeLatest();
        for (auto it = latest.begin(); it != latest.end(); ++it)
            show(it.key(), it.value());
    } else {
        QVector<DBCKeyedFrame> sequence = collector.takeSequence();
        for (DBCKeyedFrame &entry : sequence)
            show(entry.key, entry.frame);
    }
}

void DBCWidget::onProcessData(uint nTime, uchar frameFormat, uchar frameType, void *p, gsl::span<uint8_t> data,
                              QString text)
{
    const auto *message = static_cast<const DBC::Message *>(p);
    if (!message)
        return;
    if (displayType == 0)
        rows->refresh(*message, nTime, frameFormat, frameType, data, text);
    else
        rows->append(*message, nTime, frameFormat, frameType, data);
}

void DBCWidget::onPushButtonRunStateClick()
{
    paused = !paused;
    setRunIcon();
}

void DBCWidget::setRunIcon()
{
    form->m_pPushButtonRunState->setIcon(QIcon(paused ? QStringLiteral(":/Resources/DBC_suspend.png")
                                                      : QStringLiteral(":/Resources/DBC_run.png")));
    form->m_pPushButtonRunState->setIconSize(QSize(kRunIconSize, kRunIconSize));
}

void DBCWidget::onToolButtonClear()
{
    rows->clear();
}

void DBCWidget::ComboBoxDisplayTypeCurrentlndexChanged(int index)
{
    displayType = index;
}

void DBCWidget::onItemPressed(QTreeWidgetItem *pItem, int)
{
    if (!pItem || pressedButton != Qt::RightButton || pItem->data(NumColumn, RowKindRole).toInt() != MessageRow)
        return;
    menuRow.reset(pItem->clone());
    contextMenu->popup(QCursor::pos());
}

void DBCWidget::onActionSend(bool)
{
    if (!menuRow || !db)
        return;
    // The row may be of a file loaded before.
    const auto entry = db->messageTable.constFind(menuRow->data(NumColumn, KeyRole).toUInt());
    if (entry == db->messageTable.cend()
        || QString::fromStdString(entry->message->name) != menuRow->text(NameColumn))
        return;
    DBCSendWidget dialog(menuRow.get(), entry->message, channelIndex, this);
    dialog.exec();
}

void DBCWidget::onToolButtonShowID()
{
    const QMap<quint32, DBCMessageEntry> none;
    DBCDataWidget dialog(db ? db->messageTable : none, this);
    idListOpen = true;
    const int result = dialog.exec();
    idListOpen = false;
    DBCReleaseThread::release(std::move(retiredDb));
    if (result != QDialog::Accepted || !db)
        return;
    const QMap<quint32, bool> checked = dialog.checkedMessages();
    for (auto it = checked.cbegin(); it != checked.cend(); ++it) {
        auto entry = db->messageTable.find(it.key());
        if (entry != db->messageTable.end())
            entry->enabled = it.value();
    }
    releaseIndex(collector.setMessages(db->messageTable));
}

void DBCWidget::onToolButtonExport()
{
    if (!rows->hasMessageRows()) {
        UiMessage::information(this, tr("Tips"), tr("Data is empty"));
        return;
    }
    const QString file = UiFileDialog::getSaveFileName(this, tr("Save CSV file"), QString(), tr("CSV File(*.csv)"));
    // "ID" and "PGH" are written as they stand.
    const QStringList titles{tr("Num"),          tr("ID"),
                             tr("Name"),         tr("Transmission direction"),
                             tr("Time"),         QStringLiteral("PGH"),
                             tr("Source address"), tr("Destination address"),
                             tr("Frame type"),   tr("Frame format"),
                             tr("Data lenght"),  tr("Data"),
                             tr("Comment")};
    if (file.isEmpty() || !DBCCsvExport::append(file, titles, rows->exportRows(), nullptr)) {
        UiMessage::critical(this, tr("Tips"), tr("Failed to open file"));
        return;
    }
    UiMessage::information(this, tr("Tips"), tr("Save successful"));
}

void DBCWidget::onPushButtonLoadFile()
{
    if (reading) {
        reading = false;
        paused = false;
        form->m_pButtonLoadFile->setText(tr("Read file"));
        setRunIcon();
        return;
    }
    const QString file = UiFileDialog::getOpenFileName(this, tr("Open File"), QString(),
                                                       tr("ASC File(*.asc);;CSV File(*.csv)"));
    if (file.isEmpty())
        return;
    // The previous replay has been told to end: at most one slice away.
    if (replayThread.joinable())
        replayThread.join();
    reading = true;
    replayDone = false;
    form->m_pButtonLoadFile->setText(tr("Stop read"));
    replayThread = std::thread(&DBCWidget::readRecordFile, this, file);
}

void DBCWidget::readRecordFile(QString file)
{
    QString error;
    const DBCRecordReplay::Result result = DBCRecordReplay::run(
            file, reading, paused, [this](const VCI_CAN_OBJ &frame) { return collector.accepts(frame); },
            [this](const VCI_CAN_OBJ &frame) { collector.feed(frame); }, &error);
    {
        const std::lock_guard<std::mutex> lock(replayMutex);
        if (result == DBCRecordReplay::CannotOpen)
            replayError = tr("Failed to open file");
        else if (result == DBCRecordReplay::CannotRead)
            replayError = tr("Failed to read file: %1").arg(error);
        else
            replayError.clear();
    }
    replayDone = true;
    Q_EMIT ReadEnd();
}

void DBCWidget::onReadEnd()
{
    // The end of a replay that a newer one replaced was already joined.
    if (!replayDone || !replayThread.joinable())
        return;
    replayThread.join();
    reading = false;
    form->m_pButtonLoadFile->setText(tr("Read file"));
    if (closed)
        return;
    QString error;
    {
        const std::lock_guard<std::mutex> lock(replayMutex);
        error = replayError;
    }
    if (error.isEmpty())
        UiMessage::information(this, tr("Hit"), tr("End of reading."));
    else
        UiMessage::critical(this, tr("Tips"), error);
}
