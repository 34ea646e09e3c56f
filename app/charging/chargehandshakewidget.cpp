#include "chargehandshakewidget.h"

#include "chargingpages.h"
#include "trimzeros.h"
#include "ui_chargehandshakewidget.h"
#include "uilanguage.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

// At least; wider where a value in the language in force needs it.
constexpr int BatteryFieldWidth = 230;

// Battery types in the table, 255 the last.
constexpr quint8 BatteryTypes[] = {1, 2, 3, 4, 5, 6, 7, 8, 0xFF};

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
    using ChargingPages::Value;
    const bool chinese = UiLanguage::code() == UiLanguage::Chinese;
    const Ui::ChargeHandshakeWidget &f = *form;
    ChargingPages::fitLabels({f.label, f.label_2, f.label_3}, chinese ? 85 : 170);
    ChargingPages::fitLabels({f.label_4, f.label_5, f.label_6}, chinese ? 70 : 105);
    ChargingPages::fitLabels({f.label_7, f.label_8, f.label_9, f.label_10, f.label_11, f.label_12, f.label_13,
                              f.label_14, f.label_15, f.label_16},
                             chinese ? 70 : 140);

    // The protocol version as the window writes CHM's two numbers.
    f.m_pLineEditProtocolVer->setMinimumWidth(
            ChargingPages::fieldWidthFor(*f.m_pLineEditProtocolVer, {QStringLiteral("V%1.%2").arg(0xFFFF).arg(0xFF)}));
    const int recognition = ChargingPages::fieldWidthFor(
            *f.m_pLineEditChargeNum, ChargingPages::widestTexts({Value::Long}) << ChargingPages::widestLetters(3));
    for (QLineEdit *field : {f.m_pLineEditChargeNum, f.m_pLineEditAreaCode})
        field->setMinimumWidth(recognition);

    // A provided field holds at least one byte that is not 0xFF.
    QStringList battery = ChargingPages::widestTexts({Value::Tenths, Value::Long});
    battery << ChargingPages::widestLetters(4) << ChargingPages::widestLetters(17)
            << dateText(0xFE + 1985, 0xFE, 0xFE) << QString::number(0xFFFFFF) << propertyText(true)
            << propertyText(false) << versionText(0xFE, 0xFFFF, 0xFF, 0xFF);
    for (quint8 code : BatteryTypes)
        battery << batteryTypeText(code);
    const int batteryWidth = std::max(BatteryFieldWidth, ChargingPages::fieldWidthFor(*f.m_pLineEditBatteryType, battery));
    for (QLineEdit *field : {f.m_pLineEditBatteryType, f.m_pLineEditRateCapcity, f.m_pLineEditRateVoltage,
                             f.m_pLineEditManufacturer, f.m_pLineEditBatterySN, f.m_pLineEditBatteryPD,
                             f.m_pLineEditBatteryCT, f.m_pLineEditBatteryPR, f.m_pLineEditVIN, f.m_pLineEditVersion})
        field->setMinimumWidth(batteryWidth);
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

QString ChargeHandshakeWidget::dateText(int year, int month, int day)
{
    return QString::asprintf("%d-%d-%d", year, month, day);
}

void ChargeHandshakeWidget::setProductionDate(int year, int month, int day)
{
    form->m_pLineEditBatteryPD->setText(dateText(year, month, day));
}

void ChargeHandshakeWidget::setChargeCount(quint32 count)
{
    form->m_pLineEditBatteryCT->setText(QString::number(count));
}

QString ChargeHandshakeWidget::propertyText(bool ownedByCar)
{
    return ownedByCar ? tr("Car own") : tr("Lease");
}

void ChargeHandshakeWidget::setPropertyRight(bool ownedByCar)
{
    propertyRight = ownedByCar;
    form->m_pLineEditBatteryPR->setText(propertyText(ownedByCar));
}

void ChargeHandshakeWidget::setVIN(const QString &text)
{
    form->m_pLineEditVIN->setText(text);
}

QString ChargeHandshakeWidget::versionText(quint8 serial, quint16 year, quint8 month, quint8 day)
{
    return QString::asprintf("%d-%d-%d %d", year, month, day, serial);
}

void ChargeHandshakeWidget::setBmsVersion(quint8 serial, quint16 year, quint8 month, quint8 day)
{
    form->m_pLineEditVersion->setText(versionText(serial, year, month, day));
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
