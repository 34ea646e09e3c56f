#include "chargingwidget.h"

#include "chargingpages.h"
#include "trimzeros.h"
#include "ui_chargingwidget.h"
#include "uilanguage.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include <algorithm>
#include <array>

namespace {

// At least; wider where a text in the language in force needs it.
constexpr int kStateLabelWidth = 132; // rows of BCL, BCS and CCS
constexpr int kStateFieldWidth = 60;
constexpr int kStopLabelWidth = 310; // rows of BST and CST; in Chinese as wide as their texts
constexpr int kStopFieldWidth = 300; // as wide as the longest single field text

// The texts of one two-bit status field: code 0, code 1, codes 2 and 3.
struct FieldTexts {
    const char *normal;
    const char *holds;
    const char *notCredible;
};

template <std::size_t N>
using Fields = std::array<FieldTexts, N>;

const Fields<4> kBstReasons{{
        {QT_TRANSLATE_NOOP("ChargingWidget", "The required SOC target value is not met"),
         QT_TRANSLATE_NOOP("ChargingWidget", "Achieve the required SOC target values"),
         QT_TRANSLATE_NOOP("ChargingWidget", "SoC target values are not trusted")},
        {QT_TRANSLATE_NOOP("ChargingWidget", "The total voltage set value is not reached"),
         QT_TRANSLATE_NOOP("ChargingWidget", "Reach the total voltage set value"),
         QT_TRANSLATE_NOOP("ChargingWidget", "The total voltage set value cannot be trusted")},
        {QT_TRANSLATE_NOOP("ChargingWidget", "The set value of the unit voltage is not reached"),
         QT_TRANSLATE_NOOP("ChargingWidget", "Reaches the set value of the single voltage"),
         QT_TRANSLATE_NOOP("ChargingWidget", "The unit voltage set value is not trusted")},
        {QT_TRANSLATE_NOOP("ChargingWidget", "The charger stopped normally"),
         QT_TRANSLATE_NOOP("ChargingWidget", "The charger receives a CST frame abort"),
         QT_TRANSLATE_NOOP("ChargingWidget", "Charger abort is not credible")},
}};

const Fields<8> kBstFaults{{
        {QT_TRANSLATE_NOOP("ChargingWidget", "Insulation is normal"),
         QT_TRANSLATE_NOOP("ChargingWidget", "insulation fault "),
         QT_TRANSLATE_NOOP("ChargingWidget", "Insulation unreliable")},
        {QT_TRANSLATE_NOOP("ChargingWidget", "Output connector temperature is normal"),
         QT_TRANSLATE_NOOP("ChargingWidget", "Output connector over-temperature"),
         QT_TRANSLATE_NOOP("ChargingWidget", "Output connector temperature is not trusted")},
        {QT_TRANSLATE_NOOP("ChargingWidget", "BMS original, output connector is normal"),
         QT_TRANSLATE_NOOP("ChargingWidget", "BMS original, output connector failure"),
         QT_TRANSLATE_NOOP("ChargingWidget", "BMS original, output connector is not trusted")},
        {QT_TRANSLATE_NOOP("ChargingWidget", "Charging connector is normal"),
         QT_TRANSLATE_NOOP("ChargingWidget", "Charging connector failure"),
         QT_TRANSLATE_NOOP("ChargingWidget", "Charging connector is not trusted")},
        {QT_TRANSLATE_NOOP("ChargingWidget", "Battery pack temperature is normal"),
         QT_TRANSLATE_NOOP("ChargingWidget", "Battery temperature failure"),
         QT_TRANSLATE_NOOP("ChargingWidget", "Battery pack temperature can not be trusted")},
        {QT_TRANSLATE_NOOP("ChargingWidget", "High voltage relay normal"),
         QT_TRANSLATE_NOOP("ChargingWidget", "High voltage relay fault"),
         QT_TRANSLATE_NOOP("ChargingWidget", "High voltage relays can't be trusted")},
        {QT_TRANSLATE_NOOP("ChargingWidget", "The voltage at monitoring point 2 is normal"),
         QT_TRANSLATE_NOOP("ChargingWidget", "Voltage failure at monitoring point 2"),
         QT_TRANSLATE_NOOP("ChargingWidget", "The voltage at monitoring point 2 cannot be trusted")},
        {QT_TRANSLATE_NOOP("ChargingWidget", "Other normal"), QT_TRANSLATE_NOOP("ChargingWidget", "Other fault"),
         QT_TRANSLATE_NOOP("ChargingWidget", "Others are not credible")},
}};

// These texts carry their own separators.
const Fields<2> kBstErrors{{
        {QT_TRANSLATE_NOOP("ChargingWidget", "The current normal"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";The current exceeds the demand value"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";The current cannot be trusted.")},
        {QT_TRANSLATE_NOOP("ChargingWidget", ";The voltage is normal"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";Abnormal voltage"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";Voltage untrustworthy")},
}};

const char *const kNormal = QT_TRANSLATE_NOOP("ChargingWidget", "normal");

const Fields<4> kCstReasons{{
        {kNormal, QT_TRANSLATE_NOOP("ChargingWidget", ";Stop when the set condition of the charger is reached"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";Reaching the set condition of the charger is not credible")},
        {kNormal, QT_TRANSLATE_NOOP("ChargingWidget", ";Artificial suspension"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";Artificial abort is not trusted")},
        {kNormal, QT_TRANSLATE_NOOP("ChargingWidget", ";Failure to suspend"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";Failure abort is not trusted")},
        {kNormal, QT_TRANSLATE_NOOP("ChargingWidget", ";BMS suspension"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";The BMS abort is not trusted")},
}};

// Bits 12-15 of the fault word are not shown.
const Fields<6> kCstFaults{{
        {QT_TRANSLATE_NOOP("ChargingWidget", "The charger temperature is normal"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";The charger is overheated"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";The temperature of the charger is not reliable")},
        {QT_TRANSLATE_NOOP("ChargingWidget", "The charger is connected properly"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";Charger connector malfunction"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";Charger connector is not trusted")},
        {QT_TRANSLATE_NOOP("ChargingWidget", "The internal temperature of the charger is normal"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";The internal temperature of the charger is too high"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";The internal temperature of the charger cannot be trusted")},
        {QT_TRANSLATE_NOOP("ChargingWidget", "Power transfer normal"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";Power cannot be transferred"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";The amount of electricity required is not credible")},
        {kNormal, QT_TRANSLATE_NOOP("ChargingWidget", ";The charger stopped abruptly"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";The sudden stop of the charger is not credible")},
        {kNormal, QT_TRANSLATE_NOOP("ChargingWidget", ";Other fault"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";Others are not credible")},
}};

const Fields<2> kCstErrors{{
        {QT_TRANSLATE_NOOP("ChargingWidget", "The current matching"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";Current mismatch"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";The current cannot be trusted")},
        {kNormal, QT_TRANSLATE_NOOP("ChargingWidget", ";Abnormal voltage"),
         QT_TRANSLATE_NOOP("ChargingWidget", ";Voltage untrustworthy")},
}};

QString fromCatalogue(const char *text)
{
    return QCoreApplication::translate("ChargingWidget", text);
}

// Field n of an item holds bits 2n and 2n+1.
int fieldCode(quint32 item, std::size_t field)
{
    return int(item >> (2 * field) & 0x03);
}

const char *fieldText(const FieldTexts &texts, int code)
{
    return code == 0 ? texts.normal : code == 1 ? texts.holds : texts.notCredible;
}

// A field's text without the separator it brings.
QString withoutSeparator(const char *text)
{
    QString line = fromCatalogue(text);
    if (line.startsWith(QLatin1Char(';')))
        line.remove(0, 1);
    return line;
}

// The text of every field joined by ';': the fields that are set first, so
// that a line cut by its field still shows why charging stopped, then the
// normal ones, each group in bit order.
template <std::size_t N>
QString setFieldsFirst(quint32 item, const Fields<N> &fields)
{
    QStringList set;
    QStringList normal;
    for (std::size_t n = 0; n < N; ++n) {
        const int code = fieldCode(item, n);
        (code == 0 ? normal : set) << withoutSeparator(fieldText(fields[n], code));
    }
    return (set + normal).join(QLatin1Char(';'));
}

// The texts of the fields that are set, joined by ';'; "normal" when none is.
template <std::size_t N>
QString setFields(quint32 item, const Fields<N> &fields)
{
    QStringList set;
    for (std::size_t n = 0; n < N; ++n) {
        const int code = fieldCode(item, n);
        if (code != 0)
            set << withoutSeparator(fieldText(fields[n], code));
    }
    return set.isEmpty() ? fromCatalogue(kNormal) : set.join(QLatin1Char(';'));
}

// BST: every field's text, in the catalogue in force.
QStringList bstLines(const StopStatusRecord &bst)
{
    return {setFieldsFirst(bst.reasons, kBstReasons), setFieldsFirst(bst.faults, kBstFaults),
            setFieldsFirst(bst.errors, kBstErrors)};
}

// CST: the texts of the fields that are set.
QStringList cstLines(const StopStatusRecord &cst)
{
    return {setFields(cst.reasons, kCstReasons), setFields(cst.faults, kCstFaults),
            setFields(cst.errors, kCstErrors)};
}

// The widest text of one field, so that a single set field shows whole.
template <std::size_t N>
int widestField(const QFontMetrics &metrics, const Fields<N> &fields)
{
    int widest = 0;
    for (const FieldTexts &texts : fields) {
        for (const char *text : {texts.normal, texts.holds, texts.notCredible})
            widest = std::max(widest, metrics.horizontalAdvance(withoutSeparator(text)));
    }
    return widest;
}

// Long texts are cut by their fields: show their beginning, and the whole
// line as the field's tool tip.
void showFromStart(QLineEdit *field, const QString &text)
{
    field->setText(text);
    field->setCursorPosition(0);
    field->setToolTip(text);
}

} // namespace

ChargingWidget::ChargingWidget(QWidget *parent) : QWidget(parent), form(std::make_unique<Ui::ChargingWidget>())
{
    form->setupUi(this);
    const Ui::ChargingWidget &f = *form;
    applyTextWidths();

    auto *left = new QVBoxLayout;
    left->addSpacing(10);
    ChargingPages::addRows(*left,
                           {{f.label, f.m_pLineEditVoltageDemand},
                            {f.label_2, f.m_pLineEditCurrentDemand},
                            {f.label_3, f.m_pLineEditChargeModel}},
                           true);
    left->addSpacing(28);
    ChargingPages::addRows(*left,
                           {{f.label_4, f.m_pLineEditVoltageMeasure},
                            {f.label_5, f.m_pLineEditCurrentMeasure},
                            {f.label_6, f.m_pLineEditMaxVoltage},
                            {f.label_7, f.m_pLineEditNumber},
                            {f.label_8, f.m_pLineEditChargeStatus},
                            {f.label_9, f.m_pLineEditRemainTime}},
                           true);
    left->addStretch();
    QVBoxLayout *right = ChargingPages::column({{f.label_10, f.m_pLineEditVoloutput},
                                                {f.label_11, f.m_pLineEditCuroutput},
                                                {f.label_12, f.m_pLineEditTotalTime},
                                                {f.label_13, f.m_pLineEditAllowCharge},
                                                {f.label_14, f.m_pLineEditBMSStopReason},
                                                {f.label_15, f.m_pLineEditBMSStopFaultCause},
                                                {f.label_16, f.m_pLineEditBMSStopErrorCause},
                                                {f.label_19, f.m_pLineEditChargerStopReason},
                                                {f.label_18, f.m_pLineEditChargerStopFaultCause},
                                                {f.label_17, f.m_pLineEditChargerStopErrorCause}},
                                               true);
    ChargingPages::setColumns(*this, left, 5, right);
}

ChargingWidget::~ChargingWidget() = default;

void ChargingWidget::applyTextWidths()
{
    using ChargingPages::Value;
    const Ui::ChargingWidget &f = *form;
    ChargingPages::fitLabels({f.label, f.label_2, f.label_3, f.label_4, f.label_5, f.label_6, f.label_7, f.label_8,
                              f.label_9, f.label_10, f.label_11, f.label_12, f.label_13},
                             kStateLabelWidth);
    ChargingPages::fitFields({f.m_pLineEditVoltageDemand, f.m_pLineEditCurrentDemand, f.m_pLineEditVoltageMeasure,
                              f.m_pLineEditCurrentMeasure, f.m_pLineEditMaxVoltage, f.m_pLineEditNumber,
                              f.m_pLineEditChargeStatus, f.m_pLineEditRemainTime, f.m_pLineEditVoloutput,
                              f.m_pLineEditCuroutput, f.m_pLineEditTotalTime, f.m_pLineEditAllowCharge},
                             ChargingPages::widestTexts({Value::Tenths, Value::Current, Value::Hundredths, Value::Word})
                                     << allowText(CcsRecord::Allowed) << allowText(0),
                             kStateFieldWidth);
    ChargingPages::fitFields({f.m_pLineEditChargeModel},
                             {modeText(BclRecord::ConstantVoltage), modeText(BclRecord::ConstantVoltage + 1)},
                             kStateFieldWidth);
    // The Chinese labels need less than half the English width; the room
    // goes to the fields, so that the page fits the window's default size.
    const bool chinese = UiLanguage::code() == UiLanguage::Chinese;
    ChargingPages::fitLabels({f.label_14, f.label_15, f.label_16, f.label_17, f.label_18, f.label_19},
                             chinese ? 0 : kStopLabelWidth);
    const QFontMetrics metrics(f.m_pLineEditBMSStopReason->font());
    const int widest = std::max({widestField(metrics, kBstReasons), widestField(metrics, kBstFaults),
                                 widestField(metrics, kBstErrors), widestField(metrics, kCstReasons),
                                 widestField(metrics, kCstFaults), widestField(metrics, kCstErrors)});
    const int stopWidth = std::max(kStopFieldWidth, ChargingPages::fieldWidthFor(*f.m_pLineEditBMSStopReason, widest));
    ChargingPages::setFixedWidths({f.m_pLineEditBMSStopReason, f.m_pLineEditBMSStopFaultCause,
                                   f.m_pLineEditBMSStopErrorCause, f.m_pLineEditChargerStopReason,
                                   f.m_pLineEditChargerStopFaultCause, f.m_pLineEditChargerStopErrorCause},
                                  stopWidth);
}

QString ChargingWidget::modeText(qint32 mode)
{
    return mode == BclRecord::ConstantVoltage ? tr("Constant voltage charge") : tr("Constant current charge");
}

void ChargingWidget::showDecodedTexts()
{
    if (lastBcl)
        showFromStart(form->m_pLineEditChargeModel, modeText(lastBcl->chargeMode));
    if (lastCcs)
        form->m_pLineEditAllowCharge->setText(allowText(lastCcs->chargingAllowed));
    if (lastBst)
        updateBST(*lastBst);
    if (lastCst)
        updateCST(*lastCst);
}

QString ChargingWidget::allowText(quint8 allowed)
{
    return allowed == CcsRecord::Allowed ? tr("Allow") : tr("Pause");
}

void ChargingWidget::updateBCL(const BclRecord &bcl)
{
    lastBcl = bcl;
    form->m_pLineEditVoltageDemand->setText(trimmedNumber(bcl.voltageDemand));
    form->m_pLineEditCurrentDemand->setText(trimmedNumber(bcl.currentDemand));
    showFromStart(form->m_pLineEditChargeModel, modeText(bcl.chargeMode));
}

void ChargingWidget::updateBCS(const BcsRecord &bcs)
{
    form->m_pLineEditVoltageMeasure->setText(trimmedNumber(bcs.measuredVoltage));
    form->m_pLineEditCurrentMeasure->setText(trimmedNumber(bcs.measuredCurrent));
    form->m_pLineEditMaxVoltage->setText(trimmedNumber(bcs.maxCellVoltage));
    form->m_pLineEditNumber->setText(QString::number(bcs.maxCellGroup));
    form->m_pLineEditChargeStatus->setText(QString::number(bcs.stateOfCharge));
    form->m_pLineEditRemainTime->setText(bcs.remainingTime ? QString::number(*bcs.remainingTime) : QString());
}

void ChargingWidget::updateCCS(const CcsRecord &ccs)
{
    form->m_pLineEditVoloutput->setText(trimmedNumber(ccs.outputVoltage));
    form->m_pLineEditCuroutput->setText(trimmedNumber(ccs.outputCurrent));
    form->m_pLineEditTotalTime->setText(QString::number(ccs.chargingTime));
    lastCcs = ccs;
    form->m_pLineEditAllowCharge->setText(allowText(ccs.chargingAllowed));
}

void ChargingWidget::updateBST(const StopStatusRecord &bst)
{
    lastBst = bst;
    const QStringList lines = bstLines(bst);
    showFromStart(form->m_pLineEditBMSStopReason, lines.at(0));
    showFromStart(form->m_pLineEditBMSStopFaultCause, lines.at(1));
    showFromStart(form->m_pLineEditBMSStopErrorCause, lines.at(2));
}

void ChargingWidget::updateCST(const StopStatusRecord &cst)
{
    lastCst = cst;
    const QStringList lines = cstLines(cst);
    showFromStart(form->m_pLineEditChargerStopReason, lines.at(0));
    showFromStart(form->m_pLineEditChargerStopFaultCause, lines.at(1));
    showFromStart(form->m_pLineEditChargerStopErrorCause, lines.at(2));
}

void ChargingWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        applyTextWidths();
        showDecodedTexts();
    }
    QWidget::changeEvent(event);
}
