#include "dbc/dbcparser.h"

#include <QtTest>

#include <atomic>
#include <limits>

using Quillon::DbcParser;

namespace {

bool parse(const QByteArray &text, DBC::Network &network, DbcParser::Stop *stop = nullptr)
{
    return DbcParser::parseText(text.toStdString(), network, stop);
}

const char *const signalLine = " SG_ S : 0|8@1+ (1,0) [0|0] \"\" X\n";

} // namespace

class TestDbcGrammar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void acceptance_data();
    void acceptance();
    void message();
    void multiplexIndicator_data();
    void multiplexIndicator();
    void repeatedMessageMerges();
    void commentsCreateMissingEntries();
    void transmitters();
    void valueDescriptions();
    void nodesAndNewSymbols();
    void attributeDefinitions();
    void attributeDefaults_data();
    void attributeDefaults();
    void statementsNotKeptLeaveTheNetworkEmpty();
    void environmentVariables();
    void signalValueTypes();
    void quotedText();
    void rejectionKeepsEarlierStatements();
    void stoppedAtAStatement();
};

void TestDbcGrammar::acceptance_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");    // 0: accepted
    QTest::addColumn<int>("column");

    const QByteArray message = QByteArray("BO_ 1 M: 8 X\n");
    QTest::newRow("empty") << QByteArray() << 0 << 0;
    QTest::newRow("only line ends") << QByteArray("\r\n\n\r\n") << 0 << 0;
    QTest::newRow("trailing blanks") << QByteArray("VERSION \"1\"  \r\n \t\n") << 0 << 0;
    QTest::newRow("bit timing without numbers") << QByteArray("BS_:\n") << 0 << 0;
    QTest::newRow("bit timing with numbers") << QByteArray("BS_: 500 : 12,34\n") << 0 << 0;
    QTest::newRow("new symbols") << QByteArray("NS_ : \r\n\tNS_DESC_\r\n\tCM_\r\n\r\nBS_:\r\n") << 0 << 0;
    QTest::newRow("new symbol without line end at the end")
            << QByteArray("NS_ :\n\tCM_\n\tBA_") << 3 << 2;
    QTest::newRow("node list continued on the next line") << QByteArray("BU_: A B\nC\n") << 2 << 1;
    QTest::newRow("lone semicolon") << QByteArray(";") << 0 << 0;
    QTest::newRow("unknown statement") << QByteArray("VERSION \"\"\n" + message + "FOO_ 1;\n") << 3 << 1;
    QTest::newRow("signal outside a message") << QByteArray(signalLine) << 1 << 2;
    QTest::newRow("bad byte order")
            << QByteArray(message + " SG_ S : 0|8@2+ (1,0) [0|0] \"\" X\n") << 2 << 2;
    QTest::newRow("receiver list ending in a comma")
            << QByteArray(message + " SG_ S : 0|8@1+ (1,0) [0|0] \"\" X,\n") << 2 << 33;
    QTest::newRow("unterminated text") << QByteArray("CM_ \"abc;\n") << 1 << 1;
    QTest::newRow("message id beyond 32 bits") << QByteArray("BO_ 4294967296 M: 8 X\n") << 1 << 1;
    QTest::newRow("environment type outside the table")
            << QByteArray("EV_ V: 3 [0|0] \"\" 0 1 DUMMY_NODE_VECTOR0 N;") << 1 << 1;
    QTest::newRow("unknown extended value type") << QByteArray("SIG_VALTYPE_ 1 S : 4;") << 1 << 1;
    QTest::newRow("byte above 127 after a node name") << QByteArray("BU_: A\xE3\n") << 1 << 1;
    QTest::newRow("byte above 127 for a number")
            << QByteArray(message + " SG_ S : 0|8@1+ (1,0) [0|\xB5] \"\" X\n") << 2 << 2;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBFVERSION \"\"") << 0 << 0;
    QTest::newRow("byte-order mark not at the start")
            << QByteArray("VERSION \"\"\n\xEF\xBB\xBF") << 2 << 1;

    // Standard statements that real files carry.
    QTest::newRow("BA_DEF_DEF_REL_") << QByteArray("BA_DEF_DEF_REL_ \"A\" 0;") << 0 << 0;
    QTest::newRow("BA_DEF_DEF_REL") << QByteArray("BA_DEF_DEF_REL \"A\" 0;") << 0 << 0;
    QTest::newRow("environment variable of type 2")
            << QByteArray("EV_ V: 2 [0|0] \"\" 0 1 DUMMY_NODE_VECTOR0 Vector__XXX;") << 0 << 0;
    QTest::newRow("access code 8000")
            << QByteArray("EV_ V: 0 [0|0] \"\" 0 1 DUMMY_NODE_VECTOR8000 Vector__XXX;") << 0 << 0;
    QTest::newRow("SIG_VALTYPE_") << QByteArray("SIG_VALTYPE_ 1 S : 1;") << 0 << 0;
    QTest::newRow("SG_MUL_VAL_") << QByteArray("SG_MUL_VAL_ 2 S1 Mux 1-1, 3-5;") << 0 << 0;
    QTest::newRow("BA_REL_ signal")
            << QByteArray("BA_REL_ \"A\" BU_SG_REL_ N SG_ 2147558192 S 24000;") << 0 << 0;
    QTest::newRow("BA_REL_ message") << QByteArray("BA_REL_ \"A\" BU_BO_REL_ N 1 \"x\";") << 0 << 0;
    QTest::newRow("BA_REL_ environment") << QByteArray("BA_REL_ \"A\" BU_EV_REL_ N V 2;") << 0 << 0;
    QTest::newRow("BA_DEF_SGTYPE_") << QByteArray("BA_DEF_SGTYPE_ \"A\" INT 0 10;") << 0 << 0;
    QTest::newRow("BA_SGTYPE_") << QByteArray("BA_SGTYPE_ \"A\" SGTYPE_ T 3;") << 0 << 0;
    QTest::newRow("SIG_GROUP_") << QByteArray("SIG_GROUP_ 1 G 1 : A B;") << 0 << 0;
    QTest::newRow("empty SIG_GROUP_") << QByteArray("SIG_GROUP_ 1 G 1 :;") << 0 << 0;
    QTest::newRow("SGTYPE_") << QByteArray("SGTYPE_ T : 8@1+ (1,0) [0|255] \"\" 0, Table;") << 0 << 0;
    QTest::newRow("SGTYPE_VAL_") << QByteArray("SGTYPE_VAL_ T 0 \"off\" 1 \"on\";") << 0 << 0;
    QTest::newRow("SIG_TYPE_REF_") << QByteArray("SIG_TYPE_REF_ 1 S : T;") << 0 << 0;
    QTest::newRow("SIGTYPE_VALTYPE_") << QByteArray("SIGTYPE_VALTYPE_ T : 1;") << 0 << 0;
    QTest::newRow("ENVVAR_DATA_") << QByteArray("ENVVAR_DATA_ V : 4;") << 0 << 0;
    QTest::newRow("EV_DATA_") << QByteArray("EV_DATA_ V: 4;") << 0 << 0;
    QTest::newRow("CAT_DEF_") << QByteArray("CAT_DEF_ 1 Cat 0;") << 0 << 0;
    QTest::newRow("CAT_") << QByteArray("CAT_ BO_ 1 1;") << 0 << 0;
    QTest::newRow("FILTER") << QByteArray("FILTER 0 : BU_ N \";\";") << 0 << 0;
    QTest::newRow("BA_ on EV_") << QByteArray("BA_ \"A\" EV_ V 3;") << 0 << 0;
    QTest::newRow("BA_ on BO_") << QByteArray("BA_ \"A\" BO_ 1 3;") << 0 << 0;
    QTest::newRow("value description keys beyond 32 bits")
            << QByteArray("VAL_ 1 S 4294967295 \"max\" 18446744073709551615 \"huge\";") << 0 << 0;
    QTest::newRow("INT bounds beyond 32 bits")
            << QByteArray("BA_DEF_ BU_ \"A\" INT -9.22337203685478E+018 1.84467440737096E+019;")
            << 0 << 0;
    QTest::newRow("real beyond the double range")
            << QByteArray(message + " SG_ S : 0|8@1+ (1,0) [0|4.4E+481] \"\" X\n") << 0 << 0;
    QTest::newRow("placeholder as part of a longer name")
            << QByteArray("BO_ 1 M: 8 Vector_XXXY\n") << 0 << 0;
}

void TestDbcGrammar::acceptance()
{
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(int, column);

    DBC::Network network;
    DbcParser::Stop stop;
    QCOMPARE(parse(text, network, &stop), line == 0);
    if (line > 0) {
        QCOMPARE(int(stop.line), line);
        QCOMPARE(int(stop.column), column);
    }
}

void TestDbcGrammar::message()
{
    DBC::Network network;
    QVERIFY(parse("BO_ 2147483705 Engine: 8 Vector_XXX\n"
                  " SG_ Speed : 24|16@1+ (0.125,-5) [0|8031.875] \"rpm\" Gateway, Dash\n"
                  "BO_ 100 Body: 4 Vector__XXX\n"
                  " SG_ Door : 7|2@0- (1,0) [-2|1] \"\" Vector_XXX\n",
                  network));
    QCOMPARE(network.messages.size(), std::size_t(2));

    const DBC::Message &engine = network.messages.at(2147483705u);
    QCOMPARE(engine.id, 2147483705u);
    QCOMPARE(engine.name, std::string("Engine"));
    QCOMPARE(engine.size, 8u);
    QCOMPARE(engine.transmitter, std::string());
    const DBC::Signal &speed = engine.signals.at("Speed");
    QCOMPARE(speed.name, std::string("Speed"));
    QCOMPARE(speed.multiplexor, DBC::Signal::NotMultiplexed);
    QCOMPARE(speed.startBit, 24u);
    QCOMPARE(speed.bitSize, 16u);
    QCOMPARE(speed.byteOrder, DBC::Intel);
    QCOMPARE(speed.valueType, DBC::Unsigned);
    QCOMPARE(speed.factor, 0.125);
    QCOMPARE(speed.offset, -5.0);
    QCOMPARE(speed.minimum, 0.0);
    QCOMPARE(speed.maximum, 8031.875);
    QCOMPARE(speed.unit, std::string("rpm"));
    QCOMPARE(speed.receivers, (std::set<std::string>{"Dash", "Gateway"}));
    QCOMPARE(speed.extendedValueType, '\0');

    // The placeholder with two underscores is an ordinary name, and signal
    // receivers are plain names.
    const DBC::Message &body = network.messages.at(100);
    QCOMPARE(body.transmitter, std::string("Vector__XXX"));
    const DBC::Signal &door = body.signals.at("Door");
    QCOMPARE(door.byteOrder, DBC::Motorola);
    QCOMPARE(door.valueType, DBC::Signed);
    QCOMPARE(door.receivers, (std::set<std::string>{"Vector_XXX"}));
}

void TestDbcGrammar::multiplexIndicator_data()
{
    QTest::addColumn<QByteArray>("indicator");
    QTest::addColumn<int>("multiplexor");
    QTest::addColumn<uint>("switchValue");

    QTest::newRow("plain") << QByteArray() << 0 << 0u;
    QTest::newRow("switch") << QByteArray("M") << int('M') << 0u;
    QTest::newRow("multiplexed") << QByteArray("m3") << int('m') << 3u;
    QTest::newRow("multiplexed switch") << QByteArray("m1M") << int('m') << 1u;
}

void TestDbcGrammar::multiplexIndicator()
{
    QFETCH(QByteArray, indicator);
    QFETCH(int, multiplexor);
    QFETCH(uint, switchValue);

    DBC::Network network;
    QVERIFY(parse("BO_ 1 M: 8 X\n SG_ S " + indicator + " : 0|8@1+ (1,0) [0|0] \"\" X\n", network));
    const DBC::Signal &signal = network.messages.at(1).signals.at("S");
    QCOMPARE(int(signal.multiplexor), multiplexor);
    QCOMPARE(signal.multiplexerSwitchValue, switchValue);
}

void TestDbcGrammar::repeatedMessageMerges()
{
    DBC::Network network;
    QVERIFY(parse("BO_ 1 Old: 8 A\n"
                  " SG_ Kept : 0|8@1+ (1,0) [0|0] \"\" X\n"
                  " SG_ Changed : 8|8@1+ (1,0) [0|0] \"\" X,Y\n"
                  "BO_TX_BU_ 1 : A,B;\n"
                  "CM_ BO_ 1 \"message comment\";\n"
                  "CM_ SG_ 1 Changed \"signal comment\";\n"
                  "VAL_ 1 Changed 0 \"zero\";\n"
                  "BO_ 1 New: 4 B\n"
                  " SG_ Changed : 16|4@0- (2,1) [0|0] \"V\" Z\n",
                  network));
    QCOMPARE(network.messages.size(), std::size_t(1));
    const DBC::Message &message = network.messages.at(1);
    QCOMPARE(message.name, std::string("New"));
    QCOMPARE(message.size, 4u);
    QCOMPARE(message.transmitter, std::string("B"));
    QCOMPARE(message.transmitters, (std::set<std::string>{"A", "B"}));
    QCOMPARE(message.comment, std::string("message comment"));
    QCOMPARE(message.signals.size(), std::size_t(2));
    QCOMPARE(message.signals.at("Kept").startBit, 0u);
    const DBC::Signal &changed = message.signals.at("Changed");
    QCOMPARE(changed.startBit, 16u);
    QCOMPARE(changed.bitSize, 4u);
    QCOMPARE(changed.byteOrder, DBC::Motorola);
    QCOMPARE(changed.factor, 2.0);
    QCOMPARE(changed.receivers, (std::set<std::string>{"Z"}));
    QCOMPARE(changed.comment, std::string("signal comment"));
    QCOMPARE(changed.valueDescriptions.at(0), std::string("zero"));
}

void TestDbcGrammar::commentsCreateMissingEntries()
{
    DBC::Network network;
    QVERIFY(parse("CM_ \"network\";\n"
                  "CM_ BO_ 100 \"early\";\n"
                  "CM_ SG_ 200 Sig;\n"
                  "CM_ BU_ Node \"node\"\n"
                  "CM_ EV_ Var \"variable\";\n"
                  "BO_ 100 Late: 8 X\n",
                  network));
    QCOMPARE(network.comment, std::string("network"));
    const DBC::Message &late = network.messages.at(100);
    QCOMPARE(late.name, std::string("Late"));
    QCOMPARE(late.comment, std::string("early"));

    // A lookup by key does not copy the key into the new record.
    const DBC::Message &created = network.messages.at(200);
    QCOMPARE(created.id, 0u);
    QVERIFY(created.name.empty());
    QCOMPARE(created.signals.size(), std::size_t(1));
    QVERIFY(created.signals.at("Sig").comment.empty());
    QCOMPARE(network.nodes.at("Node").comment, std::string("node"));
    QCOMPARE(network.environmentVariables.at("Var").comment, std::string("variable"));
}

void TestDbcGrammar::transmitters()
{
    DBC::Network network;
    QVERIFY(parse("BO_TX_BU_ 1 : Vector_XXX,A;\n"
                  "BO_TX_BU_ 2 : Vector__XXX;\n"
                  "BO_ 3 M: 8 Vector_XXXY\n",
                  network));
    QCOMPARE(network.messages.at(1).transmitters, (std::set<std::string>{"", "A"}));
    QCOMPARE(network.messages.at(2).transmitters, (std::set<std::string>{"Vector__XXX"}));
    QCOMPARE(network.messages.at(3).transmitter, std::string("Vector_XXXY"));

    QVERIFY(parse("BO_TX_BU_ 1 : B;\n", network));
    QCOMPARE(network.messages.at(1).transmitters, (std::set<std::string>{"B"}));
}

void TestDbcGrammar::valueDescriptions()
{
    DBC::Network network;
    QVERIFY(parse("VAL_TABLE_ Gears 0 \"P\" 1 \"R\" 1 \"dup\" -1 \"neg\";\n"
                  "VAL_ 1 S 3 \"three\" 3 \"again\" 4294967295 \"max\" -2147483648 \"min\""
                  " 18446744073709551615 \"huge\" 4294967296 \"wide\";\n"
                  "VAL_ Var 1 \"on\";\n",
                  network));
    const DBC::ValueTable &gears = network.valueTables.at("Gears");
    QCOMPARE(gears.name, std::string("Gears"));
    QCOMPARE(gears.valueDescriptions, (std::map<uint32_t, std::string>{
                                           {0, "P"}, {1, "R"}, {4294967295u, "neg"}}));
    // Keys that fit no 32-bit number are dropped rather than folded.
    QCOMPARE(network.messages.at(1).signals.at("S").valueDescriptions,
             (std::map<uint32_t, std::string>{{3, "three"}, {2147483648u, "min"},
                                              {4294967295u, "max"}}));
    QCOMPARE(network.environmentVariables.at("Var").valueDescriptions,
             (std::map<uint32_t, std::string>{{1, "on"}}));

    QVERIFY(parse("VAL_ 1 S 7 \"seven\";\nVAL_TABLE_ Gears;\n", network));
    QCOMPARE(network.messages.at(1).signals.at("S").valueDescriptions,
             (std::map<uint32_t, std::string>{{7, "seven"}}));
    QVERIFY(network.valueTables.at("Gears").valueDescriptions.empty());
}

void TestDbcGrammar::nodesAndNewSymbols()
{
    DBC::Network network;
    QVERIFY(parse("CM_ BU_ B \"kept\";\n"
                  "BU_: A B\tC \n"
                  "NS_ :\n\tCM_\n\tBA_\n\n"
                  "NS_ :\n  VAL_  \n",
                  network));
    QCOMPARE(network.nodes.size(), std::size_t(3));
    QCOMPARE(network.nodes.at("A").name, std::string("A"));
    QCOMPARE(network.nodes.at("B").name, std::string("B"));
    QCOMPARE(network.nodes.at("B").comment, std::string("kept"));
    QCOMPARE(network.nodes.at("C").name, std::string("C"));
    QCOMPARE(network.newSymbols, std::vector<std::string>{"VAL_"});
}

void TestDbcGrammar::attributeDefinitions()
{
    using Type = DBC::AttributeValueType::Type;
    using Object = DBC::AttributeObjectType;
    DBC::Network network;
    QVERIFY(parse("BA_DEF_ \"NetInt\" INT -5 10;\n"
                  "BA_DEF_ BU_ \"NodeHex\" HEX 0 4294967295;\n"
                  "BA_DEF_ BO_ \"MsgFloat\" FLOAT -1.5 2.5e3;\n"
                  "BA_DEF_ SG_  \"SigString\" STRING ;\n"
                  "BA_DEF_ EV_ \"EvEnum\" ENUM \"a\",\"b\";\n"
                  "BA_DEF_REL_ BU_SG_REL_ \"Rel\" INT 0 1;\n"
                  "BA_DEF_ \"NetInt\" STRING;\n"
                  "BA_DEF_ BO_ \"EmptyEnum\" ENUM;\n",
                  network));
    const auto &definitions = network.attributeDefinitions;
    QCOMPARE(definitions.size(), std::size_t(7));

    const DBC::AttributeDefinition &netInt = definitions.at("NetInt");
    QCOMPARE(netInt.name, std::string("NetInt"));
    QVERIFY(!netInt.objectType);
    QCOMPARE(netInt.valueType.type, Type::Int);
    QCOMPARE(netInt.valueType.integer.minimum, -5);
    QCOMPARE(netInt.valueType.integer.maximum, 10);

    const DBC::AttributeDefinition &nodeHex = definitions.at("NodeHex");
    QCOMPARE(nodeHex.objectType, std::optional<Object>(Object::Node));
    QCOMPARE(nodeHex.valueType.type, Type::Hex);
    QCOMPARE(nodeHex.valueType.integer.maximum, std::numeric_limits<int32_t>::max());

    const DBC::AttributeDefinition &msgFloat = definitions.at("MsgFloat");
    QCOMPARE(msgFloat.objectType, std::optional<Object>(Object::Message));
    QCOMPARE(msgFloat.valueType.type, Type::Float);
    QCOMPARE(msgFloat.valueType.real.minimum, -1.5);
    QCOMPARE(msgFloat.valueType.real.maximum, 2500.0);

    QCOMPARE(definitions.at("SigString").objectType, std::optional<Object>(Object::Signal));
    QCOMPARE(definitions.at("SigString").valueType.type, Type::String);
    const DBC::AttributeDefinition &evEnum = definitions.at("EvEnum");
    QCOMPARE(evEnum.objectType, std::optional<Object>(Object::EnvironmentVariable));
    QCOMPARE(evEnum.valueType.type, Type::Enum);
    QCOMPARE(evEnum.valueType.enumValues, (std::vector<std::string>{"a", "b"}));
    QCOMPARE(definitions.at("Rel").objectType, std::optional<Object>(Object::NodeSignal));
    QCOMPARE(definitions.at("EmptyEnum").valueType.type, Type::Enum);
    QVERIFY(definitions.at("EmptyEnum").valueType.enumValues.empty());
}

void TestDbcGrammar::attributeDefaults_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("float 0.5") << QByteArray("BA_DEF_ \"A\" FLOAT 0 1;\nBA_DEF_DEF_ \"A\" 0.5;")
                               << QVariant(0.5);
    QTest::newRow("float written as integer")
            << QByteArray("BA_DEF_ \"A\" FLOAT 0 9;\nBA_DEF_DEF_ \"A\" 5;") << QVariant(5.0);
    QTest::newRow("int") << QByteArray("BA_DEF_ \"A\" INT 0 9;\nBA_DEF_DEF_ \"A\" 5;") << QVariant(5);
    QTest::newRow("hex beyond 32 bits")
            << QByteArray("BA_DEF_ \"A\" HEX 0 0;\nBA_DEF_DEF_ \"A\" 4294967295;")
            << QVariant(std::numeric_limits<int32_t>::max());
    QTest::newRow("string") << QByteArray("BA_DEF_ \"A\" STRING;\nBA_DEF_DEF_ \"A\" \"text\";")
                            << QVariant(QStringLiteral("text"));
    QTest::newRow("enum") << QByteArray("BA_DEF_ \"A\" ENUM \"a\",\"b\";\nBA_DEF_DEF_ \"A\" \"b\";")
                          << QVariant(QStringLiteral("b"));
    QTest::newRow("relation form")
            << QByteArray("BA_DEF_REL_ BU_BO_REL_ \"A\" INT 0 9;\nBA_DEF_DEF_REL \"A\" 3;")
            << QVariant(3);
    QTest::newRow("relation form with underscore")
            << QByteArray("BA_DEF_REL_ BU_BO_REL_ \"A\" STRING;\nBA_DEF_DEF_REL_ \"A\" \"x\";")
            << QVariant(QStringLiteral("x"));
}

void TestDbcGrammar::attributeDefaults()
{
    QFETCH(QByteArray, text);
    QFETCH(QVariant, value);

    DBC::Network network;
    QVERIFY(parse(text, network));
    const DBC::Attribute &attribute = network.attributeDefaults.at("A");
    QCOMPARE(attribute.name, std::string("A"));
    switch (network.attributeDefinitions.at("A").valueType.type) {
    case DBC::AttributeValueType::Type::Int:
    case DBC::AttributeValueType::Type::Hex:
        QCOMPARE(attribute.integerValue, value.toInt());
        break;
    case DBC::AttributeValueType::Type::Float:
        QCOMPARE(attribute.floatValue, value.toDouble());
        break;
    default:
        QCOMPARE(QString::fromStdString(attribute.stringValue), value.toString());
    }
}

void TestDbcGrammar::statementsNotKeptLeaveTheNetworkEmpty()
{
    DBC::Network network;
    QVERIFY(parse("BA_ \"A\" 1;\n"
                  "BA_ \"A\" \"text\"\n"
                  "BA_ \"A\" BU_ N 1;\n"
                  "BA_ \"A\" BO_ 1 2.5;\n"
                  "BA_ \"A\" SG_ 1 S 1;\n"
                  "BA_ \"A\" EV_ V 1;\n"
                  "BA_ \"A\" PTCAN;\n"
                  "BA_REL_ \"A\" BU_SG_REL_ N SG_ 1 S 1;\n"
                  "BA_DEF_SGTYPE_ \"A\" INT 0 1;\n"
                  "BA_SGTYPE_ \"A\" SGTYPE_ T 1;\n"
                  "SG_MUL_VAL_ 1 S Mux 0-1;\n"
                  "SIG_GROUP_ 1 G 1 : S;\n"
                  "SGTYPE_ T : 8@1+ (1,0) [0|1] \"\" 0;\n"
                  "SGTYPE_VAL_ T 0 \"x\";\n"
                  "SIG_TYPE_REF_ 1 S : T;\n"
                  "SIGTYPE_VALTYPE_ T : 1;\n"
                  "ENVVAR_DATA_ V: 1;\n"
                  "CAT_DEF_ 1 C 0;\n"
                  "FILTER 0 : BU_ N;\n"
                  "\"A\" 1 \"B\" 2;\n",
                  network));
    QVERIFY(network.messages.empty());
    QVERIFY(network.nodes.empty());
    QVERIFY(network.environmentVariables.empty());
    QVERIFY(network.valueTables.empty());
    QVERIFY(network.attributeDefinitions.empty());
    QVERIFY(network.attributeDefaults.empty());
}

void TestDbcGrammar::environmentVariables()
{
    using Env = DBC::EnvironmentVariable;
    DBC::Network network;
    QVERIFY(parse("CM_ EV_ Var \"comment\";\n"
                  "VAL_ Var 0 \"off\";\n"
                  "EV_ Var: 1 [-1.5|2.5] \"V\" 0.5 7 DUMMY_NODE_VECTOR3 N1,N2;\n"
                  "EV_ Str: 2 [0|0] \"\" 0 8 DUMMY_NODE_VECTOR8000 Vector__XXX;\n"
                  "EV_ Sym: s [0|0] \"\" 0 9 DUMMY_NODE_VECTOR1 N;\n",
                  network));
    const Env &var = network.environmentVariables.at("Var");
    QCOMPARE(var.name, std::string("Var"));
    QCOMPARE(var.type, Env::Float);
    QCOMPARE(var.minimum, -1.5);
    QCOMPARE(var.maximum, 2.5);
    QCOMPARE(var.unit, std::string("V"));
    QCOMPARE(var.initialValue, 0.5);
    QCOMPARE(var.id, 7u);
    QCOMPARE(var.accessType, Env::ReadWrite);
    QCOMPARE(var.accessNodes, (std::set<std::string>{"N1", "N2"}));
    QCOMPARE(var.comment, std::string("comment"));
    QCOMPARE(var.valueDescriptions.at(0), std::string("off"));

    QCOMPARE(network.environmentVariables.at("Str").type, Env::String);
    QCOMPARE(int(network.environmentVariables.at("Str").accessType), 0x8000);
    QCOMPARE(network.environmentVariables.at("Sym").type, Env::StringType);
    QCOMPARE(network.environmentVariables.at("Sym").accessType, Env::Read);
}

void TestDbcGrammar::signalValueTypes()
{
    DBC::Network network;
    QVERIFY(parse("BO_ 1 M: 8 X\n"
                  " SG_ F : 32|32@1- (1,0) [0|0] \"\" X\n"
                  " SG_ D : 0|64@1- (1,0) [0|0] \"\" X\n"
                  "SIG_VALTYPE_ 1 F : 1;\n"
                  "SIG_VALTYPE_ 1 D 2;\n",
                  network));
    const DBC::Signal &single = network.messages.at(1).signals.at("F");
    QCOMPARE(single.extendedValueType, '1');
    QCOMPARE(network.messages.at(1).signals.at("D").extendedValueType, '2');

    uint8_t bytes[8] = {0, 0, 0, 0, 0x00, 0x00, 0xc0, 0x3f};  // 1.5f in bytes 4..7
    const gsl::span<uint8_t> span(bytes);
    QCOMPARE(single.decodePhysicalValue(span), 1.5);
}

void TestDbcGrammar::quotedText()
{
    DBC::Network network;
    QVERIFY(parse("CM_ \"a\\\"b\\\\c\\n\\qd\r\ne \xC4\xE3\";", network));
    QCOMPARE(network.comment, std::string("a\"b\\c\\n\\qd\r\ne \xC4\xE3"));
}

void TestDbcGrammar::rejectionKeepsEarlierStatements()
{
    DBC::Network network;
    DbcParser::Stop stop;
    QVERIFY(!parse(QByteArray("BO_ 1 M: 8 X\n") + signalLine
                   + "BO_ 2 N 8 X\n" + signalLine + "BO_ 3 O: 8 X\n",
                   network, &stop));
    QCOMPARE(int(stop.line), 3);
    QCOMPARE(int(stop.column), 1);
    QCOMPARE(network.messages.size(), std::size_t(1));
    QCOMPARE(network.messages.at(1).signals.size(), std::size_t(1));
}

// Stopped at a known statement: the statements before it stay, and no stop
// position is worked out over the text parsed so far.
void TestDbcGrammar::stoppedAtAStatement()
{
    std::string text;
    constexpr int kMessages = 1000;
    for (int id = 0; id < kMessages; ++id)
        text += "BO_ " + std::to_string(id) + " M" + std::to_string(id) + ": 8 X\n" + signalLine;
    DBC::Network network;
    DbcParser::Stop stop;
    stop.line = stop.column = 99;
    int asked = 0;
    // A message with its signals is one statement: stopped at the last one.
    QVERIFY(!DbcParser::parseTextWhile(text, network, [&] { return ++asked < kMessages; }, &stop));
    QCOMPARE(asked, kMessages);
    QCOMPARE(network.messages.size(), std::size_t(kMessages - 1));
    QCOMPARE(int(stop.line), 99);
    QCOMPARE(int(stop.column), 99);

    // The cancel flag is asked the same way.
    const std::atomic<bool> cancel{true};
    DBC::Network cancelled;
    QVERIFY(!DbcParser::parseText(text, cancelled, &stop, &cancel));
    QVERIFY(cancelled.messages.empty());
    QCOMPARE(int(stop.line), 99);

    // Not stopped: the same text parses whole.
    DBC::Network whole;
    QVERIFY(DbcParser::parseTextWhile(text, whole, [] { return true; }));
    QCOMPARE(whole.messages.at(kMessages - 1).signals.size(), std::size_t(1));
}

QTEST_APPLESS_MAIN(TestDbcGrammar)

#include "tst_dbcgrammar.moc"
