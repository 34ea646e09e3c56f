// Board access on simulated boards: which board an open finds, how the
// register windows map to the controllers, refused accesses, and the
// status names of failed steps.
#include "cwrapplxpci.h"
#include "plxsim.h"
#include "plxstatusname.h"

#include <QtTest>

#include <thread>

using Windows = CWrapPlxPCI::Windows;
Q_DECLARE_METATYPE(Windows)

namespace {

constexpr uint8_t CDR = 31, EWLR = 13;

uint8_t peek(uint32_t controller, uint8_t reg)
{
    uint8_t value = 0;
    return PLXSIM_PeekRegister(0, controller, reg, &value) ? value : 0xEE;
}

} // namespace

class TestCWrapPlxPCI : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { PLXSIM_SetBoards(nullptr); }

    void statusNames_data();
    void statusNames();
    void open_data();
    void open();
    void windowsReachTheirControllers_data();
    void windowsReachTheirControllers();
    void accessWithoutWindowIsRefused();
    void notification();
};

void TestCWrapPlxPCI::statusNames_data()
{
    QTest::addColumn<uint32_t>("status");
    QTest::addColumn<QString>("name");

    QTest::newRow("512") << 512u << "OK";
    QTest::newRow("513") << 513u << "FAILED";
    QTest::newRow("514") << 514u << "NULL_PARAM";
    QTest::newRow("522") << 522u << "INVALID_ADDR";
    QTest::newRow("525") << 525u << "TIMEOUT";
    QTest::newRow("526") << 526u << "CANCELED";
    QTest::newRow("536") << 536u << "NOT_FOUND";
    QTest::newRow("538") << 538u << "BUFF_TOO_SMALL";
    QTest::newRow("539") << 539u << "?UNKNOWN?";
    QTest::newRow("540") << 540u << "?UNKNOWN?";
    QTest::newRow("511") << 511u << "?UNKNOWN?";
    QTest::newRow("0") << 0u << "?UNKNOWN?";
    QTest::newRow("all ones") << 0xFFFFFFFFu << "?UNKNOWN?";
}

void TestCWrapPlxPCI::statusNames()
{
    QFETCH(uint32_t, status);
    QFETCH(QString, name);
    QCOMPARE(QString::fromWCharArray(plxStatusName(status)), name);
}

void TestCWrapPlxPCI::open_data()
{
    QTest::addColumn<QString>("boards");
    QTest::addColumn<Windows>("layout");
    QTest::addColumn<uint16_t>("deviceId");
    QTest::addColumn<uint32_t>("index");
    QTest::addColumn<uint32_t>("channels");
    QTest::addColumn<QString>("error");    // empty: the open succeeds
    QTest::addColumn<int>("position");     // of the opened board in the list
    QTest::addColumn<QList<int>>("windows"); // channels with a window

    const QList<int> two{0, 1};
    QTest::newRow("index 0 of two boards of one id")
        << "0x2210,0x2210" << Windows::SharedBar2 << uint16_t(0x2210) << 0u << 2u << "" << 0 << two;
    QTest::newRow("index 1 opens the second")
        << "0x2210,0x2210" << Windows::SharedBar2 << uint16_t(0x2210) << 1u << 2u << "" << 1 << two;
    QTest::newRow("a PLX device of another id is not counted")
        << "0x9050,0x5201,0x2210" << Windows::SharedBar2 << uint16_t(0x2210) << 0u << 2u << "" << 2 << two;
    QTest::newRow("index past the boards")
        << "0x2210" << Windows::SharedBar2 << uint16_t(0x2210) << 1u << 2u << "设备不存在" << -1 << QList<int>{};
    QTest::newRow("no board") << "" << Windows::OneBarPerChannel << uint16_t(0x5201) << 0u << 2u << "设备不存在" << -1
                              << QList<int>{};
    QTest::newRow("PCI Express board without BAR 2")
        << "0x9050" << Windows::SharedBar2 << uint16_t(0x9050) << 0u << 2u << "INVALID_ADDR" << -1 << QList<int>{};
    QTest::newRow("one-channel PCI board: the other windows stay null")
        << "0x1101" << Windows::OneBarPerChannel << uint16_t(0x1101) << 0u << 1u << "" << 0 << QList<int>{0};
    QTest::newRow("two-channel PCI board")
        << "0x1101,0x5201" << Windows::OneBarPerChannel << uint16_t(0x5201) << 0u << 2u << "" << 1 << two;
    QTest::newRow("four-channel PCI board")
        << "0x1400" << Windows::OneBarPerChannel << uint16_t(0x1400) << 0u << 4u << "" << 0
        << QList<int>{0, 1, 2, 3};
    QTest::newRow("PCI board without its BARs is refused")
        << "0x9050" << Windows::OneBarPerChannel << uint16_t(0x9050) << 0u << 2u << "INVALID_ADDR" << -1
        << QList<int>{};
    QTest::newRow("a channel's BAR missing refuses the board")
        << "0x5201" << Windows::OneBarPerChannel << uint16_t(0x5201) << 0u << 4u << "INVALID_ADDR" << -1
        << QList<int>{};
}

void TestCWrapPlxPCI::open()
{
    QFETCH(QString, boards);
    QFETCH(Windows, layout);
    QFETCH(uint16_t, deviceId);
    QFETCH(uint32_t, index);
    QFETCH(uint32_t, channels);
    QFETCH(QString, error);
    QFETCH(int, position);
    QFETCH(QList<int>, windows);
    PLXSIM_SetBoards(boards.toLatin1().constData());

    CWrapPlxPCI board(layout);
    QVERIFY(board.lastError().empty());
    const uint32_t status = board.open(index, deviceId, channels);
    QCOMPARE(QString::fromStdWString(board.lastError()), error);
    QCOMPARE(status, uint32_t(error.isEmpty() ? PLX_STATUS_OK : PLX_STATUS_FAILED));
    QCOMPARE(board.isOpen(), error.isEmpty());
    for (uint32_t ch = 0; ch < CWrapPlxPCI::kMaxChannels + 1; ++ch)
        QCOMPARE(board.hasWindow(ch), windows.contains(int(ch)));
    if (position >= 0)
        QCOMPARE(board.readEeprom(146), uint16_t(0x5A00 + position));

    board.close();
    QVERIFY(!board.isOpen());
    QVERIFY(!board.hasWindow(0));
}

void TestCWrapPlxPCI::windowsReachTheirControllers_data()
{
    QTest::addColumn<QString>("boards");
    QTest::addColumn<Windows>("layout");
    QTest::addColumn<uint16_t>("deviceId");
    QTest::addColumn<uint32_t>("channels");

    QTest::newRow("PCI Express: BAR 2 at 0 and 256") << "0x2210" << Windows::SharedBar2 << uint16_t(0x2210) << 2u;
    QTest::newRow("PCI: BAR 2 and 3") << "0x5201" << Windows::OneBarPerChannel << uint16_t(0x5201) << 2u;
    QTest::newRow("four channels: BAR 5 down to 2")
        << "0x1400" << Windows::OneBarPerChannel << uint16_t(0x1400) << 4u;
}

// Channel c's registers are those of the board's controller c.
void TestCWrapPlxPCI::windowsReachTheirControllers()
{
    QFETCH(QString, boards);
    QFETCH(Windows, layout);
    QFETCH(uint16_t, deviceId);
    QFETCH(uint32_t, channels);
    PLXSIM_SetBoards(boards.toLatin1().constData());

    CWrapPlxPCI board(layout);
    QCOMPARE(board.open(0, deviceId, channels), uint32_t(PLX_STATUS_OK));
    // The open resets the board: BasicCAN until CDR says PeliCAN.
    for (uint32_t ch = 0; ch < channels; ++ch)
        QCOMPARE(board.readRegister(ch, CDR), uint8_t(0x00));
    for (uint32_t ch = 0; ch < channels; ++ch) {
        board.writeRegister(ch, CDR, 0xC8);
        board.writeRegister(ch, EWLR, uint8_t(0x40 + ch));
    }
    for (uint32_t ch = 0; ch < channels; ++ch) {
        QCOMPARE(peek(ch, EWLR), uint8_t(0x40 + ch));
        QCOMPARE(board.readRegister(ch, EWLR), uint8_t(0x40 + ch));
    }
}

void TestCWrapPlxPCI::accessWithoutWindowIsRefused()
{
    PLXSIM_SetBoards("0x1101");
    CWrapPlxPCI pci(Windows::OneBarPerChannel);
    QCOMPARE(pci.open(0, 0x1101, 1), uint32_t(PLX_STATUS_OK));
    pci.writeRegister(0, CDR, 0xC8);
    for (uint32_t ch : {1u, 3u, 4u, 0xFFFFFFFFu}) {
        pci.writeRegister(ch, CDR, 0x48);
        QCOMPARE(pci.readRegister(ch, CDR), uint8_t(0xFF));
    }
    QCOMPARE(peek(0, CDR), uint8_t(0xC8));
    pci.close();
    QCOMPARE(pci.readRegister(0, CDR), uint8_t(0xFF));
    pci.writeRegister(0, CDR, 0x48);
    QCOMPARE(peek(0, CDR), uint8_t(0xC8));

    PLXSIM_SetBoards("0x2210");
    CWrapPlxPCI pcie(Windows::SharedBar2);
    QCOMPARE(pcie.readRegister(0, CDR), uint8_t(0xFF)); // never opened
    QCOMPARE(pcie.open(0, 0x2210, 2), uint32_t(PLX_STATUS_OK));
    QCOMPARE(pcie.readRegister(2, CDR), uint8_t(0xFF));
    QVERIFY(!pcie.hasWindow(2));
    // The bridge library closed under the board: refused, not a crash.
    PLXSIM_SetBoards("0x2210");
    QCOMPARE(pcie.readRegister(0, CDR), uint8_t(0xFF));
}

void TestCWrapPlxPCI::notification()
{
    PLXSIM_SetBoards("0x2210");
    CWrapPlxPCI board(Windows::SharedBar2);
    QCOMPARE(board.open(0, 0x2210, 2), uint32_t(PLX_STATUS_OK));
    PlxInterrupt irq{};
    irq.sources = 13;
    QCOMPARE(board.registerNotification(irq), uint32_t(PLX_STATUS_OK));
    QCOMPARE(board.enableInterrupt(irq), uint32_t(PLX_STATUS_OK));
    QCOMPARE(board.waitNotification(10), uint32_t(PLX_STATUS_TIMEOUT));
    // The cancel comes once the wait has begun and ends it long before its
    // 10 s time-out (5 s for a loaded machine).
    uint32_t waited = 0;
    QElapsedTimer timer;
    timer.start();
    std::thread waiter([&] { waited = board.waitNotification(10000); });
    QTRY_COMPARE(PLXSIM_NotificationWaiters(0), 1u);
    board.cancelNotification();
    waiter.join();
    QCOMPARE(waited, uint32_t(PLX_STATUS_CANCELED));
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
}

QTEST_APPLESS_MAIN(TestCWrapPlxPCI)
#include "tst_cwrapplxpci.moc"
