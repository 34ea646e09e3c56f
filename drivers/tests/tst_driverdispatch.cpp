// The program's core on simulated boards: DevCan loads the simulated
// ControlCAN, which hands the board types to Dravex and Dravin when they
// find a board, simulates them only when asked to (VCISIM_SIMULATE_PCI),
// and keeps everything else simulated.
#include "canreadthread.h"
#include "devcan.h"
#include "plxsim.h"
#include "plxtest.h"
#include "ulbuffer.h"
#include "ulidfiltermannger.h"
#include "vcisim.h"

#include <QtTest>

namespace {

constexpr uint32_t kRate = 500000;

VCI_INIT_CONFIG config()
{
    VCI_INIT_CONFIG c{};
    c.MaskCode = 0xFFFFFFFF;
    c.FilterMode = 1;
    c.BTR1 = 0x1C; // 500 kbit/s
    return c;
}

bool openStarted(DevCan &device, uint32_t type, uint32_t channels)
{
    if (device.openDevice(type, 0, 0) != 1)
        return false;
    for (uint32_t ch = 0; ch < channels; ++ch) {
        VCI_INIT_CONFIG c = config();
        if (device.initCAN(ch, &c) != 1 || device.StartCAN(ch) != 1)
            return false;
    }
    return true;
}

QByteArray hardwareType(DevCan &device)
{
    VCI_BOARD_INFO info{};
    return device.readBoardInfo(&info) == 1 ? QByteArray(info.HardwareType) : QByteArray();
}

} // namespace

class TestDriverDispatch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { VCISIM_ResetAll(); }
    void cleanup()
    {
        DevCan::instance().closeDevice();
        VCISIM_ResetAll();
        PLXSIM_SetBoards(nullptr);
        qunsetenv("VCISIM_SIMULATE_PCI");
    }

    void typesGoToTheirDriver_data();
    void typesGoToTheirDriver();
    void boardTypeWithoutBoardFails_data();
    void boardTypeWithoutBoardFails();
    void receiveThreadGetsBoardFrames();
    void transmitThroughTheDriver();
    void handlesAreCounted();
    void oneBoardPerDriver();
};

void TestDriverDispatch::typesGoToTheirDriver_data()
{
    QTest::addColumn<QString>("boards");
    QTest::addColumn<uint32_t>("type");
    QTest::addColumn<uint32_t>("index");
    QTest::addColumn<bool>("simulate");       // VCISIM_SIMULATE_PCI=1
    QTest::addColumn<QByteArray>("hardware"); // empty: simulated by ControlCAN, "-": not opened

    QTest::newRow("24 on a 0x2210") << "0x2210" << uint32_t(VCI_DRAVEX_PCIE2) << 0u << false << QByteArray("DRAVEX");
    QTest::newRow("25 on a 0x2110") << "0x2110" << uint32_t(VCI_DRAVEX_PCIE1) << 0u << false << QByteArray("DRAVEX");
    QTest::newRow("14 on a 0x1400") << "0x2210,0x1400" << uint32_t(VCI_DRAVIN_PCI4) << 0u << false
                                    << QByteArray("DRAVIN");
    QTest::newRow("5 at index 1") << "0x5201,0x5201" << uint32_t(VCI_DRAVIN_PCI2) << 1u << false
                                  << QByteArray("DRAVIN");
    QTest::newRow("a board wins over the simulation") << "0x2210" << uint32_t(VCI_DRAVEX_PCIE2) << 0u << true
                                                      << QByteArray("DRAVEX");
    QTest::newRow("24 without a board fails") << "0x5201" << uint32_t(VCI_DRAVEX_PCIE2) << 0u << false
                                              << QByteArray("-");
    QTest::newRow("24 past the boards fails") << "0x2210" << uint32_t(VCI_DRAVEX_PCIE2) << 1u << false
                                              << QByteArray("-");
    QTest::newRow("24 without a board, simulation asked") << "0x5201" << uint32_t(VCI_DRAVEX_PCIE2) << 0u << true
                                                          << QByteArray();
    QTest::newRow("14 past the boards, simulation asked") << "0x1400" << uint32_t(VCI_DRAVIN_PCI4) << 1u << true
                                                          << QByteArray();
    QTest::newRow("USB types are never the drivers'") << "0x2210" << uint32_t(VCI_KELMO_USB2) << 0u << false
                                                      << QByteArray();
}

void TestDriverDispatch::typesGoToTheirDriver()
{
    QFETCH(QString, boards);
    QFETCH(uint32_t, type);
    QFETCH(uint32_t, index);
    QFETCH(bool, simulate);
    QFETCH(QByteArray, hardware);
    PLXSIM_SetBoards(boards.toLatin1().constData());
    if (simulate)
        qputenv("VCISIM_SIMULATE_PCI", "1");

    DevCan &device = DevCan::instance();
    if (hardware == "-") {
        QCOMPARE(device.openDevice(type, index, 0), 0u);
        QCOMPARE(hardwareType(device), QByteArray()); // neither the driver nor the simulation has it
        return;
    }
    QCOMPARE(device.openDevice(type, index, 0), 1u);
    const QByteArray got = hardwareType(device);
    if (hardware.isEmpty())
        QVERIFY2(got.contains("simulated"), got.constData());
    else
        QCOMPARE(got, hardware);
    QCOMPARE(device.closeDevice(), 1u);
}

void TestDriverDispatch::boardTypeWithoutBoardFails_data()
{
    QTest::addColumn<QByteArray>("simulate"); // VCISIM_SIMULATE_PCI, "" unset
    QTest::addColumn<uint32_t>("opened");

    QTest::newRow("unset") << QByteArray() << 0u;
    QTest::newRow("0") << QByteArray("0") << 0u;
    QTest::newRow("1") << QByteArray("1") << 1u;
}

// No board at all: the driver says why on stderr, and the open fails
// unless the simulation was asked for.
void TestDriverDispatch::boardTypeWithoutBoardFails()
{
    QFETCH(QByteArray, simulate);
    QFETCH(uint32_t, opened);
    PLXSIM_SetBoards("");
    if (!simulate.isEmpty())
        qputenv("VCISIM_SIMULATE_PCI", simulate);
    uint32_t result = 2;
    const std::string printed = plxtest::stderrOf([&] { result = DevCan::instance().openDevice(VCI_DRAVIN_PCI4, 0, 0); });
    QCOMPARE(result, opened);
    QCOMPARE(QString::fromStdString(printed),
             QStringLiteral("DRAVIN: device type 14, index 0: no usable board 0x1400: 设备不存在\n"));
    if (opened)
        QVERIFY(hardwareType(DevCan::instance()).contains("simulated"));
}

// Frames a simulated board's partner sends reach the channel's frame
// buffer through the driver, the ControlCAN dispatch and the core's
// receive thread; so does a bus error.
void TestDriverDispatch::receiveThreadGetsBoardFrames()
{
    PLXSIM_SetBoards("0x2210");
    DevCan &device = DevCan::instance();
    QVERIFY(openStarted(device, VCI_DRAVEX_PCIE2, 2));
    UlBuffer &buffer = UlBuffer::instance(1);
    buffer.reset();
    UlIdFilterMannger::instance(1).setFilterMode(0);
    CanReadThread thread(1);
    thread.start(QThread::HighPriority);

    VCI_CAN_OBJ frames[4] = {};
    for (uint32_t i = 0; i < 4; ++i) {
        frames[i].ID = 0x700 + i;
        frames[i].DataLen = 1;
        frames[i].Data[0] = uint8_t(i);
    }
    QCOMPARE(PLXSIM_SendFrames(0, kRate, frames, 4), 4u);
    QVERIFY(PLXSIM_BusError(0, 1, 0x28));
    QTRY_COMPARE(buffer.count(), 4);
    QTRY_COMPARE(buffer.countError(), 1);
    thread.stop();
    QVERIFY(thread.waitForFinish());
    for (int i = 0; i < 4; ++i)
        QCOMPARE(buffer.getFrame(i).id.trimmed().toUInt(nullptr, 16), 0x700u + uint32_t(i));
    VCI_ERR_INFO error{};
    QVERIFY(buffer.getErrorData(error));
    QCOMPARE(error.ErrorCode, uint32_t(VCI_ERR_PASSIVE));
    QCOMPARE(error.PassiveErrorData[0], uint8_t(0x28));
}

void TestDriverDispatch::transmitThroughTheDriver()
{
    PLXSIM_SetBoards("0x1400");
    DevCan &device = DevCan::instance();
    QVERIFY(openStarted(device, VCI_DRAVIN_PCI4, 4));
    VCI_CAN_OBJ frame{};
    frame.ID = 0x1ABCDE;
    frame.ExternFlag = 1;
    frame.DataLen = 2;
    QCOMPARE(device.Transmit(3, &frame, 1), 1u);
    for (uint32_t ch = 0; ch < 3; ++ch) {
        QTRY_COMPARE(device.getReceiveNum(ch), 1u);
        VCI_CAN_OBJ got[32];
        QCOMPARE(device.Receive(ch, got, 32, 0), 1u);
        QCOMPARE(got[0].ID, 0x1ABCDEu);
        QCOMPARE(got[0].ExternFlag, uint8_t(1));
    }
    PLXSIM_STATS stats{};
    QVERIFY(PLXSIM_GetStats(0, 3, &stats));
    QCOMPARE(stats.transmitted, 1u);
}

// A second handle on the board (the bit-rate probe's) opens without the
// driver; the board closes with the last handle.
void TestDriverDispatch::handlesAreCounted()
{
    PLXSIM_SetBoards("0x2210");
    DevCan &program = DevCan::instance();
    QVERIFY(openStarted(program, VCI_DRAVEX_PCIE2, 2));
    DevCan probe;
    QCOMPARE(probe.openDevice(VCI_DRAVEX_PCIE2, 0, 0), 1u);
    QCOMPARE(hardwareType(probe), QByteArray("DRAVEX"));
    QCOMPARE(probe.closeDevice(), 1u);

    VCI_CAN_OBJ frame{};
    frame.ID = 0x55;
    QCOMPARE(PLXSIM_SendFrames(0, kRate, &frame, 1), 1u);
    QTRY_COMPARE(program.getReceiveNum(0), 1u);
    QCOMPARE(program.closeDevice(), 1u);
    QCOMPARE(program.getReceiveNum(0), 0u);
    QCOMPARE(program.openDevice(VCI_DRAVEX_PCIE2, 0, 0), 1u);
    QCOMPARE(hardwareType(program), QByteArray("DRAVEX"));
    VCISIM_ResetAll();
    QCOMPARE(hardwareType(program), QByteArray());
}

// While Dravex serves one board another of its types is refused, not
// simulated; Dravin serves a board of its own beside it.
void TestDriverDispatch::oneBoardPerDriver()
{
    PLXSIM_SetBoards("0x2210,0x2110,0x5201");
    DevCan pcie, other, pci;
    QCOMPARE(pcie.openDevice(VCI_DRAVEX_PCIE2, 0, 0), 1u);
    QCOMPARE(other.openDevice(VCI_DRAVEX_PCIE1, 0, 0), 0u);
    QCOMPARE(pci.openDevice(VCI_DRAVIN_PCI2, 0, 0), 1u);
    QCOMPARE(hardwareType(pci), QByteArray("DRAVIN"));
    QCOMPARE(pcie.closeDevice(), 1u);
    QCOMPARE(other.openDevice(VCI_DRAVEX_PCIE1, 0, 0), 1u);
    QCOMPARE(hardwareType(other), QByteArray("DRAVEX"));
    other.closeDevice();
    pci.closeDevice();
}

QTEST_GUILESS_MAIN(TestDriverDispatch)
#include "tst_driverdispatch.moc"
