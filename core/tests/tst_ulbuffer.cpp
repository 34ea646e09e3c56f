#include "ulbuffer.h"
#include "ulglobalset.h"
#include "ulidfiltermannger.h"

#include <QElapsedTimer>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <initializer_list>
#include <thread>
#include <vector>

class tst_UlBuffer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void ringDropsOldest();
    void ringKeepsOrderWhileGrowing();
    void lowerCapacityKeepsSize();
    void setMaxCount_data();
    void setMaxCount();
    void bitCount_data();
    void bitCount();
    void countersIncludeUnstoredFrames_data();
    void countersIncludeUnstoredFrames();
    void filterOfOwnChannel();
    void displayStrings_data();
    void displayStrings();
    void storedFramesGetLocalTime();
    void watchMarksChangedBytes();
    void watchRowsBoundedInFirstSeenOrder();
    void decoderQueues();
    void queuesDropOldestAtBound_data();
    void queuesDropOldestAtBound();
    void realTimeSaveQueue();
    void waitingTakeWakesOnFrame();
    void resetRacesRealTimeSaveReader();
    void snapshotStaysAsTaken();
};

static VCI_CAN_OBJ frame(uint32_t id, std::initializer_list<uint8_t> data = {}, uint8_t ext = 0,
                         uint8_t remote = 0, uint32_t deviceTime = 1)
{
    VCI_CAN_OBJ f{};
    f.ID = id;
    f.DeviceTime = deviceTime;
    f.HasDeviceTime = 1;
    f.ExternFlag = ext;
    f.RemoteFlag = remote;
    f.DataLen = uint8_t(data.size());
    int i = 0;
    for (uint8_t b : data)
        f.Data[i++] = b;
    return f;
}

static void add(UlBuffer &buffer, const VCI_CAN_OBJ &f, bool transmitted = false)
{
    buffer.addFrame(&f, 1, transmitted);
}

static uint32_t idAt(const UlBuffer &buffer, int index)
{
    return buffer.getFrame(index).id.trimmed().toUInt(nullptr, 16);
}

static QString maskText(const QBitArray &mask)
{
    QString text;
    for (int i = 0; i < mask.size(); ++i)
        text += mask.testBit(i) ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

void tst_UlBuffer::initTestCase()
{
    // Far from UTC, so that a time stamp in the wrong zone shows.
    qputenv("TZ", "UTC-8");
}

void tst_UlBuffer::init()
{
    UlGlobalSet &settings = UlGlobalSet::instance();
    settings.watch = false;
    for (int ch = 0; ch < UlBuffer::Channels; ++ch) {
        settings.channel[ch].realTimeSave = false;
        UlIdFilterMannger &filter = UlIdFilterMannger::instance(ch);
        filter.setFilterMode(0);
        filter.clearNotReceive();
        filter.clearOnlyReceive();
        UlBuffer &buffer = UlBuffer::instance(ch);
        buffer.setChannel(ch);
        buffer.setMaxCount(UlBuffer::DefaultMaxCount);
        buffer.reset();
        buffer.setHideSendFrame(false);
        buffer.setDBCRun(false);
        buffer.setGBT27930Run(false);
        buffer.ClearDBC();
        buffer.ClearGBT27930();
        VCI_ERR_INFO error;
        while (buffer.getErrorData(error)) {
        }
    }
}

void tst_UlBuffer::ringDropsOldest()
{
    UlBuffer &buffer = UlBuffer::instance(0);
    buffer.setMaxCount(3);
    const VCI_CAN_OBJ frames[] = {frame(0xA), frame(0xB), frame(0xC), frame(0xD)};
    QCOMPARE(buffer.addFrame(frames, 4, false), 4);
    QCOMPARE(buffer.count(), 3);
    QCOMPARE(buffer.getFrame(0).index, QStringLiteral("0"));
    QCOMPARE(idAt(buffer, 0), 0xBu);
    QCOMPARE(idAt(buffer, 2), 0xDu);
    QVERIFY(buffer.getFrame(3).isEmpty());
    QVERIFY(buffer.getFrame(-1).isEmpty());
}

void tst_UlBuffer::ringKeepsOrderWhileGrowing()
{
    // The ring grows its storage as frames arrive and wraps once full;
    // a raised capacity makes it grow again while wrapped.
    UlBuffer &buffer = UlBuffer::instance(0);
    buffer.setMaxCount(1000);
    std::vector<VCI_CAN_OBJ> frames;
    for (uint32_t id = 0; id < 2500; ++id)
        frames.push_back(frame(id));
    for (int i = 0; i < 2500; i += 32)
        buffer.addFrame(frames.data() + i, qMin(32, 2500 - i), false);
    QCOMPARE(buffer.count(), 1000);
    for (int index : {0, 1, 499, 999})
        QCOMPARE(idAt(buffer, index), uint32_t(1500 + index));

    buffer.init(5000);
    buffer.addFrame(frames.data(), 2000, false);
    QCOMPARE(buffer.count(), 3000);
    QCOMPARE(idAt(buffer, 0), 1500u);
    QCOMPARE(idAt(buffer, 999), 2499u);
    QCOMPARE(idAt(buffer, 1000), 0u);
    QCOMPARE(idAt(buffer, 2999), 1999u);
}

void tst_UlBuffer::lowerCapacityKeepsSize()
{
    UlBuffer &buffer = UlBuffer::instance(0);
    for (uint32_t id = 1; id <= 5; ++id)
        add(buffer, frame(id));
    QVERIFY(buffer.init(3));
    QCOMPARE(buffer.getMaxCount(), 3);
    QCOMPARE(buffer.count(), 5);
    add(buffer, frame(6));
    QCOMPARE(buffer.count(), 5);
    QCOMPARE(idAt(buffer, 0), 2u);
    QCOMPARE(idAt(buffer, 4), 6u);
}

void tst_UlBuffer::setMaxCount_data()
{
    QTest::addColumn<int>("maxCount");
    QTest::addColumn<bool>("saving");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<int>("rtLeft");
    QTest::newRow("same value") << UlBuffer::DefaultMaxCount << false << false << 0;
    QTest::newRow("new value") << 100 << false << true << 0;
    QTest::newRow("new value while saving") << 100 << true << true << 2;
}

void tst_UlBuffer::setMaxCount()
{
    QFETCH(int, maxCount);
    QFETCH(bool, saving);
    QFETCH(bool, cleared);
    QFETCH(int, rtLeft);
    UlBuffer &buffer = UlBuffer::instance(1);
    UlGlobalSet::instance().watch = true;
    UlGlobalSet::instance().channel[1].realTimeSave = true;
    add(buffer, frame(0x100, {1}));
    add(buffer, frame(0x200, {2}));
    UlGlobalSet::instance().channel[1].realTimeSave = saving;

    buffer.setMaxCount(maxCount);
    QCOMPARE(buffer.getMaxCount(), maxCount);
    QCOMPARE(buffer.count(), cleared ? 0 : 2);
    QCOMPARE(buffer.countW(), cleared ? 0 : 2);
    QCOMPARE(buffer.frames(), cleared ? 0 : 2);
    QCOMPARE(buffer.size(), cleared ? 0 : 2 * 52);
    // Frames queued for the file survive a reset only while saving.
    QCOMPARE(buffer.countRt(), cleared ? rtLeft : 2);
}

void tst_UlBuffer::bitCount_data()
{
    QTest::addColumn<bool>("ext");
    QTest::addColumn<bool>("remote");
    QTest::addColumn<int>("dataLen");
    QTest::addColumn<int>("bits");
    QTest::newRow("standard data 8") << false << false << 8 << 108;
    QTest::newRow("standard data 0") << false << false << 0 << 44;
    QTest::newRow("standard remote") << false << true << 8 << 44;
    QTest::newRow("extended remote") << true << true << 0 << 64;
    QTest::newRow("extended data 3") << true << false << 3 << 88;
    QTest::newRow("length above 8") << false << false << 15 << 108;
}

void tst_UlBuffer::bitCount()
{
    QFETCH(bool, ext);
    QFETCH(bool, remote);
    QFETCH(int, dataLen);
    QFETCH(int, bits);
    VCI_CAN_OBJ f = frame(0x1, {}, ext, remote);
    f.DataLen = uint8_t(dataLen);
    QCOMPARE(UlBuffer::getFramesBytes(&f), bits);
    UlBuffer &buffer = UlBuffer::instance(0);
    add(buffer, f);
    add(buffer, f);
    QCOMPARE(buffer.size(), qint64(2 * bits));
}

void tst_UlBuffer::countersIncludeUnstoredFrames_data()
{
    QTest::addColumn<bool>("transmitted");
    QTest::addColumn<bool>("hide");
    QTest::addColumn<int>("filterMode");
    QTest::addColumn<int>("stored");
    QTest::newRow("hidden sent frame") << true << true << 0 << 0;
    QTest::newRow("shown sent frame") << true << false << 0 << 1;
    QTest::newRow("sent frames are not filtered") << true << false << 2 << 1;
    QTest::newRow("filtered received frame") << false << false << 2 << 0;
    QTest::newRow("hiding leaves received frames") << false << true << 0 << 1;
}

void tst_UlBuffer::countersIncludeUnstoredFrames()
{
    QFETCH(bool, transmitted);
    QFETCH(bool, hide);
    QFETCH(int, filterMode);
    QFETCH(int, stored);
    UlBuffer &buffer = UlBuffer::instance(0);
    buffer.setHideSendFrame(hide);
    UlIdFilterMannger::instance(0).setFilterMode(filterMode);
    const VCI_CAN_OBJ f = frame(0x123, {1, 2, 3, 4, 5, 6, 7, 8}, 0, 0, transmitted ? 0 : 7);
    QCOMPARE(buffer.addFrame(&f, 1, transmitted), stored);
    QCOMPARE(buffer.count(), stored);
    QCOMPARE(buffer.frames(), 1);
    QCOMPARE(buffer.size(), 108);
}

void tst_UlBuffer::filterOfOwnChannel()
{
    // Before any receive thread has run, each buffer follows its own
    // channel's filter.
    UlIdFilterMannger::instance(2).setFilterMode(2);
    UlIdFilterMannger::instance(2).addOnlyReceive(UlIdFilter(0x100, 0x1FF));
    const VCI_CAN_OBJ frames[] = {frame(0x50), frame(0x150)};
    QCOMPARE(UlBuffer::instance(2).addFrame(frames, 2, false), 1);
    QCOMPARE(idAt(UlBuffer::instance(2), 0), 0x150u);
    QCOMPARE(UlBuffer::instance(3).addFrame(frames, 2, false), 2);

    UlBuffer::instance(3).setChannel(2);
    QCOMPARE(UlBuffer::instance(3).addFrame(frames, 2, false), 1);
}

void tst_UlBuffer::displayStrings_data()
{
    QTest::addColumn<bool>("transmitted");
    QTest::addColumn<bool>("ext");
    QTest::addColumn<bool>("remote");
    QTest::addColumn<int>("dataLen");
    QTest::addColumn<QStringList>("expected");  // id, deviceTime, type, format, len, data, direction

    const QStringList rx = {QStringLiteral("00000123 "), QStringLiteral("0x1A2B"),
                            QStringLiteral("Data Frame"), QStringLiteral("Standard"),
                            QStringLiteral("3"), QStringLiteral("01 AB 0F"), QStringLiteral("Rx")};
    QTest::newRow("received standard data") << false << false << false << 3 << rx;
    QTest::newRow("sent extended remote")
        << true << true << true << 0
        << QStringList{"00000123 ", "NULL", "Remote", "Extend", "0", "", "Tx"};
    QTest::newRow("all eight bytes")
        << false << false << false << 8
        << QStringList{"00000123 ", "0x1A2B", "Data Frame", "Standard", "8",
                       "01 AB 0F 00 00 00 00 FF", "Rx"};
    QTest::newRow("length above 8 shows 8 bytes")
        << false << true << false << 12
        << QStringList{"00000123 ", "0x1A2B", "Data Frame", "Extend", "12",
                       "01 AB 0F 00 00 00 00 FF", "Rx"};
}

void tst_UlBuffer::displayStrings()
{
    QFETCH(bool, transmitted);
    QFETCH(bool, ext);
    QFETCH(bool, remote);
    QFETCH(int, dataLen);
    QFETCH(QStringList, expected);
    UlCanObj obj;
    obj.direction = transmitted;
    obj.hour = 1;
    obj.minute = 2;
    obj.second = 3;
    obj.millisecond = 4;
    obj.obj = frame(0x123, {0x01, 0xAB, 0x0F, 0, 0, 0, 0, 0xFF}, ext, remote, 0x1A2B);
    obj.obj.DataLen = uint8_t(dataLen);

    const CanObjStr str = UlBuffer::analyseData(obj);
    const QStringList shown = {str.id,          str.deviceTime, str.frameType, str.frameFormat,
                               str.dataLen,     str.data,       str.direction};
    QCOMPARE(shown, expected);
    QCOMPARE(str.time, QStringLiteral("01:02:03:004"));
    for (const QString *unused : {&str.index, &str.name, &str.spare6, &str.spare7, &str.spare12})
        QVERIFY(unused->isEmpty());
}

void tst_UlBuffer::storedFramesGetLocalTime()
{
    UlBuffer &buffer = UlBuffer::instance(0);
    for (int round = 0; round < 3; ++round) {
        const QTime before = QTime::currentTime();
        add(buffer, frame(0x1));
        const QTime after = QTime::currentTime();
        if (after < before)
            QSKIP("midnight passed");
        const QTime stamped = QTime::fromString(buffer.getFrame(buffer.count() - 1).time,
                                                QStringLiteral("HH:mm:ss:zzz"));
        QVERIFY2(before <= stamped && stamped <= after, qPrintable(stamped.toString()));
        QTest::qWait(400);  // into the next second
    }
}

void tst_UlBuffer::watchMarksChangedBytes()
{
    UlBuffer &buffer = UlBuffer::instance(0);
    add(buffer, frame(0x100, {1, 2}));
    QCOMPARE(buffer.countW(), 0);  // watch mode off

    UlGlobalSet::instance().watch = true;
    add(buffer, frame(0x100, {1, 2}));
    add(buffer, frame(0x100, {1, 3}));
    QCOMPARE(maskText(buffer.getWatchFrame(0).mask), QStringLiteral("01000000"));
    add(buffer, frame(0x100, {1, 2}));
    UlCanObjWatchStr row = buffer.getWatchFrame(0);
    QCOMPARE(maskText(row.mask), QStringLiteral("01000000"));
    QCOMPARE(row.str.data, QStringLiteral("01 02"));
    QCOMPARE(row.str.index, QStringLiteral("0"));

    // Bytes past DataLen count too; an extended frame of the same number
    // shares the row.
    VCI_CAN_OBJ f = frame(0x100, {1, 2}, 1);
    f.Data[5] = 9;
    add(buffer, f);
    QCOMPARE(buffer.countW(), 1);
    row = buffer.getWatchFrame(0);
    QCOMPARE(maskText(row.mask), QStringLiteral("01000100"));
    QCOMPARE(row.str.frameFormat, QStringLiteral("Extend"));

    buffer.clearW();
    add(buffer, frame(0x100, {7, 7}));
    QCOMPARE(maskText(buffer.getWatchFrame(0).mask), QStringLiteral("00000000"));
}

void tst_UlBuffer::watchRowsBoundedInFirstSeenOrder()
{
    UlGlobalSet::instance().watch = true;
    UlBuffer &buffer = UlBuffer::instance(0);
    buffer.setMaxCount(3);
    for (uint32_t id : {1, 2, 3, 4, 3, 1})
        add(buffer, frame(id, {uint8_t(id)}));
    // Row of 1 dropped when 4 came; 3 updated in place; 1 new again.
    QCOMPARE(buffer.countW(), 3);
    QStringList ids;
    for (int i = 0; i < buffer.countW(); ++i)
        ids << buffer.getWatchFrame(i).str.id.trimmed();
    QCOMPARE(ids, QStringList({"00000003", "00000004", "00000001"}));

    // The index still finds rows after the drops.
    add(buffer, frame(4, {9}));
    QCOMPARE(buffer.countW(), 3);
    QCOMPARE(maskText(buffer.getWatchFrame(1).mask), QStringLiteral("10000000"));

    const UlCanObjWatchStr outside = buffer.getWatchFrame(buffer.countW());
    QCOMPARE(outside.str.index, QStringLiteral("-1"));
    QCOMPARE(maskText(outside.mask), QStringLiteral("00000000"));
    QCOMPARE(buffer.getWatchFrame(-1).str.index, QStringLiteral("-1"));
}

void tst_UlBuffer::decoderQueues()
{
    UlBuffer &buffer = UlBuffer::instance(0);
    VCI_CAN_OBJ frames[] = {frame(0x10, {1}), frame(0x18FF50E5, {2, 3}, 1), frame(0x20, {4})};
    frames[1].SendType = 2;
    frames[1].Spare[0] = 0x55;
    QCOMPARE(buffer.addGBT27930Frame(frames, 3), 3);
    QCOMPARE(buffer.countGBT27930(), 1);
    QCOMPARE(buffer.addDBCFrame(frames, 3), 3);
    QCOMPARE(buffer.countDBC(), 3);

    VCI_CAN_OBJ out{};
    QVERIFY(buffer.takeGBT27930Frame(out));
    QCOMPARE(out.ID, 0x18FF50E5u);
    QCOMPARE(out.DataLen, uint8_t(2));
    QCOMPARE(out.Data[1], uint8_t(3));
    QCOMPARE(out.DeviceTime, 1u);
    QCOMPARE(int(out.HasDeviceTime) + out.SendType + out.Spare[0], 0);
    QVERIFY(!buffer.takeGBT27930Frame(out));
    QVERIFY(!buffer.DeleteGBT27930Frame());

    VCI_CAN_OBJ first{};
    VCI_CAN_OBJ again{};
    QVERIFY(buffer.DBCFrame(first));
    QVERIFY(buffer.DBCFrame(again));
    QCOMPARE(first.ID, 0x10u);
    QCOMPARE(again.ID, 0x10u);
    QCOMPARE(buffer.countDBC(), 3);
    QVERIFY(buffer.takeDBCFrame(out));
    QVERIFY(buffer.takeDBCFrame(out));
    QCOMPARE(out.ID, 0x18FF50E5u);
    QCOMPARE(int(out.SendType) + out.Spare[0], 0);
    buffer.ClearDBC();
    QVERIFY(!buffer.DBCFrame(out));
}

enum class Queue { Dbc, Gbt, Errors, RtSave };
Q_DECLARE_METATYPE(Queue)

// Puts entries numbered 0..total-1 into one of the bounded queues.
static void fill(UlBuffer &buffer, Queue queue, int total)
{
    std::vector<VCI_CAN_OBJ> frames;
    for (int i = 0; i < total; ++i)
        frames.push_back(frame(uint32_t(i), {}, 1));
    switch (queue) {
    case Queue::Dbc:
        buffer.addDBCFrame(frames.data(), total);
        break;
    case Queue::Gbt:
        buffer.addGBT27930Frame(frames.data(), total);
        break;
    case Queue::Errors:
        for (int i = 0; i < total; ++i) {
            VCI_ERR_INFO e{};
            e.ErrorCode = uint32_t(i);
            buffer.addErrorData(e);
        }
        break;
    case Queue::RtSave:
        buffer.addFrame(frames.data(), total, false);
        break;
    }
}

// Takes one entry and gives its number; false when empty.
static bool take(UlBuffer &buffer, Queue queue, uint32_t &id)
{
    VCI_CAN_OBJ f{};
    VCI_ERR_INFO e{};
    UlCanObj saved;
    bool ok = false;
    switch (queue) {
    case Queue::Dbc:
        ok = buffer.takeDBCFrame(f);
        break;
    case Queue::Gbt:
        ok = buffer.takeGBT27930Frame(f);
        break;
    case Queue::Errors:
        ok = buffer.getErrorData(e);
        f.ID = e.ErrorCode;
        break;
    case Queue::RtSave:
        ok = buffer.takeRtSaveFrame(saved);
        f.ID = saved.obj.ID;
        break;
    }
    if (ok)
        id = f.ID;
    return ok;
}

static qint64 dropped(const UlBuffer &buffer, Queue queue)
{
    switch (queue) {
    case Queue::Dbc:
        return buffer.droppedDBC();
    case Queue::Gbt:
        return buffer.droppedGBT27930();
    case Queue::Errors:
        return buffer.droppedErrors();
    case Queue::RtSave:
        return buffer.droppedRtSave();
    }
    return -1;
}

void tst_UlBuffer::queuesDropOldestAtBound_data()
{
    QTest::addColumn<Queue>("queue");
    QTest::newRow("DBC") << Queue::Dbc;
    QTest::newRow("GB/T 27930") << Queue::Gbt;
    QTest::newRow("errors") << Queue::Errors;
    QTest::newRow("real-time save") << Queue::RtSave;
}

void tst_UlBuffer::queuesDropOldestAtBound()
{
    QFETCH(Queue, queue);
    UlBuffer &buffer = UlBuffer::instance(1);
    UlGlobalSet::instance().channel[1].realTimeSave = true;
    const int extra = 5;
    const int total = UlBuffer::QueueBound + extra;
    const qint64 droppedBefore = dropped(buffer, queue);

    fill(buffer, queue, total);
    QCOMPARE(dropped(buffer, queue) - droppedBefore, qint64(extra));
    uint32_t id = 0;
    QVERIFY(take(buffer, queue, id));
    QCOMPARE(id, uint32_t(extra));
    int taken = 1;
    while (take(buffer, queue, id))
        ++taken;
    QCOMPARE(taken, UlBuffer::QueueBound);
    QCOMPARE(id, uint32_t(total - 1));
}

void tst_UlBuffer::realTimeSaveQueue()
{
    UlBuffer &buffer = UlBuffer::instance(2);
    add(buffer, frame(0x1));
    QCOMPARE(buffer.countRt(), 0);  // not saving

    UlGlobalSet::instance().channel[2].realTimeSave = true;
    add(buffer, frame(0x2, {5}));
    add(buffer, frame(0x3), true);
    QCOMPARE(buffer.countRt(), 2);
    const CanObjStr first = buffer.getRtSaveFrame(7);
    QCOMPARE(first.index, QStringLiteral("7"));
    QCOMPARE(first.id, QStringLiteral("00000002 "));
    QCOMPARE(first.data, QStringLiteral("05"));
    UlCanObj second;
    QVERIFY(buffer.takeRtSaveFrame(second));
    QVERIFY(second.direction);
    QCOMPARE(second.obj.ID, 0x3u);
    QVERIFY(!buffer.takeRtSaveFrame(second));
    QVERIFY(buffer.getRtSaveFrame(8).isEmpty());
}

void tst_UlBuffer::waitingTakeWakesOnFrame()
{
    UlBuffer &buffer = UlBuffer::instance(1);
    UlGlobalSet::instance().channel[1].realTimeSave = true;
    UlCanObj taken;
    QVERIFY(!buffer.waitRtSaveFrame(taken, 20));  // empty: times out

    // The waiting reader gets a frame stored while it waits, long before
    // its time-out.
    QElapsedTimer clock;
    clock.start();
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        add(buffer, frame(0x77));
    });
    const bool got = buffer.waitRtSaveFrame(taken, 10000);
    writer.join();
    QVERIFY(got);
    QCOMPARE(taken.obj.ID, 0x77u);
    QVERIFY(clock.elapsed() < 5000);
}

void tst_UlBuffer::resetRacesRealTimeSaveReader()
{
    // A writer stores frames numbered 0, 1, 2...; the real-time save reader
    // takes them while the GUI resets the buffer over and over. Saving is
    // on, so no frame may be lost except the counted drops at the bound,
    // and the reader never sees a frame twice or out of order.
    UlBuffer &buffer = UlBuffer::instance(3);
    UlGlobalSet::instance().channel[3].realTimeSave = true;
    UlGlobalSet::instance().watch = true;
    const qint64 droppedBefore = buffer.droppedRtSave();
    const uint32_t total = 100000;
    std::atomic<bool> writing{true};
    std::atomic<bool> ordered{true};
    std::atomic<qint64> taken{0};

    std::thread writer([&] {
        VCI_CAN_OBJ batch[32];
        for (uint32_t id = 0; id < total;) {
            const int n = int(qMin<uint32_t>(32, total - id));
            for (int i = 0; i < n; ++i, ++id)
                batch[i] = frame(id, {uint8_t(id)});
            buffer.addFrame(batch, n, false);
        }
        writing = false;
    });
    std::thread reader([&] {
        qint64 last = -1;
        for (int round = 0;; ++round) {
            const bool more = writing;
            qint64 id = -1;
            if (round % 2) {
                UlCanObj f;
                if (buffer.takeRtSaveFrame(f))
                    id = f.obj.ID;
            } else if (buffer.countRt() > 0) {
                const CanObjStr s = buffer.getRtSaveFrame(round);
                if (!s.isEmpty())
                    id = s.id.trimmed().toUInt(nullptr, 16);
            }
            if (id >= 0) {
                if (id <= last)
                    ordered = false;
                last = id;
                ++taken;
            } else if (!more) {
                break;
            }
        }
    });
    while (writing) {
        buffer.reset();
        buffer.getFrame(0);
        buffer.getWatchFrame(0);
    }
    writer.join();
    reader.join();

    QVERIFY(ordered);
    QCOMPARE(buffer.countRt(), 0);
    QCOMPARE(taken + (buffer.droppedRtSave() - droppedBefore), qint64(total));
}

void tst_UlBuffer::snapshotStaysAsTaken()
{
    UlBuffer &buffer = UlBuffer::instance(0);
    buffer.setMaxCount(3);
    for (uint32_t id = 1; id <= 3; ++id)
        add(buffer, frame(id));
    const std::vector<UlCanObj> frames = buffer.snapshot();
    // The ring moves on (dropping the oldest); the copy does not.
    add(buffer, frame(4));
    add(buffer, frame(5));
    QCOMPARE(int(frames.size()), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(frames[std::size_t(i)].obj.ID, uint32_t(i + 1));
    QCOMPARE(idAt(buffer, 0), 3u);
}

QTEST_GUILESS_MAIN(tst_UlBuffer)
#include "tst_ulbuffer.moc"
