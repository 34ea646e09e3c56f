// The frames waiting for the frame-parsing window's timer: the newest frame
// of each enabled message, taken once, matched by ID and frame format; J1939
// transport messages reassembled from received frames and matched to an
// extended message by PGN.
#include "dbc/message.h"
#include "dbcdatabase.h"
#include "dbcfixture.h"
#include "dbcframecollector.h"
#include "dbcmessagekey.h"

#include <QtTest>

#include <deque>

namespace {

using Frames = QVector<VCI_CAN_OBJ>;

VCI_CAN_OBJ frame(quint32 id, const QByteArray &data, bool extended = true, quint32 time = 0)
{
    VCI_CAN_OBJ f{};
    f.ID = id;
    f.ExternFlag = extended ? 1 : 0;
    f.DeviceTime = time;
    f.DataLen = quint8(qMin(data.size(), 8));
    memcpy(f.Data, data.constData(), f.DataLen);
    return f;
}

// Connection management from source 0x17 to destination 0x2A (0xFF: broadcast).
VCI_CAN_OBJ control(const char *hex, quint8 source = 0x17, quint8 destination = 0x2A)
{
    return frame(0x1CEC0000 | quint32(destination) << 8 | source, QByteArray::fromHex(hex));
}

VCI_CAN_OBJ packet(const char *hex, quint8 source = 0x17, quint8 destination = 0x2A)
{
    return frame(0x1CEB0000 | quint32(destination) << 8 | source, QByteArray::fromHex(hex));
}

// The messages of the table; std::deque keeps their addresses.
struct Table {
    std::deque<DBC::Message> messages;
    QMap<quint32, DBCMessageEntry> entries;

    Table &add(quint32 dbcId, bool enabled = true)
    {
        messages.emplace_back();
        messages.back().id = dbcId;
        entries.insert(DBCMessageKey::ofMessage(dbcId), DBCMessageEntry{enabled, &messages.back()});
        return *this;
    }
};

constexpr quint32 Extended = DBCMessageKey::ExtendedMark;

} // namespace

Q_DECLARE_METATYPE(Frames)

class tst_DBCFrameCollector : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newestFrameOncePerKey();
    void remoteFramesCarryNoData_data();
    void remoteFramesCarryNoData();
    void framesMatchTheirFormat_data();
    void framesMatchTheirFormat();
    void sequenceInArrivalOrder();
    void tableChangeDropsWaitingFrames();
    void transport_data();
    void transport();
    void declaredTransportFramesAreShownToo();
    void accepts();
};

void tst_DBCFrameCollector::newestFrameOncePerKey()
{
    Table table;
    table.add(0x100).add(0x200, false);
    DBCFrameCollector collector;
    collector.setMessages(table.entries);
    QVERIFY(collector.feed(frame(0x100, "\x01", false, 10)));
    QVERIFY(collector.feed(frame(0x100, "\x02", false, 20)));
    QVERIFY(!collector.feed(frame(0x200, "\x03", false)));
    QVERIFY(!collector.feed(frame(0x300, "\x04", false)));

    QMap<quint32, DBCPendingFrame> latest = collector.takeLatest();
    QCOMPARE(latest.keys(), QList<quint32>{0x100});
    QCOMPARE(latest.value(0x100).time, 20u);
    QCOMPARE(latest.value(0x100).data, QByteArray("\x02\0\0\0\0\0\0\0", 8));
    // Shown once: a silent bus leaves nothing to show.
    QVERIFY(collector.takeLatest().isEmpty());
}

void tst_DBCFrameCollector::remoteFramesCarryNoData_data()
{
    // Frames of message 0x100 between two takes: "d" a data frame with byte
    // 0 = 0x64, "r" a remote frame whose (meaningless) byte 0 is 0x11; the
    // n-th frame has the time n.
    QTest::addColumn<QByteArray>("kinds");
    // What waits for classified display: time, remote flag, byte count.
    QTest::addColumn<quint32>("time");
    QTest::addColumn<int>("remote");
    QTest::addColumn<QByteArray>("data");

    const QByteArray values("\x64\0\0\0\0\0\0\0", 8);
    QTest::newRow("remote alone: no data") << QByteArray("r") << 1u << 1 << QByteArray();
    QTest::newRow("remote after data: the data frame's values at the remote frame's time")
            << QByteArray("dr") << 2u << 0 << values;
    QTest::newRow("data after remote") << QByteArray("rd") << 2u << 0 << values;
    QTest::newRow("data, then remote frames") << QByteArray("drr") << 3u << 0 << values;
    QTest::newRow("remote frames only") << QByteArray("rr") << 2u << 1 << QByteArray();
}

void tst_DBCFrameCollector::remoteFramesCarryNoData()
{
    QFETCH(QByteArray, kinds);
    QFETCH(quint32, time);
    QFETCH(int, remote);
    QFETCH(QByteArray, data);
    Table table;
    table.add(0x100);
    const auto feedAll = [&](DBCFrameCollector &collector) {
        collector.setMessages(table.entries);
        quint32 at = 0;
        for (const char kind : kinds) {
            VCI_CAN_OBJ received = frame(0x100, kind == 'r' ? "\x11" : "\x64", false, ++at);
            received.RemoteFlag = kind == 'r' ? 1 : 0;
            QVERIFY(collector.feed(received));
        }
    };

    DBCFrameCollector classified;
    feedAll(classified);
    const QMap<quint32, DBCPendingFrame> latest = classified.takeLatest();
    QCOMPARE(latest.keys(), QList<quint32>{0x100});
    QCOMPARE(latest.first().time, time);
    QCOMPARE(int(latest.first().remote), remote);
    QCOMPARE(latest.first().data, data);

    // Scroll display: every frame as it came, a remote one without data.
    DBCFrameCollector scroll;
    feedAll(scroll);
    const QVector<DBCKeyedFrame> sequence = scroll.takeSequence();
    QCOMPARE(sequence.size(), kinds.size());
    for (int i = 0; i < sequence.size(); ++i) {
        const bool isRemote = kinds.at(i) == 'r';
        QCOMPARE(sequence.at(i).frame.time, quint32(i + 1));
        QCOMPARE(int(sequence.at(i).frame.remote), isRemote ? 1 : 0);
        QCOMPARE(sequence.at(i).frame.data, isRemote ? QByteArray() : QByteArray("\x64\0\0\0\0\0\0\0", 8));
    }
}

void tst_DBCFrameCollector::framesMatchTheirFormat_data()
{
    QTest::addColumn<QByteArray>("dbc");
    QTest::addColumn<QStringList>("messages");  // of the table, ascending key
    QTest::addColumn<quint32>("number");        // the ID of both frames
    // Message each frame decodes to, "-" for none: standard 0x123, extended 0x123.
    QTest::addColumn<QStringList>("decoded");

    QTest::newRow("standard and extended message of one number")
            << dbcFormatsFixture(true, true) << QStringList{"StdMessage", "ExtMessage"} << quint32(0x123)
            << QStringList{"StdMessage", "ExtMessage"};
    QTest::newRow("standard message only") << dbcFormatsFixture(true, false) << QStringList{"StdMessage"}
                                           << quint32(0x123) << QStringList{"StdMessage", "-"};
    QTest::newRow("extended message only") << dbcFormatsFixture(false, true) << QStringList{"ExtMessage"}
                                           << quint32(0x123) << QStringList{"-", "ExtMessage"};
    // A standard frame cannot carry 0x923: the ID is taken as extended.
    QTest::newRow("ID above 0x7FF without the extended mark")
            << QByteArray("BO_ 2339 Unmarked: 8 ECU\n") << QStringList{"Unmarked"} << quint32(0x923)
            << QStringList{"-", "Unmarked"};
    QTest::newRow("marked and unmarked ID of one extended number: the marked one")
            << QByteArray("BO_ 2339 Unmarked: 8 ECU\nBO_ 2147485987 Marked: 8 ECU\n") << QStringList{"Marked"}
            << quint32(0x923) << QStringList{"-", "Marked"};
}

void tst_DBCFrameCollector::framesMatchTheirFormat()
{
    QFETCH(QByteArray, dbc);
    QFETCH(QStringList, messages);
    QFETCH(quint32, number);
    QFETCH(QStringList, decoded);
    QTemporaryDir dir;
    DBCDatabase db;
    QVERIFY(db.load(writeDbc(dir, dbc)));
    QStringList names;
    for (const DBCMessageEntry &entry : qAsConst(db.messageTable))
        names << QString::fromStdString(entry.message->name);
    QCOMPARE(names, messages);

    DBCFrameCollector collector;
    collector.setMessages(db.messageTable);
    QStringList shown;
    for (const bool extended : {false, true}) {
        const VCI_CAN_OBJ received = frame(number, "\x05", extended);
        const bool kept = collector.feed(received);
        // A replay asks before it waits for the frame's time.
        QCOMPARE(collector.accepts(received), kept);
        const QMap<quint32, DBCPendingFrame> latest = collector.takeLatest();
        QCOMPARE(latest.size(), kept ? 1 : 0);
        if (!kept) {
            shown << QStringLiteral("-");
            continue;
        }
        QCOMPARE(latest.first().extended, quint8(extended));
        shown << QString::fromStdString(db.messageTable.value(latest.firstKey()).message->name);
    }
    QCOMPARE(shown, decoded);
}

void tst_DBCFrameCollector::sequenceInArrivalOrder()
{
    Table table;
    table.add(0x100).add(0x101);
    DBCFrameCollector collector;
    collector.setMessages(table.entries);
    for (int i = 0; i < DBCFrameCollector::SequenceBound + 3; ++i)
        collector.feed(frame(i % 3 == 1 ? 0x101 : 0x100, QByteArray(1, char(i)), false, quint32(i)));

    const QVector<DBCKeyedFrame> sequence = collector.takeSequence();
    QCOMPARE(sequence.size(), DBCFrameCollector::SequenceBound);
    // The oldest three are gone; the rest in arrival order.
    for (int i = 0; i < sequence.size(); ++i) {
        QCOMPARE(sequence.at(i).frame.time, quint32(i + 3));
        QCOMPARE(sequence.at(i).key, quint32((i + 3) % 3 == 1 ? 0x101 : 0x100));
    }
    // A take empties both views.
    QVERIFY(collector.takeLatest().isEmpty());
    collector.feed(frame(0x100, "\x01", false));
    collector.takeLatest();
    QVERIFY(collector.takeSequence().isEmpty());
}

void tst_DBCFrameCollector::tableChangeDropsWaitingFrames()
{
    Table table;
    table.add(0x100).add(0x101);
    DBCFrameCollector collector;
    collector.setMessages(table.entries);
    collector.feed(frame(0x100, "\x01", false));
    collector.feed(frame(0x101, "\x01", false));
    table.entries[0x100].enabled = false;
    collector.setMessages(table.entries);
    const QVector<DBCKeyedFrame> sequence = collector.takeSequence();
    QCOMPARE(sequence.size(), 1);
    QCOMPARE(sequence.at(0).key, quint32(0x101));
    collector.feed(frame(0x100, "\x01", false));
    collector.feed(frame(0x101, "\x01", false));
    collector.setMessages(table.entries);
    QCOMPARE(collector.takeLatest().keys(), QList<quint32>{0x101});
    collector.feed(frame(0x100, "\x01", false));
    QVERIFY(collector.takeLatest().isEmpty());
}

void tst_DBCFrameCollector::transport_data()
{
    QTest::addColumn<Frames>("frames");
    QTest::addColumn<quint32>("key");  // 0: nothing delivered
    QTest::addColumn<QByteArray>("data");

    // 10 bytes of PGN 0xFEF1 in two packets.
    const VCI_CAN_OBJ rts = control("100A0002FFF1FE00");
    const VCI_CAN_OBJ first = packet("01A1A2A3A4A5A6A7");
    const VCI_CAN_OBJ second = packet("02B1B2B3FFFFFFFF");
    VCI_CAN_OBJ eoma = control("130A0002FFF1FE00", 0x2A, 0x17);
    const QByteArray message = QByteArray::fromHex("A1A2A3A4A5A6A7B1B2B3");

    QTest::newRow("RTS, packets out of order, EOMA: the sender's own message")
            << Frames{rts, second, first, eoma} << (Extended | 0x18FEF117) << message;
    QTest::newRow("abort before EOMA") << Frames{rts, first, second, control("FF01000000F1FE00"), eoma}
                                       << quint32(0) << QByteArray();
    QTest::newRow("BAM of a source without its own message: the lowest key")
            << Frames{control("200A0002FFF1FE00", 0x05, 0xFF), packet("01A1A2A3A4A5A6A7", 0x05, 0xFF),
                      packet("02B1B2B3FFFFFFFF", 0x05, 0xFF)}
            << (Extended | 0x18FEF100) << message;
    QTest::newRow("sequence 0 is dropped")
            << Frames{rts, packet("00C1C2C3C4C5C6C7"), first, second, eoma} << (Extended | 0x18FEF117) << message;
    QTest::newRow("PDU1 PGN without the destination")
            << Frames{control("10090002FF00EF00"), packet("0111111111111111"), packet("0222222222222222"),
                      control("13090002FF00EF00", 0x2A, 0x17)}
            << (Extended | 0x18EF2A00) << QByteArray::fromHex("111111111111112222");
    QTest::newRow("disabled message of the PGN")
            << Frames{control("100A0002FFCAFE00"), first, second, control("130A0002FFCAFE00", 0x2A, 0x17)}
            << quint32(0) << QByteArray();
    QTest::newRow("29-bit ID without the extended mark")
            << Frames{control("100A0002FFCBFE00"), first, second, control("130A0002FFCBFE00", 0x2A, 0x17)}
            << (Extended | 0x18FECB00) << message;
    // The PGN of a standard ID (0) is no PGN: only extended messages take one.
    QTest::newRow("standard message")
            << Frames{control("100A0002FF000000"), first, second, control("130A0002FF000000", 0x2A, 0x17)}
            << quint32(0) << QByteArray();
    QTest::newRow("PGN without message")
            << Frames{control("100A0002FF00FF00"), first, second, control("130A0002FF00FF00", 0x2A, 0x17)}
            << quint32(0) << QByteArray();
}

void tst_DBCFrameCollector::transport()
{
    QFETCH(Frames, frames);
    QFETCH(quint32, key);
    QFETCH(QByteArray, data);
    Table table;
    table.add(Extended | 0x18FEF117).add(Extended | 0x18FEF100).add(Extended | 0x18FEF133);
    table.add(Extended | 0x18EF2A00).add(Extended | 0x18FECA00, false).add(0x18FECB00).add(0x017);
    DBCFrameCollector collector;
    collector.setMessages(table.entries);
    for (int i = 0; i < frames.size(); ++i)
        frames[i].DeviceTime = quint32(100 + i);
    for (const VCI_CAN_OBJ &f : qAsConst(frames))
        collector.feed(f);

    const QMap<quint32, DBCPendingFrame> latest = collector.takeLatest();
    if (key == 0) {
        QVERIFY(latest.isEmpty());
        return;
    }
    QCOMPARE(latest.keys(), QList<quint32>{key});
    const DBCPendingFrame &pending = latest.value(key);
    QCOMPARE(pending.data.toHex(), data.toHex());
    QCOMPARE(pending.time, quint32(100 + frames.size() - 1));
    QCOMPARE(pending.extended, quint8(1));
}

void tst_DBCFrameCollector::declaredTransportFramesAreShownToo()
{
    Table table;
    table.add(Extended | 0x1CEC2A17).add(Extended | 0x18FEF100);
    DBCFrameCollector collector;
    collector.setMessages(table.entries);
    collector.feed(control("200A0002FFF1FE00"));
    QCOMPARE(collector.takeLatest().keys(), QList<quint32>{Extended | 0x1CEC2A17});
}

void tst_DBCFrameCollector::accepts()
{
    Table table;
    table.add(0x100);
    DBCFrameCollector collector;
    collector.setMessages(table.entries);
    QVERIFY(collector.accepts(frame(0x100, "", false)));
    QVERIFY(!collector.accepts(frame(0x101, "", false)));
    // Transport frames matter only when a message can receive them.
    QVERIFY(!collector.accepts(packet("01")));
    table.add(Extended | 0x18FEF100);
    collector.setMessages(table.entries);
    QVERIFY(collector.accepts(packet("01")));
}

QTEST_APPLESS_MAIN(tst_DBCFrameCollector)
#include "tst_dbcframecollector.moc"
