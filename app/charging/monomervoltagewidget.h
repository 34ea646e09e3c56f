// The "Monomer voltage" page of the charging window: the cell voltages of
// BMV as a table of number, group and voltage. The first BMV with cells
// sets the row count; later ones change only the voltages of the rows they
// reach. GUI thread only.
#pragma once

#include "batterystatusmessages.h"

#include <QWidget>

#include <memory>

namespace Ui {
class MonomerVoltageWidget;
}

class MonomerVoltageWidget : public QWidget
{
    Q_OBJECT

public:
    enum Column { NumberColumn, GroupColumn, VoltageColumn };

    explicit MonomerVoltageWidget(QWidget *parent = nullptr);
    ~MonomerVoltageWidget() override;

    void updateBMV(const QVector<CellVoltage> &cells);

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::MonomerVoltageWidget> form;
};
