#include "dbcwidget.h"

#include "customprogressindicator.h"
#include "dbc/message.h"
#include "dbcdatabase.h"
#include "dbcsignaltext.h"
#include "j1939reassembler.h"
#include "uifiledialog.h"
#include "uilanguage.h"
#include "uimessage.h"
#include "ulbuffer.h"
#include "ui_dbcwidget.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>

#include <chrono>

namespace {

const QColor kSignalColor(0, 128, 255);
const QColor kChangedColor(255, 0, 0);

constexpr int kRunIconSize = 28;

QString hexByte(uint value)
{
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

// Each byte as two upper-case hexadecimal digits and a blank.
QString spacedBytes(const gsl::span<uint8_t> &data)
{
    QString text;
    text.reserve(int(data.size()) * 3);
    for (uint8_t byte : data)
        text += hexByte(byte) + QLatin1Char(' ');
    return text;
}

void setSignalColor(QTreeWidgetItem *item)
{
    for (int column = DBCWidget::IdColumn; column <= DBCWidget::LengthColumn; ++column)
        item->setForeground(column, kSignalColor);
}

} // namespace

DBCWidget::DBCWidget(int replayMode, int channel, bool *openFlag)
    : QWidget(nullptr),
      form(std::make_unique<Ui::DBCWidget>()),
      windowOpenFlag(openFlag),
      channelIndex(channel >= 0 && channel < UlBuffer::Channels ? channel : 0),
      mode(replayMode == LiveMode ? LiveMode : ReplayMode),
      messageIcon(QStringLiteral(":/Resources/msg.png")),
      signalHeaderIcon(QStringLiteral(":/Resources/SignalHeader.png")),
      signalIcon(QStringLiteral(":/Resources/Signal.png"))
{
    registerByteSpanMetaType();
    form->setupUi(this);
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
    for (const auto &w : widths)
        tree->setColumnWidth(w.column, w.width);
    // Eight data bytes.
    tree->setColumnWidth(DataColumn, tree->fontMetrics().horizontalAdvance(QStringLiteral("00 ")) * 8 + 12);

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
    refreshTimer.stop();
    stopPolling();
    if (handOffOn) {
        UlBuffer &buffer = UlBuffer::instance(channelIndex);
        buffer.setDBCRun(false);
        buffer.ClearDBC();
    }
    if (loadThread.joinable())
        loadThread.join();
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
    updateTitle();
    formatTexts = QStringList{tr("Standard frame"), tr("Extended frame")};
    typeTexts = QStringList{tr("Data frame"), tr("Remote frame")};
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
    loadThread = std::thread(&DBCWidget::parseDBCFile, this, file);
}

void DBCWidget::parseDBCFile(QString file)
{
    auto loaded = std::make_unique<DBCDatabase>();
    const bool ok = loaded->load(file);
    {
        const std::lock_guard<std::mutex> lock(loadMutex);
        loadedDb = ok ? std::move(loaded) : nullptr;
    }
    Q_EMIT ParseResult(ok, file);
}

void DBCWidget::onParseResult(bool ok, QString file)
{
    if (loadThread.joinable())
        loadThread.join();
    std::unique_ptr<DBCDatabase> loaded;
    {
        const std::lock_guard<std::mutex> lock(loadMutex);
        loaded = std::move(loadedDb);
    }
    if (loading) {
        loading = false;
        QApplication::restoreOverrideCursor();
    }
    form->m_pButtonLoad->setEnabled(true);
    busyIndicator->stopAnimation();

    if (!ok || !loaded) {
        UiMessage::information(this, tr("Tips"), tr("Error parsing DBC file"));
        return;
    }
    applyDatabase(std::move(loaded), file);
    UiMessage::information(this, tr("Tips"), tr("Load successful"));
}

void DBCWidget::applyDatabase(std::unique_ptr<DBCDatabase> loaded, const QString &file)
{
    // Rows of the previous file cannot be refreshed by the new one.
    form->m_pTreeWidgetMessage->clear();
    rowOfKey.clear();
    firstValues.clear();
    rowCounter = 0;
    db = std::move(loaded);
    path = file;
    collector.setMessages(db->messageTable);
    collector.clear();
    updateTitle();
    form->m_comboBoxProtocoType->setCurrentIndex(db->isJ1939() ? 1 : 0);

    if (!db->oversizedMessages().isEmpty()) {
        QStringList lines;
        for (const QString &name : db->oversizedMessages())
            lines << name + tr("Exceeding size");
        UiMessage::information(this, tr("Warm"), lines.join(QLatin1Char('\n')));
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
    if (displayType == 0) {
        refreshSignalValues(*message, nTime, frameFormat, frameType, data, text);
        return;
    }
    QTreeWidget *tree = form->m_pTreeWidgetMessage;
    if (tree->topLevelItemCount() >= MaxScrollRows)
        removeTopLevelRow(0);
    appendMessageRow(*message, nTime, frameFormat, frameType, data);
    ++rowCounter;
}

void DBCWidget::appendMessageRow(const DBC::Message &message, uint time, uchar extended, uchar remote,
                                 const gsl::span<uint8_t> &data)
{
    const quint32 key = message.id & DBCDatabase::KeyMask;
    auto *row = new QTreeWidgetItem;
    row->setText(NumColumn, QLatin1Char(' ') + QString::number(rowCounter));
    row->setIcon(NumColumn, messageIcon);
    row->setData(NumColumn, RowKindRole, MessageRow);
    row->setData(NumColumn, KeyRole, key);
    row->setData(NumColumn, ExtendedRole, extended ? 1 : 0);
    row->setData(NumColumn, RemoteRole, remote ? 1 : 0);
    row->setText(IdColumn, QStringLiteral("0x") + QString::number(key, 16).rightJustified(8, QLatin1Char('0')).toUpper());
    row->setText(NameColumn, QString::fromStdString(message.name));
    row->setText(DirectionColumn, QStringLiteral(" "));
    row->setText(TimeColumn, QString::number(time));
    // J1939 addresses only exist in extended identifiers.
    if (form->m_comboBoxProtocoType->currentIndex() == 1 && (message.id & 0x80000000u)) {
        // PDU1 (PF below 240) carries the destination in PS, outside the PGN.
        const bool pdu1 = ((key >> 16) & 0xFF) < 240;
        row->setText(PgnColumn, QString::number(J1939Reassembler::pgnOf(key)));
        row->setText(SourceColumn, hexByte(key));
        row->setText(DestinationColumn, pdu1 ? hexByte(key >> 8) : QString());
    } else {
        row->setText(PgnColumn, QStringLiteral(" "));
        row->setText(SourceColumn, QStringLiteral(" "));
        row->setText(DestinationColumn, QStringLiteral(" "));
    }
    row->setText(TypeColumn, typeTexts.value(remote ? 1 : 0));
    row->setText(FormatColumn, formatTexts.value(extended ? 1 : 0));
    row->setText(LengthColumn, QString::number(message.size));
    row->setText(DataColumn, spacedBytes(data));
    row->setText(CommentColumn, QString::fromStdString(message.comment));

    auto *header = new QTreeWidgetItem(row);
    header->setText(NumColumn, QStringLiteral(" "));
    header->setIcon(IdColumn, signalHeaderIcon);
    const QStringList captions{tr("Signal name"), tr("Actual value"), tr("Unit"),       tr("Original value"),
                               tr("Initial position"), tr("Bit width"), tr("Proportion"), tr("Offset"),
                               tr("Description"), tr("Notes")};
    for (int i = 0; i < captions.size(); ++i)
        header->setText(IdColumn + i, captions.at(i));
    setSignalColor(header);

    const QVector<const DBC::Signal *> order = db->signalOrder.value(key);
    const QVector<DBCSignalValue> values = db->decode(key, data);
    QStringList first;
    for (int i = 0; i < order.size(); ++i) {
        const DBC::Signal &signal = *order.at(i);
        const DBCSignalValue &value = values.at(i);
        auto *item = new QTreeWidgetItem(row);
        item->setIcon(IdColumn, signalIcon);
        item->setText(IdColumn, QString::fromStdString(signal.name));
        item->setText(NameColumn, value.physical);
        item->setText(DirectionColumn, QString::fromStdString(signal.unit));
        item->setText(TimeColumn, value.raw);
        item->setText(PgnColumn, QString::number(DBCSignalText::startPosition(signal)));
        item->setText(SourceColumn, QString::number(signal.bitSize));
        item->setText(DestinationColumn, DBCSignalText::factor(signal.factor));
        item->setText(TypeColumn, DBCSignalText::offset(signal.offset));
        item->setText(FormatColumn, value.description);
        item->setText(LengthColumn, QString::fromStdString(signal.comment));
        setSignalColor(item);
        first << value.physical;
    }
    firstValues.insert(key, first);
    form->m_pTreeWidgetMessage->addTopLevelItem(row);
    if (!rowOfKey.contains(key))
        rowOfKey.insert(key, row);
}

QTreeWidgetItem *DBCWidget::messageRow(quint32 key)
{
    if (QTreeWidgetItem *row = rowOfKey.value(key))
        return row;
    QTreeWidget *tree = form->m_pTreeWidgetMessage;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = tree->topLevelItem(i);
        if (row->data(NumColumn, KeyRole).toUInt() == key) {
            rowOfKey.insert(key, row);
            return row;
        }
    }
    return nullptr;
}

void DBCWidget::removeTopLevelRow(int index)
{
    QTreeWidgetItem *row = form->m_pTreeWidgetMessage->takeTopLevelItem(index);
    if (!row)
        return;
    const quint32 key = row->data(NumColumn, KeyRole).toUInt();
    if (rowOfKey.value(key) == row)
        rowOfKey.remove(key);
    delete row;
}

void DBCWidget::refreshSignalValues(const DBC::Message &message, uint time, uchar extended, uchar remote,
                                    const gsl::span<uint8_t> &data, const QString &text)
{
    const quint32 key = message.id & DBCDatabase::KeyMask;
    QTreeWidgetItem *row = messageRow(key);
    if (!row) {
        appendMessageRow(message, time, extended, remote, data);
        return;
    }
    row->setText(TimeColumn, QString::number(time));
    QString spaced;
    spaced.reserve(text.size() * 3 / 2 + 1);
    for (int i = 0; i < text.size(); i += 2)
        spaced += text.midRef(i, 2) + QLatin1Char(' ');
    row->setText(DataColumn, spaced);

    const QVector<DBCSignalValue> values = db->decode(key, data);
    const QStringList first = firstValues.value(key);
    const int rows = qMin(row->childCount() - 1, values.size());
    for (int i = 0; i < rows; ++i) {
        QTreeWidgetItem *item = row->child(i + 1);
        const DBCSignalValue &value = values.at(i);
        item->setText(NameColumn, value.physical);
        item->setForeground(NameColumn, value.physical == first.value(i) ? kSignalColor : kChangedColor);
        item->setText(TimeColumn, value.raw);
        item->setText(FormatColumn, value.description);
    }
}

void DBCWidget::onPushButtonRunStateClick()
{
    paused = !paused;
    form->m_pPushButtonRunState->setIcon(QIcon(paused ? QStringLiteral(":/Resources/DBC_suspend.png")
                                                      : QStringLiteral(":/Resources/DBC_run.png")));
    form->m_pPushButtonRunState->setIconSize(QSize(kRunIconSize, kRunIconSize));
}

void DBCWidget::onToolButtonClear()
{
    form->m_pTreeWidgetMessage->clear();
    rowOfKey.clear();
    firstValues.clear();
    rowCounter = 0;
}

void DBCWidget::ComboBoxDisplayTypeCurrentlndexChanged(int index)
{
    displayType = index;
}

void DBCWidget::onItemPressed(QTreeWidgetItem *pItem, int)
{
    if (!pItem || pressedButton != Qt::RightButton || pItem->data(NumColumn, RowKindRole).toInt() != MessageRow)
        return;
    menuKey = pItem->data(NumColumn, KeyRole).toUInt();
    menuKeyValid = true;
    contextMenu->popup(QCursor::pos());
}

void DBCWidget::onActionSend(bool)
{
    if (!menuKeyValid || !db || !db->messageTable.contains(menuKey))
        return;
}

void DBCWidget::onToolButtonShowID() {}

void DBCWidget::onToolButtonExport() {}

void DBCWidget::onPushButtonLoadFile() {}

void DBCWidget::onReadEnd() {}
