#include "uideviceinfodlg.h"

#include "devcan.h"
#include "ui_uideviceinfodlg.h"

#include <QEvent>

namespace {

// The board's text fields need not end in a zero: read at most their width.
template <std::size_t N>
QString fieldText(const char (&field)[N])
{
    return QString::fromLocal8Bit(field, int(qstrnlen(field, N)));
}

} // namespace

UiDeviceInfoDlg::UiDeviceInfoDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      form(std::make_unique<Ui::UiDeviceInfoDlg>())
{
    form->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/Resources/Merovast.ico")));

    DevCan &device = DevCan::instance();
    VCI_BOARD_INFO info{};
    if (device.isOpen() && device.readBoardInfo(&info) == 1) {
        hardwareVersion = versionText(info.HardwareVersion);
        firmwareVersion = versionText(info.FirmwareVersion);
        channelCount = QString::number(info.ChannelCount);
        // The texts come from the device and go into rich text.
        serialNumber = fieldText(info.SerialNumber).toHtmlEscaped();
        productType = fieldText(info.HardwareType).toHtmlEscaped();
    }
    form->m_pLabelDevInfo->setTextFormat(Qt::RichText);
    form->m_pLabelDevInfo->setOpenExternalLinks(true);
    retranslateUi();
    connect(form->OkButton, &QPushButton::clicked, this, &UiDeviceInfoDlg::accept);
}

UiDeviceInfoDlg::~UiDeviceInfoDlg() = default;

QString UiDeviceInfoDlg::versionText(uint16_t version)
{
    const QString digits = QStringLiteral("%1").arg(version, 4, 16, QLatin1Char('0'));
    bool decimal = false;
    const int major = digits.leftRef(2).toInt(&decimal, 10);
    return QStringLiteral("%1.%2").arg(decimal ? major : 0).arg(digits.mid(2));
}

void UiDeviceInfoDlg::retranslateUi()
{
    form->retranslateUi(this);
    // One pass over the template, so that a value holding "%n" stays as it is.
    form->m_pLabelDevInfo->setText(
            tr("<div align=\"left\"><p>%1:%2</p></div><div align=\"left\"><p>%3:%4</p></div>"
               "<div align=\"left\"><p>%5:%6</p></div><div align=\"left\"><p>%7:%8</p></div>"
               "<div align=\"left\"><p>%9:%10</p></div>")
                    .arg(tr("Hardware Version"), hardwareVersion, tr("Firmware Version"), firmwareVersion,
                         tr("CAN Channels"), channelCount, tr("Serial Number"), serialNumber,
                         tr("Product Type"), productType));
}

void UiDeviceInfoDlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}
