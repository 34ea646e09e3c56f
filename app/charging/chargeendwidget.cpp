#include "chargeendwidget.h"

#include "chargingpages.h"
#include "trimzeros.h"
#include "uilanguage.h"
#include "ui_chargeendwidget.h"

#include <QBoxLayout>
#include <QEvent>

namespace {

// Widths at least; wider where a text needs it.
constexpr int kFieldWidth = 70;
// Labels of the BSD rows and the CSD rows.
constexpr int kChineseBsdWidth = 105;
constexpr int kChineseCsdWidth = 100;
constexpr int kOtherBsdWidth = 160;
constexpr int kOtherCsdWidth = 145;

} // namespace

ChargeEndWidget::ChargeEndWidget(QWidget *parent) : QWidget(parent), form(std::make_unique<Ui::ChargeEndWidget>())
{
    form->setupUi(this);
    const Ui::ChargeEndWidget &f = *form;
    using ChargingPages::Value;
    ChargingPages::fitFields({f.m_pLineEditStaopChargeStatus, f.m_pLineEditMaxmonomerVoltage,
                              f.m_pLineEditMinMonomerVoltage, f.m_pLineEditMaxTemperature,
                              f.m_pLineEditMinTemperature},
                             ChargingPages::widestTexts({Value::Byte, Value::Hundredths, Value::Celsius}), kFieldWidth);
    ChargingPages::fitFields({f.m_pLineEditChargeTime, f.m_pLineEditOutputEnergy, f.m_pLineEditChargeSN},
                             ChargingPages::widestTexts({Value::Word, Value::Tenths, Value::Long}), kFieldWidth);

    QVBoxLayout *left = ChargingPages::column({{f.label, f.m_pLineEditStaopChargeStatus},
                                               {f.label_2, f.m_pLineEditMaxmonomerVoltage},
                                               {f.label_3, f.m_pLineEditMinMonomerVoltage},
                                               {f.label_4, f.m_pLineEditMaxTemperature},
                                               {f.label_5, f.m_pLineEditMinTemperature}},
                                              false);
    QVBoxLayout *right = ChargingPages::column({{f.label_6, f.m_pLineEditChargeTime},
                                                {f.label_7, f.m_pLineEditOutputEnergy},
                                                {f.label_8, f.m_pLineEditChargeSN}},
                                               true);
    ChargingPages::setColumns(*this, left, 5, right);
    adjustLabelWidths();
}

ChargeEndWidget::~ChargeEndWidget() = default;

void ChargeEndWidget::updateBSD(const BsdRecord &bsd)
{
    form->m_pLineEditStaopChargeStatus->setText(QString::number(bsd.stateOfCharge));
    form->m_pLineEditMaxmonomerVoltage->setText(trimmedNumber(bsd.maxCellVoltage));
    form->m_pLineEditMinMonomerVoltage->setText(trimmedNumber(bsd.minCellVoltage));
    form->m_pLineEditMaxTemperature->setText(QString::number(bsd.maxTemperature));
    form->m_pLineEditMinTemperature->setText(QString::number(bsd.minTemperature));
}

void ChargeEndWidget::updateCSD(const CsdRecord &csd)
{
    form->m_pLineEditChargeTime->setText(QString::number(csd.chargingTime));
    form->m_pLineEditOutputEnergy->setText(trimmedNumber(csd.outputEnergy));
    form->m_pLineEditChargeSN->setText(QString::number(csd.chargerNumber));
}

void ChargeEndWidget::adjustLabelWidths()
{
    const bool chinese = UiLanguage::code() == UiLanguage::Chinese;
    const Ui::ChargeEndWidget &f = *form;
    ChargingPages::fitLabels({f.label, f.label_2, f.label_3, f.label_4, f.label_5},
                             chinese ? kChineseBsdWidth : kOtherBsdWidth);
    ChargingPages::fitLabels({f.label_6, f.label_7, f.label_8}, chinese ? kChineseCsdWidth : kOtherCsdWidth);
}

void ChargeEndWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        adjustLabelWidths();
    }
    QWidget::changeEvent(event);
}
