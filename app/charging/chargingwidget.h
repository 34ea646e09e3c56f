// The "Charging" page of the charging window: the battery's demand (BCL)
// and state (BCS), the charger's state (CCS) and both sides' stop messages
// (BST, CST) as texts. Each update replaces the texts of its own rows and
// keeps them until the same message comes again. GUI thread only.
#pragma once

#include "chargingmessages.h"

#include <QWidget>

#include <memory>

namespace Ui {
class ChargingWidget;
}

class ChargingWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ChargingWidget(QWidget *parent = nullptr);
    ~ChargingWidget() override;

    void updateBCL(const BclRecord &bcl);
    void updateBCS(const BcsRecord &bcs);
    void updateCCS(const CcsRecord &ccs);
    void updateBST(const StopStatusRecord &bst);
    void updateCST(const StopStatusRecord &cst);

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::ChargingWidget> form;
};
