#include "chargeparamconfigwidget.h"

#include "chargingpages.h"
#include "trimzeros.h"
#include "ui_chargeparamconfigwidget.h"
#include "uilanguage.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

constexpr int FieldWidth = 60;
constexpr int TimeFieldWidth = 140;
constexpr int RightLabelWidth = 160;

int lampState(int readyCode)
{
    return readyCode == ReadyCode ? BusStatusLEDWidget::Green : BusStatusLEDWidget::Off;
}

} // namespace

ChargeParamConfigWidget::ChargeParamConfigWidget(QWidget *)
    : QWidget(nullptr), form(std::make_unique<Ui::ChargeParamConfigWidget>())
{
    form->setupUi(this);
    Ui::ChargeParamConfigWidget &f = *form;
    for (BusStatusLEDWidget *lamp : {f.m_pWidgetBMSStatus, f.m_pWidgetChargepileStatus})
        lamp->setIconSize(ChargingPages::LampSize);
    using ChargingPages::Value;
    ChargingPages::fitFields({f.m_pLineEditMaxAllowVoltage, f.m_pLineEditMaxAllowCurrent, f.m_pLineEditTotalEnergy,
                              f.m_pLineEditMaxTotalVoltage, f.m_pLineEditMaxTemperature, f.m_pLineEditChargeState,
                              f.m_pLineEditCurrentVoltage, f.m_pLineEditMaxOutputVoltage,
                              f.m_pLineEditMinOutputVoltage, f.m_pLineEditMaxOutputCurrent,
                              f.m_pLineEditMinOutputCurrent},
                             ChargingPages::widestTexts({Value::Tenths, Value::Hundredths, Value::Current, Value::Celsius}),
                             FieldWidth);
    // CTS's bytes are read as BCD without a check: all 0xFF is the widest.
    ChargingPages::fitFields({f.m_pLineEditTime}, {timeText(*decodeCts(QByteArray(CtsRecord::Size, '\xFF')))},
                             TimeFieldWidth);
    buildLayout();
    applyLanguageWidths();
    showTemperatureUnit();
}

ChargeParamConfigWidget::~ChargeParamConfigWidget() = default;

void ChargeParamConfigWidget::buildLayout()
{
    Ui::ChargeParamConfigWidget &f = *form;
    QVBoxLayout *battery = ChargingPages::column({{f.label, f.m_pLineEditMaxAllowVoltage},
                                                  {f.label_2, f.m_pLineEditMaxAllowCurrent},
                                                  {f.label_3, f.m_pLineEditTotalEnergy},
                                                  {f.label_4, f.m_pLineEditMaxTotalVoltage},
                                                  {f.label_5, f.m_pLineEditMaxTemperature},
                                                  {f.label_6, f.m_pLineEditChargeState},
                                                  {f.label_7, f.m_pLineEditCurrentVoltage}},
                                                 true);
    QVBoxLayout *charger = ChargingPages::column({{f.label_9, f.m_pLineEditMaxOutputVoltage},
                                                  {f.label_10, f.m_pLineEditMinOutputVoltage},
                                                  {f.label_11, f.m_pLineEditMaxOutputCurrent},
                                                  {f.label_12, f.m_pLineEditMinOutputCurrent}},
                                                 true);
    auto *status = new QVBoxLayout;
    status->addSpacing(10);
    ChargingPages::addRows(*status, {{f.label_8, f.m_pLineEditTime}}, true);
    status->addSpacing(25);
    ChargingPages::addRows(*status, {{f.label_13, f.m_pWidgetBMSStatus}, {f.label_14, f.m_pWidgetChargepileStatus}},
                           true);
    status->addStretch();

    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addSpacing(10);
    columns->addLayout(battery);
    columns->addSpacing(5);
    columns->addLayout(charger);
    columns->addSpacing(5);
    columns->addLayout(status);
    columns->addStretch();
}

void ChargeParamConfigWidget::applyLanguageWidths()
{
    const bool chinese = UiLanguage::code() == UiLanguage::Chinese;
    const Ui::ChargeParamConfigWidget &f = *form;
    ChargingPages::fitLabels({f.label, f.label_2, f.label_3, f.label_4, f.label_5, f.label_6, f.label_7},
                             chinese ? 145 : 220);
    ChargingPages::fitLabels({f.label_9, f.label_10, f.label_11, f.label_12}, chinese ? 105 : RightLabelWidth);
    ChargingPages::fitLabels({f.label_8, f.label_13, f.label_14}, chinese ? 100 : RightLabelWidth);
}

void ChargeParamConfigWidget::showTemperatureUnit()
{
    form->label_5->setText(ChargingPages::withCelsius(form->label_5->text(), form->label_5->font()));
}

void ChargeParamConfigWidget::setBatteryParameters(const BcpRecord &bcp)
{
    Ui::ChargeParamConfigWidget &f = *form;
    f.m_pLineEditMaxAllowVoltage->setText(trimmedNumber(bcp.maxCellVoltage));
    f.m_pLineEditMaxAllowCurrent->setText(trimmedNumber(bcp.maxCurrent));
    f.m_pLineEditTotalEnergy->setText(trimmedNumber(bcp.nominalEnergy));
    f.m_pLineEditMaxTotalVoltage->setText(trimmedNumber(bcp.maxTotalVoltage));
    f.m_pLineEditMaxTemperature->setText(QString::number(bcp.maxTemperature));
    f.m_pLineEditChargeState->setText(trimmedNumber(bcp.stateOfCharge));
    f.m_pLineEditCurrentVoltage->setText(trimmedNumber(bcp.presentVoltage));
}

QString ChargeParamConfigWidget::timeText(const CtsRecord &cts)
{
    return QString::asprintf("%d-%d-%d %d:%d:%d", cts.year, cts.month, cts.day, cts.hour, cts.minute, cts.second);
}

void ChargeParamConfigWidget::setTimeSync(const CtsRecord &cts)
{
    form->m_pLineEditTime->setText(timeText(cts));
}

void ChargeParamConfigWidget::setChargerLimits(double maxVoltage, double minVoltage, double maxCurrent,
                                               double minCurrent)
{
    Ui::ChargeParamConfigWidget &f = *form;
    f.m_pLineEditMaxOutputVoltage->setText(trimmedNumber(maxVoltage));
    f.m_pLineEditMinOutputVoltage->setText(trimmedNumber(minVoltage));
    f.m_pLineEditMaxOutputCurrent->setText(trimmedNumber(maxCurrent));
    f.m_pLineEditMinOutputCurrent->setText(trimmedNumber(minCurrent));
}

void ChargeParamConfigWidget::setBmsReady(int code)
{
    form->m_pWidgetBMSStatus->setState(lampState(code));
}

void ChargeParamConfigWidget::setChargerReady(int code)
{
    form->m_pWidgetChargepileStatus->setState(lampState(code));
}

void ChargeParamConfigWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        applyLanguageWidths();
        showTemperatureUnit();
    }
    QWidget::changeEvent(event);
}
