// The "Error message" page of the charging window: one lamp per message
// that the BMS (BEM) or the charger (CEM) reports as received in time
// (green), timed out (red) or not credible (grey). Lamps keep their state
// until the next report of their side. GUI thread only.
#pragma once

#include "chargeerrormessages.h"

#include <QWidget>

#include <array>
#include <memory>

class BusStatusLEDWidget;

namespace Ui {
class ChargeErrorWidget;
}

class ChargeErrorWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ChargeErrorWidget(QWidget *parent = nullptr);
    ~ChargeErrorWidget() override;

    // Rows 1-7, the charger's messages.
    void updateBEM(const TimeoutCodes &bem);
    // Rows 8-14, the BMS's messages.
    void updateCEM(const TimeoutCodes &cem);
    // Label widths of the language in force (UiLanguage::code()).
    void adjustLabelWidths();

protected:
    void changeEvent(QEvent *event) override;

private:
    void showCodes(const TimeoutCodes &report, int firstLamp);

    std::unique_ptr<Ui::ChargeErrorWidget> form;
    // The form's lamps in row order.
    std::array<BusStatusLEDWidget *, 2 * TimeoutCodes::Count> lamps{};
};
