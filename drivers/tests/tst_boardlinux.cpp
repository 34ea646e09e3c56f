// A board driver on a fake sysfs/UIO tree of one PCI Express board 0x2210:
// an open that cannot reach the board fails and says why on stderr, and a
// UIO node that hangs up ends the receive thread instead of spinning.
#include "plxtest.h"
#include "vciexports.h"

#include <QtTest>

#include <sys/stat.h>
#include <time.h>

namespace {

constexpr uint32_t kType = VCI_DRAVEX_PCIE2;

enum class Node { Fifo, DeadFile, Missing };
enum class Bar2 { Memory, Io };

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

Q_DECLARE_METATYPE(Node)
Q_DECLARE_METATYPE(Bar2)

class TestBoardLinux : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup() { VCI_CloseDevice(kType, 0); }

    void openFailures_data();
    void openFailures();
    void hungUpNodeEndsTheReceiveThread();
    void healthyNodeKeepsTheBoard();

private:
    void build(bool bound, Node node, Bar2 bar2);
    void write(const QString &path, const QByteArray &content);

    QTemporaryDir m_dir;
    QString m_root;
};

void TestBoardLinux::write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void TestBoardLinux::initTestCase()
{
    QVERIFY(m_dir.isValid());
    PLXSIM_SetBoards(nullptr);
    QCOMPARE(PLXSIM_BoardCount(), 0u);
    write(m_dir.path() + "/lockdown", "[none] integrity confidentiality\n");
    qputenv("PLX_LOCKDOWN_FILE", QFile::encodeName(m_dir.path() + "/lockdown"));
}

void TestBoardLinux::cleanupTestCase()
{
    qunsetenv("PLX_SYSFS_ROOT");
    qunsetenv("PLX_DEV_ROOT");
    qunsetenv("PLX_LOCKDOWN_FILE");
}

void TestBoardLinux::init()
{
    m_root = m_dir.path() + '/' + QString(QTest::currentTestFunction())
           + QString(QTest::currentDataTag()).replace('/', '-');
    qputenv("PLX_SYSFS_ROOT", QFile::encodeName(m_root + "/devices"));
    qputenv("PLX_DEV_ROOT", QFile::encodeName(m_root + "/dev"));
}

// The board's sysfs entry; BAR 2 holds both controllers as plain memory.
void TestBoardLinux::build(bool bound, Node node, Bar2 bar2)
{
    const QString path = m_root + "/devices/0000:05:00.0";
    QVERIFY(QDir().mkpath(path));
    QVERIFY(QDir().mkpath(m_root + "/dev"));
    write(path + "/vendor", "0x10b5\n");
    write(path + "/device", "0x2210\n");
    write(path + "/config", QByteArray(256, '\0'));
    write(path + "/reset", QByteArray());
    write(path + "/resource0", QByteArray(256, '\0'));
    write(path + "/resource2", QByteArray(512, '\0'));
    const QByteArray flags = bar2 == Bar2::Io ? "0x0000000000040101" : "0x0000000000040200";
    write(path + "/resource", "0x00000000fe000000 0x00000000fe0000ff 0x0000000000040200\n"
                              "0x0000000000000000 0x0000000000000000 0x0000000000000000\n"
                              "0x00000000fe001000 0x00000000fe0011ff " + flags + "\n");
    if (bound)
        QVERIFY(QDir().mkpath(path + "/uio/uio3"));
    const QString uio = m_root + "/dev/uio3";
    if (node == Node::Fifo)
        QCOMPARE(::mkfifo(QFile::encodeName(uio).constData(), 0600), 0);
    else if (node == Node::DeadFile)
        write(uio, QByteArray()); // readable at once, and never a count
}

void TestBoardLinux::openFailures_data()
{
    QTest::addColumn<bool>("bound");
    QTest::addColumn<Node>("node");
    QTest::addColumn<Bar2>("bar2");
    QTest::addColumn<QString>("libraryLine");
    QTest::addColumn<QString>("driverLine");

    QTest::newRow("not bound to UIO") << false << Node::Missing << Bar2::Memory
                                      << "0000:05:00.0: cannot open the board: not bound to uio_pci_generic"
                                      << "DRAVEX: device type 24, index 0: no usable board 0x2210: NO_DRIVER";
    QTest::newRow("registers behind an I/O BAR")
        << true << Node::Fifo << Bar2::Io << "0000:05:00.0/resource2: cannot map: an I/O port BAR"
        << "DRAVEX: device type 24, index 0: no usable board 0x2210: INVALID_ADDR";
    QTest::newRow("UIO node missing") << true << Node::Missing << Bar2::Memory
                                      << "dev/uio3: cannot open: no such file"
                                      << "DRAVEX: device type 24, index 0: no interrupt notification: NO_DRIVER";
}

void TestBoardLinux::openFailures()
{
    QFETCH(bool, bound);
    QFETCH(Node, node);
    QFETCH(Bar2, bar2);
    QFETCH(QString, libraryLine);
    QFETCH(QString, driverLine);
    build(bound, node, bar2);

    uint32_t opened = 1;
    const QString printed = QString::fromStdString(plxtest::stderrOf([&] { opened = VCI_OpenDevice(kType, 0, 0); }));
    QCOMPARE(opened, 0u);
    const QStringList lines = printed.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].startsWith("PlxApi: " + m_root) && lines[0].contains(libraryLine), qPrintable(printed));
    QCOMPARE(lines[1], driverLine);
    VCI_INIT_CONFIG config{};
    QCOMPARE(VCI_InitCAN(kType, 0, 0, &config), 0u);
}

// A node that is always readable but yields no interrupt count (as an
// unbound UIO device does): the thread stops at once, each channel gets a
// bus error record, and the board refuses every further operation but
// handing out its stores, until it is closed.
void TestBoardLinux::hungUpNodeEndsTheReceiveThread()
{
    build(true, Node::DeadFile, Bar2::Memory);
    VCI_ERR_INFO errors[2] = {};
    const std::string printed = plxtest::stderrOf([&] {
        QCOMPARE(VCI_OpenDevice(kType, 0, 0), 1u);
        // Each read takes the record it returns: poll, then compare once.
        QElapsedTimer timer;
        timer.start();
        for (uint32_t ch = 0; ch < 2; ++ch) {
            while (VCI_ReadErrInfo(kType, 0, ch, &errors[ch]) != 1 && timer.elapsed() < 5000)
                QTest::qSleep(1);
        }
    });
    for (const VCI_ERR_INFO &e : errors)
        QCOMPARE(e.ErrorCode, uint32_t(VCI_ERR_BUS));
    // The library names the node and the reason, the driver what it means.
    const QStringList lines = QString::fromStdString(printed).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines, QStringList({"PlxApi: " + m_root + "/dev/uio3: interrupt wait failed: end of file instead of an "
                                                      "interrupt count",
                                 "board receive thread stopped: interrupt wait failed (FAILED); the board receives "
                                 "nothing more"}));

    // Nothing spins on the dead node: the process idles while it sleeps
    // (a spinning receive thread would take the whole half second).
    const double before = processCpuSeconds();
    QTest::qSleep(500);
    const double used = processCpuSeconds() - before;
    QVERIFY2(used < 0.15, qPrintable(QString::number(used)));

    VCI_INIT_CONFIG config{};
    config.BTR1 = 0x1C;
    VCI_CAN_OBJ frame{};
    QCOMPARE(VCI_InitCAN(kType, 0, 0, &config), 0u);
    QCOMPARE(VCI_Transmit(kType, 0, 0, &frame, 1), 0u);
    QCOMPARE(VCI_ReadErrInfo(kType, 0, 0, &errors[0]), 0u); // the record was handed out once
    QCOMPARE(VCI_CloseDevice(kType, 0), 1u);
    QCOMPARE(VCI_OpenDevice(kType, 0, 0), 1u); // a fresh start, failing again the same way
}

// The same board with a node that just stays quiet keeps working.
void TestBoardLinux::healthyNodeKeepsTheBoard()
{
    build(true, Node::Fifo, Bar2::Memory);
    QCOMPARE(VCI_OpenDevice(kType, 0, 0), 1u);
    QTest::qSleep(300); // three wait rounds
    VCI_ERR_INFO error{};
    QCOMPARE(VCI_ReadErrInfo(kType, 0, 0, &error), 0u);
    VCI_INIT_CONFIG config{};
    config.BTR1 = 0x1C;
    QCOMPARE(VCI_InitCAN(kType, 0, 0, &config), 1u);
}

QTEST_GUILESS_MAIN(TestBoardLinux)
#include "tst_boardlinux.moc"
