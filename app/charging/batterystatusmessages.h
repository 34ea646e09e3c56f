// Decoders of the battery's own reports during a charge (BSM, BMV, BMT):
// data bytes in, the values the minor-parameter and cell pages show out.
// A BSM shorter than its PGN's length gives no record; BMV and BMT give
// one entry per cell or test point that the message carries.
#pragma once

#include <QByteArray>
#include <QVector>

#include <optional>

// BSM, battery status. Cell and test-point numbers are kept as sent
// (numbering from 0); the page shows them from 1.
struct BsmRecord {
    static constexpr int Size = 7;
    quint8 maxVoltageCell = 0;
    qint16 maxTemperature = 0; // degrees Celsius
    quint8 maxTemperaturePoint = 0;
    qint16 minTemperature = 0; // degrees Celsius
    quint8 minTemperaturePoint = 0;
    // Two-bit states: 0 normal, 1 too high or faulty; 2 is too low for the
    // cell voltage and the state of charge, not credible for the others.
    quint8 cellVoltageState = 0;
    quint8 stateOfChargeState = 0;
    quint8 currentState = 0;
    quint8 temperatureState = 0;
    quint8 insulationState = 0;
    quint8 connectorState = 0;
    // 0 forbidden, 1 allowed.
    quint8 chargingAllowed = 0;
};

// One BMV entry.
struct CellVoltage {
    quint32 group = 0; // 0-15
    double count = 0;  // 0.01 V per count
};

std::optional<BsmRecord> decodeBsm(const QByteArray &data);
// Two bytes per cell; an odd last byte counts as a cell whose high byte is 0.
QVector<CellVoltage> decodeBmv(const QByteArray &data);
// One byte per test point, degrees Celsius plus 50.
QVector<qint16> decodeBmt(const QByteArray &data);
