#include "chargingpages.h"

#include "busstatusledwidget.h"

#include <QBoxLayout>

namespace ChargingPages {

void addRows(QVBoxLayout &column, std::initializer_list<Row> rows, bool stretch)
{
    for (const Row &row : rows) {
        auto *line = new QHBoxLayout;
        line->addWidget(row.label);
        line->addWidget(row.field);
        if (stretch)
            line->addStretch();
        column.addLayout(line);
    }
}

void setFixedWidths(std::initializer_list<QWidget *> widgets, int width)
{
    for (QWidget *widget : widgets)
        widget->setFixedWidth(width);
}

void showStatusCode(BusStatusLEDWidget &lamp, quint8 code)
{
    switch (code) {
    case 0:
        lamp.state = BusStatusLEDWidget::Green;
        break;
    case 1:
        lamp.state = BusStatusLEDWidget::Red;
        break;
    case 2:
        lamp.state = BusStatusLEDWidget::Off;
        break;
    default:
        break;
    }
}

} // namespace ChargingPages
