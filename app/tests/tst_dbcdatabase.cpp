// A loaded DBC file as the frame-parsing window decodes it: which messages
// and signals are listed and in what order, the size check, the protocol,
// text encodings, and decoded values (scaling, value descriptions by raw
// value, multiplexing, spans shorter or longer than 8 bytes), on a small
// fixture and on real files from other tools.
#include "dbcfixture.h"
#include "dbc/network.h"
#include "dbcdatabase.h"
#include "dbcmessagekey.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr quint32 Extended = DBCMessageKey::ExtendedMark;

QStringList signalNames(const DBCDatabase &db, quint32 key)
{
    QStringList names;
    for (const DBC::Signal *signal : db.signalOrder.value(key))
        names << QString::fromStdString(signal->name);
    return names;
}

struct Shown {
    QString physical;
    QString raw;
    QString description;
};

QVector<Shown> decoded(const DBCDatabase &db, quint32 key, QByteArray bytes)
{
    QVector<Shown> out;
    const gsl::span<uint8_t> data(reinterpret_cast<uint8_t *>(bytes.data()), std::size_t(bytes.size()));
    for (const DBCSignalValue &value : db.decode(key, data))
        out << (value.shown ? Shown{value.physical, value.raw, value.description} : Shown{"-", "-", "-"});
    return out;
}

QStringList texts(const QVector<Shown> &values)
{
    QStringList out;
    for (const Shown &value : values)
        out << value.physical + QLatin1Char('/') + value.raw + QLatin1Char('/') + value.description;
    return out;
}

} // namespace

class tst_DBCDatabase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsDeclaredMessagesOnly();
    void independentSignalsMessage_data();
    void independentSignalsMessage();
    void refusesWhatNamesNoOwnFrame_data();
    void refusesWhatNamesNoOwnFrame();
    void signalOrder();
    void sizeCheck();
    void protocol_data();
    void protocol();
    void textsAsUtf8();
    void failedLoadKeepsNothingNew();
    void decode_data();
    void decode();
    void realFiles_data();
    void realFiles();
    void multiplexedRealFile();
};

void tst_DBCDatabase::listsDeclaredMessagesOnly()
{
    QTemporaryDir dir;
    DBCDatabase db;
    QVERIFY(db.load(writeDbc(dir)));
    // 999 only has a comment; the independent-signal pseudo message would be key 0.
    QCOMPARE(db.messageTable.keys(),
             (QList<quint32>{0, 256, 300, 400, Extended | 0x200, Extended | 0x18EF2A17, Extended | 0x18FEF100}));
    QCOMPARE(QString::fromStdString(db.messageTable.value(0).message->name), QStringLiteral("Zero"));
    // The message keeps its DBC ID as written.
    QCOMPARE(db.messageTable.value(Extended | 0x200).message->id, 2147484160u);
    QVERIFY(db.messageTable.value(256).enabled);
    // A value description of an undeclared signal does not make it a signal.
    QVERIFY(!signalNames(db, 256).contains(QStringLiteral("Ghost")));
}

void tst_DBCDatabase::independentSignalsMessage_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("as 0xC0000000") << QByteArray("BO_ 3221225472 VECTOR__INDEPENDENT_SIG_MSG: 0 Vector__XXX");
    // Written by some editors; its key would be 0 like the message Zero.
    QTest::newRow("as 0x40000000") << QByteArray("BO_ 1073741824 VECTOR__INDEPENDENT_SIG_MSG: 0 Vector__XXX");
    QTest::newRow("at 0xC0000000 under another name") << QByteArray("BO_ 3221225472 Unassigned: 0 Vector__XXX");
}

void tst_DBCDatabase::independentSignalsMessage()
{
    QFETCH(QByteArray, line);
    QByteArray content = dbcFixture();
    const QByteArray original("BO_ 3221225472 VECTOR__INDEPENDENT_SIG_MSG: 0 Vector__XXX");
    QVERIFY(content.contains(original));
    content.replace(original, line);
    QTemporaryDir dir;
    DBCDatabase db;
    QVERIFY(db.load(writeDbc(dir, content)));
    QCOMPARE(db.messageTable.keys(),
             (QList<quint32>{0, 256, 300, 400, Extended | 0x200, Extended | 0x18EF2A17, Extended | 0x18FEF100}));
    QCOMPARE(QString::fromStdString(db.messageTable.value(0).message->name), QStringLiteral("Zero"));
    QCOMPARE(signalNames(db, 0), QStringList{QStringLiteral("Z")});
    // Its signals in a message of 0 bytes raise no size warning.
    QCOMPARE(db.oversizedMessages(), QStringList{QStringLiteral("Big")});
}

Q_DECLARE_METATYPE(QList<quint32>)

void tst_DBCDatabase::refusesWhatNamesNoOwnFrame_data()
{
    QTest::addColumn<QByteArray>("messages");
    QTest::addColumn<QList<quint32>>("keys");       // of the table
    QTest::addColumn<QStringList>("names");         // of the table, by key
    QTest::addColumn<QStringList>("refused");       // name, DBC ID, the message kept

    const QByteArray real682("BO_ 1666 Real682: 8 ECU\n SG_ A : 0|8@1+ (1,0) [0|0] \"\" ECU\n\n");
    // Bit 30 masked away would make it the standard 0x682.
    QTest::newRow("bit 30 beside the standard message of its low bits")
            << real682 + "BO_ 1073743490 Bit30: 8 ECU\n SG_ B : 0|8@1+ (1,0) [0|0] \"\" ECU\n"
            << QList<quint32>{0x682} << QStringList{"Real682"} << QStringList{"Bit30 0x40000682 -"};
    QTest::newRow("bit 29 beside an extended message of its low bits")
            << QByteArray("BO_ 536872578 Bit29: 8 ECU\nBO_ 2147485314 Ext682: 8 ECU\n")
            << QList<quint32>{Extended | 0x682} << QStringList{"Ext682"} << QStringList{"Bit29 0x20000682 -"};
    QTest::newRow("bits 29 to 31 all set")
            << QByteArray("BO_ 4294967295 AllSet: 1 ECU\nBO_ 3758096384 High: 1 ECU\n") << QList<quint32>{}
            << QStringList{} << QStringList{"High 0xE0000000 -", "AllSet 0xFFFFFFFF -"};
    QTest::newRow("unmarked and marked extended ID of one number: the marked one decodes")
            << QByteArray("BO_ 2339 Unmarked: 8 ECU\nBO_ 2147485987 Marked: 8 ECU\n")
            << QList<quint32>{Extended | 0x923} << QStringList{"Marked"}
            << QStringList{"Unmarked 0x00000923 Marked"};
    QTest::newRow("standard and marked extended ID of one number stay apart")
            << real682 + "BO_ 2147485314 Ext682: 8 ECU\n" << QList<quint32>{0x682, Extended | 0x682}
            << QStringList{"Real682", "Ext682"} << QStringList{};
}

void tst_DBCDatabase::refusesWhatNamesNoOwnFrame()
{
    QFETCH(QByteArray, messages);
    QFETCH(QList<quint32>, keys);
    QFETCH(QStringList, names);
    QFETCH(QStringList, refused);
    QTemporaryDir dir;
    DBCDatabase db;
    QVERIFY(db.load(writeDbc(dir, QByteArray("VERSION \"\"\n\nNS_ :\n\nBS_:\n\nBU_: ECU\n\n") + messages)));
    QCOMPARE(db.messageTable.keys(), keys);
    QStringList tableNames;
    for (const DBCMessageEntry &entry : qAsConst(db.messageTable))
        tableNames << QString::fromStdString(entry.message->name);
    QCOMPARE(tableNames, names);
    QStringList refusedTexts;
    for (const DBCDatabase::Refused &message : db.refusedMessages()) {
        const bool sameFrames = message.reason == DBCDatabase::Refused::SameFrames;
        refusedTexts << message.name + QStringLiteral(" 0x")
                                + QString::number(message.dbcId, 16).rightJustified(8, QLatin1Char('0')).toUpper()
                                + QLatin1Char(' ') + (sameFrames ? message.keptName : QStringLiteral("-"));
    }
    QCOMPARE(refusedTexts, refused);
    // Names measured for the views are those of the table only.
    QCOMPARE(QSet<QString>(db.longestMessageNames().cbegin(), db.longestMessageNames().cend()),
             QSet<QString>(names.cbegin(), names.cend()));
}

void tst_DBCDatabase::signalOrder()
{
    QTemporaryDir dir;
    DBCDatabase db;
    QVERIFY(db.load(writeDbc(dir)));
    QCOMPARE(signalNames(db, 256), (QStringList{"Temp", "Gear", "Speed"}));
    // Equal start bits keep name order, and each signal appears once.
    QCOMPARE(signalNames(db, 300), (QStringList{"Switch", "A", "B"}));
    QCOMPARE(signalNames(db, 400), (QStringList{"W", "X", "Y"}));
}

void tst_DBCDatabase::sizeCheck()
{
    QTemporaryDir dir;
    DBCDatabase db;
    QVERIFY(db.load(writeDbc(dir)));
    // Mux: 24 bits declared in 2 bytes, but only one switch group at a time.
    QCOMPARE(db.oversizedMessages(), QStringList{"Big"});
}

void tst_DBCDatabase::protocol_data()
{
    QTest::addColumn<QByteArray>("attributes");
    QTest::addColumn<bool>("j1939");
    QTest::newRow("no attribute") << QByteArray() << false;
    QTest::newRow("definition without default")
            << QByteArray("BA_DEF_ \"ProtocolType\" STRING ;\n") << false;
    QTest::newRow("default J1939")
            << QByteArray("BA_DEF_ \"ProtocolType\" STRING ;\nBA_DEF_DEF_ \"ProtocolType\" \"J1939\";\n") << true;
    QTest::newRow("default naming another protocol")
            << QByteArray("BA_DEF_ \"ProtocolType\" STRING ;\nBA_DEF_DEF_ \"ProtocolType\" \"CAN\";\n") << true;
}

void tst_DBCDatabase::protocol()
{
    QFETCH(QByteArray, attributes);
    QFETCH(bool, j1939);
    QTemporaryDir dir;
    DBCDatabase db;
    QVERIFY(db.load(writeDbc(dir, dbcFixture() + attributes)));
    QCOMPARE(db.isJ1939(), j1939);
}

void tst_DBCDatabase::textsAsUtf8()
{
    QTemporaryDir dir;
    DBCDatabase db;
    QVERIFY(db.load(writeDbc(dir)));
    const DBC::Message &engine = *db.messageTable.value(256).message;
    QCOMPARE(QString::fromStdString(engine.comment), QString::fromUtf8(kUtf8Text));
    QCOMPARE(QString::fromStdString(engine.signals.at("Temp").comment), QStringLiteral("温度"));
}

void tst_DBCDatabase::failedLoadKeepsNothingNew()
{
    QTemporaryDir dir;
    DBCDatabase db;
    QVERIFY(db.load(writeDbc(dir)));
    const DBC::Network *before = &db.network();
    const QString broken = dir.filePath(QStringLiteral("broken.dbc"));
    writeFile(broken, "BO_ 1 One: 8 ECU\nnot a statement\n");
    QVERIFY(!db.load(broken));
    QVERIFY(!db.load(dir.filePath(QStringLiteral("missing.dbc"))));
    QCOMPARE(&db.network(), before);
    QCOMPARE(db.messageTable.size(), 7);
    QVERIFY(db.messageTable.value(256).message == &before->messages.at(256));
}

void tst_DBCDatabase::decode_data()
{
    QTest::addColumn<quint32>("key");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("values");  // physical/raw/description, "-" when not shown
    // Temp, Gear, Speed.
    QTest::newRow("scaled values, description by raw value")
            << quint32(256) << QByteArray::fromHex("2A03040000000000")
            << QStringList{"2/0x2a/", "3/0x3/", "2/0x4/raw four"};
    QTest::newRow("signed raw -1 finds its description")
            << quint32(256) << QByteArray::fromHex("FF00000000000000")
            << QStringList{"-41/0xff/Sensor fault", "0/0x0/", "0/0x0/"};
    QTest::newRow("fraction") << quint32(256) << QByteArray::fromHex("0000190000000000")
                              << QStringList{"-40/0x0/", "0/0x0/", "12.5/0x19/"};
    // A 4-byte message still decodes from all 8 bytes of the frame.
    QTest::newRow("4-byte message, signal in byte 4")
            << (Extended | 0x200) << QByteArray::fromHex("0000000077000000") << QStringList{"119/0x77/"};
    QTest::newRow("multiplexed signal of the switch value only")
            << quint32(300) << QByteArray::fromHex("012A000000000000") << QStringList{"1/0x1/", "42/0x2a/", "-"};
    QTest::newRow("other switch value")
            << quint32(300) << QByteArray::fromHex("022A000000000000") << QStringList{"2/0x2/", "-", "42/0x2a/"};
    QTest::newRow("switch value without signals")
            << quint32(300) << QByteArray::fromHex("072A000000000000") << QStringList{"7/0x7/", "-", "-"};
    QTest::newRow("message over 8 bytes")
            << (Extended | 0x18FEF100) << QByteArray::fromHex("000000000000000000000000000000000000CDAB")
            << QStringList{"43981/0xabcd/"};
    QTest::newRow("signal past the received bytes")
            << (Extended | 0x18FEF100) << QByteArray::fromHex("0000000000000000") << QStringList{"-"};
}

void tst_DBCDatabase::decode()
{
    QFETCH(quint32, key);
    QFETCH(QByteArray, data);
    QFETCH(QStringList, values);
    QTemporaryDir dir;
    DBCDatabase db;
    QVERIFY(db.load(writeDbc(dir)));
    QStringList expected;
    for (const QString &value : values)
        expected << (value == QLatin1String("-") ? QStringLiteral("-/-/-") : value);
    QCOMPARE(texts(decoded(db, key, data)), expected);
}

void tst_DBCDatabase::realFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("messages");
    QTest::addColumn<bool>("j1939");
    QTest::newRow("vehicle") << "cantools/vehicle.dbc" << 217 << false;
    QTest::newRow("j1939 with a protocol default") << "cantools/j1939.dbc" << 2 << true;
    QTest::newRow("independent-signal pseudo message") << "cantools/issue_62.dbc" << 0 << false;
    QTest::newRow("large J1939 database") << "canmatrix/j1939.dbc" << 357 << false;
    // DriverDoorStatus, written 0xFFFFFFFF, names no frame.
    QTest::newRow("ID with bits 29 and 30 set") << "cantools/issue_199_extended.dbc" << 10 << true;
}

void tst_DBCDatabase::realFiles()
{
    QFETCH(QString, file);
    QFETCH(int, messages);
    QFETCH(bool, j1939);
    const QString path = sharedDbc(qPrintable(file));
    if (!QFile::exists(path))
        QSKIP("shared test data not present");
    DBCDatabase db;
    QVERIFY(db.load(path));
    QCOMPARE(db.messageTable.size(), messages);
    QCOMPARE(db.isJ1939(), j1939);
    for (const DBCMessageEntry &entry : qAsConst(db.messageTable))
        QVERIFY(!entry.message->name.empty());
}

void tst_DBCDatabase::multiplexedRealFile()
{
    const QString file = sharedDbc("cantools/multiplex.dbc");
    if (!QFile::exists(file))
        QSKIP("shared test data not present");
    DBCDatabase db;
    QVERIFY(db.load(file));
    const quint32 key = DBCMessageKey::ofMessage(2148676694u);
    const QStringList names = signalNames(db, key);
    // Multiplexor 24 in bits 2-7 of byte 0; BIT_A (m24) set at bit 26, BIT_L (m8) at bit 24.
    const QVector<Shown> values = decoded(db, key, QByteArray::fromHex("6000000505000000"));
    QCOMPARE(values.size(), 12);
    QCOMPARE(values.at(names.indexOf("Multiplexor")).physical, QStringLiteral("24"));
    QCOMPARE(values.at(names.indexOf("BIT_A")).physical, QStringLiteral("1"));
    QCOMPARE(values.at(names.indexOf("BIT_D")).physical, QStringLiteral("1"));
    QCOMPARE(values.at(names.indexOf("BIT_L")).physical, QStringLiteral("-"));
    QCOMPARE(values.at(names.indexOf("BIT_C")).physical, QStringLiteral("-"));
}

QTEST_GUILESS_MAIN(tst_DBCDatabase)
#include "tst_dbcdatabase.moc"
