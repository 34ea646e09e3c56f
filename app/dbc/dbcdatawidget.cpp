#include "dbcdatawidget.h"

#include "dbc/message.h"
#include "dbcmsgidtablewidgetheader.h"
#include "ui_dbcdatawidget.h"

#include <QEvent>

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
    table->verticalHeader()->setVisible(false);
    table->setRowCount(messageTable.size());
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
        table->setRowHeight(row, kRowHeight);
    }
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
    for (int row = 0; row < table->rowCount(); ++row)
        table->item(row, CheckColumn)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
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
