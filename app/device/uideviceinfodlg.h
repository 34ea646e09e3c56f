// The modal dialog with the identity of the open board: hardware and
// firmware versions, channel count, serial number and product type, read
// once from the device when the dialog is built.
#pragma once

#include <QDialog>

#include <memory>

struct VCI_BOARD_INFO;
namespace Ui {
class UiDeviceInfoDlg;
}

class UiDeviceInfoDlg : public QDialog
{
    Q_OBJECT

public:
    explicit UiDeviceInfoDlg(QWidget *parent = nullptr);
    ~UiDeviceInfoDlg() override;

    // A BCD-style version word: 0x0110 reads "1.10". A first pair that is
    // not decimal gives 0 (0x0a01 reads "0.01").
    static QString versionText(uint16_t version);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    std::unique_ptr<Ui::UiDeviceInfoDlg> form;
    // Display texts of the five values; all empty without a board.
    QString hardwareVersion;
    QString firmwareVersion;
    QString channelCount;
    QString serialNumber;
    QString productType;
};
