#include "dbc/ravolt_parse_dbc.h"

#include <QtTest>

#include <thread>
#include <vector>

class TestRavoltParseDbc : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void result_data();
    void result();
    void folderIsNotAnEmptyFile();
    void nullNetwork();
    void parallelParses();

private:
    QTemporaryDir m_dir;
};

void TestRavoltParseDbc::result_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("messages");

    QTest::newRow("missing file") << QByteArray() << false << false << 0;
    QTest::newRow("empty file") << QByteArray() << true << true << 0;
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n\n") << true << true << 0;
    QTest::newRow("unrecognised statement after valid ones")
            << QByteArray("BO_ 1 A: 8 X\nBO_ 2 B: 8 X\nNOPE\nBO_ 3 C: 8 X\n") << true << false << 2;
    QTest::newRow("trailing spaces and line ends")
            << QByteArray("BO_ 1 A: 8 X\n   \r\n\n") << true << true << 1;
    QTest::newRow("line ends CR LF")
            << QByteArray("VERSION \"\"\r\n\r\nNS_ :\r\n\tCM_\r\n\r\nBU_: A\r\nBO_ 1 A: 8 A\r\n") << true
            << true << 1;
}

void TestRavoltParseDbc::result()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    QFETCH(bool, result);
    QFETCH(int, messages);

    QVERIFY(m_dir.isValid());
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".dbc");
    if (exists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    DBC::Network network;
    network.comment = "before";
    QCOMPARE(Ravolt_parse_dbc(QFile::encodeName(path).toStdString(), &network), result);
    QCOMPARE(int(network.messages.size()), messages);
    QCOMPARE(network.comment, std::string("before"));
}

void TestRavoltParseDbc::folderIsNotAnEmptyFile()
{
    DBC::Network network;
    QVERIFY(!Ravolt_parse_dbc(QFile::encodeName(m_dir.path()).toStdString(), &network));
}

void TestRavoltParseDbc::nullNetwork()
{
    const QString path = m_dir.filePath("null.dbc");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("VERSION \"\"\n");
    file.close();
    QVERIFY(!Ravolt_parse_dbc(QFile::encodeName(path).toStdString(), nullptr));
}

void TestRavoltParseDbc::parallelParses()
{
    QByteArray content = "BU_: A B\n";
    for (int id = 0; id < 200; ++id)
        content += "BO_ " + QByteArray::number(id) + " M" + QByteArray::number(id) + ": 8 A\n"
                   " SG_ S : 0|8@1+ (1,0) [0|0] \"\" B\nCM_ SG_ " + QByteArray::number(id)
                   + " S \"text\";\nBA_ \"A\" BO_ " + QByteArray::number(id) + " 1;\n";
    const QString path = m_dir.filePath("parallel.dbc");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    const std::string name = QFile::encodeName(path).toStdString();
    std::vector<DBC::Network> networks(4);
    std::vector<char> results(networks.size(), 0);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < networks.size(); ++i)
        threads.emplace_back([&, i] { results[i] = Ravolt_parse_dbc(name, &networks[i]); });
    for (std::thread &thread : threads)
        thread.join();
    for (std::size_t i = 0; i < networks.size(); ++i) {
        QVERIFY(results[i]);
        QCOMPARE(networks[i].messages.size(), std::size_t(200));
        QCOMPARE(networks[i].messages.at(199).signals.at("S").comment, std::string("text"));
    }
}

QTEST_APPLESS_MAIN(TestRavoltParseDbc)

#include "tst_ravoltparsedbc.moc"
