#include "uidevpage.h"

#include "convert.h"
#include "devcan.h"
#include "uiautoprobing.h"
#include "ui_uidevpage.h"

#include <QEvent>
#include <QRegularExpressionValidator>

namespace {

struct RateRow {
    const char *text;
    uint8_t btr0;
    uint8_t btr1;
};

// Row number = index; rows 0 (Auto) and 1 (Custom) carry no timing.
const RateRow kRates[] = {
        {QT_TRANSLATE_NOOP("UiDevPage", "Auto"), 0, 0},       {QT_TRANSLATE_NOOP("UiDevPage", "Custom"), 0, 0},
        {QT_TRANSLATE_NOOP("UiDevPage", "5kbps"), 0xBF, 0xFF},  {QT_TRANSLATE_NOOP("UiDevPage", "10kbps"), 0x31, 0x1C},
        {QT_TRANSLATE_NOOP("UiDevPage", "20kbps"), 0x18, 0x1C}, {QT_TRANSLATE_NOOP("UiDevPage", "40kbps"), 0x87, 0xFF},
        {QT_TRANSLATE_NOOP("UiDevPage", "50kbps"), 0x09, 0x1C}, {QT_TRANSLATE_NOOP("UiDevPage", "80kbps"), 0x83, 0xFF},
        {QT_TRANSLATE_NOOP("UiDevPage", "100kbps"), 0x04, 0x1C},
        {QT_TRANSLATE_NOOP("UiDevPage", "125kbps"), 0x03, 0x1C},
        {QT_TRANSLATE_NOOP("UiDevPage", "200kbps"), 0x81, 0xFA},
        {QT_TRANSLATE_NOOP("UiDevPage", "250kbps"), 0x01, 0x1C},
        {QT_TRANSLATE_NOOP("UiDevPage", "400kbps"), 0x80, 0xFA},
        {QT_TRANSLATE_NOOP("UiDevPage", "500kbps"), 0x00, 0x1C},
        {QT_TRANSLATE_NOOP("UiDevPage", "666kbps"), 0x80, 0xB6},
        {QT_TRANSLATE_NOOP("UiDevPage", "800kbps"), 0x00, 0x16},
        {QT_TRANSLATE_NOOP("UiDevPage", "1000kbps"), 0x00, 0x14},
};
constexpr int kRateRows = int(sizeof(kRates) / sizeof(kRates[0]));

const char *const kFilters[] = {QT_TRANSLATE_NOOP("UiDevPage", "DualFilter"),
                                QT_TRANSLATE_NOOP("UiDevPage", "SingleFilter")};
const char *const kModes[] = {QT_TRANSLATE_NOOP("UiDevPage", "Normal"), QT_TRANSLATE_NOOP("UiDevPage", "ReadOnly")};

QString hex2(uint8_t value)
{
    return QString::asprintf("%02X", unsigned(value));
}

// An entry is one unsigned number, right-aligned in its field; empty is 0.
uint32_t hexValue(const QLineEdit *edit)
{
    bool ok = false;
    const uint32_t value = edit->text().toUInt(&ok, 16);
    return ok ? value : 0;
}

void setHexOnly(QLineEdit *edit, int digits)
{
    const QRegularExpression hex(QStringLiteral("[0-9A-Fa-f]{0,%1}").arg(digits));
    edit->setValidator(new QRegularExpressionValidator(hex, edit));
}

} // namespace

UiDevPage::UiDevPage(QWidget *parent, uint32_t channel)
    : QWidget(parent), form(std::make_unique<Ui::UiDevPage>()), channel(channel)
{
    form->setupUi(this);
    setHexOnly(form->m_ctrlCanAccCode, 8);
    setHexOnly(form->m_ctrlCanMaskCode, 8);
    setHexOnly(form->m_ctrlCanBTR0, 2);
    setHexOnly(form->m_ctrlCanBTR1, 2);
    fillLists();
}

UiDevPage::~UiDevPage() = default;

void UiDevPage::fillLists()
{
    form->m_ctrlCanAccCode->setText(QStringLiteral("00000000"));
    form->m_ctrlCanMaskCode->setText(QStringLiteral("FFFFFFFF"));
    for (int row = 0; row < kRateRows; ++row)
        form->m_ctrlCanBaudrate->addItem(QString(), row);
    form->m_ctrlCanBTR0->setText(QStringLiteral("00"));
    form->m_ctrlCanBTR1->setText(QStringLiteral("00"));
    for (int row = 0; row < 2; ++row) {
        form->m_ctrlCanFilter->addItem(QString(), row);
        form->m_ctrlCanMode->addItem(QString(), row);
    }
    retranslateUi();
}

void UiDevPage::setUpParams(const DevChannelParams &params)
{
    stored = params;
    working = params;
    showParams();
    setBtrEditsEnabled(form->m_ctrlCanBaudrate->currentIndex() == CustomRow);
    // Connected after filling the controls, which must not touch the record.
    connect(form->m_ctrlCanAccCode, &QLineEdit::textChanged, this, &UiDevPage::ChangedB0B3);
    connect(form->m_ctrlCanMaskCode, &QLineEdit::textChanged, this, &UiDevPage::ChangedB4B7);
    connect(form->m_ctrlCanBaudrate, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &UiDevPage::ChangedB8);
    connect(form->m_ctrlCanBTR0, &QLineEdit::textChanged, this, &UiDevPage::ChangedB9);
    connect(form->m_ctrlCanBTR1, &QLineEdit::textChanged, this, &UiDevPage::ChangedB10);
    connect(form->m_ctrlCanFilter, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &UiDevPage::ChangedB11);
    connect(form->m_ctrlCanMode, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &UiDevPage::ChangedB12);
}

void UiDevPage::retranslateUi()
{
    form->retranslateUi(this);
    for (int row = 0; row < kRateRows; ++row)
        form->m_ctrlCanBaudrate->setItemText(row, tr(kRates[row].text));
    for (int row = 0; row < 2; ++row) {
        form->m_ctrlCanFilter->setItemText(row, tr(kFilters[row]));
        form->m_ctrlCanMode->setItemText(row, tr(kModes[row]));
    }
}

void UiDevPage::showParams()
{
    form->m_ctrlCanAccCode->setText(getCanCodeFromLL(stored.word(DevChannelParams::AccCode)));
    form->m_ctrlCanMaskCode->setText(getCanCodeFromLL(stored.word(DevChannelParams::MaskCode)));
    QComboBox *rate = form->m_ctrlCanBaudrate;
    rate->setCurrentIndex(rate->findData(int(stored.byte(DevChannelParams::Row))));
    form->m_ctrlCanBTR0->setText(hex2(stored.byte(DevChannelParams::Btr0)));
    form->m_ctrlCanBTR1->setText(hex2(stored.byte(DevChannelParams::Btr1)));
    form->m_ctrlCanFilter->setCurrentIndex(form->m_ctrlCanFilter->findData(int(stored.byte(DevChannelParams::Filter))));
    form->m_ctrlCanMode->setCurrentIndex(form->m_ctrlCanMode->findData(int(stored.byte(DevChannelParams::Mode))));
}

void UiDevPage::updateCustomEnabled()
{
    setBtrEditsEnabled(form->m_ctrlCanBaudrate->currentIndex() == CustomRow);
}

void UiDevPage::setBtrEditsEnabled(bool enabled)
{
    form->m_ctrlCanBTR0->setEnabled(enabled);
    form->m_ctrlCanBTR1->setEnabled(enabled);
}

void UiDevPage::ChangedB0B3()
{
    working.setWord(DevChannelParams::AccCode, hexValue(form->m_ctrlCanAccCode));
}

void UiDevPage::ChangedB4B7()
{
    working.setWord(DevChannelParams::MaskCode, hexValue(form->m_ctrlCanMaskCode));
}

void UiDevPage::ChangedB9()
{
    working.setByte(DevChannelParams::Btr0, uint8_t(hexValue(form->m_ctrlCanBTR0)));
}

void UiDevPage::ChangedB10()
{
    working.setByte(DevChannelParams::Btr1, uint8_t(hexValue(form->m_ctrlCanBTR1)));
}

void UiDevPage::ChangedB11()
{
    const int row = form->m_ctrlCanFilter->currentIndex();
    if (row >= 0)
        working.setByte(DevChannelParams::Filter, uint8_t(row));
}

void UiDevPage::ChangedB12()
{
    const int row = form->m_ctrlCanMode->currentIndex();
    if (row >= 0)
        working.setByte(DevChannelParams::Mode, uint8_t(row));
}

void UiDevPage::ChangedB8()
{
    const int row = form->m_ctrlCanBaudrate->currentIndex();
    if (row < 0)
        return;
    if (row == AutoRow) {
        probeBitRate();
        return;
    }
    working.setByte(DevChannelParams::Row, uint8_t(row));
    if (row == CustomRow) {
        setBtrEditsEnabled(true);
    } else {
        form->m_ctrlCanBTR0->setText(hex2(kRates[row].btr0));
        form->m_ctrlCanBTR1->setText(hex2(kRates[row].btr1));
        setBtrEditsEnabled(false);
    }
    ChangedB9();
    ChangedB10();
}

// Auto is kept as Custom holding the probed timing, its edits locked.
void UiDevPage::probeBitRate()
{
    working.setByte(DevChannelParams::Row, CustomRow);
    {
        UiAutoProbing probe(int(channel), this);
        if (probe.exec() == QDialog::Accepted && !probe.chosenBtr0().isEmpty() && !probe.chosenBtr1().isEmpty()) {
            form->m_ctrlCanBTR0->setText(probe.chosenBtr0());
            form->m_ctrlCanBTR1->setText(probe.chosenBtr1());
        }
    }
    form->m_ctrlCanBaudrate->setCurrentIndex(CustomRow);
    setBtrEditsEnabled(false);
    ChangedB9();
    ChangedB10();
}

void UiDevPage::buildInitConfig(VCI_INIT_CONFIG *config) const
{
    if (config)
        *config = working.initConfig();
}

bool UiDevPage::applyParams()
{
    VCI_INIT_CONFIG config{};
    buildInitConfig(&config);
    DevCan &device = DevCan::instance();
    if (device.initCAN(channel, &config) != 1)
        return false;
    beforeStart();
    return device.StartCAN(channel) == 1;
}

void UiDevPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}
