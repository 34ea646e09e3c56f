// Channel page of the USB adapters: the record is kept in the INI file
// "Config.ini" of the program's folder (group "Channnal", key
// "Channal_<channel>").
#pragma once

#include "uidevpage.h"

class UiDevPageUsb : public UiDevPage
{
    Q_OBJECT

public:
    UiDevPageUsb(QWidget *parent, uint32_t channel);

    void storeParams() override;

    // The file's folder; empty (the default) is the program's folder.
    static void setConfigFolder(const QString &folder);
    static QString configFile();

private:
    QString key() const;
};
