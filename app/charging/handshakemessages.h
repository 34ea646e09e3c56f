// Decoders of the handshake and recognition messages (CHM, BHM, CRM, BRM):
// data bytes in, the values the handshake page shows out. A message
// shorter than its PGN's length gives no record; longer ones are read
// only as far as needed.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// CHM, charger handshake: the charger's protocol version.
struct ChmRecord {
    static constexpr int Size = 3;
    quint16 major = 0; // bytes 1-2
    quint8 minor = 0;  // byte 0
};

// CRM, charger recognition.
struct CrmRecord {
    static constexpr int Size = 8;
    bool recognised = false; // byte 0 is 0xAA
    quint32 chargerNumber = 0;
    QString areaCode; // three 8-bit characters, local encoding
};

// BRM, BMS and vehicle recognition. The BMS software version at its end
// may be missing (a 41-byte message). The fields from the manufacturer on
// are optional: one whose bytes are all 0xFF was not provided, which an
// empty text or a false has-flag tells.
struct BrmRecord {
    static constexpr int Size = 41;
    static constexpr int SizeWithVersion = 46;
    quint8 batteryType = 0;
    double ratedCapacity = 0; // Ah
    double ratedVoltage = 0;  // V
    QString manufacturer;     // four 8-bit characters
    bool hasPackSerial = false;
    quint32 packSerial = 0;   // battery pack serial number
    bool hasProductionDate = false; // year, month and day all provided
    int productionYear = 0;
    int productionMonth = 0;
    int productionDay = 0;
    bool hasChargeCount = false;
    quint32 chargeCount = 0; // 24 bits
    bool hasPropertyRight = false;
    bool ownedByCar = false; // false: leased
    QString vin;             // 17 8-bit characters
    bool hasBmsVersion = false;
    quint8 versionSerial = 0;
    quint16 versionYear = 0;
    quint8 versionMonth = 0;
    quint8 versionDay = 0;
};

std::optional<ChmRecord> decodeChm(const QByteArray &data);
// BHM carries the BMS's highest permissible charging voltage, which is not
// shown: only whether the message is whole.
bool isWholeBhm(const QByteArray &data);
std::optional<CrmRecord> decodeCrm(const QByteArray &data);
std::optional<BrmRecord> decodeBrm(const QByteArray &data);
