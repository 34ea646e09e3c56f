// Handshake and recognition decoders: field positions and byte order of
// CHM, CRM and BRM, BRM's optional fields left out (all bits 1), and what
// a message too short for its PGN gives.
#include "handshakemessages.h"

#include <QtTest>

namespace {

// A BRM of 49 bytes with distinct values in every field.
QByteArray fullBrm()
{
    return QByteArray::fromHex("010100"     // protocol version
                               "03"         // lithium iron phosphate
                               "e803"       // 100.0 Ah
                               "a00f"       // 400.0 V
                               "41424344"   // "ABCD"
                               "78563412"   // pack serial
                               "220514"     // 2019-5-20
                               "102700"     // 10000 charges
                               "01"         // owned by the car
                               "00"         // reserved
                               "4c5a5941544a4b4c3031323334353637"
                               "38"         // VIN "LZYATJKL012345678"
                               "030f06e307" // version 2019-6-15 serial 3
                               "ffffff");
}

} // namespace

class tst_HandshakeMessages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chm_data();
    void chm();
    void crm();
    void brm();
    void brmWithoutVersion();
    void brmFieldsNotProvided_data();
    void brmFieldsNotProvided();
    void shortMessages_data();
    void shortMessages();
};

void tst_HandshakeMessages::chm_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::newRow("V1.1") << QByteArray::fromHex("010100") << 1 << 1;
    QTest::newRow("major is two bytes") << QByteArray::fromHex("020301") << 0x0103 << 2;
    QTest::newRow("longer message") << QByteArray::fromHex("01010000ff") << 1 << 1;
}

void tst_HandshakeMessages::chm()
{
    QFETCH(QByteArray, data);
    QFETCH(int, major);
    QFETCH(int, minor);
    const std::optional<ChmRecord> chm = decodeChm(data);
    QVERIFY(chm);
    QCOMPARE(int(chm->major), major);
    QCOMPARE(int(chm->minor), minor);
}

void tst_HandshakeMessages::crm()
{
    std::optional<CrmRecord> crm = decodeCrm(QByteArray::fromHex("aa01020304313233"));
    QVERIFY(crm);
    QVERIFY(crm->recognised);
    QCOMPARE(crm->chargerNumber, 67305985u);
    QCOMPARE(crm->areaCode, QStringLiteral("123"));

    crm = decodeCrm(QByteArray::fromHex("55ffffffff313233"));
    QVERIFY(crm);
    QVERIFY(!crm->recognised);
    QCOMPARE(crm->chargerNumber, 0xFFFFFFFFu);
}

void tst_HandshakeMessages::brm()
{
    const std::optional<BrmRecord> brm = decodeBrm(fullBrm());
    QVERIFY(brm);
    QCOMPARE(int(brm->batteryType), 3);
    QCOMPARE(brm->ratedCapacity, 100.0);
    QCOMPARE(brm->ratedVoltage, 400.0);
    QCOMPARE(brm->manufacturer, QStringLiteral("ABCD"));
    QCOMPARE(brm->packSerial, 0x12345678u);
    QCOMPARE(brm->productionYear, 2019);
    QCOMPARE(brm->productionMonth, 5);
    QCOMPARE(brm->productionDay, 20);
    QCOMPARE(brm->chargeCount, 10000u);
    QVERIFY(brm->ownedByCar);
    QCOMPARE(brm->vin, QStringLiteral("LZYATJKL012345678"));
    QVERIFY(brm->hasBmsVersion);
    QCOMPARE(int(brm->versionSerial), 3);
    QCOMPARE(int(brm->versionDay), 15);
    QCOMPARE(int(brm->versionMonth), 6);
    QCOMPARE(int(brm->versionYear), 2019);
}

// Without the software version the rest of a BRM still counts.
void tst_HandshakeMessages::brmWithoutVersion()
{
    const std::optional<BrmRecord> brm = decodeBrm(fullBrm().left(BrmRecord::Size));
    QVERIFY(brm);
    QCOMPARE(brm->vin, QStringLiteral("LZYATJKL012345678"));
    QVERIFY(!brm->hasBmsVersion);
    QVERIFY(decodeBrm(fullBrm().left(BrmRecord::SizeWithVersion))->hasBmsVersion);
    QVERIFY(!decodeBrm(fullBrm().left(BrmRecord::SizeWithVersion - 1))->hasBmsVersion);
}

namespace {

// What a BRM says was provided, field by field.
QStringList providedFields(const BrmRecord &brm)
{
    QStringList fields;
    if (!brm.manufacturer.isEmpty())
        fields << "manufacturer";
    if (brm.hasPackSerial)
        fields << "serial";
    if (brm.hasProductionDate)
        fields << "date";
    if (brm.hasChargeCount)
        fields << "count";
    if (brm.hasPropertyRight)
        fields << "property";
    if (!brm.vin.isEmpty())
        fields << "vin";
    if (brm.hasBmsVersion)
        fields << "version";
    return fields;
}

} // namespace

void tst_HandshakeMessages::brmFieldsNotProvided_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("count"); // bytes set to 0xFF
    QTest::addColumn<QStringList>("provided");
    const QStringList all{"manufacturer", "serial", "date", "count", "property", "vin", "version"};
    QTest::newRow("all provided") << 0 << 0 << all;
    QTest::newRow("every optional byte 0xFF") << 8 << 41 << QStringList();
    QTest::newRow("manufacturer") << 8 << 4 << QStringList(all.mid(1));
    QTest::newRow("pack serial") << 12 << 4 << (QStringList{"manufacturer", "date", "count", "property", "vin", "version"});
    QTest::newRow("production year alone") << 16 << 1 << (QStringList{"manufacturer", "serial", "count", "property", "vin", "version"});
    QTest::newRow("production day alone") << 18 << 1 << (QStringList{"manufacturer", "serial", "count", "property", "vin", "version"});
    QTest::newRow("charge count") << 19 << 3 << (QStringList{"manufacturer", "serial", "date", "property", "vin", "version"});
    QTest::newRow("property right") << 22 << 1 << (QStringList{"manufacturer", "serial", "date", "count", "vin", "version"});
    QTest::newRow("reserved byte is no field") << 23 << 1 << all;
    QTest::newRow("VIN") << 24 << 17 << (QStringList{"manufacturer", "serial", "date", "count", "property", "version"});
    QTest::newRow("BMS version") << 41 << 5 << QStringList(all.mid(0, 6));
    // One byte of a field that is not 0xFF is a value.
    QTest::newRow("charge count of two 0xFF bytes") << 19 << 2 << all;
    QTest::newRow("VIN but its last character") << 24 << 16 << all;
}

void tst_HandshakeMessages::brmFieldsNotProvided()
{
    QFETCH(int, from);
    QFETCH(int, count);
    QFETCH(QStringList, provided);
    QByteArray data = fullBrm();
    data.replace(from, count, QByteArray(count, '\xFF'));
    const std::optional<BrmRecord> brm = decodeBrm(data);
    QVERIFY(brm);
    QCOMPARE(providedFields(*brm), provided);
    QCOMPARE(int(brm->batteryType), 3); // the mandatory fields stay
    QCOMPARE(brm->ratedVoltage, 400.0);
}

void tst_HandshakeMessages::shortMessages_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("size"); // shortest size that decodes
    QTest::newRow("CHM") << "CHM" << 3;
    QTest::newRow("BHM") << "BHM" << 2;
    QTest::newRow("CRM") << "CRM" << 8;
    QTest::newRow("BRM") << "BRM" << 41;
}

void tst_HandshakeMessages::shortMessages()
{
    QFETCH(QString, message);
    QFETCH(int, size);
    const auto decodes = [&](int n) {
        const QByteArray data = fullBrm().left(n);
        if (message == QLatin1String("CHM"))
            return bool(decodeChm(data));
        if (message == QLatin1String("BHM"))
            return isWholeBhm(data);
        if (message == QLatin1String("CRM"))
            return bool(decodeCrm(data));
        return bool(decodeBrm(data));
    };
    QVERIFY(decodes(size));
    QVERIFY(!decodes(size - 1));
    QVERIFY(!decodes(0));
}

QTEST_GUILESS_MAIN(tst_HandshakeMessages)
#include "tst_handshakemessages.moc"
