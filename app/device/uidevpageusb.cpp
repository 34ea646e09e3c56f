#include "uidevpageusb.h"

#include "ulsystem.h"

#include <QFileInfo>
#include <QSettings>

namespace {

struct Folders {
    QString user;
    QString program;
};

Folders &folders()
{
    static Folders chosen;
    return chosen;
}

const QString kGroup = QStringLiteral("Channnal");
const QString kFile = QStringLiteral("/Config.ini");

QString storedText(const QString &file, const QString &key)
{
    QSettings store(file, QSettings::IniFormat);
    store.beginGroup(kGroup);
    return store.value(key).toString();
}

} // namespace

UiDevPageUsb::UiDevPageUsb(QWidget *parent, uint32_t channel) : UiDevPage(parent, channel)
{
    QString text = storedText(configFile(), key());
    if (text.isEmpty())
        text = storedText(programConfigFile(), key());
    setUpParams(DevChannelParams::fromText(text, DevChannelParams::usbDefault()));
}

void UiDevPageUsb::setConfigFolders(const QString &user, const QString &program)
{
    folders() = {user, program};
}

QString UiDevPageUsb::configFile()
{
    QString folder = folders().user;
    if (folder.isEmpty()) {
        // The folder of the program's own settings file.
        const QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("RavoSoft"),
                                 QStringLiteral("INIT"));
        folder = QFileInfo(settings.fileName()).absolutePath();
    }
    return folder + kFile;
}

QString UiDevPageUsb::programConfigFile()
{
    return (folders().program.isEmpty() ? UlSystem::programFolder() : folders().program) + kFile;
}

QString UiDevPageUsb::key() const
{
    return QStringLiteral("Channal_%1").arg(channelNumber());
}

void UiDevPageUsb::storeParams()
{
    QSettings store(configFile(), QSettings::IniFormat);
    store.beginGroup(kGroup);
    store.setValue(key(), working.toText());
    store.endGroup();
}
