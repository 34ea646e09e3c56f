#include "chargeerrorwidget.h"

#include "busstatusledwidget.h"
#include "chargingpages.h"
#include "uilanguage.h"
#include "ui_chargeerrorwidget.h"

#include <QBoxLayout>
#include <QEvent>

namespace {

// Label widths of the BEM rows and the CEM rows, at least; wider where a
// text needs it.
constexpr int kChineseBemWidth = 220;
constexpr int kChineseCemWidth = 160;
constexpr int kOtherBemWidth = 371;
constexpr int kOtherCemWidth = 240;

} // namespace

ChargeErrorWidget::ChargeErrorWidget(QWidget *parent)
    : QWidget(parent), form(std::make_unique<Ui::ChargeErrorWidget>())
{
    form->setupUi(this);
    const Ui::ChargeErrorWidget &f = *form;
    lamps = {f.m_pWidgetChargeIdentificate00, f.m_pWidgetChargeIdentificateaa, f.m_pWidgetTimeSync,
             f.m_pWidgetChargeIsReady,        f.m_pWidgetChargeStatus,         f.m_pWidgetChargeStop,
             f.m_pWidgetChargeStatistics,     f.m_pWidgetBMSCarId,             f.m_pWidgetBMSCarId_2,
             f.m_pWidgetBMSIsReady,           f.m_pWidgetTotalState,           f.m_pWidgetChargeRequire,
             f.m_pWidgetBMSStopCharge,        f.m_pWidgetBMSStatistics};

    QVBoxLayout *left = ChargingPages::column({{f.label, f.m_pWidgetChargeIdentificate00},
                                               {f.label_2, f.m_pWidgetChargeIdentificateaa},
                                               {f.label_3, f.m_pWidgetTimeSync},
                                               {f.label_4, f.m_pWidgetChargeIsReady},
                                               {f.label_5, f.m_pWidgetChargeStatus},
                                               {f.label_6, f.m_pWidgetChargeStop},
                                               {f.label_7, f.m_pWidgetChargeStatistics}},
                                              true);
    QVBoxLayout *right = ChargingPages::column({{f.label_8, f.m_pWidgetBMSCarId},
                                                {f.label_9, f.m_pWidgetBMSCarId_2},
                                                {f.label_10, f.m_pWidgetBMSIsReady},
                                                {f.label_11, f.m_pWidgetTotalState},
                                                {f.label_12, f.m_pWidgetChargeRequire},
                                                {f.label_13, f.m_pWidgetBMSStopCharge},
                                                {f.label_14, f.m_pWidgetBMSStatistics}},
                                               true);
    ChargingPages::setColumns(*this, left, 15, right);

    adjustLabelWidths();
    for (BusStatusLEDWidget *lamp : lamps)
        lamp->setIconSize(ChargingPages::LampSize);
}

ChargeErrorWidget::~ChargeErrorWidget() = default;

void ChargeErrorWidget::showCodes(const TimeoutCodes &report, int firstLamp)
{
    for (int i = 0; i < TimeoutCodes::Count; ++i)
        ChargingPages::showStatusCode(*lamps[firstLamp + i], report.codes[i]);
    update();
}

void ChargeErrorWidget::updateBEM(const TimeoutCodes &bem)
{
    showCodes(bem, 0);
}

void ChargeErrorWidget::updateCEM(const TimeoutCodes &cem)
{
    showCodes(cem, TimeoutCodes::Count);
}

void ChargeErrorWidget::adjustLabelWidths()
{
    const bool chinese = UiLanguage::code() == UiLanguage::Chinese;
    const Ui::ChargeErrorWidget &f = *form;
    ChargingPages::fitLabels({f.label, f.label_2, f.label_3, f.label_4, f.label_5, f.label_6, f.label_7},
                             chinese ? kChineseBemWidth : kOtherBemWidth);
    ChargingPages::fitLabels({f.label_8, f.label_9, f.label_10, f.label_11, f.label_12, f.label_13, f.label_14},
                             chinese ? kChineseCemWidth : kOtherCemWidth);
}

void ChargeErrorWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        adjustLabelWidths();
    }
    QWidget::changeEvent(event);
}
