#include "dbcsendwidget.h"

#include "combopopupwidth.h"
#include "dbc/message.h"
#include "dbcdatabase.h"
#include "dbcmessagekey.h"
#include "dbcrowtexts.h"
#include "dbcsignaltext.h"
#include "dbcwidget.h"
#include "devcan.h"
#include "uimessage.h"
#include "ui_dbcsendwidget.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QIntValidator>
#include <QRegularExpressionValidator>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

QString binaryByte(uint8_t byte)
{
    return QStringLiteral("%1").arg(byte, 8, 2, QLatin1Char('0'));
}

gsl::span<uint8_t> spanOf(QByteArray &bytes)
{
    return gsl::span<uint8_t>(reinterpret_cast<uint8_t *>(bytes.data()), std::size_t(bytes.size()));
}

bool isIeee(const DBC::Signal &signal)
{
    return signal.extendedValueType == '1' || signal.extendedValueType == '2';
}

} // namespace

DBCSendWidget::DBCSendWidget(QTreeWidgetItem *source, const DBC::Message *message, int channel, QWidget *parent)
    : QDialog(parent), form(std::make_unique<Ui::DBCSendWidget>()), m_message(message), m_channel(channel)
{
    form->setupUi(this);
    setWindowModality(Qt::WindowModal);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    fillSendTypes();
    ComboPopupWidth::install(form->m_pComboBoxSendType);
    form->m_pLineEditSendInterval->setValidator(new QIntValidator(0, 9999, this));
    form->m_pLineEditFrequency->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[1-9][0-9]{0,8}")), this));
    buildTree(source);

    QTreeWidget *tree = form->m_pTreeWidgetMessage;
    connect(tree, &QTreeWidget::itemDoubleClicked, this, &DBCSendWidget::openPersistentEditor);
    connect(tree, &QTreeWidget::itemSelectionChanged, this, &DBCSendWidget::onItemSelectionChanged);
    connect(tree, &QTreeWidget::itemChanged, this, &DBCSendWidget::onItemChanged);
    connect(form->m_pushButtonSend, &QPushButton::clicked, this, &DBCSendWidget::onPushButtonSendClick);
    // Enter in a value cell must never reach Send as the default button.
    form->m_pushButtonSend->setAutoDefault(false);
    form->m_pushButtonSend->setDefault(false);
    connect(this, &DBCSendWidget::SendCompleted, this, &DBCSendWidget::onSendCompleted);
}

DBCSendWidget::~DBCSendWidget()
{
    stopSending = true;
    if (m_sendThread.joinable())
        m_sendThread.join();
}

void DBCSendWidget::fillSendTypes()
{
    const int current = qMax(0, form->m_pComboBoxSendType->currentIndex());
    form->m_pComboBoxSendType->clear();
    form->m_pComboBoxSendType->addItems(
            {tr("Normal Send"), tr("Single Send"), tr("Send & Receive"), tr("Single Send&Rec")});
    form->m_pComboBoxSendType->setCurrentIndex(current);

    // The form's 100 pixels, or what the widest item needs in the language
    // in force.
    QComboBox *box = form->m_pComboBoxSendType;
    int widest = 0;
    for (int i = 0; i < box->count(); ++i)
        widest = std::max(widest, box->fontMetrics().horizontalAdvance(box->itemText(i)));
    QStyleOptionComboBox option;
    option.initFrom(box);
    const QSize needed = box->style()->sizeFromContents(QStyle::CT_ComboBox, &option,
                                                       QSize(widest, box->fontMetrics().height()), box);
    box->setFixedWidth(std::max(100, needed.width()));
}

void DBCSendWidget::buildTree(QTreeWidgetItem *source)
{
    const QSignalBlocker blocker(form->m_pTreeWidgetMessage);
    // The message's own ID and format, whatever frame made the row.
    const quint32 key = DBCMessageKey::ofMessage(m_message->id);
    frameId = DBCMessageKey::idOf(key);
    extended = DBCMessageKey::isExtended(key);
    remote = source->data(DBCWidget::NumColumn, DBCWidget::RemoteRole).toInt() != 0;

    messageRow = new QTreeWidgetItem;
    for (int column = 0; column < ColumnCount; ++column)
        messageRow->setText(column, source->text(column + 1));
    messageRow->setIcon(IdColumn, QIcon(QStringLiteral(":/Resources/msg.png")));
    messageRow->setData(IdColumn, RowRole, MessageRow);
    form->m_pTreeWidgetMessage->addTopLevelItem(messageRow);

    // The frame holds the message's size from the file; a longer one keeps
    // every byte shown and cannot be sent from here.
    data = QByteArray::fromHex(source->text(DBCWidget::DataColumn).toLatin1());
    if (int(m_message->size) <= MaxFrameBytes)
        data.resize(int(m_message->size));

    // Captions, frame type and format: retranslateRows().
    if (source->childCount() > 0)
        headerRow = new QTreeWidgetItem(messageRow);
    for (int child = 1; child < source->childCount(); ++child) {
        const QTreeWidgetItem *from = source->child(child);
        auto *item = new QTreeWidgetItem(messageRow);
        for (int column = NameColumn; column <= DataColumn; ++column)
            item->setText(column, from->text(column));
        item->setIcon(NameColumn, QIcon(QStringLiteral(":/Resources/Signal.png")));
        item->setData(IdColumn, RowRole, SignalRow);
        item->setText(DescriptionColumn, QString());
        if (const DBC::Signal *signal = signalOf(item)) {
            item->setText(RangeColumn, DBCSignalText::number(signal->minimum) + QStringLiteral(" - ")
                                               + DBCSignalText::number(signal->maximum));
            QString descriptions;
            for (const auto &entry : signal->valueDescriptions)
                descriptions += QString::number(int32_t(entry.first)) + QLatin1Char(':')
                                + QString::fromStdString(entry.second) + QLatin1Char(' ');
            item->setText(DescriptionColumn, descriptions);
        }
    }
    new QTreeWidgetItem(messageRow);  // hexadecimal bytes
    new QTreeWidgetItem(messageRow);  // binary bytes
    showData();
    retranslateRows();
    messageRow->setExpanded(true);
    fitColumns();
}

void DBCSendWidget::retranslateRows()
{
    if (!messageRow)
        return;
    const QSignalBlocker blocker(form->m_pTreeWidgetMessage);
    // The message row has the window's columns without "Num".
    messageRow->setText(DBCWidget::TypeColumn - 1, DBCRowTexts::frameType(remote));
    messageRow->setText(DBCWidget::FormatColumn - 1, DBCRowTexts::frameFormat(extended));
    if (!headerRow)
        return;
    const QStringList captions = DBCRowTexts::signalCaptions();
    for (int i = 0; i < captions.size() && NameColumn + i < RangeColumn; ++i)
        headerRow->setText(NameColumn + i, captions.at(i));
    headerRow->setText(RangeColumn, tr("Range"));
}

void DBCSendWidget::fitColumns()
{
    for (int column = 0; column < ColumnCount; ++column)
        form->m_pTreeWidgetMessage->resizeColumnToContents(column);
}

const DBC::Signal *DBCSendWidget::signalOf(const QTreeWidgetItem *item) const
{
    const auto found = m_message->signals.find(item->text(NameColumn).toStdString());
    return found == m_message->signals.end() || found->second.name.empty() ? nullptr : &found->second;
}

void DBCSendWidget::showData()
{
    const QSignalBlocker blocker(form->m_pTreeWidgetMessage);
    const int count = messageRow->childCount();
    QTreeWidgetItem *hexRow = messageRow->child(count - 2);
    QTreeWidgetItem *binaryRow = messageRow->child(count - 1);
    QString text;
    for (int i = 0; i < data.size(); ++i) {
        const auto byte = uint8_t(data.at(i));
        const QString hex = QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
        text += hex + QLatin1Char(' ');
        if (i + 2 < ColumnCount) {
            hexRow->setText(i + 2, hex);
            binaryRow->setText(i + 2, binaryByte(byte));
        }
    }
    messageRow->setText(DataColumn, text);
}

bool DBCSendWidget::showSignal(QTreeWidgetItem *item, const DBC::Signal &signal)
{
    const QSignalBlocker blocker(form->m_pTreeWidgetMessage);
    const DBCSignalValue value = DBCDatabase::decodeSignal(signal, spanOf(data));
    item->setText(ValueColumn, value.physical);
    item->setText(RawColumn, value.raw);
    return value.shown;
}

void DBCSendWidget::openPersistentEditor(QTreeWidgetItem *item, int column)
{
    if (!item || column != ValueColumn || item->data(IdColumn, RowRole).toInt() != SignalRow)
        return;
    form->m_pTreeWidgetMessage->openPersistentEditor(item, ValueColumn);
    m_editingItem = item;
}

QWidget *DBCSendWidget::editorOf(QTreeWidgetItem *item) const
{
    return item ? form->m_pTreeWidgetMessage->itemWidget(item, ValueColumn) : nullptr;
}

void DBCSendWidget::commitEditor()
{
    QTreeWidgetItem *item = m_editingItem;
    if (!item)
        return;
    m_editingItem = nullptr;
    QWidget *editor = editorOf(item);
    const QString typed = editor ? editor->metaObject()->userProperty().read(editor).toString() : QString();
    const int seen = valueEdits;
    // Closed first: a commit the editor still has queued then finds no
    // cell. Closing may itself commit (the editor loses the focus).
    form->m_pTreeWidgetMessage->closePersistentEditor(item, ValueColumn);
    if (editor && valueEdits == seen && typed != item->text(ValueColumn))
        item->setText(ValueColumn, typed);
}

void DBCSendWidget::editNextSignal(QTreeWidgetItem *item)
{
    QTreeWidget *tree = form->m_pTreeWidgetMessage;
    for (int i = messageRow->indexOfChild(item) + 1; i > 0 && i < messageRow->childCount(); ++i) {
        QTreeWidgetItem *next = messageRow->child(i);
        if (next->data(IdColumn, RowRole).toInt() != SignalRow)
            continue;
        tree->setCurrentItem(next, ValueColumn);
        openPersistentEditor(next, ValueColumn);
        if (QWidget *editor = editorOf(next))
            editor->setFocus();
        return;
    }
    tree->setCurrentItem(item, ValueColumn);
    tree->setFocus();
}

void DBCSendWidget::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    if (focusWidget() == form->m_pushButtonSend) {
        if (form->m_pushButtonSend->isEnabled())
            form->m_pushButtonSend->click();
        return;
    }
    if (QTreeWidgetItem *item = m_editingItem) {
        commitEditor();
        editNextSignal(item);
    }
}

void DBCSendWidget::onItemSelectionChanged()
{
    if (!m_editingItem)
        return;
    if (m_editingItem->data(IdColumn, RowRole).toInt() == SignalRow)
        form->m_pTreeWidgetMessage->closePersistentEditor(m_editingItem, ValueColumn);
    m_editingItem = nullptr;
}

void DBCSendWidget::onItemChanged(QTreeWidgetItem *item, int column)
{
    if (column != ValueColumn || !item || item->data(IdColumn, RowRole).toInt() != SignalRow)
        return;
    ++valueEdits;
    const DBC::Signal *signal = signalOf(item);
    if (!signal)
        return;
    const QString typed = item->text(ValueColumn).trimmed();
    bool number = false;
    const double physical = typed.toDouble(&number);
    bool clamped = !number;
    if (number) {
        // Integer signals take the nearest raw value within their range.
        const double raw = std::round(signal->physicalToRawValue(physical));
        if (!isIeee(*signal))
            clamped = !signal->rawWithinLimits(raw);
        gsl::span<uint8_t> bytes = spanOf(data);
        signal->encodePhysicalValue(bytes, physical);
    }
    const bool shown = showSignal(item, *signal);
    showData();
    // An open editor shows what the cell now holds.
    if (item == m_editingItem) {
        if (QWidget *editor = editorOf(item))
            editor->metaObject()->userProperty().write(editor, item->text(ValueColumn));
    }
    if (!number && shown)
        UiMessage::information(this, tr("Tips"),
                               tr("\"%1\" is not a number; the signal keeps its value %2.")
                                       .arg(typed, item->text(ValueColumn)));
    else if (clamped && shown)
        UiMessage::information(this, tr("Tips"),
                               tr("The value is outside the range of the signal and was set to %1.")
                                       .arg(item->text(ValueColumn)));
}

void DBCSendWidget::onPushButtonSendClick()
{
    commitEditor();
    if (sending)
        return;
    if (int(m_message->size) > MaxFrameBytes) {
        UiMessage::information(this, tr("Tips"), tr("A message of more than 8 bytes cannot be sent as one frame."));
        return;
    }
    const int interval = form->m_pLineEditSendInterval->text().toInt();
    const int count = form->m_pLineEditFrequency->text().toInt();
    if (count < 1) {
        UiMessage::information(this, tr("Tips"), tr("Nothing was sent: the frequency is empty."));
        return;
    }
    VCI_CAN_OBJ frame{};
    frame.ID = frameId;
    frame.ExternFlag = extended ? 1 : 0;
    frame.RemoteFlag = remote ? 1 : 0;
    frame.SendType = uint8_t(qMax(0, form->m_pComboBoxSendType->currentIndex()));
    frame.DataLen = uint8_t(data.size());
    memcpy(frame.Data, data.constData(), std::size_t(data.size()));
    if (m_sendThread.joinable())
        m_sendThread.join();
    sending = true;
    form->m_pushButtonSend->setEnabled(false);
    m_sendThread = std::thread(&DBCSendWidget::sendFrames, this, interval, count, frame);
}

void DBCSendWidget::sendFrames(int interval, int count, VCI_CAN_OBJ frame)
{
    using Clock = std::chrono::steady_clock;
    DevCan &device = DevCan::instance();
    bool ok = true;
    for (int i = 0; i < count && !stopSending; ++i) {
        if (device.Transmit(uint32_t(m_channel), &frame, 1) == 0) {
            ok = false;
            break;
        }
        // The pause follows the last frame too; closing ends it within a slice.
        const Clock::time_point due = Clock::now() + std::chrono::milliseconds(qMax(0, interval));
        for (Clock::time_point now = Clock::now(); now < due && !stopSending; now = Clock::now())
            std::this_thread::sleep_for(std::min<Clock::duration>(due - now, std::chrono::milliseconds(StopSliceMs)));
    }
    Q_EMIT SendCompleted(ok);
}

void DBCSendWidget::onSendCompleted(bool ok)
{
    if (m_sendThread.joinable())
        m_sendThread.join();
    sending = false;
    form->m_pushButtonSend->setEnabled(true);
    UiMessage::information(this, tr("Tips"), ok ? tr("Send successfully ") : tr("Fail to send"));
}

void DBCSendWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        fillSendTypes();
        retranslateRows();
        fitColumns();
    }
    QDialog::changeEvent(event);
}
