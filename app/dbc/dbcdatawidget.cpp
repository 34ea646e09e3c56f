#include "dbcdatawidget.h"

#include "dbc/message.h"
#include "dbccellwidth.h"
#include "dbcdatabase.h"
#include "dbcmessagekey.h"
#include "dbcmsgidtablewidgetheader.h"
#include "dbcsignaltext.h"
#include "ui_dbcdatawidget.h"

#include <QEvent>
#include <QHeaderView>
#include <QLayout>
#include <QStyle>

#include <algorithm>
#include <string>
#include <vector>

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

    table->setRowCount(messageTable.size());
    keys.reserve(messageTable.size());
    messages.reserve(messageTable.size());
    rowChecked.reserve(messageTable.size());
    std::vector<const std::string *> names;
    names.reserve(std::size_t(messageTable.size()));
    for (auto it = messageTable.cbegin(); it != messageTable.cend(); ++it) {
        keys.append(it.key());
        messages.append(it->message);
        rowChecked.append(it->enabled);
        checkedRows += it->enabled ? 1 : 0;
        names.push_back(&it->message->name);
    }
    for (const QString &name : DBCDatabase::longestNames(names))
        longNames << name.left(NameChars);
    // The first rows now, the others in slices while the dialog is open:
    // the items of a large file take a second to make.
    fillRows(RowsPerSlice);
    fillTimer.setInterval(0);
    connect(&fillTimer, &QTimer::timeout, this, [this] {
        fillRows(RowsPerSlice);
        if (filledRows == keys.size())
            fillTimer.stop();
    });
    if (filledRows < keys.size())
        fillTimer.start();
    showHeaderState();
    connect(table, &QTableWidget::itemChanged, this, &DBCDataWidget::onItemChanged);
    connect(header, &DBCMsgIDTableWidgetHeader::checkStausChange, this, &DBCDataWidget::onCheckStausChange);
    connect(form->m_pPushButtonOK, &QPushButton::clicked, this, &DBCDataWidget::onOK);
    setColumnLabels();
}

DBCDataWidget::~DBCDataWidget() = default;

void DBCDataWidget::fillRows(int count)
{
    QTableWidget *table = form->m_pTableWidgetMessages;
    const int end = std::min(filledRows + count, keys.size());
    // The view knows the rows already; telling it of every item on its own
    // costs more than making the items.
    QAbstractItemModel *model = table->model();
    const bool modelBlocked = model->blockSignals(true);
    for (int row = filledRows; row < end; ++row) {
        const quint32 key = keys.at(row);
        auto *check = new QTableWidgetItem;
        check->setCheckState(rowChecked.at(row) ? Qt::Checked : Qt::Unchecked);
        check->setData(kKeyRole, key);
        table->setItem(row, CheckColumn, check);
        table->setItem(row, NumColumn, new QTableWidgetItem(QString::number(row + 1)));
        table->setItem(row, IdColumn, new QTableWidgetItem(DBCSignalText::id(DBCMessageKey::idOf(key))));
        table->setItem(row, NameColumn, new QTableWidgetItem(QString::fromStdString(messages.at(row)->name)));
        table->setItem(row, CommentColumn, new QTableWidgetItem(QString::fromStdString(messages.at(row)->comment)));
    }
    model->blockSignals(modelBlocked);
    filledRows = end;
    table->viewport()->update();
}

QMap<quint32, bool> DBCDataWidget::checkedMessages() const
{
    // Rows not made yet keep the state they started with or the header set.
    QMap<quint32, bool> checked;
    for (int row = 0; row < keys.size(); ++row)
        checked.insert(keys.at(row), rowChecked.at(row));
    return checked;
}

void DBCDataWidget::onCheckStausChange(bool checked)
{
    QTableWidget *table = form->m_pTableWidgetMessages;
    // One repaint for all rows; the count is set once instead of per row.
    const bool blocked = table->blockSignals(true);
    table->setUpdatesEnabled(false);
    for (int row = 0; row < filledRows; ++row)
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
    if (row < 0 || row >= filledRows)
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
    fitColumns();
}

void DBCDataWidget::fitColumns()
{
    QTableWidget *table = form->m_pTableWidgetMessages;
    // The grid line takes the last pixel of a column.
    const int grid = table->showGrid() ? 1 : 0;
    int name = std::max(table->columnWidth(NameColumn), header->sectionSizeHint(NameColumn));
    for (const QString &text : qAsConst(longNames))
        name = std::max(name, DBCCellWidth::of(table, text) + grid);
    table->setColumnWidth(NameColumn, name);

    // Comment stretches over what is left, but never below the width it was
    // given: its header's. The dialog grows when less is left, with room for
    // the vertical scroll bar whether or not it shows.
    table->setColumnWidth(CommentColumn, header->sectionSizeHint(CommentColumn));
    int columns = 0;
    for (int column = CheckColumn; column < ColumnCount; ++column)
        columns += table->columnWidth(column);
    const int scrollBar = table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    const QMargins margins = layout()->contentsMargins();
    const int needed = margins.left() + 2 * table->frameWidth() + columns + scrollBar + margins.right();
    if (width() < needed)
        resize(needed, height());
}

void DBCDataWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        setColumnLabels();
    }
    QDialog::changeEvent(event);
}
