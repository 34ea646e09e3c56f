#include "canreadthread.h"
#include "devcan.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "ulidfiltermannger.h"
#include "vcisim.h"

#include <QtTest>

#include <vector>

class tst_CanReadThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void movesFramesAndErrors();
    void decodersGetEveryFrame();
    void idleThreadReadsErrors();
    void channelOutOfRange();
};

static constexpr uint32_t Type = VCI_DRAVIN_PCI4;
static constexpr uint32_t Channel = 1;

static std::vector<VCI_CAN_OBJ> frames(int n)
{
    std::vector<VCI_CAN_OBJ> list(std::size_t(n), VCI_CAN_OBJ{});
    for (int i = 0; i < n; ++i) {
        VCI_CAN_OBJ &f = list[std::size_t(i)];
        f.ExternFlag = i % 3 == 0;
        f.ID = f.ExternFlag ? 0x18FF0000u + uint32_t(i) : uint32_t(i);
        f.DataLen = 2;
        f.Data[0] = uint8_t(i);
        f.Data[1] = uint8_t(i >> 8);
    }
    return list;
}

static qint64 receivedCounter()
{
    return UlGlobalSet::instance().channel[Channel].counters.received;
}

void tst_CanReadThread::init()
{
    VCISIM_ResetAll();
    UlBuffer &buffer = UlBuffer::instance(Channel);
    buffer.reset();
    buffer.setDBCRun(false);
    buffer.setGBT27930Run(false);
    buffer.ClearDBC();
    buffer.ClearGBT27930();
    UlIdFilterMannger::instance(Channel).setFilterMode(0);

    DevCan &device = DevCan::instance();
    QCOMPARE(device.openDevice(Type, 0, 0), 1u);
    VCI_INIT_CONFIG config{};
    config.MaskCode = 0xFFFFFFFF;
    config.FilterMode = 1;
    config.BTR1 = 0x1C;  // 500 kbit/s
    QCOMPARE(device.initCAN(Channel, &config), 1u);
    QCOMPARE(device.StartCAN(Channel), 1u);
}

void tst_CanReadThread::cleanup()
{
    DevCan::instance().closeDevice();
}

void tst_CanReadThread::movesFramesAndErrors()
{
    UlBuffer &buffer = UlBuffer::instance(Channel);
    const qint64 receivedBefore = receivedCounter();
    CanReadThread thread(Channel);
    thread.start(QThread::HighPriority);

    // More than one device read's worth.
    const std::vector<VCI_CAN_OBJ> sent = frames(100);
    QCOMPARE(VCISIM_InjectFrames(Type, 0, Channel, sent.data(), 100), 100u);
    VCI_ERR_INFO error{};
    error.ErrorCode = VCI_ERR_PASSIVE;
    error.PassiveErrorData[1] = 130;
    QCOMPARE(VCISIM_InjectError(Type, 0, Channel, &error), 1u);

    QTRY_COMPARE(buffer.count(), 100);
    QTRY_COMPARE(buffer.countError(), 1);
    thread.stop();
    QVERIFY(thread.waitForFinish());

    QCOMPARE(receivedCounter() - receivedBefore, 100);
    QCOMPARE(buffer.frames(), 100);
    for (int i : {0, 31, 32, 99}) {
        const CanObjStr row = buffer.getFrame(i);
        QCOMPARE(row.id.trimmed().toUInt(nullptr, 16), sent[std::size_t(i)].ID);
        QCOMPARE(row.direction, QStringLiteral("Rx"));
        QVERIFY(row.deviceTime != QLatin1String("NULL"));
    }
    VCI_ERR_INFO read{};
    QVERIFY(buffer.getErrorData(read));
    QCOMPARE(read.ErrorCode, uint32_t(VCI_ERR_PASSIVE));
    QCOMPARE(read.PassiveErrorData[1], uint8_t(130));
    // The decoder queues stay empty while switched off.
    QCOMPARE(buffer.countDBC(), 0);
    QCOMPARE(buffer.countGBT27930(), 0);
}

void tst_CanReadThread::decodersGetEveryFrame()
{
    // The ID filter drops every frame from the display, yet the frames
    // count as received and reach the decoders unfiltered.
    UlBuffer &buffer = UlBuffer::instance(Channel);
    UlIdFilterMannger::instance(Channel).setFilterMode(2);
    buffer.setDBCRun(true);
    buffer.setGBT27930Run(true);
    const qint64 receivedBefore = receivedCounter();
    CanReadThread thread(Channel);
    thread.start();

    const std::vector<VCI_CAN_OBJ> sent = frames(60);
    QCOMPARE(VCISIM_InjectFrames(Type, 0, Channel, sent.data(), 60), 60u);
    QTRY_COMPARE(buffer.countDBC(), 60);
    QTRY_COMPARE(buffer.countGBT27930(), 20);
    thread.stop();
    QVERIFY(thread.waitForFinish());

    QCOMPARE(buffer.count(), 0);
    QCOMPARE(buffer.frames(), 60);
    QCOMPARE(receivedCounter() - receivedBefore, 60);
    VCI_CAN_OBJ f{};
    QVERIFY(buffer.takeGBT27930Frame(f));
    QCOMPARE(f.ID, sent[0].ID);
    QVERIFY(buffer.takeGBT27930Frame(f));
    QCOMPARE(f.ID, sent[3].ID);
}

void tst_CanReadThread::idleThreadReadsErrors()
{
    UlBuffer &buffer = UlBuffer::instance(Channel);
    CanReadThread thread(Channel);
    thread.start();
    QTest::qWait(120);  // a few idle rounds
    VCI_ERR_INFO error{};
    error.ErrorCode = VCI_ERR_BUS;
    QCOMPARE(VCISIM_InjectError(Type, 0, Channel, &error), 1u);
    QTRY_COMPARE(buffer.countError(), 1);
    QVERIFY(thread.isRunning());
    thread.stop();
    QVERIFY(thread.waitForFinish());
    QCOMPARE(buffer.count(), 0);
}

void tst_CanReadThread::channelOutOfRange()
{
    CanReadThread thread(7);
    thread.start();
    QVERIFY(thread.wait(5000));  // ends without being stopped
}

QTEST_GUILESS_MAIN(tst_CanReadThread)
#include "tst_canreadthread.moc"
