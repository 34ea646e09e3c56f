// The "Minor parameter" page of the charging window: the battery status
// (BSM) as numbers and seven status lamps. Values keep until the next BSM.
// GUI thread only.
#pragma once

#include "batterystatusmessages.h"

#include <QWidget>

#include <memory>

namespace Ui {
class MinorParameterWidget;
}

class MinorParameterWidget : public QWidget
{
    Q_OBJECT

public:
    explicit MinorParameterWidget(QWidget *parent = nullptr);
    ~MinorParameterWidget() override;

    void updateBSM(const BsmRecord &bsm);

protected:
    void changeEvent(QEvent *event) override;

private:
    // The temperature labels' unit in a form their face can draw.
    void showTemperatureUnits();
    // Label widths that hold their texts in the language in force.
    void applyLabelWidths();

    std::unique_ptr<Ui::MinorParameterWidget> form;
};
