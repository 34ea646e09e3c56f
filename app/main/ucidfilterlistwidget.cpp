#include "ucidfilterlistwidget.h"

#include <QHeaderView>

UcIdFilterListWidget::UcIdFilterListWidget(QWidget *parent) : QTableWidget(parent)
{
    verticalHeader()->hide();
}
