// Decoders of the charging-stage, stop, statistics, time-out and battery
// messages: scales, offsets, bit positions and byte order, and what a
// message too short for its PGN gives.
#include "batterystatusmessages.h"
#include "chargeendmessages.h"
#include "chargeerrormessages.h"
#include "chargingmessages.h"

#include <QtTest>

#include <functional>

using Codes = QList<int>;
// Whether a decoder gives a record for the bytes.
using Decodes = std::function<bool(const QByteArray &)>;
Q_DECLARE_METATYPE(Decodes)

namespace {

Codes toList(const TimeoutCodes &report)
{
    return Codes(report.codes.begin(), report.codes.end());
}

} // namespace

class tst_ChargingStageMessages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bcl_data();
    void bcl();
    void bcs();
    void ccsAllowedIsBitZero_data();
    void ccsAllowedIsBitZero();
    void stopStatus();
    void bsd();
    void csd();
    void timeoutCodes_data();
    void timeoutCodes();
    void bsm();
    void bmv();
    void bmt();
    void shortMessages_data();
    void shortMessages();
};

void tst_ChargingStageMessages::bcl_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<double>("voltage");
    QTest::addColumn<double>("current");
    QTest::addColumn<int>("mode");
    QTest::newRow("360 V, 0 A, constant current") << QByteArray::fromHex("100ea00f02") << 360.0 << 0.0 << 2;
    QTest::newRow("constant voltage, -400 A") << QByteArray::fromHex("0000000001") << 0.0 << -400.0 << 1;
    QTest::newRow("largest values, longer message")
            << QByteArray::fromHex("ffffffffff00ff") << 6553.5 << 6153.5 << 255;
}

void tst_ChargingStageMessages::bcl()
{
    QFETCH(QByteArray, data);
    QFETCH(double, voltage);
    QFETCH(double, current);
    QFETCH(int, mode);
    const std::optional<BclRecord> bcl = decodeBcl(data);
    QVERIFY(bcl);
    QCOMPARE(bcl->voltageDemand, voltage);
    QCOMPARE(bcl->currentDemand, current);
    QCOMPARE(bcl->chargeMode, mode);
}

void tst_ChargingStageMessages::bcs()
{
    // 380.5 V, -10 A, cell 3.3 V in group 1, 100 %, 300 min
    const std::optional<BcsRecord> bcs = decodeBcs(QByteArray::fromHex("dd0e3c0f4a11642c01"));
    QVERIFY(bcs);
    QCOMPARE(bcs->measuredVoltage, 380.5);
    QCOMPARE(bcs->measuredCurrent, -10.0);
    QCOMPARE(bcs->maxCellVoltage, 3.3);
    QCOMPARE(bcs->maxCellGroup, quint8(1));
    QCOMPARE(bcs->stateOfCharge, quint8(100));
    QCOMPARE(bcs->remainingTime, std::optional<quint16>(300));
    // The group takes the top four bits, the voltage the other twelve.
    const std::optional<BcsRecord> top = decodeBcs(QByteArray::fromHex("00000000ffff00ffff"));
    QCOMPARE(top->maxCellVoltage, 40.95);
    QCOMPARE(top->maxCellGroup, quint8(15));
    QVERIFY(!top->remainingTime); // beyond the standard's 600 min
}

void tst_ChargingStageMessages::ccsAllowedIsBitZero_data()
{
    QTest::addColumn<QByteArray>("tail"); // bytes 6 and 7
    QTest::addColumn<int>("allowed");
    QTest::newRow("01") << QByteArray::fromHex("01ff") << 1;
    QTest::newRow("00") << QByteArray::fromHex("00ff") << 0;
    QTest::newRow("fd") << QByteArray::fromHex("fd00") << 1;
    QTest::newRow("02") << QByteArray::fromHex("02") << 0;
}

void tst_ChargingStageMessages::ccsAllowedIsBitZero()
{
    QFETCH(QByteArray, tail);
    QFETCH(int, allowed);
    const std::optional<CcsRecord> ccs = decodeCcs(QByteArray::fromHex("9d0fa20f7800") + tail);
    QVERIFY(ccs);
    QCOMPARE(ccs->outputVoltage, 399.7);
    QCOMPARE(ccs->outputCurrent, 0.2);
    QCOMPARE(ccs->chargingTime, quint16(120));
    QCOMPARE(ccs->chargingAllowed, quint8(allowed));
}

void tst_ChargingStageMessages::stopStatus()
{
    const std::optional<StopStatusRecord> stop = decodeStopStatus(QByteArray::fromHex("4134120cff"));
    QVERIFY(stop);
    QCOMPARE(stop->reasons, quint8(0x41));
    QCOMPARE(stop->faults, quint16(0x1234));
    QCOMPARE(stop->errors, quint8(0x0C));
}

void tst_ChargingStageMessages::bsd()
{
    const std::optional<BsdRecord> bsd = decodeBsd(QByteArray::fromHex("5f4a014f010032"));
    QVERIFY(bsd);
    QCOMPARE(bsd->stateOfCharge, quint8(95));
    QCOMPARE(bsd->minCellVoltage, 3.3);
    QCOMPARE(bsd->maxCellVoltage, 3.35);
    QCOMPARE(bsd->minTemperature, qint16(-50));
    QCOMPARE(bsd->maxTemperature, qint16(0));
    const std::optional<BsdRecord> hot = decodeBsd(QByteArray::fromHex("00000000005aff"));
    QCOMPARE(hot->minTemperature, qint16(40));
    QCOMPARE(hot->maxTemperature, qint16(205));
}

void tst_ChargingStageMessages::csd()
{
    const std::optional<CsdRecord> csd = decodeCsd(QByteArray::fromHex("5a00d2040102030400"));
    QVERIFY(csd);
    QCOMPARE(csd->chargingTime, quint16(90));
    QCOMPARE(csd->outputEnergy, 123.4);
    QCOMPARE(csd->chargerNumber, quint32(67305985));
    QCOMPARE(decodeCsd(QByteArray::fromHex("ffff0000ffffffff"))->chargerNumber, quint32(4294967295u));
}

void tst_ChargingStageMessages::timeoutCodes_data()
{
    QTest::addColumn<bool>("fromCharger"); // CEM, else BEM
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<Codes>("codes");
    QTest::newRow("BEM 01 04") << false << QByteArray::fromHex("01040000") << Codes{1, 0, 0, 1, 0, 0, 0};
    QTest::newRow("BEM each code") << false << QByteArray::fromHex("0e0b0601") << Codes{2, 3, 3, 2, 2, 1, 1};
    QTest::newRow("BEM unused bits") << false << QByteArray::fromHex("f0f0f0fc") << Codes{0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("CEM each code") << true << QByteArray::fromHex("fe0b3903") << Codes{2, 3, 2, 1, 2, 3, 3};
    QTest::newRow("CEM unused bits") << true << QByteArray::fromHex("fcf0c0fc") << Codes{0, 0, 0, 0, 0, 0, 0};
}

void tst_ChargingStageMessages::timeoutCodes()
{
    QFETCH(bool, fromCharger);
    QFETCH(QByteArray, data);
    QFETCH(Codes, codes);
    const std::optional<TimeoutCodes> report = fromCharger ? decodeCem(data) : decodeBem(data);
    QVERIFY(report);
    QCOMPARE(toList(*report), codes);
}

void tst_ChargingStageMessages::bsm()
{
    // Cell 0x0b, 40 degrees at point 2, -20 at point 7; states from the
    // low bits up: 1, 2, 3, 0 and 2, 1, 0.
    const std::optional<BsmRecord> bsm = decodeBsm(QByteArray::fromHex("0b5a021e07390600"));
    QVERIFY(bsm);
    QCOMPARE(bsm->maxVoltageCell, quint8(0x0B));
    QCOMPARE(bsm->maxTemperature, qint16(40));
    QCOMPARE(bsm->maxTemperaturePoint, quint8(2));
    QCOMPARE(bsm->minTemperature, qint16(-20));
    QCOMPARE(bsm->minTemperaturePoint, quint8(7));
    const Codes states{bsm->cellVoltageState, bsm->stateOfChargeState, bsm->currentState, bsm->temperatureState,
                       bsm->insulationState,  bsm->connectorState,     bsm->chargingAllowed};
    QCOMPARE(states, (Codes{1, 2, 3, 0, 2, 1, 0}));
    QCOMPARE(decodeBsm(QByteArray::fromHex("00c800000000c0"))->maxTemperature, qint16(150));
    QCOMPARE(decodeBsm(QByteArray::fromHex("00000000000010"))->chargingAllowed, quint8(1));
}

void tst_ChargingStageMessages::bmv()
{
    const QVector<CellVoltage> cells = decodeBmv(QByteArray::fromHex("4a114b114c"));
    QCOMPARE(cells.size(), 3);
    QCOMPARE(cells[0].group, 1u);
    QCOMPARE(cells[0].count, 330.0);
    QCOMPARE(cells[1].group, 1u);
    QCOMPARE(cells[1].count, 331.0);
    // The odd last byte is a cell of group 0.
    QCOMPARE(cells[2].group, 0u);
    QCOMPARE(cells[2].count, 76.0);
    const QVector<CellVoltage> top = decodeBmv(QByteArray::fromHex("ffff"));
    QCOMPARE(top.size(), 1);
    QCOMPARE(top[0].group, 15u);
    QCOMPARE(top[0].count, 4095.0);
    QVERIFY(decodeBmv(QByteArray()).isEmpty());
}

void tst_ChargingStageMessages::bmt()
{
    QCOMPARE(decodeBmt(QByteArray::fromHex("00325afaff")), (QVector<qint16>{-50, 0, 40, 200, 205}));
    QVERIFY(decodeBmt(QByteArray()).isEmpty());
}

void tst_ChargingStageMessages::shortMessages_data()
{
    QTest::addColumn<Decodes>("decodes");
    QTest::addColumn<int>("size"); // shortest size that decodes
    QTest::newRow("BCL") << Decodes([](const QByteArray &d) { return bool(decodeBcl(d)); }) << 5;
    QTest::newRow("BCS") << Decodes([](const QByteArray &d) { return bool(decodeBcs(d)); }) << 9;
    QTest::newRow("CCS") << Decodes([](const QByteArray &d) { return bool(decodeCcs(d)); }) << 7;
    QTest::newRow("BST, CST") << Decodes([](const QByteArray &d) { return bool(decodeStopStatus(d)); }) << 4;
    QTest::newRow("BSD") << Decodes([](const QByteArray &d) { return bool(decodeBsd(d)); }) << 7;
    QTest::newRow("CSD") << Decodes([](const QByteArray &d) { return bool(decodeCsd(d)); }) << 8;
    QTest::newRow("BEM") << Decodes([](const QByteArray &d) { return bool(decodeBem(d)); }) << 4;
    QTest::newRow("CEM") << Decodes([](const QByteArray &d) { return bool(decodeCem(d)); }) << 4;
    QTest::newRow("BSM") << Decodes([](const QByteArray &d) { return bool(decodeBsm(d)); }) << 7;
}

void tst_ChargingStageMessages::shortMessages()
{
    QFETCH(Decodes, decodes);
    QFETCH(int, size);
    QVERIFY(decodes(QByteArray(size, '\x11')));
    QVERIFY(!decodes(QByteArray(size - 1, '\x11')));
    QVERIFY(!decodes(QByteArray()));
}

QTEST_GUILESS_MAIN(tst_ChargingStageMessages)
#include "tst_chargingstagemessages.moc"
