#include "candata.h"
#include "canobj.h"
#include "ulcanobjstrqueue.h"
#include "ulcanobjwatchstr.h"

#include <QtTest>

class tst_CanRecords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultCanObjIsZero();
    void canObjRoundTripsVci();
    void canDataPopsInPushOrder();
    void canDataCopyIsIndependent();
    void canDataPopsManyFrames();
    void defaultWatchStrIsEmpty();
};

static CanObj frame(uint32_t id)
{
    CanObj f;
    f.ID = id;
    f.DataLen = 1;
    f.Data[0] = uint8_t(id);
    return f;
}

void tst_CanRecords::defaultCanObjIsZero()
{
    const CanObj f;
    QCOMPARE(f.ID, 0u);
    QCOMPARE(f.DataLen, uint8_t(0));
    for (uint8_t b : f.Data)
        QCOMPARE(b, uint8_t(0));
    QCOMPARE(f.firstMark, uint8_t(0));
    QCOMPARE(f.tailMark, uint8_t(0));
    QCOMPARE(f.lastMark, uint8_t(0));
    QCOMPARE(f.userValue, 0);
}

void tst_CanRecords::canObjRoundTripsVci()
{
    VCI_CAN_OBJ v{};
    v.ID = 0x1ABCDEF0;
    v.DeviceTime = 123456;
    v.HasDeviceTime = 1;
    v.SendType = 2;
    v.RemoteFlag = 1;
    v.ExternFlag = 1;
    v.DataLen = 8;
    for (int i = 0; i < 8; ++i)
        v.Data[i] = uint8_t(0xA0 + i);
    const VCI_CAN_OBJ back = CanObj(v).toVci();
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&back), sizeof back),
             QByteArray(reinterpret_cast<const char *>(&v), sizeof v));
}

void tst_CanRecords::canDataPopsInPushOrder()
{
    CanData data;
    for (uint32_t id = 1; id <= 3; ++id)
        data.push(frame(id));
    QCOMPARE(data.size(), 3);
    QCOMPARE(data.at(1).ID, 2u);
    QCOMPARE(data.pop().ID, 1u);
    QCOMPARE(data.pop().ID, 2u);
    QCOMPARE(data.at(0).ID, 3u);
    QCOMPARE(data.pop().ID, 3u);
    QVERIFY(data.isEmpty());
}

void tst_CanRecords::canDataCopyIsIndependent()
{
    CanData first;
    first.push(frame(1));
    first.push(frame(2));
    CanData copy = first;
    QCOMPARE(copy.pop().ID, 1u);
    copy.push(frame(9));
    QCOMPARE(first.size(), 2);
    QCOMPARE(first.at(0).ID, 1u);
    QCOMPARE(first.at(1).ID, 2u);
    QCOMPARE(copy.size(), 2);
    QCOMPARE(copy.at(1).ID, 9u);
}

void tst_CanRecords::canDataPopsManyFrames()
{
    // Interleaved pushes and pops across the internal compaction.
    CanData data;
    uint32_t next = 0;
    uint32_t expected = 0;
    for (int round = 0; round < 50; ++round) {
        for (int i = 0; i < 30; ++i)
            data.push(frame(next++));
        for (int i = 0; i < 20; ++i)
            QCOMPARE(data.pop().ID, expected++);
    }
    QCOMPARE(data.size(), int(next - expected));
    while (!data.isEmpty())
        QCOMPARE(data.pop().ID, expected++);
    QCOMPARE(expected, next);
}

void tst_CanRecords::defaultWatchStrIsEmpty()
{
    const UlCanObjWatchStr row;
    QCOMPARE(row.mask.size(), 8);
    QCOMPARE(row.mask.count(true), 0);
    QVERIFY(row.str.isEmpty());

    UlCanObjStrQueue queue;
    CanObjStr s;
    s.id = QStringLiteral("00000123 ");
    queue.enqueue(s);
    QCOMPARE(queue.size(), 1);
    QCOMPARE(queue.at(0).id, s.id);
}

QTEST_APPLESS_MAIN(tst_CanRecords)
#include "tst_canrecords.moc"
