// CSV export of decoded rows: quoting of fields, the line forms of message
// and signal rows, and appending to an earlier export without a second
// header.
#include "apphelpers.h"
#include "dbccsvexport.h"

#include <QtTest>

class tst_DBCCsvExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void field_data();
    void field();
    void lines();
    void appendWritesHeaderOnce();
    void unwritableFile();
};

void tst_DBCCsvExport::field_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << "Engine speed" << "Engine speed";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("comma") << "0:Off 1:On, fast" << "\"0:Off 1:On, fast\"";
    QTest::newRow("quote") << "the \"best\" value" << "\"the \"\"best\"\" value\"";
    QTest::newRow("line break") << "two\nlines" << "\"two\nlines\"";
    QTest::newRow("carriage return") << "a\rb" << "\"a\rb\"";
}

void tst_DBCCsvExport::field()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    QCOMPARE(DBCCsvExport::field(text), written);
}

void tst_DBCCsvExport::lines()
{
    QCOMPARE(DBCCsvExport::headerLine({"Num", "ID", "a,b"}), QStringLiteral("Num,ID,\"a,b\""));
    QCOMPARE(DBCCsvExport::rowLine({{" 0", "0x00000100", "Engine"}, false}), QStringLiteral(" 0,0x00000100,Engine,"));
    QCOMPARE(DBCCsvExport::rowLine({{"", "Speed", "2"}, true}), QStringLiteral(" ,,Speed,2,"));
}

void tst_DBCCsvExport::appendWritesHeaderOnce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export.csv"));
    const QVector<DBCCsvExport::Row> rows{{{"m"}, false}, {{"h"}, true}, {{"s1"}, true}, {{"s2"}, true}};
    QVERIFY(DBCCsvExport::append(path, {"Num", "ID"}, rows, nullptr));
    // One message row with two signals: 4 lines after the header.
    QCOMPARE(readAll(path), QByteArray("Num,ID\nm,\n ,h,\n ,s1,\n ,s2,\n"));
    QVERIFY(DBCCsvExport::append(path, {"Num", "ID"}, {rows.first()}, nullptr));
    QCOMPARE(readAll(path), QByteArray("Num,ID\nm,\n ,h,\n ,s1,\n ,s2,\nm,\n"));
}

void tst_DBCCsvExport::unwritableFile()
{
    QTemporaryDir dir;
    QString error;
    QVERIFY(!DBCCsvExport::append(dir.filePath(QStringLiteral("no/such/folder.csv")), {"Num"}, {}, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(tst_DBCCsvExport)
#include "tst_dbccsvexport.moc"
