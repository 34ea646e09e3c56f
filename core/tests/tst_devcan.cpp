#include "devcan.h"
#include "ulsystem.h"
#include "vcisim.h"

#include <QtTest>

#include <cstring>

class tst_DevCan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void channelsByType_data();
    void channelsByType();
    void bitRate_data();
    void bitRate();
    void channelStates();
    void initBeyondChannelsChangesNothing();
    void failedOpenChangesNothing();
    void reopenForgetsStartedChannels();
    void framesCrossTheBus();
    void otherBitRateOrFilterReceivesNothing_data();
    void otherBitRateOrFilterReceivesNothing();
    void errorEventsOnce();
    void missingLibrary_data();
    void missingLibrary();
    void copySharesLibrary();
};

static VCI_INIT_CONFIG config(uint8_t btr0 = 0x00, uint8_t btr1 = 0x1C, uint32_t code = 0,
                              uint32_t mask = 0xFFFFFFFF, uint8_t filter = 1)
{
    VCI_INIT_CONFIG c{};
    c.AccCode = code;
    c.MaskCode = mask;
    c.FilterMode = filter;
    c.BTR0 = btr0;
    c.BTR1 = btr1;
    c.WorkMode = 0;
    return c;
}

static void openStarted(DevCan &dev, uint32_t type, VCI_INIT_CONFIG c0, VCI_INIT_CONFIG c1)
{
    QCOMPARE(dev.openDevice(type, 0, 0), 1u);
    QCOMPARE(dev.initCAN(0, &c0), 1u);
    QCOMPARE(dev.initCAN(1, &c1), 1u);
    QCOMPARE(dev.StartCAN(0), 1u);
    QCOMPARE(dev.StartCAN(1), 1u);
}

// Collects frames of a channel until want arrived or 2 s passed.
static uint32_t receiveSome(DevCan &dev, uint32_t ch, VCI_CAN_OBJ *in, uint32_t capacity, uint32_t want)
{
    QElapsedTimer timer;
    timer.start();
    uint32_t n = 0;
    while (n < want && timer.elapsed() < 2000) {
        n += dev.Receive(ch, in + n, capacity - n, 0);
        if (n < want)
            QThread::msleep(1);
    }
    return n;
}

void tst_DevCan::init()
{
    VCISIM_ResetAll();
}

void tst_DevCan::channelsByType_data()
{
    QTest::addColumn<uint>("type");
    QTest::addColumn<uint>("channels");
    QTest::newRow("PCI 4") << 14u << 4u;
    QTest::newRow("USB 2") << 4u << 2u;
    QTest::newRow("PCI 2") << 5u << 2u;
    QTest::newRow("PCIe 2") << 24u << 2u;
    QTest::newRow("USB 1") << 3u << 1u;
    QTest::newRow("UDP") << 12u << 1u;
    QTest::newRow("TCP") << 17u << 1u;
    QTest::newRow("PCIe 1") << 25u << 1u;
}

void tst_DevCan::channelsByType()
{
    QFETCH(uint, type);
    QFETCH(uint, channels);
    DevCan dev;
    QVERIFY(dev.isLibraryLoaded());
    QVERIFY(dev.isClose());
    QCOMPARE(dev.openDevice(type, 1, 0), 1u);
    QVERIFY(dev.isOpen());
    QCOMPARE(dev.getChannels(), channels);
    QCOMPARE(dev.getDevType(), type);
    QCOMPARE(dev.getDevIndex(), 1u);
    QVERIFY(dev.isValid(channels - 1));
    QVERIFY(!dev.isValid(channels));
    VCI_BOARD_INFO info;
    std::memset(&info, 0xAB, sizeof info);
    QCOMPARE(dev.readBoardInfo(&info), 1u);
    QCOMPARE(uint(info.ChannelCount), channels);
    QCOMPARE(dev.closeDevice(), 1u);
    QVERIFY(dev.isClose());
    QCOMPARE(vciChannelCount(99), 1u);
}

void tst_DevCan::bitRate_data()
{
    QTest::addColumn<int>("btr0");
    QTest::addColumn<int>("btr1");
    QTest::addColumn<int>("rate");
    QTest::newRow("500k") << 0x00 << 0x1C << 500000;
    QTest::newRow("400k") << 0x00 << 0x2F << 400000;
    QTest::newRow("rounded down") << 0x00 << 0x1F << 16000000 / 38;
    QTest::newRow("125k") << 0x03 << 0x1C << 125000;
    // SJW and sampling bits play no part.
    QTest::newRow("40k") << 0x87 << 0xFF << 16000000 / (2 * 8 * 25);
}

void tst_DevCan::bitRate()
{
    QFETCH(int, btr0);
    QFETCH(int, btr1);
    QFETCH(int, rate);
    QCOMPARE(DevCan::bitRate(uint8_t(btr0), uint8_t(btr1)), rate);
    DevCan dev;
    QCOMPARE(dev.openDevice(VCI_KELMO_USB1, 0, 0), 1u);
    QCOMPARE(dev.maxBaudrate(0), 1);
    VCI_INIT_CONFIG c = config(uint8_t(btr0), uint8_t(btr1));
    QCOMPARE(dev.initCAN(0, &c), 1u);
    QCOMPARE(dev.maxBaudrate(0), rate);
    dev.closeDevice();
}

void tst_DevCan::channelStates()
{
    DevCan dev;
    QCOMPARE(dev.openDevice(VCI_KELMO_USB2, 0, 0), 1u);
    QVERIFY(!dev.isInited(0));
    VCI_INIT_CONFIG c = config();
    QCOMPARE(dev.initCAN(0, &c), 1u);
    QVERIFY(dev.isInited(0));
    QCOMPARE(dev.StartCAN(0), 1u);
    QVERIFY(!dev.isInited(0));
    QVERIFY(dev.isStarted(0));
    QCOMPARE(dev.ResetCAN(0), 1u);
    QVERIFY(dev.isReset(0));
    QVERIFY(!dev.isStarted(0));
    // Start after reset needs no new init.
    QCOMPARE(dev.StartCAN(0), 1u);
    QVERIFY(dev.isStarted(0));
    QCOMPARE(dev.StartCAN(5), 0u);
    QCOMPARE(dev.ResetCAN(2), 0u);
    dev.closingDevice();
    QVERIFY(!dev.isOpen());
    QVERIFY(!dev.isClose());
    dev.closeDevice();
    QVERIFY(dev.isClose());
}

void tst_DevCan::initBeyondChannelsChangesNothing()
{
    DevCan dev;
    QCOMPARE(dev.openDevice(VCI_KELMO_USB2, 0, 0), 1u);
    VCI_INIT_CONFIG c = config();
    QCOMPARE(dev.initCAN(2, &c), 0u);
    QCOMPARE(dev.maxBaudrate(2), 1);
    QCOMPARE(dev.channelState[2].load(), int(DevCan::NotInitialised));
    VCI_CAN_STATUS status{};
    QCOMPARE(dev.readCANStatus(2, &status), 0u);
    dev.closeDevice();
}

void tst_DevCan::failedOpenChangesNothing()
{
    DevCan dev;
    QCOMPARE(dev.openDevice(VCI_DRAVIN_PCI4, 2, 0), 1u);
    QCOMPARE(dev.openDevice(VCI_KELMO_USB2, 8, 0), 0u);  // index out of range
    QCOMPARE(dev.getDevType(), uint(VCI_DRAVIN_PCI4));
    QCOMPARE(dev.getDevIndex(), 2u);
    QCOMPARE(dev.getChannels(), 4u);
    QVERIFY(dev.isOpen());
    dev.closeDevice();
}

void tst_DevCan::reopenForgetsStartedChannels()
{
    DevCan dev;
    openStarted(dev, VCI_KELMO_USB2, config(), config());
    QVERIFY(dev.isStarted(1));
    dev.closeDevice();
    QVERIFY(!dev.isStarted(1));
    QCOMPARE(dev.maxBaudrate(1), 1);
    QCOMPARE(dev.openDevice(VCI_KELMO_USB2, 0, 0), 1u);
    QVERIFY(!dev.isStarted(0));
    QVERIFY(!dev.isStarted(1));
    QCOMPARE(dev.channelState[0].load(), int(DevCan::NotInitialised));
    dev.closeDevice();
}

void tst_DevCan::framesCrossTheBus()
{
    DevCan dev;
    openStarted(dev, VCI_KELMO_USB2, config(), config());
    VCI_CAN_OBJ out[2] = {};
    out[0].ID = 0x123;
    out[0].DataLen = 3;
    out[0].Data[0] = 0x11;
    out[0].Data[1] = 0x22;
    out[0].Data[2] = 0x33;
    out[1].ID = 0x1ABCDEF0;
    out[1].ExternFlag = 1;
    out[1].RemoteFlag = 1;
    out[1].DataLen = 4;
    QCOMPARE(dev.Transmit(0, out, 2), 2u);

    VCI_CAN_OBJ in[32] = {};
    QCOMPARE(receiveSome(dev, 1, in, 32, 2), 2u);
    QCOMPARE(in[0].ID, 0x123u);
    QCOMPARE(in[0].ExternFlag, uint8_t(0));
    QCOMPARE(in[0].RemoteFlag, uint8_t(0));
    QCOMPARE(in[0].DataLen, uint8_t(3));
    QCOMPARE(QByteArray(reinterpret_cast<char *>(in[0].Data), 3), QByteArray("\x11\x22\x33"));
    QCOMPARE(in[0].HasDeviceTime, uint8_t(1));
    QCOMPARE(in[1].ID, 0x1ABCDEF0u);
    QCOMPARE(in[1].ExternFlag, uint8_t(1));
    QCOMPARE(in[1].RemoteFlag, uint8_t(1));
    QVERIFY(in[1].DeviceTime >= in[0].DeviceTime);
    // The sender does not hear its own normal frames.
    QCOMPARE(dev.Receive(0, in, 32, 0), 0u);
    QCOMPARE(dev.getReceiveNum(1), 0u);
    dev.closeDevice();
    QCOMPARE(dev.Transmit(0, out, 1), 0u);
}

void tst_DevCan::otherBitRateOrFilterReceivesNothing_data()
{
    QTest::addColumn<int>("btr1");
    QTest::addColumn<uint>("code");
    QTest::addColumn<uint>("mask");
    QTest::addColumn<bool>("received");
    QTest::newRow("same rate, open filter") << 0x1C << 0u << 0xFFFFFFFFu << true;
    QTest::newRow("other rate") << 0x2F << 0u << 0xFFFFFFFFu << false;
    // Single filter, standard frame: ID bits 10..3 sit in the first register.
    QTest::newRow("filter passes 0x123") << 0x1C << (0x123u << 21) << 0x001FFFFFu << true;
    QTest::newRow("filter rejects 0x123") << 0x1C << (0x124u << 21) << 0x001FFFFFu << false;
}

void tst_DevCan::otherBitRateOrFilterReceivesNothing()
{
    QFETCH(int, btr1);
    QFETCH(uint, code);
    QFETCH(uint, mask);
    QFETCH(bool, received);
    DevCan dev;
    openStarted(dev, VCI_KELMO_USB2, config(), config(0x00, uint8_t(btr1), code, mask));
    VCI_CAN_OBJ out{};
    out.ID = 0x123;
    out.DataLen = 2;
    QCOMPARE(dev.Transmit(0, &out, 1), 1u);
    VCI_CAN_OBJ in[4];
    if (received) {
        QCOMPARE(receiveSome(dev, 1, in, 4, 1), 1u);
        QCOMPARE(in[0].ID, 0x123u);
    } else {
        QTest::qWait(20);
        QCOMPARE(dev.Receive(1, in, 4, 0), 0u);
    }
    dev.closeDevice();
}

void tst_DevCan::errorEventsOnce()
{
    DevCan dev;
    openStarted(dev, VCI_KELMO_USB2, config(), config());
    VCI_ERR_INFO e{};
    QCOMPARE(dev.readErrInfo(1, &e), 0u);
    for (uint32_t code : {0xE2u, 0xE4u}) {
        VCI_ERR_INFO injected{};
        injected.ErrorCode = code;
        injected.PassiveErrorData[1] = 0x60;
        injected.ArbitrationLostData = 0x07;
        QCOMPARE(VCISIM_InjectError(VCI_KELMO_USB2, 0, 1, &injected), 1u);
    }
    QCOMPARE(dev.readErrInfo(1, &e), 1u);
    QCOMPARE(e.ErrorCode, 0xE2u);
    QCOMPARE(e.PassiveErrorData[1], uint8_t(0x60));
    QCOMPARE(dev.readErrInfo(1, &e), 1u);
    QCOMPARE(e.ErrorCode, 0xE4u);
    QCOMPARE(e.ArbitrationLostData, uint8_t(0x07));
    QCOMPARE(dev.readErrInfo(1, &e), 0u);
    QCOMPARE(e.ErrorCode, 0u);
    QCOMPARE(dev.readErrInfo(0, &e), 0u);
    dev.closeDevice();
}

void tst_DevCan::missingLibrary_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("no file") << QStringLiteral("/nonexistent/libControlCAN.so");
    QTest::newRow("functions missing") << UlSystem::programFolder() + QStringLiteral("/libIncompleteVci.so");
}

void tst_DevCan::missingLibrary()
{
    QFETCH(QString, path);
    DevCan dev(path);
    QVERIFY(!dev.isLibraryLoaded());
    VCI_INIT_CONFIG c = config();
    VCI_BOARD_INFO info{};
    VCI_ERR_INFO err{};
    VCI_CAN_STATUS status{};
    VCI_CAN_OBJ frames[4] = {};
    uint32_t ref = 0;
    // The incomplete library does open; nothing else may call an empty pointer.
    dev.openDevice(VCI_KELMO_USB2, 0, 0);
    QCOMPARE(dev.initCAN(0, &c), 0u);
    QCOMPARE(dev.readBoardInfo(&info), 0u);
    QCOMPARE(dev.readErrInfo(0, &err), 0u);
    QCOMPARE(dev.readCANStatus(0, &status), 0u);
    QCOMPARE(dev.getReference(0, 1, &ref), 0u);
    QCOMPARE(dev.setReference(0, 1, &ref), 0u);
    QCOMPARE(dev.getReceiveNum(0), 0u);
    QCOMPARE(dev.clearBuffer(0), 0u);
    QCOMPARE(dev.StartCAN(0), 0u);
    QCOMPARE(dev.ResetCAN(0), 0u);
    QCOMPARE(dev.Transmit(0, frames, 4), 0u);
    QCOMPARE(dev.Receive(0, frames, 4, 0), 0u);
    QCOMPARE(dev.closeDevice(), 1u);
}

void tst_DevCan::copySharesLibrary()
{
    auto *original = new DevCan;
    QCOMPARE(original->openDevice(VCI_KELMO_USB2, 3, 0), 1u);
    DevCan copy;
    copy = *original;
    delete original;  // must not unload the library under the copy
    QVERIFY(copy.isOpen());
    QCOMPARE(copy.getDevIndex(), 3u);
    VCI_INIT_CONFIG c = config();
    QCOMPARE(copy.initCAN(1, &c), 1u);
    QCOMPARE(copy.StartCAN(1), 1u);
    copy.closeDevice();
}

QTEST_GUILESS_MAIN(tst_DevCan)
#include "tst_devcan.moc"
