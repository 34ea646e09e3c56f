#include "handshakemessages.h"

#include "gbt27930.h"

namespace {

constexpr int BhmSize = 2;

// All bits 1: the sender did not provide the field.
bool provided(const QByteArray &data, int pos, int count)
{
    for (int i = pos; i < pos + count; ++i) {
        if (Gbt::u8(data, i) != 0xFF)
            return true;
    }
    return false;
}

QString localText(const QByteArray &data, int pos, int count)
{
    return QString::fromLocal8Bit(data.mid(pos, count));
}

QString optionalText(const QByteArray &data, int pos, int count)
{
    return provided(data, pos, count) ? localText(data, pos, count) : QString();
}

} // namespace

std::optional<ChmRecord> decodeChm(const QByteArray &data)
{
    if (data.size() < ChmRecord::Size)
        return std::nullopt;
    ChmRecord chm;
    chm.minor = Gbt::u8(data, 0);
    chm.major = Gbt::u16(data, 1);
    return chm;
}

bool isWholeBhm(const QByteArray &data)
{
    return data.size() >= BhmSize;
}

std::optional<CrmRecord> decodeCrm(const QByteArray &data)
{
    if (data.size() < CrmRecord::Size)
        return std::nullopt;
    CrmRecord crm;
    crm.recognised = Gbt::u8(data, 0) == 0xAA;
    crm.chargerNumber = Gbt::le(data, 1, 4);
    crm.areaCode = localText(data, 5, 3);
    return crm;
}

std::optional<BrmRecord> decodeBrm(const QByteArray &data)
{
    if (data.size() < BrmRecord::Size)
        return std::nullopt;
    BrmRecord brm;
    // Bytes 0-2, the BMS protocol version, are not shown.
    brm.batteryType = Gbt::u8(data, 3);
    brm.ratedCapacity = Gbt::tenths(data, 4);
    brm.ratedVoltage = Gbt::tenths(data, 6);
    brm.manufacturer = optionalText(data, 8, 4);
    brm.hasPackSerial = provided(data, 12, 4);
    brm.packSerial = Gbt::le(data, 12, 4);
    brm.hasProductionDate = provided(data, 16, 1) && provided(data, 17, 1) && provided(data, 18, 1);
    brm.productionYear = Gbt::u8(data, 16) + 1985;
    brm.productionMonth = Gbt::u8(data, 17);
    brm.productionDay = Gbt::u8(data, 18);
    brm.hasChargeCount = provided(data, 19, 3);
    brm.chargeCount = Gbt::le(data, 19, 3);
    brm.hasPropertyRight = provided(data, 22, 1);
    brm.ownedByCar = Gbt::u8(data, 22) != 0;
    brm.vin = optionalText(data, 24, 17);
    if (data.size() >= BrmRecord::SizeWithVersion && provided(data, 41, 5)) {
        brm.hasBmsVersion = true;
        brm.versionSerial = Gbt::u8(data, 41);
        brm.versionDay = Gbt::u8(data, 42);
        brm.versionMonth = Gbt::u8(data, 43);
        brm.versionYear = Gbt::u16(data, 44);
    }
    return brm;
}
