#include "dbcdatawidget.h"

#include "dbc/message.h"
#include "dbcmsgidtablewidgetheader.h"
#include "ui_dbcdatawidget.h"

#include <QEvent>
#include <QHeaderView>

namespace {

constexpr int kRowHeight = 20;
constexpr int kKeyRole = Qt::UserRole;

} // namespace

DBCDataWidget::DBCDataWidget(const QMap<quint32, DBCMessageEntry> &messageTable, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint), form(std::make_unique<Ui::DBCDataWidget>())
{
    form->setupUi(this);
    QTableWidget *table = form->m_pTableWidgetMessages;
    header = new DBCMsgIDTableWidgetHeader(table);
    header->setStretchLastSection(true);
    table->setHorizontalHeader(header);
    table->setColumnCount(ColumnCount);
    table->setColumnWidth(CheckColumn, 20);
    header->setSectionResizeMode(CheckColumn, QHeaderView::Fixed);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSortingEnabled(false);
    // One height for every row: sizing rows one by one costs the square of
    // their number.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setMinimumSectionSize(kRowHeight);
    table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    table->verticalHeader()->setVisible(false);

    table->setUpdatesEnabled(false);
    table->setRowCount(messageTable.size());
    rowChecked.reserve(messageTable.size());
    int row = 0;
    for (auto it = messageTable.cbegin(); it != messageTable.cend(); ++it, ++row) {
        auto *check = new QTableWidgetItem;
        check->setCheckState(it->enabled ? Qt::Checked : Qt::Unchecked);
        check->setData(kKeyRole, it.key());
        table->setItem(row, CheckColumn, check);
        table->setItem(row, NumColumn, new QTableWidgetItem(QString::number(row + 1)));
        table->setItem(row, IdColumn,
                       new QTableWidgetItem(QStringLiteral("0x")
                                            + QString::number(it.key(), 16).rightJustified(8, QLatin1Char('0')).toUpper()));
        table->setItem(row, NameColumn, new QTableWidgetItem(QString::fromStdString(it->message->name)));
        table->setItem(row, CommentColumn, new QTableWidgetItem(QString::fromStdString(it->message->comment)));
        rowChecked.append(it->enabled);
        checkedRows += it->enabled ? 1 : 0;
    }
    table->setUpdatesEnabled(true);
    showHeaderState();
    connect(table, &QTableWidget::itemChanged, this, &DBCDataWidget::onItemChanged);
    connect(header, &DBCMsgIDTableWidgetHeader::checkStausChange, this, &DBCDataWidget::onCheckStausChange);
    connect(form->m_pPushButtonOK, &QPushButton::clicked, this, &DBCDataWidget::onOK);
    setColumnLabels();
}

DBCDataWidget::~DBCDataWidget() = default;

QMap<quint32, bool> DBCDataWidget::checkedMessages() const
{
    QMap<quint32, bool> checked;
    const QTableWidget *table = form->m_pTableWidgetMessages;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem *item = table->item(row, CheckColumn);
        checked.insert(item->data(kKeyRole).toUInt(), item->checkState() == Qt::Checked);
    }
    return checked;
}

void DBCDataWidget::onCheckStausChange(bool checked)
{
    QTableWidget *table = form->m_pTableWidgetMessages;
    // One repaint for all rows; the count is set once instead of per row.
    const bool blocked = table->blockSignals(true);
    table->setUpdatesEnabled(false);
    for (int row = 0; row < table->rowCount(); ++row)
        table->item(row, CheckColumn)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    table->setUpdatesEnabled(true);
    table->blockSignals(blocked);
    rowChecked.fill(checked);
    checkedRows = checked ? rowChecked.size() : 0;
    table->viewport()->update();
    showHeaderState();
}

void DBCDataWidget::onItemChanged(QTableWidgetItem *item)
{
    if (!item || item->column() != CheckColumn)
        return;
    const int row = item->row();
    if (row < 0 || row >= rowChecked.size())
        return;
    const bool now = item->checkState() == Qt::Checked;
    if (now == rowChecked.at(row))
        return;
    rowChecked[row] = now;
    checkedRows += now ? 1 : -1;
    showHeaderState();
}

void DBCDataWidget::showHeaderState()
{
    // An empty list shows the box checked, as it starts.
    if (checkedRows == rowChecked.size())
        header->setCheckState(Qt::Checked);
    else if (checkedRows == 0)
        header->setCheckState(Qt::Unchecked);
    else
        header->setCheckState(Qt::PartiallyChecked);
}

void DBCDataWidget::onOK()
{
    accept();
}

void DBCDataWidget::setColumnLabels()
{
    form->m_pTableWidgetMessages->setHorizontalHeaderLabels(
            {QStringLiteral(" "), tr("Num"), tr("ID"), tr("Name"), tr("Comment")});
}

void DBCDataWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        setColumnLabels();
    }
    QDialog::changeEvent(event);
}
