#include "canobj.h"
#include "convert.h"

#include <QtTest>

#include <cstring>

#include <chrono>

class tst_Convert : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chartoint_data();
    void chartoint();
    void strtodata_data();
    void strtodata();
    void chartoBitArray();
    void idConversion_data();
    void idConversion();
    void settleTime_data();
    void settleTime();
    void incData_data();
    void incData();
    void usleepWaits();
};

void tst_Convert::chartoint_data()
{
    QTest::addColumn<char>("c");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("value");
    QTest::newRow("0") << '0' << 0 << 0;
    QTest::newRow("9") << '9' << 0 << 9;
    QTest::newRow("A") << 'A' << 0 << 10;
    QTest::newRow("f") << 'f' << 0 << 15;
    QTest::newRow("G") << 'G' << 1 << 0xEE;
    QTest::newRow("blank") << ' ' << 1 << 0xEE;
}

void tst_Convert::chartoint()
{
    QFETCH(char, c);
    QFETCH(int, result);
    QFETCH(int, value);
    unsigned char out = 0xEE;
    QCOMPARE(::chartoint(c, &out), result);
    QCOMPARE(int(out), value);
}

void tst_Convert::strtodata_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("separated");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("separated") << QByteArray("12 AB") << 2 << 1 << 0 << QByteArray("\x12\xAB", 2);
    QTest::newRow("packed") << QByteArray("12AB") << 2 << 0 << 0 << QByteArray("\x12\xAB", 2);
    QTest::newRow("lower case") << QByteArray("3f 0a") << 2 << 1 << 0 << QByteArray("\x3F\x0A", 2);
    QTest::newRow("bad second digit") << QByteArray("1G") << 1 << 0 << 1 << QByteArray("\x01\xEE", 2);
    QTest::newRow("bad first digit") << QByteArray("12 X4") << 2 << 1 << 1 << QByteArray("\x12\xEE", 2);
    // The source ends early: never read past it.
    QTest::newRow("short source") << QByteArray("12 A") << 2 << 1 << 1 << QByteArray("\x12\x0A", 2);
    QTest::newRow("empty source") << QByteArray() << 1 << 0 << 1 << QByteArray("\xEE\xEE", 2);
}

void tst_Convert::strtodata()
{
    QFETCH(QByteArray, text);
    QFETCH(int, count);
    QFETCH(int, separated);
    QFETCH(int, result);
    QFETCH(QByteArray, bytes);
    // A heap copy of exactly the text, so ASan sees any read past it.
    std::vector<char> src(text.begin(), text.end());
    unsigned char dst[2] = {0xEE, 0xEE};
    QCOMPARE(::strtodata(src.data(), int(src.size()), dst, count, separated), result);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(dst), 2), bytes);
}

void tst_Convert::chartoBitArray()
{
    const QBitArray bits = ::chartoBitArray(0x1C);
    QCOMPARE(bits.size(), 8);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(bits.testBit(i), i >= 2 && i <= 4);
    QCOMPARE(::chartoBitArray(0x80).testBit(7), true);
}

void tst_Convert::idConversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("standard code to id") << getCanIdFromLL(0, 0x123LL << 21) << QStringLiteral("00000123");
    QTest::newRow("extended code to id") << getCanIdFromLL(1, 0x918) << QStringLiteral("00000123");
    QTest::newRow("standard id to code") << toCanIdFromLL(0, 0x123) << QStringLiteral("24600000");
    QTest::newRow("extended id to code") << toCanIdFromLL(1, 0x1FFFFFFF) << QStringLiteral("FFFFFFF8");
    QTest::newRow("code text") << getCanCodeFromLL(0xABCDEF) << QStringLiteral("00ABCDEF");
    QTest::newRow("code text same") << toCanCodeFromLL(0xFFFFFFFF) << QStringLiteral("FFFFFFFF");
}

void tst_Convert::idConversion()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void tst_Convert::settleTime_data()
{
    QTest::addColumn<QString>("direction");
    QTest::addColumn<QString>("stamp");
    QTest::addColumn<int>("base");
    QTest::addColumn<QString>("expected");
    QTest::newRow("example") << "Rx" << "0x1E240" << 0 << "00:00:12.345.6";
    QTest::newRow("no prefix") << "Rx" << "1E240" << 0 << "00:00:12.345.6";
    QTest::newRow("tx keeps text") << "Tx" << "NULL" << 0 << "NULL";
    QTest::newRow("other keeps text") << "" << "0x10" << 0 << "0x10";
    QTest::newRow("equal to base") << "Rx" << "0x1E240" << 123456 << "00:00:00.000.0";
    QTest::newRow("relative seconds") << "Rx" << QString::number(25 * 10000 + 7, 16) << 20000 << "00:00:23.000.7";
    QTest::newRow("under a millisecond") << "Rx" << "0x5" << 0 << "00:00:00.000.5";
    QTest::newRow("one hour") << "Rx" << QString::number(36000000, 16) << 0 << "01:00:00.000.0";
    QTest::newRow("before base wraps") << "Rx" << "0x0" << 20000 << "23:59:58.000.0";
}

void tst_Convert::settleTime()
{
    QFETCH(QString, direction);
    QFETCH(QString, stamp);
    QFETCH(int, base);
    QFETCH(QString, expected);
    QCOMPARE(gSettleTime(direction, stamp, base), expected);
}

void tst_Convert::incData_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("carry");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("plain") << QByteArray("\x01\xFF", 2) << 0 << true << QByteArray("\x02\xFF", 2);
    QTest::newRow("last byte rolls all") << QByteArray("\x01\xFF", 2) << 1 << true << QByteArray("\x00\x00", 2);
    QTest::newRow("carry into next") << QByteArray("\xFF\x05\x00", 3) << 0 << true << QByteArray("\xFF\x06\x00", 3);
    QTest::newRow("no carry") << QByteArray("\x01\x02", 2) << 0 << false << QByteArray("\x01\x02", 2);
    QTest::newRow("all eight FF") << QByteArray(8, '\xFF') << 0 << true << QByteArray(8, '\0');
    QTest::newRow("position out of range") << QByteArray("\x01", 1) << 8 << true << QByteArray("\x01", 1);
}

void tst_Convert::incData()
{
    QFETCH(QByteArray, data);
    QFETCH(int, position);
    QFETCH(bool, carry);
    QFETCH(QByteArray, expected);
    CanObj f;
    f.DataLen = uint8_t(data.size());
    std::memcpy(f.Data, data.constData(), size_t(data.size()));
    const bool wasCarry = carry;
    ::incData(f, position, carry);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(f.Data), data.size()), expected);
    if (wasCarry && position < 8)
        QVERIFY(!carry);
}

void tst_Convert::usleepWaits()
{
    const auto start = std::chrono::steady_clock::now();
    gUsleep(20000);
    QVERIFY(std::chrono::steady_clock::now() - start >= std::chrono::microseconds(20000));
    timeval tv{};
    QCOMPARE(ulGetTimeOfDay(&tv, nullptr), 0);
    QVERIFY(tv.tv_usec >= 0 && tv.tv_usec < 1000000);
    QVERIFY(qAbs(qint64(tv.tv_sec) - QDateTime::currentSecsSinceEpoch()) <= 1);
}

QTEST_APPLESS_MAIN(tst_Convert)
#include "tst_convert.moc"
