#include "monomervoltagewidget.h"

#include "chargingpages.h"
#include "trimzeros.h"
#include "ui_monomervoltagewidget.h"

#include <QBoxLayout>
#include <QEvent>
#include <QHeaderView>

MonomerVoltageWidget::MonomerVoltageWidget(QWidget *parent)
    : QWidget(parent), form(std::make_unique<Ui::MonomerVoltageWidget>())
{
    form->setupUi(this);
    auto *page = new QVBoxLayout(this);
    page->addWidget(form->m_pTableWidgetVoltageList);
    form->m_pTableWidgetVoltageList->setSelectionBehavior(QAbstractItemView::SelectRows);
    form->m_pTableWidgetVoltageList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ChargingPages::fitSections(*form->m_pTableWidgetVoltageList->horizontalHeader());
}

MonomerVoltageWidget::~MonomerVoltageWidget() = default;

void MonomerVoltageWidget::updateBMV(const QVector<CellVoltage> &cells)
{
    QTableWidget *table = form->m_pTableWidgetVoltageList;
    const auto volts = [](const CellVoltage &cell) { return trimmedNumber(cell.count * 0.01); };
    if (table->rowCount() == 0) {
        table->setRowCount(cells.size());
        for (int i = 0; i < cells.size(); ++i) {
            table->setItem(i, NumberColumn, new QTableWidgetItem(QString::number(i + 1)));
            table->setItem(i, GroupColumn, new QTableWidgetItem(QString::number(cells[i].group)));
            table->setItem(i, VoltageColumn, new QTableWidgetItem(volts(cells[i])));
        }
        return;
    }
    const int rows = qMin(cells.size(), table->rowCount());
    for (int i = 0; i < rows; ++i)
        table->item(i, VoltageColumn)->setText(volts(cells[i]));
}

void MonomerVoltageWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        ChargingPages::fitSections(*form->m_pTableWidgetVoltageList->horizontalHeader());
    }
    QWidget::changeEvent(event);
}
