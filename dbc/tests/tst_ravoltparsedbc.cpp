#include "dbc/ravolt_parse_dbc.h"

#include <QtTest>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <atomic>
#include <thread>
#include <vector>

namespace {

// About size bytes of valid statements.
QByteArray generatedDbc(int size)
{
    QByteArray content = "BU_: A B\n";
    for (int id = 0; content.size() < size; ++id)
        content += "BO_ " + QByteArray::number(id) + " M" + QByteArray::number(id) + ": 8 A\n"
                   " SG_ S : 0|8@1+ (1,0) [0|0] \"\" B\n SG_ T : 8|16@1- (0.5,-20) [-40|100] \"degC\" B\n";
    return content;
}

#ifdef Q_OS_LINUX
// Writes bytes to fd until all are in or the reader has gone; returns how
// many went in.
qint64 writeAll(int fd, const QByteArray &bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += n;
    }
    return written;
}
#endif

} // namespace

class TestRavoltParseDbc : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void result_data();
    void result();
    void folderIsNotAnEmptyFile();
    void nullNetwork();
    void parallelParses();
    void stopPosition_data();
    void stopPosition();
    void cancelledBeforeStart();
    void cancelledWhileReading();

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

void TestRavoltParseDbc::stopPosition_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");

    QTest::newRow("whole file") << QByteArray("BO_ 1 A: 8 X\n") << true << 0 << 0;
    QTest::newRow("broken at line 4")
            << QByteArray("VERSION \"\"\n\nBU_: A\n  BO_ 1 A: x 8 A\nBO_ 2 B: 8 A\n") << false << 4 << 3;
    QTest::newRow("unknown statement after a signal line")
            << QByteArray("BO_ 1 A: 8 X\n SG_ S : 0|8@1+ (1,0) [0|0] \"\" X\n\tNOPE\n") << false << 3 << 2;
    QTest::newRow("broken first statement") << QByteArray("BO_ one") << false << 1 << 1;
    QTest::newRow("after a byte-order mark") << QByteArray("\xEF\xBB\xBFVERSION \"\"\nBO_") << false << 2 << 1;
    QTest::newRow("CR LF line ends") << QByteArray("BU_: A\r\nBO_ 1 A: 8 A\r\nX\r\n") << false << 3 << 1;
}

void TestRavoltParseDbc::stopPosition()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, result);
    QFETCH(int, line);
    QFETCH(int, column);

    const QString path = m_dir.filePath(QStringLiteral("position.dbc"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();

    const std::string name = QFile::encodeName(path).toStdString();
    DBC::Network plain;
    DBC::Network network;
    std::size_t stopLine = 99, stopColumn = 99;
    QCOMPARE(Ravolt_parse_dbc_ex(name, &network, nullptr, &stopLine, &stopColumn), result);
    QCOMPARE(Ravolt_parse_dbc(name, &plain), result);
    QCOMPARE(int(stopLine), line);
    QCOMPARE(int(stopColumn), column);
    QCOMPARE(network.messages.size(), plain.messages.size());
}

void TestRavoltParseDbc::cancelledBeforeStart()
{
    const QString path = m_dir.filePath(QStringLiteral("cancelled.dbc"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("BO_ 1 A: 8 X\n");
    file.close();

    DBC::Network network;
    const std::atomic<bool> cancel{true};
    std::size_t line = 99, column = 99;
    QVERIFY(!Ravolt_parse_dbc_ex(QFile::encodeName(path).toStdString(), &network, &cancel, &line, &column));
    QVERIFY(network.messages.empty());
    QCOMPARE(int(line), 0);
    QCOMPARE(int(column), 0);

    // Missing file: no position either.
    line = column = 99;
    QVERIFY(!Ravolt_parse_dbc_ex(QFile::encodeName(m_dir.filePath("none.dbc")).toStdString(), &network, nullptr,
                                 &line, &column));
    QCOMPARE(int(line), 0);
    QCOMPARE(int(column), 0);
    QVERIFY(!Ravolt_parse_dbc_ex(QFile::encodeName(path).toStdString(), nullptr, nullptr, nullptr, nullptr));
}

// Held in the read: the file is a pipe the test writes, so the cancel comes
// while the call reads. Once cancelled the call finishes the 64 kB block it
// is reading and closes the pipe, so the test gets at most that block and
// what the pipe holds into it; a call that read on would take all 4 MB.
// Counted in bytes, which no load changes. A cancel at a known statement
// of the parse is tst_dbcgrammar's.
void TestRavoltParseDbc::cancelledWhileReading()
{
#ifdef Q_OS_LINUX
    const QByteArray fifo = QFile::encodeName(m_dir.filePath(QStringLiteral("pipe.dbc")));
    QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
    // A write to a pipe the call has closed fails, rather than end the test.
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    QCOMPARE(sigaction(SIGPIPE, &ignore, &previous), 0);
    const auto restore = qScopeGuard([&previous] { sigaction(SIGPIPE, &previous, nullptr); });

    DBC::Network network;
    std::atomic<bool> cancel{false};
    std::atomic<bool> done{false};
    bool result = true;
    std::thread parse([&] {
        result = Ravolt_parse_dbc_ex(fifo.toStdString(), &network, &cancel, nullptr, nullptr);
        done = true;
    });
    // Opening blocks until the call has opened the pipe; writing, until it
    // has read all but what the pipe holds.
    const int writer = ::open(fifo.constData(), O_WRONLY | O_CLOEXEC);
    QVERIFY(writer >= 0);
    const qint64 pipeBytes = fcntl(writer, F_GETPIPE_SZ);
    const QByteArray text = generatedDbc(5 * 1024 * 1024);
    const qint64 before = 1024 * 1024;
    const qint64 writtenBefore = writeAll(writer, text.left(int(before)));
    const bool reading = !done;
    cancel = true;
    const qint64 after = writeAll(writer, text.mid(int(before)));
    // A read that waits for more data ends with the pipe.
    ::close(writer);
    parse.join();
    QCOMPARE(writtenBefore, before);
    QVERIFY(reading);
    QVERIFY(!result);
    QVERIFY(network.messages.empty());
    QVERIFY(pipeBytes > 0);
    const qint64 block = 64 * 1024;
    QVERIFY2(after <= block + pipeBytes, qPrintable(QStringLiteral("%1 bytes").arg(after)));
#else
    QSKIP("needs a named pipe");
#endif
}

QTEST_APPLESS_MAIN(TestRavoltParseDbc)

#include "tst_ravoltparsedbc.moc"
