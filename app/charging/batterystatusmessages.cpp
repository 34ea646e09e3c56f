#include "batterystatusmessages.h"

#include "gbt27930.h"

namespace {

quint8 field(quint8 byte, int shift)
{
    return quint8(byte >> shift & 0x03);
}

} // namespace

std::optional<BsmRecord> decodeBsm(const QByteArray &data)
{
    if (data.size() < BsmRecord::Size)
        return std::nullopt;
    BsmRecord bsm;
    bsm.maxVoltageCell = Gbt::u8(data, 0);
    bsm.maxTemperature = Gbt::celsius(data, 1);
    bsm.maxTemperaturePoint = Gbt::u8(data, 2);
    bsm.minTemperature = Gbt::celsius(data, 3);
    bsm.minTemperaturePoint = Gbt::u8(data, 4);
    const quint8 battery = Gbt::u8(data, 5);
    bsm.cellVoltageState = field(battery, 0);
    bsm.stateOfChargeState = field(battery, 2);
    bsm.currentState = field(battery, 4);
    bsm.temperatureState = field(battery, 6);
    const quint8 charging = Gbt::u8(data, 6);
    bsm.insulationState = field(charging, 0);
    bsm.connectorState = field(charging, 2);
    bsm.chargingAllowed = field(charging, 4);
    return bsm;
}

QVector<CellVoltage> decodeBmv(const QByteArray &data)
{
    QVector<CellVoltage> cells;
    cells.reserve((data.size() + 1) / 2);
    for (int i = 0; i < data.size(); i += 2) {
        const quint16 high = i + 1 < data.size() ? Gbt::u8(data, i + 1) : 0;
        const quint16 word = quint16(Gbt::u8(data, i) | high << 8);
        cells.append({quint32(word >> 12), double(word & 0x0FFF)});
    }
    return cells;
}

QVector<qint16> decodeBmt(const QByteArray &data)
{
    QVector<qint16> temperatures;
    temperatures.reserve(data.size());
    for (int i = 0; i < data.size(); ++i)
        temperatures.append(Gbt::celsius(data, i));
    return temperatures;
}
