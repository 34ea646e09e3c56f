// The "Charging end" page of the charging window: the statistics of the
// BMS (BSD) and of the charger (CSD) at the end of a charge. Rows keep
// their last values. GUI thread only.
#pragma once

#include "chargeendmessages.h"

#include <QWidget>

#include <memory>

namespace Ui {
class ChargeEndWidget;
}

class ChargeEndWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ChargeEndWidget(QWidget *parent = nullptr);
    ~ChargeEndWidget() override;

    void updateBSD(const BsdRecord &bsd);
    void updateCSD(const CsdRecord &csd);
    // Label widths of the language in force (UiLanguage::code()).
    void adjustLabelWidths();

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::ChargeEndWidget> form;
};
