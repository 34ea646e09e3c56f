#include "canwritethread.h"
#include "queuedspy.h"
#include "sendfixture.h"
#include "testhelpers.h"
#include "ulbuffer.h"
#include "ulpipe.h"
#include "ulsendfirmwarethread.h"

#include <QtTest>

#include <QCryptographicHash>

using namespace SendFixture;

class tst_UlSendFirmwareThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void units_data();
    void units();
    void uploadOnBus();
    void stopStillClosesUpload();
    void cannotRead_data();
    void cannotRead();

private:
    QString write(const QByteArray &bytes) { return m_dir.write(bytes, QStringLiteral(".bin")); }
    TestFiles m_dir;
};

Q_DECLARE_METATYPE(std::vector<int>)

static QByteArray image(int size)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += char((i * 7 + 1) & 0xFF);
    return bytes;
}

static QList<CanData> drain(UlPipe &pipe)
{
    QList<CanData> units;
    CanData unit;
    while (pipe.tryPop(unit))
        units.append(unit);
    return units;
}

static QByteArray bytesOf(const uint8_t *data, int len)
{
    return QByteArray(reinterpret_cast<const char *>(data), len);
}

void tst_UlSendFirmwareThread::init()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(openBus());
    for (int ch = 0; ch < UlPipe::Channels; ++ch)
        UlPipe::instance(ch).clear();
    resetSendBuffer();
}

void tst_UlSendFirmwareThread::cleanup()
{
    closeBus();
}

void tst_UlSendFirmwareThread::units_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<std::vector<int>>("unitSizes");
    QTest::addColumn<QList<int>>("progress");

    QTest::newRow("empty image") << 0 << std::vector<int>{1, 1, 3, 1} << QList<int>{0};
    QTest::newRow("20 bytes") << 20 << std::vector<int>{1, 3, 1, 3, 1} << QList<int>{0, 100};
    QTest::newRow("24 bytes") << 24 << std::vector<int>{1, 3, 1, 3, 1} << QList<int>{0, 100};
    QTest::newRow("25 bytes") << 25 << std::vector<int>{1, 3, 1, 1, 3, 1} << QList<int>{0, 96, 100};
}

// The units as the sender queues them, read from the pipe with no transmit
// thread running: frames, marks and progress.
void tst_UlSendFirmwareThread::units()
{
    QFETCH(int, size);
    QFETCH(std::vector<int>, unitSizes);
    QFETCH(QList<int>, progress);
    const QByteArray file = image(size);

    UlSendFirmwareThread sender(Tx);
    QueuedSpy progressSpy(&sender, &UlSendFirmwareThread::progressValueChanged);
    QueuedSpy errors(&sender, &UlSendFirmwareThread::errorSignal);
    sender.setFileName(write(file));
    sender.start();
    QVERIFY(sender.wait(5000));
    QCOMPARE(errors.count(), 0);
    QList<int> reported;
    for (const QList<QVariant> &args : progressSpy.all())
        reported << args.at(0).toInt();
    QCOMPARE(reported, progress);

    const QList<CanData> queued = drain(UlPipe::instance(int(Tx)));
    std::vector<int> sizes;
    QVector<CanObj> frames;
    for (const CanData &unit : queued) {
        sizes.push_back(unit.size());
        for (int i = 0; i < unit.size(); ++i) {
            const CanObj &f = unit.at(i);
            const bool data = f.ID == 0x111;
            QCOMPARE(int(f.firstMark), int(data && i == 0));
            QCOMPARE(int(f.lastMark), int(data && i == 2));
            QCOMPARE(int(f.tailMark), int(f.ID == 0x114));
            frames.append(f);
        }
    }
    QCOMPARE(sizes, unitSizes);
    const QVector<BusFrame> want = firmwareUpload(file);
    QCOMPARE(frames.size(), want.size());
    for (int i = 0; i < frames.size(); ++i) {
        const CanObj &f = frames[i];
        QCOMPARE(f.ID, want[i].id);
        QCOMPARE(int(f.RemoteFlag), int(want[i].remote));
        QCOMPARE(int(f.ExternFlag), 0);
        QCOMPARE(int(f.SendType), 0);
        QCOMPARE(int(f.DataLen), want[i].data.size());
        QCOMPARE(bytesOf(f.Data, f.DataLen), want[i].data);
    }
}

// A 1000-byte image through the transmit thread: more units than the pipe
// holds, so the sender waits for the transmit thread on the way.
void tst_UlSendFirmwareThread::uploadOnBus()
{
    const QByteArray file = image(1000);
    TransmitLog log;
    CanWriteThread writer(Tx);
    writer.setHideSendFrame(true);
    QueuedSpy tails(&writer, &CanWriteThread::tailSignal);
    QueuedSpy writeErrors(&writer, &CanWriteThread::errorSignal);
    UlSendFirmwareThread sender(Tx);
    QueuedSpy errors(&sender, &UlSendFirmwareThread::errorSignal);
    sender.setFileName(write(file));
    writer.start();
    sender.start();

    const QVector<BusFrame> want = firmwareUpload(file);
    const std::vector<VCI_CAN_OBJ> bus = heard(want.size());
    QTRY_COMPARE(tails.count(), 1);
    QVERIFY(sender.wait(5000));
    writer.stop();
    QVERIFY(writer.waitForFinish());

    QCOMPARE(errors.count(), 0);
    QCOMPARE(writeErrors.count(), 0);
    QCOMPARE(int(bus.size()), want.size());
    for (int i = 0; i < want.size(); ++i) {
        const VCI_CAN_OBJ &f = bus[size_t(i)];
        QCOMPARE(f.ID, want[i].id);
        QCOMPARE(int(f.RemoteFlag), int(want[i].remote));
        QCOMPARE(int(f.ExternFlag), 0);
        QCOMPARE(int(f.DataLen), want[i].data.size());
        QCOMPARE(bytesOf(f.Data, f.DataLen), want[i].data);
    }
    // 125 data frames: 41 units of 3 and one of 2, one device call each.
    std::vector<uint32_t> calls{1};
    calls.insert(calls.end(), 41, 3);
    calls.insert(calls.end(), {2, 1, 3, 1});
    QCOMPARE(log.calls(), calls);
    QCOMPARE(UlBuffer::instance(int(Tx)).count(), 0);
}

// With no transmit thread the sender stops at a full pipe; a stop then
// still queues the end, the digest of the whole file and the finish frame.
void tst_UlSendFirmwareThread::stopStillClosesUpload()
{
    const QByteArray file = image(100000);
    UlPipe &pipe = UlPipe::instance(int(Tx));
    UlSendFirmwareThread sender(Tx);
    sender.setFileName(write(file));
    sender.start();
    QTRY_COMPARE(pipe.count(), UlSendFirmwareThread::MaxQueuedUnits + 1);
    QTest::qWait(20);
    QCOMPARE(pipe.count(), UlSendFirmwareThread::MaxQueuedUnits + 1);
    sender.stop();
    QVERIFY(sender.waitForFinish());

    const QList<CanData> queued = drain(pipe);
    QCOMPARE(queued.size(), UlSendFirmwareThread::MaxQueuedUnits + 4);
    QCOMPARE(queued.at(0).at(0).ID, 0x110u);
    QCOMPARE(queued.at(10).at(0).ID, 0x111u);
    QCOMPARE(queued.at(11).at(0).ID, 0x112u);
    const CanData digest = queued.at(12);
    QByteArray sent;
    for (int i = 0; i < digest.size(); ++i)
        sent += bytesOf(digest.at(i).Data, digest.at(i).DataLen);
    QCOMPARE(sent, QCryptographicHash::hash(file, QCryptographicHash::Sha1));
    QCOMPARE(queued.at(13).at(0).ID, 0x114u);
    QVERIFY(queued.at(13).at(0).tailMark);
}

void tst_UlSendFirmwareThread::cannotRead_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<uint>("channel");
    QTest::addColumn<int>("units");  // queued before the failure

    QTest::newRow("missing file") << m_dir.filePath("none.bin") << Tx << 0;
    QTest::newRow("channel out of range") << write(image(20)) << 4u << 0;
    if (QFile(QStringLiteral("/proc/self/mem")).open(QIODevice::ReadOnly))
        QTest::newRow("read error") << QStringLiteral("/proc/self/mem") << Tx << 1;
}

// The sender reports the failure and queues nothing after it: no empty
// chunks, no end or finish frame that would pass a short image as whole.
void tst_UlSendFirmwareThread::cannotRead()
{
    QFETCH(QString, path);
    QFETCH(uint, channel);
    QFETCH(int, units);

    UlSendFirmwareThread sender(channel);
    QueuedSpy errors(&sender, &UlSendFirmwareThread::errorSignal);
    sender.setFileName(path);
    sender.start();
    QVERIFY(sender.wait(5000));
    QCOMPARE(errors.count(), 1);
    int queued = 0;
    for (int ch = 0; ch < UlPipe::Channels; ++ch)
        queued += UlPipe::instance(ch).count();
    QCOMPARE(queued, units);
    if (units > 0)
        QCOMPARE(UlPipe::instance(int(Tx)).pop().at(0).ID, 0x110u);
}

QTEST_GUILESS_MAIN(tst_UlSendFirmwareThread)
#include "tst_ulsendfirmwarethread.moc"
