// Channel page of the PCI boards: the record is kept in the native
// settings store (RavoSoft/DRAVIN, "canValue<channel>").
#pragma once

#include "uidevpage.h"

class UiDevPagePci : public UiDevPage
{
    Q_OBJECT

public:
    UiDevPagePci(QWidget *parent, uint32_t channel);

    void storeParams() override;

protected:
    // The 4-channel board needs time between initialising and starting.
    void beforeStart() override;

private:
    QString key() const;
};
