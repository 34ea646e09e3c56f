// Short number texts: trailing zeros after the point go, the point with
// them when nothing follows it; integers keep their zeros.
#include "trimzeros.h"

#include <QtTest>

class tst_TrimZeros : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trimZeros_data();
    void trimZeros();
    void trimmedNumber_data();
    void trimmedNumber();
};

void tst_TrimZeros::trimZeros_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("fraction") << "3.500000" << "3.5";
    QTest::newRow("whole") << "400.000000" << "400";
    QTest::newRow("negative") << "-10.000000" << "-10";
    QTest::newRow("zero") << "0.000000" << "0";
    QTest::newRow("all decimals") << "0.123456" << "0.123456";
    QTest::newRow("no point keeps its zeros") << "100" << "100";
    QTest::newRow("empty") << "" << "";
}

void tst_TrimZeros::trimZeros()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    ::trimZeros(text);
    QCOMPARE(text, trimmed);
}

void tst_TrimZeros::trimmedNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("3.5") << 3.5 << "3.5";
    QTest::newRow("400") << 400.0 << "400";
    QTest::newRow("-10") << -10.0 << "-10";
    QTest::newRow("0") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("tiny negative") << -1e-9 << "0";
    QTest::newRow("scaled cell voltage") << 345 * 0.01 << "3.45";
}

void tst_TrimZeros::trimmedNumber()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(::trimmedNumber(value), text);
}

QTEST_GUILESS_MAIN(tst_TrimZeros)
#include "tst_trimzeros.moc"
