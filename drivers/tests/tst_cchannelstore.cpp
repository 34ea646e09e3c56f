// The bounded stores of one channel: oldest frames kept, one overrun
// record per episode, records handed out once, decoding on take.
#include "cchannelstore.h"

#include <QtTest>

#include <cstring>

namespace {

SjaFrame::Bytes raw(uint32_t id)
{
    VCI_CAN_OBJ f{};
    f.ID = id;
    f.DataLen = 1;
    f.Data[0] = uint8_t(id);
    SjaFrame::Bytes bytes{};
    SjaFrame::encode(f, bytes);
    return bytes;
}

QList<uint32_t> take(CChannelStore &store, uint32_t capacity)
{
    VCI_CAN_OBJ frames[16];
    QList<uint32_t> ids;
    const uint32_t n = store.takeFrames(frames, capacity);
    for (uint32_t i = 0; i < n; ++i)
        ids << frames[i].ID;
    return ids;
}

QList<uint32_t> errorCodes(CChannelStore &store)
{
    QList<uint32_t> codes;
    VCI_ERR_INFO e{};
    while (store.takeError(&e))
        codes << e.ErrorCode;
    return codes;
}

} // namespace

class TestCChannelStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fullStoreKeepsTheOldestAndReportsEachEpisodeOnce();
    void errorRecordsBoundedAndHandedOutOnce();
    void clearEndsTheEpisode();
};

void TestCChannelStore::fullStoreKeepsTheOldestAndReportsEachEpisodeOnce()
{
    CChannelStore store(4, 16);
    for (uint32_t id = 1; id <= 6; ++id)
        store.addFrame(raw(id));
    QCOMPARE(store.frameCount(), 4u);
    QCOMPARE(errorCodes(store), QList<uint32_t>{VCI_ERR_RX_OVERRUN});
    QCOMPARE(take(store, 2), (QList<uint32_t>{1, 2}));
    for (uint32_t id = 7; id <= 10; ++id)
        store.addFrame(raw(id));
    QCOMPARE(take(store, 16), (QList<uint32_t>{3, 4, 7, 8}));
    QCOMPARE(errorCodes(store), QList<uint32_t>{VCI_ERR_RX_OVERRUN});
    QCOMPARE(take(store, 16), QList<uint32_t>{});
    QCOMPARE(store.frameCount(), 0u);
}

void TestCChannelStore::errorRecordsBoundedAndHandedOutOnce()
{
    CChannelStore store(4, 2);
    store.addError({VCI_ERR_PASSIVE, 0x48, 1, 8, 0});
    store.addError({VCI_ERR_ARBITRATION_LOST, 0, 2, 9, 5});
    store.addError({VCI_ERR_PASSIVE, 0, 0, 0, 0});
    VCI_ERR_INFO e;
    QVERIFY(store.takeError(&e));
    QCOMPARE(e.ErrorCode, uint32_t(VCI_ERR_PASSIVE));
    QCOMPARE(e.PassiveErrorData[0], uint8_t(0x48));
    QCOMPARE(e.PassiveErrorData[1], uint8_t(1));
    QCOMPARE(e.PassiveErrorData[2], uint8_t(8));
    QVERIFY(store.takeError(&e));
    QCOMPARE(e.ErrorCode, uint32_t(VCI_ERR_ARBITRATION_LOST));
    QCOMPARE(e.ArbitrationLostData, uint8_t(5));
    std::memset(&e, 0xAA, sizeof e);
    QVERIFY(!store.takeError(&e));
    QCOMPARE(e.ErrorCode, 0u);
    QCOMPARE(e.ArbitrationLostData, uint8_t(0));
}

void TestCChannelStore::clearEndsTheEpisode()
{
    CChannelStore store(1, 16);
    store.addFrame(raw(1));
    store.addFrame(raw(2));
    store.clear();
    QCOMPARE(store.frameCount(), 0u);
    QCOMPARE(errorCodes(store), QList<uint32_t>{});
    store.addFrame(raw(3));
    store.addFrame(raw(4));
    QCOMPARE(errorCodes(store), QList<uint32_t>{VCI_ERR_RX_OVERRUN});
    QCOMPARE(take(store, 1), QList<uint32_t>{3});
}

QTEST_APPLESS_MAIN(TestCChannelStore)
#include "tst_cchannelstore.moc"
