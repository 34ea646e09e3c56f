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

QVBoxLayout *column(std::initializer_list<Row> rows, bool stretch)
{
    auto *box = new QVBoxLayout;
    box->addSpacing(10);
    addRows(*box, rows, stretch);
    box->addStretch();
    return box;
}

void setColumns(QWidget &page, QLayout *left, int gap, QLayout *right, int leading)
{
    auto *box = new QHBoxLayout(&page);
    box->addSpacing(leading);
    box->addLayout(left);
    box->addSpacing(gap);
    box->addLayout(right);
    box->addStretch();
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
