// Decoders of the statistics messages at the end of a charge (BSD, CSD):
// data bytes in, the values the charge-end page shows out. A message
// shorter than its PGN's length gives no record.
#pragma once

#include <QByteArray>

#include <optional>

// BSD, BMS statistics.
struct BsdRecord {
    static constexpr int Size = 7;
    quint8 stateOfCharge = 0;  // %, at the stop
    double maxCellVoltage = 0; // V
    double minCellVoltage = 0; // V
    qint16 maxTemperature = 0; // degrees Celsius
    qint16 minTemperature = 0; // degrees Celsius
};

// CSD, charger statistics.
struct CsdRecord {
    static constexpr int Size = 8;
    quint16 chargingTime = 0; // min, cumulative
    double outputEnergy = 0;  // kWh
    quint32 chargerNumber = 0;
};

std::optional<BsdRecord> decodeBsd(const QByteArray &data);
std::optional<CsdRecord> decodeCsd(const QByteArray &data);
