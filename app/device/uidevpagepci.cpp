#include "uidevpagepci.h"

#include "devcan.h"

#include <QSettings>
#include <QThread>

namespace {

constexpr int kPci4SettleMs = 300;

QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("RavoSoft"),
                     QStringLiteral("DRAVIN"));
}

} // namespace

UiDevPagePci::UiDevPagePci(QWidget *parent, uint32_t channel) : UiDevPage(parent, channel)
{
    const QString text = QString::fromLatin1(store().value(key()).toByteArray());
    setUpParams(DevChannelParams::fromText(text, DevChannelParams::pciDefault()));
}

QString UiDevPagePci::key() const
{
    return QStringLiteral("canValue%1").arg(channelNumber());
}

void UiDevPagePci::storeParams()
{
    store().setValue(key(), working.toText().toLatin1());
}

void UiDevPagePci::beforeStart()
{
    if (DevCan::instance().getDevType() == VCI_DRAVIN_PCI4)
        QThread::msleep(kPci4SettleMs);
}
