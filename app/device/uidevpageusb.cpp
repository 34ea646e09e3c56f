#include "uidevpageusb.h"

#include "ulsystem.h"

#include <QSettings>

namespace {

QString &configFolder()
{
    static QString folder;
    return folder;
}

const QString kGroup = QStringLiteral("Channnal");

} // namespace

UiDevPageUsb::UiDevPageUsb(QWidget *parent, uint32_t channel) : UiDevPage(parent, channel)
{
    QSettings store(configFile(), QSettings::IniFormat);
    store.beginGroup(kGroup);
    const QString text = store.value(key()).toString();
    store.endGroup();
    setUpParams(DevChannelParams::fromText(text, DevChannelParams::usbDefault()));
}

void UiDevPageUsb::setConfigFolder(const QString &folder)
{
    configFolder() = folder;
}

QString UiDevPageUsb::configFile()
{
    const QString folder = configFolder().isEmpty() ? UlSystem::programFolder() : configFolder();
    return folder + QStringLiteral("/Config.ini");
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
