#include "chargehandshakewidget.h"

#include "chargingpages.h"
#include "trimzeros.h"
#include "ui_chargehandshakewidget.h"
#include "uilanguage.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <iterator>

namespace {

// Wide enough for a VIN and the longest battery type.
constexpr int BatteryFieldWidth = 230;

// A lamp beside its label, then space up to where the column's fields start.
QHBoxLayout *lampRow(QWidget *label, QWidget *lamp, int space)
{
    auto *layout = new QHBoxLayout;
    layout->addWidget(label);
    layout->addWidget(lamp);
    layout->addSpacing(space);
    layout->addStretch();
    return layout;
}

} // namespace

ChargeHandshakeWidget::ChargeHandshakeWidget(QWidget *)
    : QWidget(nullptr), form(std::make_unique<Ui::ChargeHandshakeWidget>())
{
    form->setupUi(this);
    for (BusStatusLEDWidget *lamp :
         {form->m_pWidgetChargePileHandshake, form->m_pWidgetBMSHandshake, form->m_pWidgetBMSRecognize})
        lamp->setIconSize(ChargingPages::LampSize);
    for (QLineEdit *field : {form->m_pLineEditBatteryType, form->m_pLineEditRateCapcity, form->m_pLineEditRateVoltage,
                             form->m_pLineEditManufacturer, form->m_pLineEditBatterySN, form->m_pLineEditBatteryPD,
                             form->m_pLineEditBatteryCT, form->m_pLineEditBatteryPR, form->m_pLineEditVIN,
                             form->m_pLineEditVersion})
        field->setMinimumWidth(BatteryFieldWidth);
    buildLayout();
    applyLanguageWidths();
    connect(&handshakeTimer, &QTimer::timeout, this, &ChargeHandshakeWidget::onUpdateHandshakeStatusDisabled);
    handshakeTimer.start(HandshakeTimeout);
}

ChargeHandshakeWidget::~ChargeHandshakeWidget()
{
    handshakeTimer.stop();
}

void ChargeHandshakeWidget::buildLayout()
{
    Ui::ChargeHandshakeWidget &f = *form;
    auto *first = new QVBoxLayout;
    first->addSpacing(10);
    first->addLayout(lampRow(f.label, f.m_pWidgetChargePileHandshake, 70));
    first->addLayout(lampRow(f.label_2, f.m_pWidgetBMSHandshake, 70));
    ChargingPages::addRows(*first, {{f.label_3, f.m_pLineEditProtocolVer}}, false);
    first->addStretch();

    auto *second = new QVBoxLayout;
    second->addSpacing(10);
    second->addLayout(lampRow(f.label_4, f.m_pWidgetBMSRecognize, 68));
    ChargingPages::addRows(*second, {{f.label_5, f.m_pLineEditChargeNum}, {f.label_6, f.m_pLineEditAreaCode}}, false);
    second->addStretch();

    QVBoxLayout *third = ChargingPages::column({{f.label_7, f.m_pLineEditBatteryType},
                                                {f.label_8, f.m_pLineEditRateCapcity},
                                                {f.label_9, f.m_pLineEditRateVoltage},
                                                {f.label_10, f.m_pLineEditManufacturer},
                                                {f.label_11, f.m_pLineEditBatterySN},
                                                {f.label_12, f.m_pLineEditBatteryPD},
                                                {f.label_13, f.m_pLineEditBatteryCT},
                                                {f.label_14, f.m_pLineEditBatteryPR},
                                                {f.label_15, f.m_pLineEditVIN},
                                                {f.label_16, f.m_pLineEditVersion}},
                                               false);

    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addSpacing(10);
    columns->addLayout(first);
    columns->addSpacing(5);
    columns->addLayout(second);
    columns->addSpacing(5);
    columns->addLayout(third);
    columns->addStretch();
}

void ChargeHandshakeWidget::applyLanguageWidths()
{
    const bool chinese = UiLanguage::code() == UiLanguage::Chinese;
    const Ui::ChargeHandshakeWidget &f = *form;
    ChargingPages::setFixedWidths({f.label, f.label_2, f.label_3}, chinese ? 85 : 170);
    ChargingPages::setFixedWidths({f.label_4, f.label_5, f.label_6}, chinese ? 70 : 105);
    ChargingPages::setFixedWidths({f.label_7, f.label_8, f.label_9, f.label_10, f.label_11, f.label_12, f.label_13,
                                   f.label_14, f.label_15, f.label_16},
                                  chinese ? 70 : 140);
}

void ChargeHandshakeWidget::setChargerHandshake()
{
    form->m_pWidgetChargePileHandshake->setState(BusStatusLEDWidget::Green);
}

void ChargeHandshakeWidget::setBmsHandshake()
{
    form->m_pWidgetBMSHandshake->setState(BusStatusLEDWidget::Green);
}

void ChargeHandshakeWidget::setBmsRecognize(int state)
{
    form->m_pWidgetBMSRecognize->setState(state);
}

void ChargeHandshakeWidget::setProtocolVersion(const QString &text)
{
    form->m_pLineEditProtocolVer->setText(text);
}

void ChargeHandshakeWidget::setChargerNumber(quint32 number)
{
    form->m_pLineEditChargeNum->setText(QString::number(number));
}

void ChargeHandshakeWidget::setAreaCode(const QString &text)
{
    form->m_pLineEditAreaCode->setText(text);
}

QString ChargeHandshakeWidget::batteryTypeText(quint8 code)
{
    static const char *const texts[] = {
            nullptr,
            QT_TR_NOOP("Lead-acid battery"),
            QT_TR_NOOP("NiMH battery"),
            QT_TR_NOOP("Lithium iron phosphate battery"),
            QT_TR_NOOP("Lithium manganate battery"),
            QT_TR_NOOP("Lithium cobalt oxide battery"),
            QT_TR_NOOP("Ternary material battery"),
            QT_TR_NOOP("Polymer li-ion battery"),
            QT_TR_NOOP("Lithium titanate battery"),
    };
    if (code == 0xFF)
        return tr("Other battery");
    if (code >= std::size(texts) || !texts[code])
        return QString();
    return tr(texts[code]);
}

void ChargeHandshakeWidget::setBatteryType(quint8 code)
{
    batteryType = code;
    form->m_pLineEditBatteryType->setText(batteryTypeText(code));
}

void ChargeHandshakeWidget::setRatedCapacity(double ampereHours)
{
    form->m_pLineEditRateCapcity->setText(trimmedNumber(ampereHours));
}

void ChargeHandshakeWidget::setRatedVoltage(double volts)
{
    form->m_pLineEditRateVoltage->setText(trimmedNumber(volts));
}

void ChargeHandshakeWidget::setManufacturer(const QString &text)
{
    form->m_pLineEditManufacturer->setText(text);
}

void ChargeHandshakeWidget::setBatterySN(const QString &text)
{
    form->m_pLineEditBatterySN->setText(text);
}

void ChargeHandshakeWidget::setProductionDate(int year, int month, int day)
{
    form->m_pLineEditBatteryPD->setText(QString::asprintf("%d-%d-%d", year, month, day));
}

void ChargeHandshakeWidget::setChargeCount(quint32 count)
{
    form->m_pLineEditBatteryCT->setText(QString::number(count));
}

void ChargeHandshakeWidget::setPropertyRight(bool ownedByCar)
{
    propertyRight = ownedByCar;
    form->m_pLineEditBatteryPR->setText(ownedByCar ? tr("Car own") : tr("Lease"));
}

void ChargeHandshakeWidget::setVIN(const QString &text)
{
    form->m_pLineEditVIN->setText(text);
}

void ChargeHandshakeWidget::setBmsVersion(quint8 serial, quint16 year, quint8 month, quint8 day)
{
    form->m_pLineEditVersion->setText(QString::asprintf("%d-%d-%d %d", year, month, day, serial));
}

void ChargeHandshakeWidget::resetHandshake()
{
    form->m_pWidgetChargePileHandshake->setState(BusStatusLEDWidget::Off);
    form->m_pWidgetBMSHandshake->setState(BusStatusLEDWidget::Off);
}

void ChargeHandshakeWidget::clearField(OptionalField field)
{
    const Ui::ChargeHandshakeWidget &f = *form;
    switch (field) {
    case OptionalField::BatterySN:
        f.m_pLineEditBatterySN->clear();
        break;
    case OptionalField::ProductionDate:
        f.m_pLineEditBatteryPD->clear();
        break;
    case OptionalField::ChargeCount:
        f.m_pLineEditBatteryCT->clear();
        break;
    case OptionalField::PropertyRight:
        propertyRight.reset();
        f.m_pLineEditBatteryPR->clear();
        break;
    case OptionalField::BmsVersion:
        f.m_pLineEditVersion->clear();
        break;
    }
}

void ChargeHandshakeWidget::showDecodedTexts()
{
    if (batteryType)
        setBatteryType(*batteryType);
    if (propertyRight)
        setPropertyRight(*propertyRight);
}

void ChargeHandshakeWidget::onUpdateHandshakeStatusDisabled()
{
    resetHandshake();
}

void ChargeHandshakeWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        applyLanguageWidths();
        showDecodedTexts();
    }
    QWidget::changeEvent(event);
}
