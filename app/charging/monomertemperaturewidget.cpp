#include "monomertemperaturewidget.h"

#include "chargingpages.h"
#include "ui_monomertemperaturewidget.h"

#include <QBoxLayout>
#include <QEvent>
#include <QHeaderView>

MonomerTemperatureWidget::MonomerTemperatureWidget(QWidget *parent)
    : QWidget(parent), form(std::make_unique<Ui::MonomerTemperatureWidget>())
{
    form->setupUi(this);
    auto *page = new QVBoxLayout(this);
    page->addWidget(form->m_pTableWidgetTemperature);
    showHeader();
}

void MonomerTemperatureWidget::showHeader()
{
    QTableWidget *table = form->m_pTableWidgetTemperature;
    if (QTableWidgetItem *header = table->horizontalHeaderItem(TemperatureColumn))
        header->setText(ChargingPages::withCelsius(header->text(), table->horizontalHeader()->font()));
    ChargingPages::fitSections(*table->horizontalHeader());
}

MonomerTemperatureWidget::~MonomerTemperatureWidget() = default;

void MonomerTemperatureWidget::updateBMT(const QVector<qint16> &temperatures)
{
    QTableWidget *table = form->m_pTableWidgetTemperature;
    if (table->rowCount() == 0) {
        table->setRowCount(temperatures.size());
        for (int i = 0; i < temperatures.size(); ++i) {
            table->setItem(i, NumberColumn, new QTableWidgetItem(QString::number(i + 1)));
            // Sampling points count from 1, as the battery status numbers its test points.
            table->setItem(i, PointColumn, new QTableWidgetItem(QString::number(i + 1)));
            table->setItem(i, TemperatureColumn, new QTableWidgetItem(QString::number(temperatures[i])));
        }
        return;
    }
    const int rows = qMin(temperatures.size(), table->rowCount());
    for (int i = 0; i < rows; ++i)
        table->item(i, TemperatureColumn)->setText(QString::number(temperatures[i]));
}

void MonomerTemperatureWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        showHeader();
    }
    QWidget::changeEvent(event);
}
