#include "uiopendevice.h"

#include "devcan.h"
#include "uidevpagepci.h"
#include "uidevpageusb.h"
#include "ui_uiopendevice.h"

#include <QEvent>
#include <QPushButton>
#include <QSettings>

namespace {

enum class PageKind { Usb, Pci };

struct Model {
    const char *name; // a product name, not translated
    int product;
    uint32_t devType;
    int channels;
    PageKind pages;
};

const Model kModels[] = {
        {"KELMO-I/I+", 1, VCI_KELMO_USB1, 1, PageKind::Usb},
        {"KELMO-2I/2I+", 2, VCI_KELMO_USB2, 2, PageKind::Usb},
        {"Merovast-II", 3, VCI_KELMO_USB2, 2, PageKind::Usb},
        {"DRAVIN-1100", 5, VCI_DRAVIN_PCI1, 1, PageKind::Pci},
        {"DRAVIN-1200", 6, VCI_DRAVIN_PCI2, 2, PageKind::Pci},
        {"DRAVIN-1400", 7, VCI_DRAVIN_PCI4, 4, PageKind::Pci},
        {"TESKA-2I+", 8, VCI_KELMO_USB2, 2, PageKind::Usb},
        {"DRAVEX-2I+", 9, VCI_KELMO_USB2, 2, PageKind::Usb},
        {"ORBEL-F1", 10, VCI_DRAVIN_PCI1, 1, PageKind::Pci},
        {"STAVEN-II", 11, VCI_DRAVIN_PCI2, 2, PageKind::Pci},
};
constexpr int kBoardIndices = 7;
constexpr int kNone = -1;

QSettings choiceStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("RavoSoft"),
                     QStringLiteral("INIT"));
}

// A stored -1 counts as absent.
int storedInt(const QSettings &settings, const QString &key, int fallback)
{
    bool ok = false;
    const int value = settings.value(key, fallback).toInt(&ok);
    return ok && value != -1 ? value : fallback;
}

} // namespace

UiOpenDevice::UiOpenDevice(QWidget *parent) : QDialog(parent), form(std::make_unique<Ui::UiOpenDevice>())
{
    form->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(469, 315);
    fillLists();
    retranslateUi();
    loadSettings();

    // Not connected yet: these selections run no slot.
    const int row = form->m_ctrlCanDevSelect->findData(product);
    form->m_ctrlCanDevSelect->setCurrentIndex(row < 0 ? 0 : row);
    const int indexRow = form->m_ctrlCanDevIndex->findData(index);
    form->m_ctrlCanDevIndex->setCurrentIndex(indexRow < 0 ? 0 : indexRow);

    ChangedCanDevSelect();
    index = form->m_ctrlCanDevIndex->currentData();
    DevCan::instance().setDevIndex(index.toUInt());

    connect(form->m_ctrlCanDevSelect, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &UiOpenDevice::ChangedCanDevSelect);
    connect(form->m_ctrlCanDevIndex, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &UiOpenDevice::ChangedCanDevIndex);
    connect(form->buttonBox, &QDialogButtonBox::accepted, this, &UiOpenDevice::accept);
}

UiOpenDevice::~UiOpenDevice() = default;

UiDevPage *UiOpenDevice::page(int channel) const
{
    return channel >= 0 && channel < int(pages.size()) ? pages[size_t(channel)] : nullptr;
}

void UiOpenDevice::fillLists()
{
    for (const Model &model : kModels)
        form->m_ctrlCanDevSelect->addItem(QLatin1String(model.name), model.product);
    form->m_ctrlCanDevSelect->setCurrentIndex(kNone);
    for (int i = 0; i < kBoardIndices; ++i)
        form->m_ctrlCanDevIndex->addItem(QString::number(i), i);
    form->m_ctrlCanDevIndex->setCurrentIndex(kNone);
}

void UiOpenDevice::retranslateUi()
{
    form->retranslateUi(this);
    form->buttonBox->button(QDialogButtonBox::Ok)->setText(tr("Ok"));
}

void UiOpenDevice::loadSettings()
{
    const QSettings settings = choiceStore();
    product = storedInt(settings, QStringLiteral("devSelect"), -1);
    devType = uint32_t(storedInt(settings, QStringLiteral("devType"), VCI_KELMO_USB2));
    index = storedInt(settings, QStringLiteral("devIndex"), 0);
}

void UiOpenDevice::saveSettings()
{
    const int currentProduct = form->m_ctrlCanDevSelect->currentData().toInt();
    DevCan::instance().setProduct(uint32_t(currentProduct));
    QSettings settings = choiceStore();
    settings.setValue(QStringLiteral("devSelect"), currentProduct);
    settings.setValue(QStringLiteral("devType"), int(devType));
    settings.setValue(QStringLiteral("devIndex"), form->m_ctrlCanDevIndex->currentData().toInt());
}

void UiOpenDevice::deletePages()
{
    for (UiDevPage *&page : pages) {
        delete page; // leaves its tab
        page = nullptr;
    }
}

void UiOpenDevice::ChangedCanDevSelect()
{
    const int row = form->m_ctrlCanDevSelect->currentIndex();
    const QVariant data = form->m_ctrlCanDevSelect->currentData();
    if (row < 0 || (data == product && pages[0]))
        return;
    product = data;
    deletePages();
    const Model &model = kModels[row];
    devType = model.devType;
    for (int channel = 0; channel < model.channels; ++channel) {
        QWidget *tabs = form->m_ctrlTabWidget;
        UiDevPage *page = nullptr;
        if (model.pages == PageKind::Usb)
            page = new UiDevPageUsb(tabs, uint32_t(channel));
        else
            page = new UiDevPagePci(tabs, uint32_t(channel));
        pages[size_t(channel)] = page;
        form->m_ctrlTabWidget->addTab(page, QStringLiteral("CAN%1").arg(channel));
    }
    DevCan::instance().setDevType(devType);
}

void UiOpenDevice::ChangedCanDevIndex()
{
    index = form->m_ctrlCanDevIndex->currentData();
    DevCan::instance().setDevIndex(index.toUInt());
}

void UiOpenDevice::ChangedCanDevType(int nType)
{
    devType = uint32_t(nType);
    DevCan::instance().setDevType(devType);
}

void UiOpenDevice::accept()
{
    DevCan &device = DevCan::instance();
    const uint32_t reserved = pages[0] ? pages[0]->getOpenReserved() : 0;
    bool open = device.openDevice(devType, uint32_t(index.toInt()), reserved) == 1;
    // Every channel must come up; a half-opened device is closed again.
    for (UiDevPage *page : pages) {
        if (open && page && !page->applyParams()) {
            device.closeDevice();
            open = false;
        }
    }
    if (!open) {
        QDialog::reject();
        setResult(OpenFailed);
        return;
    }
    for (UiDevPage *page : pages) {
        if (page)
            page->storeParams();
    }
    saveSettings();
    QDialog::accept();
}

void UiOpenDevice::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}
