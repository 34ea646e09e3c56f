// One channel's page of the open-device dialog: bit timing, acceptance
// code and mask, filter and work mode, edited as a 13-byte record. The page
// kinds differ in where the record is stored; after the dialog has opened
// the device, applyParams() initialises and starts the channel and
// storeParams() keeps the record for the next run.
#pragma once

#include "devchannelparams.h"

#include <QWidget>

#include <memory>

namespace Ui {
class UiDevPage;
}

class UiDevPage : public QWidget
{
    Q_OBJECT

public:
    ~UiDevPage() override;

    uint32_t channelNumber() const { return channel; }
    // The record as edited.
    DevChannelParams params() const { return working; }

    virtual void retranslateUi();
    // Shows the stored record in the controls.
    virtual void showParams();
    // BTR edits enabled at the Custom row only.
    virtual void updateCustomEnabled();
    // Initialises and starts the channel on the open device; false when
    // either fails (the caller closes the device).
    virtual bool applyParams();
    // Writes the record to the page's store.
    virtual void storeParams() = 0;
    virtual uint32_t getPageValue() const { return pageValue; }
    virtual uint32_t getOpenReserved() const { return reserved; }

    void buildInitConfig(VCI_INIT_CONFIG *config) const;

public Q_SLOTS:
    void ChangedB0B3();
    void ChangedB4B7();
    void ChangedB8();
    void ChangedB9();
    void ChangedB10();
    void ChangedB11();
    void ChangedB12();

protected:
    UiDevPage(QWidget *parent, uint32_t channel);
    // Called once by each page kind's constructor with the record it read.
    void setUpParams(const DevChannelParams &params);
    // Between initialising and starting the channel.
    virtual void beforeStart() {}
    void changeEvent(QEvent *event) override;

    DevChannelParams working; // edited, applied and stored
    DevChannelParams stored;  // as read at construction

private:
    enum Row { AutoRow = 0, CustomRow = 1 };

    void fillLists();
    void probeBitRate();
    void setBtrEditsEnabled(bool enabled);

    std::unique_ptr<Ui::UiDevPage> form;
    uint32_t channel;
    uint32_t pageValue = 0;
    uint32_t reserved = 0;
};
