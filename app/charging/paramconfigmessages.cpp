#include "paramconfigmessages.h"

#include "gbt27930.h"

std::optional<BcpRecord> decodeBcp(const QByteArray &data)
{
    if (data.size() < BcpRecord::Size)
        return std::nullopt;
    BcpRecord bcp;
    bcp.maxCellVoltage = Gbt::u16(data, 0) / 100.0;
    bcp.maxCurrent = Gbt::current(data, 2);
    bcp.nominalEnergy = Gbt::tenths(data, 4);
    bcp.maxTotalVoltage = Gbt::tenths(data, 6);
    bcp.maxTemperature = Gbt::celsius(data, 8);
    bcp.stateOfCharge = Gbt::tenths(data, 9);
    bcp.presentVoltage = Gbt::tenths(data, 11);
    return bcp;
}

std::optional<CtsRecord> decodeCts(const QByteArray &data)
{
    if (data.size() < CtsRecord::Size)
        return std::nullopt;
    CtsRecord cts;
    cts.second = Gbt::bcd(Gbt::u8(data, 0));
    cts.minute = Gbt::bcd(Gbt::u8(data, 1));
    cts.hour = Gbt::bcd(Gbt::u8(data, 2));
    cts.day = Gbt::bcd(Gbt::u8(data, 3));
    cts.month = Gbt::bcd(Gbt::u8(data, 4));
    cts.year = quint16(100 * Gbt::bcd(Gbt::u8(data, 5)) + Gbt::bcd(Gbt::u8(data, 6)));
    return cts;
}

std::optional<CmlRecord> decodeCml(const QByteArray &data)
{
    if (data.size() < CmlRecord::Size)
        return std::nullopt;
    CmlRecord cml;
    cml.maxVoltage = Gbt::tenths(data, 0);
    cml.minVoltage = Gbt::tenths(data, 2);
    cml.maxCurrent = Gbt::current(data, 4);
    cml.minCurrent = Gbt::current(data, 6);
    return cml;
}

std::optional<quint8> decodeReady(const QByteArray &data)
{
    if (data.isEmpty())
        return std::nullopt;
    return Gbt::u8(data, 0);
}
