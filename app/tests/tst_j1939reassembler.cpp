// J1939 transport reassembly: directed and broadcast transfers, packets out
// of order, aborts, restarts, and the bounds of sequence numbers, sizes and
// frame lengths.
#include "j1939reassembler.h"

#include <QtTest>

#include <initializer_list>

namespace {

// BMS (0xF4) to charger (0x56), as GB/T 27930 addresses them.
constexpr quint32 Rts = 0x1CEC56F4;    // connection management from the BMS
constexpr quint32 Ack = 0x1CECF456;    // connection management from the charger
constexpr quint32 Data = 0x1CEB56F4;   // data transfer from the BMS
constexpr quint32 Bam = 0x1CECFFF4;    // broadcast announce from the BMS
constexpr quint32 BamData = 0x1CEBFFF4;

VCI_CAN_OBJ frame(quint32 id, std::initializer_list<int> bytes, int length = -1)
{
    VCI_CAN_OBJ f = {};
    f.ID = id;
    f.ExternFlag = 1;
    int i = 0;
    for (int b : bytes)
        f.Data[i++] = quint8(b);
    f.DataLen = quint8(length < 0 ? i : length);
    return f;
}

VCI_CAN_OBJ request(quint32 id, int control, int size, quint32 pgn)
{
    return frame(id, {control, size & 0xFF, size >> 8, (size + 6) / 7, 0xFF, int(pgn & 0xFF), int((pgn >> 8) & 0xFF),
                      int(pgn >> 16)});
}

// Packet n of a message whose byte k is k + 1 (mod 256).
VCI_CAN_OBJ packet(quint32 id, int n)
{
    VCI_CAN_OBJ f = frame(id, {n});
    for (int i = 1; i < 8; ++i)
        f.Data[i] = quint8((n - 1) * 7 + i);
    f.DataLen = 8;
    return f;
}

QByteArray counting(int size)
{
    QByteArray bytes(size, '\0');
    for (int k = 0; k < size; ++k)
        bytes[k] = char(k + 1);
    return bytes;
}

using Frames = QVector<VCI_CAN_OBJ>;

// Transport frames between other nodes of a J1939 bus.
quint32 cm(quint8 source, quint8 destination)
{
    return 0x1CEC0000u | quint32(destination) << 8 | source;
}

quint32 dt(quint8 source, quint8 destination)
{
    return 0x1CEB0000u | quint32(destination) << 8 | source;
}

// Packet n of a message whose byte k is seed + k (mod 256).
VCI_CAN_OBJ seeded(quint32 id, int n, int seed)
{
    VCI_CAN_OBJ f = packet(id, n);
    for (int i = 1; i < 8; ++i)
        f.Data[i] = quint8(seed + (n - 1) * 7 + i - 1);
    return f;
}

QByteArray seededBytes(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int k = 0; k < size; ++k)
        bytes[k] = char(seed + k);
    return bytes;
}

VCI_CAN_OBJ eoma(quint8 source, quint8 destination, int size, quint32 pgn)
{
    return frame(cm(source, destination), {0x13, size & 0xFF, size >> 8, (size + 6) / 7, 0xFF, int(pgn & 0xFF),
                                           int((pgn >> 8) & 0xFF), int(pgn >> 16)});
}

VCI_CAN_OBJ abortOf(quint8 source, quint8 destination, quint32 pgn)
{
    return frame(cm(source, destination), {0xFF, 1, 0xFF, 0xFF, 0xFF, int(pgn & 0xFF), int((pgn >> 8) & 0xFF),
                                           int(pgn >> 16)});
}

struct Delivery {
    quint32 pgn;
    quint8 source;
    quint8 destination;
    QByteArray data;
    bool operator==(const Delivery &o) const
    {
        return pgn == o.pgn && source == o.source && destination == o.destination && data == o.data;
    }
};
using Deliveries = QVector<Delivery>;

char *toString(const Delivery &d)
{
    return qstrdup(QByteArray("pgn 0x" + QByteArray::number(d.pgn, 16) + " from 0x" + QByteArray::number(d.source, 16)
                              + " to 0x" + QByteArray::number(d.destination, 16) + ": " + d.data.toHex())
                           .constData());
}

} // namespace

Q_DECLARE_METATYPE(VCI_CAN_OBJ)
Q_DECLARE_METATYPE(Delivery)

class tst_J1939Reassembler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void transfers_data();
    void transfers();
    void otherFramesPassThrough();
    void deliversOnce();
    void connections_data();
    void connections();
    void oldestSessionDropped();
    void pgnOfIdentifier_data();
    void pgnOfIdentifier();
};

void tst_J1939Reassembler::transfers_data()
{
    QTest::addColumn<Frames>("frames");
    QTest::addColumn<int>("completions");  // messages delivered by the whole sequence
    QTest::addColumn<quint32>("pgn");      // of the last one
    QTest::addColumn<QByteArray>("data");

    const QByteArray brm = counting(49);
    QTest::newRow("RTS, packets out of order, EOMA")
        << Frames{request(Rts, 0x10, 49, 0x000200), packet(Data, 3), packet(Data, 1), packet(Data, 7), packet(Data, 2),
                  packet(Data, 5), packet(Data, 4), packet(Data, 6), frame(Ack, {0x11, 7, 1, 0xFF, 0xFF, 0, 2, 0}),
                  frame(Ack, {0x13, 49, 0, 7, 0xFF, 0, 2, 0})}
        << 1 << quint32(0x0200) << brm;

    QTest::newRow("BAM completes at its last packet")
        << Frames{request(Bam, 0x20, 9, 0x00FECA), packet(BamData, 1), packet(BamData, 2)} << 1 << quint32(0xFECA)
        << counting(9);

    QTest::newRow("abort before EOMA delivers nothing")
        << Frames{request(Rts, 0x10, 9, 0x000600), packet(Data, 1), packet(Data, 2), frame(Ack, {0xFF, 1, 0xFF, 0xFF, 0xFF, 0, 6, 0}),
                  frame(Ack, {0x13, 9, 0, 2, 0xFF, 0, 6, 0})}
        << 0 << quint32(0) << QByteArray();

    QTest::newRow("EOMA without request delivers nothing")
        << Frames{packet(Data, 1), frame(Ack, {0x13, 9, 0, 2, 0xFF, 0, 6, 0})} << 0 << quint32(0) << QByteArray();

    // The packet stored before the restart does not fill the new transfer's gap.
    QTest::newRow("a new request drops the stale buffer")
        << Frames{request(Rts, 0x10, 9, 0x000600), packet(Data, 1), request(Rts, 0x10, 9, 0x001100), packet(Data, 2),
                  frame(Ack, {0x13, 9, 0, 2, 0xFF, 0, 0x11, 0})}
        << 0 << quint32(0) << QByteArray();
    QTest::newRow("a new request starts afresh")
        << Frames{request(Rts, 0x10, 9, 0x000600), packet(Data, 2), request(Rts, 0x10, 9, 0x001100), packet(Data, 1),
                  packet(Data, 2), frame(Ack, {0x13, 9, 0, 2, 0xFF, 0, 0x11, 0})}
        << 1 << quint32(0x1100) << counting(9);

    QTest::newRow("sequence 0 and packets past the size are dropped")
        << Frames{request(Rts, 0x10, 9, 0x000600), frame(Data, {0, 9, 9, 9, 9, 9, 9, 9}), packet(Data, 1), packet(Data, 2),
                  packet(Data, 3), frame(Ack, {0x13, 9, 0, 2, 0xFF, 0, 6, 0})}
        << 1 << quint32(0x0600) << counting(9);

    QTest::newRow("packets of another sender are ignored")
        << Frames{request(Rts, 0x10, 7, 0x000600), frame(0x1CEB56E5, {1, 9, 9, 9, 9, 9, 9, 9}), packet(Data, 1),
                  frame(Ack, {0x13, 7, 0, 1, 0xFF, 0, 6, 0})}
        << 1 << quint32(0x0600) << counting(7);

    // The announced 65535 bytes are bounded by the 255 packets the buffer holds.
    Frames oversize{request(Rts, 0x10, 0xFFFF, 0x001500)};
    for (int n = 255; n >= 1; --n)
        oversize << packet(Data, n);
    oversize << frame(Ack, {0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0x15, 0});
    QByteArray full(1785, '\0');
    for (int k = 0; k < 1785; ++k)
        full[k] = char(k + 1);
    QTest::newRow("oversize request") << oversize << 1 << quint32(0x1500) << full;

    // A length code above 8 reads the 8 data bytes a frame has, no more.
    VCI_CAN_OBJ longPacket = packet(Data, 1);
    longPacket.DataLen = 15;
    QTest::newRow("length above 8") << Frames{request(Rts, 0x10, 7, 0x000600), longPacket, frame(Ack, {0x13})} << 1
                                    << quint32(0x0600) << counting(7);

    VCI_CAN_OBJ shortPacket = packet(Data, 1);
    shortPacket.DataLen = 4;
    QTest::newRow("short packet is a packet missed")
        << Frames{request(Rts, 0x10, 9, 0x000600), shortPacket, packet(Data, 2), frame(Ack, {0x13})} << 0
        << quint32(0) << QByteArray();

    QTest::newRow("short request is no session")
        << Frames{frame(Rts, {0x10, 9, 0, 2}), packet(Data, 1), frame(Ack, {0x13})} << 0 << quint32(0) << QByteArray();
}

void tst_J1939Reassembler::transfers()
{
    QFETCH(Frames, frames);
    QFETCH(int, completions);
    QFETCH(quint32, pgn);
    QFETCH(QByteArray, data);

    J1939Reassembler reassembler;
    J1939Message message;
    int delivered = 0;
    for (const VCI_CAN_OBJ &f : frames) {
        const auto result = reassembler.feed(f, &message);
        QVERIFY(result != J1939Reassembler::NotTransport);
        if (result == J1939Reassembler::Complete)
            ++delivered;
    }
    QCOMPARE(delivered, completions);
    if (completions > 0) {
        QCOMPARE(message.pgn, pgn);
        QCOMPARE(message.source, quint8(0xF4));
        QCOMPARE(message.data, data);
    }
}

void tst_J1939Reassembler::otherFramesPassThrough()
{
    J1939Reassembler reassembler;
    J1939Message message;
    QCOMPARE(reassembler.feed(request(Rts, 0x10, 9, 0x000600), &message), J1939Reassembler::Consumed);
    QCOMPARE(reassembler.feed(packet(Data, 1), &message), J1939Reassembler::Consumed);

    VCI_CAN_OBJ single = frame(0x182756F4, {1, 2, 3});
    VCI_CAN_OBJ standard = packet(0x7EB, 2);
    standard.ExternFlag = 0;
    VCI_CAN_OBJ remote = packet(Data, 2);
    remote.RemoteFlag = 1;
    for (const VCI_CAN_OBJ &f : {single, standard, remote})
        QCOMPARE(reassembler.feed(f, &message), J1939Reassembler::NotTransport);

    // The transfer in progress is untouched by them.
    QCOMPARE(reassembler.feed(packet(Data, 2), &message), J1939Reassembler::Consumed);
    QCOMPARE(reassembler.feed(frame(Ack, {0x13}), &message), J1939Reassembler::Complete);
    QCOMPARE(message.data, counting(9));
}

void tst_J1939Reassembler::deliversOnce()
{
    J1939Reassembler reassembler;
    J1939Message message;
    reassembler.feed(request(Bam, 0x20, 7, 0x00FECA), &message);
    QCOMPARE(reassembler.feed(packet(BamData, 1), &message), J1939Reassembler::Complete);
    QCOMPARE(reassembler.feed(packet(BamData, 1), &message), J1939Reassembler::Consumed);

    reassembler.feed(request(Rts, 0x10, 7, 0x000600), &message);
    reassembler.feed(packet(Data, 1), &message);
    QCOMPARE(reassembler.feed(frame(Ack, {0x13}), &message), J1939Reassembler::Complete);
    QCOMPARE(reassembler.feed(frame(Ack, {0x13}), &message), J1939Reassembler::Consumed);

    reassembler.feed(request(Rts, 0x10, 7, 0x000600), &message);
    reassembler.reset();
    QCOMPARE(reassembler.feed(frame(Ack, {0x13}), &message), J1939Reassembler::Consumed);
}

void tst_J1939Reassembler::connections_data()
{
    QTest::addColumn<Frames>("frames");
    QTest::addColumn<Deliveries>("expected");  // in order of completion

    const quint32 dm1 = 0xFECA;
    QTest::newRow("two interleaved broadcasts")
        << Frames{request(cm(0x00, 0xFF), 0x20, 14, dm1), request(cm(0x17, 0xFF), 0x20, 12, dm1),
                  seeded(dt(0x00, 0xFF), 1, 0x10), seeded(dt(0x17, 0xFF), 1, 0x80), seeded(dt(0x00, 0xFF), 2, 0x10),
                  seeded(dt(0x17, 0xFF), 2, 0x80)}
        << Deliveries{{dm1, 0x00, 0xFF, seededBytes(14, 0x10)}, {dm1, 0x17, 0xFF, seededBytes(12, 0x80)}};

    QTest::newRow("RTS/CTS while another node broadcasts")
        << Frames{request(cm(0xF4, 0x56), 0x10, 9, 0x0600), request(cm(0x17, 0xFF), 0x20, 9, dm1),
                  frame(cm(0x56, 0xF4), {0x11, 2, 1, 0xFF, 0xFF, 0, 6, 0}), seeded(dt(0xF4, 0x56), 1, 0x30),
                  seeded(dt(0x17, 0xFF), 1, 0x90), seeded(dt(0xF4, 0x56), 2, 0x30), seeded(dt(0x17, 0xFF), 2, 0x90),
                  eoma(0x56, 0xF4, 9, 0x0600)}
        << Deliveries{{dm1, 0x17, 0xFF, seededBytes(9, 0x90)}, {0x0600, 0xF4, 0x56, seededBytes(9, 0x30)}};

    QTest::newRow("one sender, a broadcast and two receivers")
        << Frames{request(cm(0xF4, 0x56), 0x10, 8, 0x0600), request(cm(0xF4, 0x57), 0x10, 8, 0x0700),
                  request(cm(0xF4, 0xFF), 0x20, 8, dm1), seeded(dt(0xF4, 0x57), 1, 0x70),
                  seeded(dt(0xF4, 0x56), 1, 0x60), seeded(dt(0xF4, 0xFF), 1, 0x20), seeded(dt(0xF4, 0x56), 2, 0x60),
                  seeded(dt(0xF4, 0x57), 2, 0x70), eoma(0x57, 0xF4, 8, 0x0700), seeded(dt(0xF4, 0xFF), 2, 0x20),
                  eoma(0x56, 0xF4, 8, 0x0600)}
        << Deliveries{{0x0700, 0xF4, 0x57, seededBytes(8, 0x70)},
                      {dm1, 0xF4, 0xFF, seededBytes(8, 0x20)},
                      {0x0600, 0xF4, 0x56, seededBytes(8, 0x60)}};

    QTest::newRow("foreign acknowledgements change nothing")
        << Frames{request(cm(0xF4, 0x56), 0x10, 9, 0x0600), seeded(dt(0xF4, 0x56), 1, 0x30),
                  eoma(0x23, 0x17, 9, 0x0600),  // another pair
                  eoma(0x56, 0xF4, 9, 0x1100),  // another group
                  eoma(0xF4, 0x56, 9, 0x0600),  // from the sender itself
                  seeded(dt(0xF4, 0x56), 2, 0x30), eoma(0x56, 0xF4, 9, 0x0600)}
        << Deliveries{{0x0600, 0xF4, 0x56, seededBytes(9, 0x30)}};

    QTest::newRow("foreign aborts change nothing")
        << Frames{request(cm(0xF4, 0x56), 0x10, 9, 0x0600), request(cm(0x17, 0xFF), 0x20, 9, dm1),
                  seeded(dt(0xF4, 0x56), 1, 0x30), seeded(dt(0x17, 0xFF), 1, 0x90), abortOf(0x23, 0x17, 0x0600),
                  abortOf(0x56, 0xF4, 0x1100), abortOf(0x17, 0x56, dm1), seeded(dt(0xF4, 0x56), 2, 0x30),
                  seeded(dt(0x17, 0xFF), 2, 0x90), eoma(0x56, 0xF4, 9, 0x0600)}
        << Deliveries{{dm1, 0x17, 0xFF, seededBytes(9, 0x90)}, {0x0600, 0xF4, 0x56, seededBytes(9, 0x30)}};

    QTest::newRow("an abort ends only its own connection")
        << Frames{request(cm(0xF4, 0x56), 0x10, 9, 0x0600), request(cm(0xE5, 0x56), 0x10, 9, 0x0600),
                  seeded(dt(0xF4, 0x56), 1, 0x30), seeded(dt(0xE5, 0x56), 1, 0x50), abortOf(0x56, 0xE5, 0x0600),
                  seeded(dt(0xF4, 0x56), 2, 0x30), seeded(dt(0xE5, 0x56), 2, 0x50), eoma(0x56, 0xE5, 9, 0x0600),
                  eoma(0x56, 0xF4, 9, 0x0600)}
        << Deliveries{{0x0600, 0xF4, 0x56, seededBytes(9, 0x30)}};

    // Missed packets: never delivered with zeros in their place.
    QTest::newRow("broadcast with a gap is dropped")
        << Frames{request(cm(0x00, 0xFF), 0x20, 21, dm1), seeded(dt(0x00, 0xFF), 1, 1), seeded(dt(0x00, 0xFF), 3, 1),
                  seeded(dt(0x00, 0xFF), 2, 1)}
        << Deliveries{};
    QTest::newRow("RTS/CTS with a gap is dropped at the acknowledgement")
        << Frames{request(cm(0xF4, 0x56), 0x10, 21, 0x0600), seeded(dt(0xF4, 0x56), 1, 1),
                  seeded(dt(0xF4, 0x56), 3, 1), eoma(0x56, 0xF4, 21, 0x0600), seeded(dt(0xF4, 0x56), 2, 1),
                  eoma(0x56, 0xF4, 21, 0x0600)}
        << Deliveries{};
    // The 4th of 5 packets cut to 5 bytes, beside the same transfer whole.
    const auto cut = [](VCI_CAN_OBJ f) {
        f.DataLen = 5;
        return f;
    };
    QTest::newRow("broadcast whole")
        << Frames{request(cm(0x00, 0xFF), 0x20, 33, dm1), seeded(dt(0x00, 0xFF), 1, 1), seeded(dt(0x00, 0xFF), 2, 1),
                  seeded(dt(0x00, 0xFF), 3, 1), seeded(dt(0x00, 0xFF), 4, 1), seeded(dt(0x00, 0xFF), 5, 1)}
        << Deliveries{{dm1, 0x00, 0xFF, seededBytes(33, 1)}};
    QTest::newRow("broadcast with a short packet is dropped")
        << Frames{request(cm(0x00, 0xFF), 0x20, 33, dm1), seeded(dt(0x00, 0xFF), 1, 1), seeded(dt(0x00, 0xFF), 2, 1),
                  seeded(dt(0x00, 0xFF), 3, 1), cut(seeded(dt(0x00, 0xFF), 4, 1)), seeded(dt(0x00, 0xFF), 5, 1)}
        << Deliveries{};
    QTest::newRow("broadcast whose last packet is short is dropped")
        << Frames{request(cm(0x00, 0xFF), 0x20, 33, dm1), seeded(dt(0x00, 0xFF), 1, 1), seeded(dt(0x00, 0xFF), 2, 1),
                  seeded(dt(0x00, 0xFF), 3, 1), seeded(dt(0x00, 0xFF), 4, 1), cut(seeded(dt(0x00, 0xFF), 5, 1))}
        << Deliveries{};
    QTest::newRow("RTS/CTS whole")
        << Frames{request(cm(0xF4, 0x56), 0x10, 33, 0x0600), seeded(dt(0xF4, 0x56), 1, 1), seeded(dt(0xF4, 0x56), 2, 1),
                  seeded(dt(0xF4, 0x56), 3, 1), seeded(dt(0xF4, 0x56), 4, 1), seeded(dt(0xF4, 0x56), 5, 1),
                  eoma(0x56, 0xF4, 33, 0x0600)}
        << Deliveries{{0x0600, 0xF4, 0x56, seededBytes(33, 1)}};
    QTest::newRow("RTS/CTS with a short packet is dropped at the acknowledgement")
        << Frames{request(cm(0xF4, 0x56), 0x10, 33, 0x0600), seeded(dt(0xF4, 0x56), 1, 1), seeded(dt(0xF4, 0x56), 2, 1),
                  seeded(dt(0xF4, 0x56), 3, 1), cut(seeded(dt(0xF4, 0x56), 4, 1)), seeded(dt(0xF4, 0x56), 5, 1),
                  eoma(0x56, 0xF4, 33, 0x0600)}
        << Deliveries{};
    // A short copy of a packet already stored leaves it stored.
    QTest::newRow("RTS/CTS with a short packet resent whole")
        << Frames{request(cm(0xF4, 0x56), 0x10, 33, 0x0600), seeded(dt(0xF4, 0x56), 1, 1), seeded(dt(0xF4, 0x56), 2, 1),
                  seeded(dt(0xF4, 0x56), 3, 1), cut(seeded(dt(0xF4, 0x56), 4, 1)), seeded(dt(0xF4, 0x56), 5, 1),
                  seeded(dt(0xF4, 0x56), 4, 1), cut(seeded(dt(0xF4, 0x56), 4, 1)), eoma(0x56, 0xF4, 33, 0x0600)}
        << Deliveries{{0x0600, 0xF4, 0x56, seededBytes(33, 1)}};
    QTest::newRow("a resent packet fills its gap")
        << Frames{request(cm(0xF4, 0x56), 0x10, 21, 0x0600), seeded(dt(0xF4, 0x56), 1, 1),
                  seeded(dt(0xF4, 0x56), 3, 1), seeded(dt(0xF4, 0x56), 2, 1), seeded(dt(0xF4, 0x56), 2, 1),
                  eoma(0x56, 0xF4, 21, 0x0600)}
        << Deliveries{{0x0600, 0xF4, 0x56, seededBytes(21, 1)}};
}

void tst_J1939Reassembler::connections()
{
    QFETCH(Frames, frames);
    QFETCH(Deliveries, expected);

    J1939Reassembler reassembler;
    Deliveries delivered;
    for (const VCI_CAN_OBJ &f : frames) {
        J1939Message message;
        if (reassembler.feed(f, &message) == J1939Reassembler::Complete)
            delivered << Delivery{message.pgn, message.source, message.destination, message.data};
    }
    QCOMPARE(delivered, expected);
    QCOMPARE(reassembler.sessionCount(), 0);
}

void tst_J1939Reassembler::oldestSessionDropped()
{
    // 65 nodes announce a broadcast before any of them sends its packets.
    J1939Reassembler reassembler;
    J1939Message message;
    for (int node = 0; node <= J1939Reassembler::MaxSessions; ++node)
        QCOMPARE(reassembler.feed(request(cm(quint8(node), 0xFF), 0x20, 7, 0xFECA), &message),
                 J1939Reassembler::Consumed);
    QCOMPARE(reassembler.sessionCount(), J1939Reassembler::MaxSessions);

    QVector<int> completed;
    for (int node = 0; node <= J1939Reassembler::MaxSessions; ++node) {
        if (reassembler.feed(seeded(dt(quint8(node), 0xFF), 1, node), &message) == J1939Reassembler::Complete) {
            QCOMPARE(message.source, quint8(node));
            QCOMPARE(message.data, seededBytes(7, node));
            completed << node;
        }
    }
    QCOMPARE(completed.size(), J1939Reassembler::MaxSessions);
    QCOMPARE(completed.first(), 1);
    QCOMPARE(completed.last(), J1939Reassembler::MaxSessions);
}

void tst_J1939Reassembler::pgnOfIdentifier_data()
{
    QTest::addColumn<quint32>("id");
    QTest::addColumn<quint32>("pgn");
    QTest::newRow("PDU1 drops the destination") << quint32(0x18EFF456) << quint32(0xEF00);
    QTest::newRow("PDU1 charger handshake") << quint32(0x1826F456) << quint32(0x2600);
    QTest::newRow("PDU2 keeps the group extension") << quint32(0x18FEF100) << quint32(0xFEF1);
    QTest::newRow("data page") << quint32(0x19FEF100) << quint32(0x1FEF1);
    QTest::newRow("extended data page, PDU1") << quint32(0x1BEA0017) << quint32(0x3EA00);
}

void tst_J1939Reassembler::pgnOfIdentifier()
{
    QFETCH(quint32, id);
    QFETCH(quint32, pgn);
    QCOMPARE(J1939Reassembler::pgnOf(id), pgn);
}

QTEST_APPLESS_MAIN(tst_J1939Reassembler)
#include "tst_j1939reassembler.moc"
