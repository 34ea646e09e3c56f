// Decoders of the parameter-configuration messages (BCP, CTS, CML, BRO,
// CRO): data bytes in, the values the parameter page shows out. A message
// shorter than its PGN's length gives no record.
#pragma once

#include <QByteArray>

#include <optional>

// BCP, battery charging parameters (13 bytes, sent in several packets).
struct BcpRecord {
    static constexpr int Size = 13;
    double maxCellVoltage = 0;  // V
    double maxCurrent = 0;      // A
    double nominalEnergy = 0;   // kWh
    double maxTotalVoltage = 0; // V
    int maxTemperature = 0;     // degrees Celsius
    double stateOfCharge = 0;   // %
    double presentVoltage = 0;  // V
};

// CTS, charger time sync: the charger's local date and time.
struct CtsRecord {
    static constexpr int Size = 7;
    quint16 year = 0;
    quint8 month = 0;
    quint8 day = 0;
    quint8 hour = 0;
    quint8 minute = 0;
    quint8 second = 0;
};

// CML, charger maximum output.
struct CmlRecord {
    static constexpr int Size = 8;
    double maxVoltage = 0; // V
    double minVoltage = 0; // V
    double maxCurrent = 0; // A
    double minCurrent = 0; // A
};

// BRO and CRO carry one byte: 0xAA ready, 0x00 not ready.
constexpr quint8 ReadyCode = 0xAA;

std::optional<BcpRecord> decodeBcp(const QByteArray &data);
std::optional<CtsRecord> decodeCts(const QByteArray &data);
std::optional<CmlRecord> decodeCml(const QByteArray &data);
// The readiness byte of BRO or CRO.
std::optional<quint8> decodeReady(const QByteArray &data);
