#include "chargeendmessages.h"

#include "gbt27930.h"

std::optional<BsdRecord> decodeBsd(const QByteArray &data)
{
    if (data.size() < BsdRecord::Size)
        return std::nullopt;
    BsdRecord bsd;
    bsd.stateOfCharge = Gbt::u8(data, 0);
    // The lowest values come first in the message.
    bsd.minCellVoltage = Gbt::u16(data, 1) * 0.01;
    bsd.maxCellVoltage = Gbt::u16(data, 3) * 0.01;
    bsd.minTemperature = Gbt::celsius(data, 5);
    bsd.maxTemperature = Gbt::celsius(data, 6);
    return bsd;
}

std::optional<CsdRecord> decodeCsd(const QByteArray &data)
{
    if (data.size() < CsdRecord::Size)
        return std::nullopt;
    CsdRecord csd;
    csd.chargingTime = Gbt::u16(data, 0);
    csd.outputEnergy = Gbt::tenths(data, 2);
    csd.chargerNumber = Gbt::le(data, 4, 4);
    return csd;
}
