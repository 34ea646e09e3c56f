#include "devchannelparams.h"

#include <QByteArray>

namespace {

DevChannelParams decoded(const char *text)
{
    return DevChannelParams::fromText(QLatin1String(text), DevChannelParams());
}

bool isHex(const QString &text)
{
    for (const QChar c : text) {
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && !(c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            && !(c >= QLatin1Char('A') && c <= QLatin1Char('F')))
            return false;
    }
    return true;
}

} // namespace

DevChannelParams DevChannelParams::pciDefault()
{
    return decoded("00000000ffffffff08041C0100"); // 100 kbit/s, single filter, normal
}

DevChannelParams DevChannelParams::usbDefault()
{
    return decoded("00000000ffffffff09031C0100"); // 125 kbit/s, single filter, normal
}

DevChannelParams DevChannelParams::fromText(const QString &text, const DevChannelParams &fallback)
{
    if (text.size() != 2 * Size || !isHex(text))
        return fallback;
    const QByteArray raw = QByteArray::fromHex(text.toLatin1());
    DevChannelParams params;
    for (int i = 0; i < Size; ++i)
        params.bytes.at(size_t(i)) = uint8_t(raw.at(i));
    if (params.byte(Row) < FirstRow || params.byte(Row) > LastRow || params.byte(Filter) > 1 || params.byte(Mode) > 1)
        return fallback;
    return params;
}

QString DevChannelParams::toText() const
{
    const QByteArray raw(reinterpret_cast<const char *>(bytes.data()), Size);
    return QString::fromLatin1(raw.toHex());
}

uint32_t DevChannelParams::word(int first) const
{
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | byte(first + i);
    return value;
}

void DevChannelParams::setWord(int first, uint32_t value)
{
    for (int i = 3; i >= 0; --i, value >>= 8)
        setByte(first + i, uint8_t(value & 0xFF));
}

VCI_INIT_CONFIG DevChannelParams::initConfig() const
{
    VCI_INIT_CONFIG config{};
    config.AccCode = word(AccCode);
    config.MaskCode = word(MaskCode);
    config.Spare = 0;
    config.FilterMode = byte(Filter);
    config.BTR0 = byte(Btr0);
    config.BTR1 = byte(Btr1);
    config.WorkMode = byte(Mode);
    return config;
}
