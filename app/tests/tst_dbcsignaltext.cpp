// Number texts of the DBC views: trimmed "%f" values, the start position
// of Intel and Motorola signals, factor and offset near 1 and 0.
#include "dbc/signal.h"
#include "dbcsignaltext.h"

#include <QtTest>

class tst_DBCSignalText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void number_data();
    void number();
    void startPosition_data();
    void startPosition();
    void factorAndOffset_data();
    void factorAndOffset();
};

void tst_DBCSignalText::number_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("fraction") << 12.5 << "12.5";
    QTest::newRow("whole") << 3.0 << "3";
    QTest::newRow("negative") << -40.0 << "-40";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("trailing zero of a whole number stays") << 100.0 << "100";
    QTest::newRow("six decimals") << 0.000001 << "0.000001";
    QTest::newRow("below six decimals") << 0.0000004 << "0";
    // Exact binary ties round to the even digit, as C's "%f" does.
    QTest::newRow("tie 2^-7") << 0.0078125 << "0.007812";
    QTest::newRow("negative tie 2^-7") << -0.0078125 << "-0.007812";
    QTest::newRow("tie 3 * 2^-7") << 0.0234375 << "0.023438";
    // 2.5e-7 and 1.5e-6 are not ties in binary: below and above the half.
    QTest::newRow("2.5e-7") << 2.5e-7 << "0";
    QTest::newRow("1.5e-6") << 1.5e-6 << "0.000002";
    QTest::newRow("1e15") << 1e15 << "1000000000000000";
    QTest::newRow("largest double") << 1.7976931348623157e308
                                    << QStringLiteral("179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558632766878171540458953514382464234321326889464182768467546703537516986049910576551282076245490090389328944075868508455133942304583236903222948165808559332123348274797826204144723168738177180919299881250404026184124858368");
}

void tst_DBCSignalText::number()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(DBCSignalText::number(value), text);
}

void tst_DBCSignalText::startPosition_data()
{
    QTest::addColumn<int>("byteOrder");
    QTest::addColumn<uint>("startBit");
    QTest::addColumn<uint>("bitSize");
    QTest::addColumn<int>("position");
    QTest::newRow("Intel keeps its start bit") << int(DBC::Intel) << 13u << 12u << 13;
    QTest::newRow("Motorola 7|12") << int(DBC::Motorola) << 7u << 12u << 12;
    QTest::newRow("Motorola 7|16") << int(DBC::Motorola) << 7u << 16u << 8;
    QTest::newRow("Motorola within its byte 5|3") << int(DBC::Motorola) << 5u << 3u << 3;
    QTest::newRow("Motorola whole byte 15|8") << int(DBC::Motorola) << 15u << 8u << 8;
    QTest::newRow("Motorola three bytes 23|20") << int(DBC::Motorola) << 23u << 20u << 36;
}

void tst_DBCSignalText::startPosition()
{
    QFETCH(int, byteOrder);
    QFETCH(uint, startBit);
    QFETCH(uint, bitSize);
    QFETCH(int, position);
    DBC::Signal signal;
    signal.byteOrder = DBC::ByteOrder(byteOrder);
    signal.startBit = startBit;
    signal.bitSize = bitSize;
    QCOMPARE(DBCSignalText::startPosition(signal), position);
}

void tst_DBCSignalText::factorAndOffset_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("offset");
    QTest::newRow("one within 1e-6") << 1.0000009 << "1" << "1.000001";
    QTest::newRow("zero within 1e-6") << 0.0000009 << "0.000001" << "0";
    QTest::newRow("scaled") << 0.1 << "0.1" << "0.1";
    QTest::newRow("negative") << -40.0 << "-40" << "-40";
}

void tst_DBCSignalText::factorAndOffset()
{
    QFETCH(double, value);
    QFETCH(QString, factor);
    QFETCH(QString, offset);
    QCOMPARE(DBCSignalText::factor(value), factor);
    QCOMPARE(DBCSignalText::offset(value), offset);
}

QTEST_APPLESS_MAIN(tst_DBCSignalText)
#include "tst_dbcsignaltext.moc"
