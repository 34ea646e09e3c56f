// The open-device dialog: the user picks the device model and board index
// and sets up each channel on its page; Ok opens the device through
// DevCan::instance(), initialises and starts every channel and stores the
// choices. exec() returns 1 when the device is open with every channel
// started, 0 when the window was closed, OpenFailed when the device did
// not open or a channel failed (the device is then closed, nothing is
// stored).
#pragma once

#include <QDialog>
#include <QVariant>

#include <array>
#include <memory>

class UiDevPage;
namespace Ui {
class UiOpenDevice;
}

class UiOpenDevice : public QDialog
{
    Q_OBJECT

public:
    enum { OpenFailed = -1 };

    explicit UiOpenDevice(QWidget *parent = nullptr);
    ~UiOpenDevice() override;

    // The current model's channel pages in channel order (null past the last).
    UiDevPage *page(int channel) const;

public Q_SLOTS:
    void accept() override;
    void ChangedCanDevSelect();
    void ChangedCanDevIndex();
    void ChangedCanDevType(int nType);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void fillLists();
    void loadSettings();
    void saveSettings();
    void deletePages();

    std::unique_ptr<Ui::UiOpenDevice> form;
    std::array<UiDevPage *, 4> pages{}; // owned by the tab widget
    QVariant product{-1};
    QVariant index;
    uint32_t devType = 0;
};
