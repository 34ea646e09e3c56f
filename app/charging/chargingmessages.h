// Decoders of the charging-stage messages (BCL, BCS, CCS) and of the stop
// messages (BST, CST): data bytes in, the values the charging page shows
// out. A message shorter than its PGN's length gives no record.
#pragma once

#include <QByteArray>

#include <optional>

// BCL, battery charging demand.
struct BclRecord {
    static constexpr int Size = 5;
    static constexpr qint32 ConstantVoltage = 1; // any other mode is constant current
    double voltageDemand = 0; // V
    double currentDemand = 0; // A
    qint32 chargeMode = 0;
};

// BCS, battery charging state (9 bytes, sent in several packets).
struct BcsRecord {
    static constexpr int Size = 9;
    static constexpr quint16 MaxRemainingTime = 600; // min; a larger value is not valid
    double measuredVoltage = 0; // V
    double measuredCurrent = 0; // A
    double maxCellVoltage = 0;  // V
    quint8 maxCellGroup = 0;    // 0-15
    quint8 stateOfCharge = 0;   // %
    std::optional<quint16> remainingTime; // min; none when not valid
};

// CCS, charger charging state.
struct CcsRecord {
    static constexpr int Size = 7;
    static constexpr quint8 Allowed = 1; // any other value: paused
    double outputVoltage = 0;  // V
    double outputCurrent = 0;  // A
    quint16 chargingTime = 0;  // min, cumulative
    quint8 chargingAllowed = 0;
};

// BST or CST: three items of two-bit status fields, field n at bits 2n and
// 2n+1 (0 normal, 1 the condition holds, 2 and 3 not credible).
struct StopStatusRecord {
    static constexpr int Size = 4;
    quint8 reasons = 0; // byte 0
    quint16 faults = 0; // bytes 1-2
    quint8 errors = 0;  // byte 3
};

std::optional<BclRecord> decodeBcl(const QByteArray &data);
std::optional<BcsRecord> decodeBcs(const QByteArray &data);
std::optional<CcsRecord> decodeCcs(const QByteArray &data);
// BST and CST share their layout.
std::optional<StopStatusRecord> decodeStopStatus(const QByteArray &data);
