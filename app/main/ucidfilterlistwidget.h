// The ID filter dialog's rule table: a table without row headers.
#pragma once

#include <QTableWidget>

class UcIdFilterListWidget : public QTableWidget
{
    Q_OBJECT

public:
    explicit UcIdFilterListWidget(QWidget *parent = nullptr);
};
