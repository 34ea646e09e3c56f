// Channel page of the USB adapters: the record is kept in the INI file
// "Config.ini" (group "Channnal", key "Channal_<channel>") in the user's
// configuration folder, beside the program's other settings, so that a
// user who cannot write the program's folder keeps it. A channel that the
// user's file does not hold is read from a "Config.ini" in the program's
// folder, where earlier versions kept the records.
#pragma once

#include "uidevpage.h"

class UiDevPageUsb : public UiDevPage
{
    Q_OBJECT

public:
    UiDevPageUsb(QWidget *parent, uint32_t channel);

    void storeParams() override;

    // Folders of the user's file and of the program's; empty (the default)
    // is the user's configuration folder and the program's folder.
    static void setConfigFolders(const QString &user, const QString &program);
    // The file the records are written to.
    static QString configFile();
    // The file read for a channel that configFile() does not hold.
    static QString programConfigFile();

private:
    QString key() const;
};
