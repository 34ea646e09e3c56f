#include "chargingmessages.h"

#include "gbt27930.h"

std::optional<BclRecord> decodeBcl(const QByteArray &data)
{
    if (data.size() < BclRecord::Size)
        return std::nullopt;
    BclRecord bcl;
    bcl.voltageDemand = Gbt::tenths(data, 0);
    bcl.currentDemand = Gbt::current(data, 2);
    bcl.chargeMode = Gbt::u8(data, 4);
    return bcl;
}

std::optional<BcsRecord> decodeBcs(const QByteArray &data)
{
    if (data.size() < BcsRecord::Size)
        return std::nullopt;
    BcsRecord bcs;
    bcs.measuredVoltage = Gbt::tenths(data, 0);
    bcs.measuredCurrent = Gbt::current(data, 2);
    // Bits 0-11: the highest cell voltage in 0.01 V; bits 12-15: its group.
    const quint16 cell = Gbt::u16(data, 4);
    bcs.maxCellVoltage = (cell & 0x0FFF) * 0.01;
    bcs.maxCellGroup = quint8(cell >> 12);
    bcs.stateOfCharge = Gbt::u8(data, 6);
    const quint16 minutes = Gbt::u16(data, 7);
    if (minutes <= BcsRecord::MaxRemainingTime)
        bcs.remainingTime = minutes;
    return bcs;
}

std::optional<CcsRecord> decodeCcs(const QByteArray &data)
{
    if (data.size() < CcsRecord::Size)
        return std::nullopt;
    CcsRecord ccs;
    ccs.outputVoltage = Gbt::tenths(data, 0);
    ccs.outputCurrent = Gbt::current(data, 2);
    ccs.chargingTime = Gbt::u16(data, 4);
    ccs.chargingAllowed = Gbt::u8(data, 6) & 0x01;
    return ccs;
}

std::optional<StopStatusRecord> decodeStopStatus(const QByteArray &data)
{
    if (data.size() < StopStatusRecord::Size)
        return std::nullopt;
    StopStatusRecord stop;
    stop.reasons = Gbt::u8(data, 0);
    stop.faults = Gbt::u16(data, 1);
    stop.errors = Gbt::u8(data, 3);
    return stop;
}
