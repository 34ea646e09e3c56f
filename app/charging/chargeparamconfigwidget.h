// Tab "Charge param config" of the charging window: the battery's charging
// limits and state (BCP), the charger's time (CTS) and output limits (CML),
// and the ready lamps of BMS (BRO) and charger (CRO). The window's
// dispatcher fills it through the setters; fields keep their last values.
// GUI thread only.
#pragma once

#include "paramconfigmessages.h"

#include <QWidget>

#include <memory>

namespace Ui {
class ChargeParamConfigWidget;
}

class ChargeParamConfigWidget : public QWidget
{
    Q_OBJECT

public:
    // The parent is not used: the window's tab widget adopts the page.
    explicit ChargeParamConfigWidget(QWidget *parent = nullptr);
    ~ChargeParamConfigWidget() override;

    void setBatteryParameters(const BcpRecord &bcp);
    void setTimeSync(const CtsRecord &cts);
    // Volts and amperes.
    void setChargerLimits(double maxVoltage, double minVoltage, double maxCurrent, double minCurrent);
    // Lamp green for the ready code 0xAA, grey for anything else.
    void setBmsReady(int code);
    void setChargerReady(int code);

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildLayout();
    void applyLanguageWidths();
    static QString timeText(const CtsRecord &cts);
    // The temperature label's unit in a form its face can draw.
    void showTemperatureUnit();

    std::unique_ptr<Ui::ChargeParamConfigWidget> form;
};
