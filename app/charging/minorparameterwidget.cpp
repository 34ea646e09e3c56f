#include "minorparameterwidget.h"

#include "busstatusledwidget.h"
#include "chargingpages.h"
#include "ui_minorparameterwidget.h"

#include <QBoxLayout>
#include <QEvent>

namespace {

// At least; wider where a text needs it.
constexpr int kLeftLabelWidth = 300;
constexpr int kRightLabelWidth = 200;
constexpr int kFieldWidth = 60;

// Cells and test points are numbered from 1 on the page, from 0 in the
// message.
QString numberFromOne(quint8 sent)
{
    return QString::number(int(sent) + 1);
}

// A two-bit state of a value that can be too high (1) or too low (2): 0
// green, 1 and 2 red; 3 leaves the lamp as it is.
void showLevelCode(BusStatusLEDWidget &lamp, quint8 code)
{
    if (code == 2)
        lamp.state = BusStatusLEDWidget::Red;
    else
        ChargingPages::showStatusCode(lamp, code);
}

} // namespace

MinorParameterWidget::MinorParameterWidget(QWidget *parent)
    : QWidget(parent), form(std::make_unique<Ui::MinorParameterWidget>())
{
    form->setupUi(this);
    const Ui::MinorParameterWidget &f = *form;
    using ChargingPages::Value;
    ChargingPages::fitFields({f.m_pLineEditMaxVoltageSN, f.m_pLineEditMaxMonomerTemperature,
                              f.m_pLineEditMaxTemperatureSN, f.m_pLineEditMinMonomerTemperature,
                              f.m_pLineEditMinTemperatureSN},
                             ChargingPages::widestTexts({Value::Byte, Value::Celsius}), kFieldWidth);
    for (BusStatusLEDWidget *lamp : {f.m_pWidgetVoltageStatus, f.m_pWidgetChargeStatusSOC, f.m_pWidgetCurrentStatus,
                                     f.m_pWidgetTemperatureStatus, f.m_pWidgetInsulationStatus,
                                     f.m_pWidgetOutputlinkerStatus, f.m_pWidgetAllowCharge})
        lamp->setIconSize(ChargingPages::LampSize);

    QVBoxLayout *left = ChargingPages::column({{f.label_7, f.m_pLineEditMaxVoltageSN},
                                               {f.label_2, f.m_pLineEditMaxMonomerTemperature},
                                               {f.label_5, f.m_pLineEditMaxTemperatureSN},
                                               {f.label_8, f.m_pLineEditMinMonomerTemperature},
                                               {f.label_11, f.m_pLineEditMinTemperatureSN}},
                                              false);
    QVBoxLayout *right = ChargingPages::column({{f.label_13, f.m_pWidgetVoltageStatus},
                                                {f.label_14, f.m_pWidgetChargeStatusSOC},
                                                {f.label_15, f.m_pWidgetCurrentStatus},
                                                {f.label_16, f.m_pWidgetTemperatureStatus},
                                                {f.label_17, f.m_pWidgetInsulationStatus},
                                                {f.label_18, f.m_pWidgetOutputlinkerStatus},
                                                {f.label_19, f.m_pWidgetAllowCharge}},
                                               false);
    ChargingPages::setColumns(*this, left, 5, right, 15);
    showTemperatureUnits();
    applyLabelWidths();
}

void MinorParameterWidget::applyLabelWidths()
{
    const Ui::MinorParameterWidget &f = *form;
    ChargingPages::fitLabels({f.label_7, f.label_2, f.label_5, f.label_8, f.label_11}, kLeftLabelWidth);
    ChargingPages::fitLabels({f.label_13, f.label_14, f.label_15, f.label_16, f.label_17, f.label_18, f.label_19},
                             kRightLabelWidth);
}

void MinorParameterWidget::showTemperatureUnits()
{
    for (QLabel *label : {form->label_2, form->label_8})
        label->setText(ChargingPages::withCelsius(label->text(), label->font()));
}

MinorParameterWidget::~MinorParameterWidget() = default;

void MinorParameterWidget::updateBSM(const BsmRecord &bsm)
{
    const Ui::MinorParameterWidget &f = *form;
    f.m_pLineEditMaxVoltageSN->setText(numberFromOne(bsm.maxVoltageCell));
    f.m_pLineEditMaxMonomerTemperature->setText(QString::number(bsm.maxTemperature));
    f.m_pLineEditMaxTemperatureSN->setText(numberFromOne(bsm.maxTemperaturePoint));
    f.m_pLineEditMinMonomerTemperature->setText(QString::number(bsm.minTemperature));
    f.m_pLineEditMinTemperatureSN->setText(numberFromOne(bsm.minTemperaturePoint));
    // Cell voltage and state of charge: 1 too high, 2 too low, both faults.
    showLevelCode(*f.m_pWidgetVoltageStatus, bsm.cellVoltageState);
    showLevelCode(*f.m_pWidgetChargeStatusSOC, bsm.stateOfChargeState);
    ChargingPages::showStatusCode(*f.m_pWidgetCurrentStatus, bsm.currentState);
    ChargingPages::showStatusCode(*f.m_pWidgetTemperatureStatus, bsm.temperatureState);
    ChargingPages::showStatusCode(*f.m_pWidgetInsulationStatus, bsm.insulationState);
    ChargingPages::showStatusCode(*f.m_pWidgetOutputlinkerStatus, bsm.connectorState);
    // Green means allowed here; codes 2 and 3 leave the lamp alone.
    if (bsm.chargingAllowed == 0)
        f.m_pWidgetAllowCharge->state = BusStatusLEDWidget::Red;
    else if (bsm.chargingAllowed == 1)
        f.m_pWidgetAllowCharge->state = BusStatusLEDWidget::Green;
    update();
}

void MinorParameterWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        showTemperatureUnits();
        applyLabelWidths();
    }
    QWidget::changeEvent(event);
}
