// Parameter-configuration decoders: scales and offsets of BCP and CML, the
// packed BCD of CTS, and what a message too short for its PGN gives.
#include "paramconfigmessages.h"

#include <QtTest>

class tst_ParamConfigMessages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bcp();
    void bcpTemperature_data();
    void bcpTemperature();
    void cts_data();
    void cts();
    void cml();
    void ready();
    void shortMessages_data();
    void shortMessages();
};

void tst_ParamConfigMessages::bcp()
{
    // 3.5 V, 0 A, 123.4 kWh, 765.4 V, 60 degrees, 45.6 %, 612.9 V
    const std::optional<BcpRecord> bcp = decodeBcp(QByteArray::fromHex("5e01a00fd204e61d6ec801f117"));
    QVERIFY(bcp);
    QCOMPARE(bcp->maxCellVoltage, 3.5);
    QCOMPARE(bcp->maxCurrent, 0.0);
    QCOMPARE(bcp->nominalEnergy, 123.4);
    QCOMPARE(bcp->maxTotalVoltage, 765.4);
    QCOMPARE(bcp->maxTemperature, 60);
    QCOMPARE(bcp->stateOfCharge, 45.6);
    QCOMPARE(bcp->presentVoltage, 612.9);
}

void tst_ParamConfigMessages::bcpTemperature_data()
{
    QTest::addColumn<int>("byte8");
    QTest::addColumn<int>("celsius");
    QTest::newRow("lowest") << 0 << -50;
    QTest::newRow("110") << 110 << 60;
    QTest::newRow("250") << 250 << 200;
    QTest::newRow("highest") << 255 << 205;
}

void tst_ParamConfigMessages::bcpTemperature()
{
    QFETCH(int, byte8);
    QFETCH(int, celsius);
    QByteArray data(BcpRecord::Size, '\0');
    data[8] = char(byte8);
    const std::optional<BcpRecord> bcp = decodeBcp(data);
    QVERIFY(bcp);
    QCOMPARE(bcp->maxTemperature, celsius);
    QCOMPARE(bcp->maxCurrent, -400.0);
}

void tst_ParamConfigMessages::cts_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QList<int>>("fields"); // year, month, day, hour, minute, second
    QTest::newRow("2019-7-1 8:15:30") << QByteArray::fromHex("30150801072019") << QList<int>{2019, 7, 1, 8, 15, 30};
    QTest::newRow("nibbles above 9 count as values")
            << QByteArray::fromHex("0a00000000ff00") << QList<int>{16500, 0, 0, 0, 0, 10};
}

void tst_ParamConfigMessages::cts()
{
    QFETCH(QByteArray, data);
    QFETCH(QList<int>, fields);
    const std::optional<CtsRecord> cts = decodeCts(data);
    QVERIFY(cts);
    QCOMPARE((QList<int>{cts->year, cts->month, cts->day, cts->hour, cts->minute, cts->second}), fields);
}

void tst_ParamConfigMessages::cml()
{
    const std::optional<CmlRecord> cml = decodeCml(QByteArray::fromHex("401f8813282300003f"));
    QVERIFY(cml);
    QCOMPARE(cml->maxVoltage, 800.0);
    QCOMPARE(cml->minVoltage, 500.0);
    QCOMPARE(cml->maxCurrent, 500.0);
    QCOMPARE(cml->minCurrent, -400.0);
}

void tst_ParamConfigMessages::ready()
{
    QCOMPARE(decodeReady(QByteArray::fromHex("aa")), std::optional<quint8>(0xAA));
    QCOMPARE(decodeReady(QByteArray::fromHex("00ffff")), std::optional<quint8>(0x00));
    QVERIFY(!decodeReady(QByteArray()));
}

void tst_ParamConfigMessages::shortMessages_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("size"); // shortest size that decodes
    QTest::newRow("BCP") << "BCP" << 13;
    QTest::newRow("CTS") << "CTS" << 7;
    QTest::newRow("CML") << "CML" << 8;
}

void tst_ParamConfigMessages::shortMessages()
{
    QFETCH(QString, message);
    QFETCH(int, size);
    const auto decodes = [&](int n) {
        const QByteArray data(n, '\x11');
        if (message == QLatin1String("BCP"))
            return bool(decodeBcp(data));
        if (message == QLatin1String("CTS"))
            return bool(decodeCts(data));
        return bool(decodeCml(data));
    };
    QVERIFY(decodes(size));
    QVERIFY(!decodes(size - 1));
    QVERIFY(!decodes(0));
}

QTEST_GUILESS_MAIN(tst_ParamConfigMessages)
#include "tst_paramconfigmessages.moc"
