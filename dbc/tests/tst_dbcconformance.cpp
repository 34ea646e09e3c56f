// Real DBC files written by other tools: every file is accepted except the
// ones listed with their reason, and real messages decode to values worked
// out by hand.

#include "dbc/dbcparser.h"

#include <QtTest>

#include <cmath>
#include <map>

using Quillon::DbcParser;

namespace {

const QString dataDir = QStringLiteral(QUILLON_TESTDATA_DIR "/dbc");

// Relative path -> why the file is not DBC.
const std::map<QString, QString> rejectedFiles = {
    {QStringLiteral("cantools/foobar.dbc"),
     QStringLiteral("\"//\" line comments, a cantools extension that DBC does not have")},
    {QStringLiteral("cantools/issue_168.DBC"),
     QStringLiteral("\"//\" line comments, a cantools extension that DBC does not have")},
    {QStringLiteral("cantools/socialledge.dbc"),
     QStringLiteral("\"//\" line comments, a cantools extension that DBC does not have")},
};

bool close(double actual, double expected)
{
    return std::fabs(actual - expected) <= 1e-9 * std::max(1.0, std::fabs(expected));
}

} // namespace

class TestDbcConformance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyFile_data();
    void everyFile();
    void decodedValues_data();
    void decodedValues();
    void multiplexing();

private:
    const DBC::Network &network(const QString &file);

    std::map<QString, DBC::Network> m_networks;
};

void TestDbcConformance::initTestCase()
{
    if (!QDir(dataDir).exists())
        QSKIP(qPrintable(QStringLiteral("No real DBC files at %1").arg(dataDir)));
    for (const auto &entry : rejectedFiles) {
        QVERIFY2(QFile::exists(dataDir + '/' + entry.first), qPrintable(entry.first));
        qInfo("Rejected by design: %s: %s", qPrintable(entry.first), qPrintable(entry.second));
    }
}

void TestDbcConformance::everyFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");

    const QDir root(dataDir);
    QDirIterator files(dataDir, {QStringLiteral("*.dbc")}, QDir::Files,
                       QDirIterator::Subdirectories);
    QStringList names;
    while (files.hasNext())
        names << root.relativeFilePath(files.next());
    names.sort();
    QVERIFY(!names.isEmpty());
    for (const QString &name : qAsConst(names)) {
        const auto rejected = rejectedFiles.find(name);
        QTest::newRow(qPrintable(name))
                << root.filePath(name)
                << (rejected == rejectedFiles.end() ? QString() : rejected->second);
    }
}

void TestDbcConformance::everyFile()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);

    DBC::Network network;
    DbcParser::Stop stop;
    const bool accepted = DbcParser::parseFile(QFile::encodeName(path).toStdString(), network,
                                               &stop);
    const QString where = QStringLiteral("stopped at line %1, column %2")
            .arg(stop.line).arg(stop.column);
    if (reason.isEmpty())
        QVERIFY2(accepted, qPrintable(where));
    else
        QVERIFY2(!accepted, qPrintable(QStringLiteral("listed as rejected: ") + reason));
}

const DBC::Network &TestDbcConformance::network(const QString &file)
{
    auto found = m_networks.find(file);
    if (found == m_networks.end()) {
        found = m_networks.emplace(file, DBC::Network()).first;
        const bool accepted = DbcParser::parseFile(
                QFile::encodeName(dataDir + '/' + file).toStdString(), found->second);
        if (!accepted)
            qWarning("%s was not accepted", qPrintable(file));
    }
    return found->second;
}

void TestDbcConformance::decodedValues_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<uint>("id");
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<double>("physical");
    QTest::addColumn<quint64>("raw");

    const QString j1939 = QStringLiteral("canmatrix/j1939.dbc");
    const QByteArray eec1 = "530000401f000000";
    QTest::newRow("intel 16 bits") << j1939 << 2163213312u << QByteArray("Engine_Speed") << eec1
                                   << 8000.0 << 0x1f40ull;
    QTest::newRow("intel low nibble") << j1939 << 2163213312u << QByteArray("Engine_Torque_Mode")
                                      << eec1 << 3.0 << 3ull;
    QTest::newRow("intel high nibble") << j1939 << 2163213312u
                                       << QByteArray("Actual_Engine___Percent_Torque_H") << eec1
                                       << 5.0 << 5ull;

    const QString vehicle = QStringLiteral("cantools/vehicle.dbc");
    const QByteArray velocity = "012af0d8ffa86100";
    QTest::newRow("intel signed 24 bits scaled") << vehicle << 2304279330u
                                                 << QByteArray("INS_Vel_Forwards_2D") << velocity
                                                 << -1.0 << 0xffd8f0ull;
    QTest::newRow("intel 24 bits scaled") << vehicle << 2304279330u
                                          << QByteArray("INS_Vel_Sideways_2D") << velocity << 2.5
                                          << 0x61a8ull;

    const QString motohawk = QStringLiteral("cantools/motohawk.dbc");
    QTest::newRow("motorola signed 12 bits") << motohawk << 496u << QByteArray("Temperature")
                                             << QByteArray("c006e00000000000") << 250.55 << 0x37ull;
    QTest::newRow("motorola signed 12 bits negative")
            << motohawk << 496u << QByteArray("Temperature") << QByteArray("c106000000000000")
            << 230.0 << 0x830ull;
    QTest::newRow("motorola 6 bits") << motohawk << 496u << QByteArray("AverageRadius")
                                     << QByteArray("c006e00000000000") << 3.2 << 0x20ull;
    QTest::newRow("motorola 1 bit") << motohawk << 496u << QByteArray("Enable")
                                    << QByteArray("c006e00000000000") << 1.0 << 1ull;

    const QString paddings = QStringLiteral("cantools/padding_bit_order.dbc");
    QTest::newRow("motorola 15 bits") << paddings << 1u << QByteArray("A")
                                      << QByteArray("8123000000000000") << 291.0 << 0x123ull;

    const QString signedFile = QStringLiteral("cantools/signed.dbc");
    const QByteArray intelSigned = "8000fc0314000000";
    const QByteArray motorolaSigned = "00000000a00180c5";
    QTest::newRow("intel signed 9 bits") << signedFile << 10u << QByteArray("s9") << intelSigned
                                         << -2.0 << 0x1feull;
    QTest::newRow("intel signed 3 bits") << signedFile << 10u << QByteArray("s3") << intelSigned
                                         << -3.0 << 5ull;
    QTest::newRow("intel signed 7 bits") << signedFile << 10u << QByteArray("s7") << intelSigned
                                         << -64.0 << 0x40ull;
    QTest::newRow("motorola signed 10 bits") << signedFile << 10u << QByteArray("s10big")
                                             << motorolaSigned << -255.0 << 0x301ull;
    QTest::newRow("motorola signed 3 bits") << signedFile << 10u << QByteArray("s3big")
                                            << motorolaSigned << -3.0 << 5ull;
    QTest::newRow("motorola signed 7 bits") << signedFile << 10u << QByteArray("s7big")
                                            << motorolaSigned << -59.0 << 0x45ull;

    QTest::newRow("intel signed 64 bits") << signedFile << 2u << QByteArray("s64")
                                          << QByteArray("ffffffffffffffff") << -1.0
                                          << 0xffffffffffffffffull;
    QTest::newRow("motorola signed 64 bits") << signedFile << 3u << QByteArray("s64big")
                                             << QByteArray("8000000000000001")
                                             << -9223372036854775807.0 << 0x8000000000000001ull;
    QTest::newRow("intel unsigned 64 bits") << paddings << 5u << QByteArray("M")
                                            << QByteArray("ffffffffffffffff")
                                            << 18446744073709551615.0 << 0xffffffffffffffffull;
    QTest::newRow("motorola unsigned 64 bits") << paddings << 4u << QByteArray("L")
                                               << QByteArray("8000000000000001")
                                               << 9223372036854775809.0 << 0x8000000000000001ull;

    const QString floats = QStringLiteral("cantools/floating_point.dbc");
    QTest::newRow("float") << floats << 1025u << QByteArray("Signal1")
                           << QByteArray("0000003f000010c0") << 0.5 << 0x3f000000ull;
    QTest::newRow("float in the high word") << floats << 1025u << QByteArray("Signal2")
                                            << QByteArray("0000003f000010c0") << -2.25
                                            << 0xc0100000ull;
    QTest::newRow("double") << floats << 1024u << QByteArray("Signal1")
                            << QByteArray("00000000404a93c0") << -1234.5625
                            << 0xc0934a4000000000ull;

    const QString multiplex = QStringLiteral("cantools/multiplex.dbc");
    const QByteArray multiplexed = "2000040100000000";
    QTest::newRow("multiplexer switch") << multiplex << 2148676694u << QByteArray("Multiplexor")
                                        << multiplexed << 8.0 << 8ull;
    QTest::newRow("multiplexed bit") << multiplex << 2148676694u << QByteArray("BIT_J")
                                     << multiplexed << 1.0 << 1ull;
}

void TestDbcConformance::decodedValues()
{
    QFETCH(QString, file);
    QFETCH(uint, id);
    QFETCH(QByteArray, signal);
    QFETCH(QByteArray, data);
    QFETCH(double, physical);
    QFETCH(quint64, raw);

    const DBC::Network &parsed = network(file);
    QVERIFY(parsed.messages.count(id));
    const auto &signals = parsed.messages.at(id).signals;
    const auto found = signals.find(signal.toStdString());
    QVERIFY(found != signals.end());
    const DBC::Signal &dbcSignal = found->second;

    const QByteArray bytes = QByteArray::fromHex(data);
    std::vector<uint8_t> frame(bytes.begin(), bytes.end());
    const gsl::span<uint8_t> span(frame);
    QCOMPARE(quint64(dbcSignal.decode(span).second), raw);
    QCOMPARE(quint64(dbcSignal.decode_ex(span).second), raw);
    QVERIFY2(close(dbcSignal.decodePhysicalValue(span), physical),
             qPrintable(QString::number(dbcSignal.decodePhysicalValue(span), 'g', 17)));
    // The integer path the program takes: the value, then the scaling.
    const bool integerValue = dbcSignal.extendedValueType == 0
            && (dbcSignal.valueType == DBC::Signed || raw >> 63 == 0);
    if (integerValue)
        QVERIFY(close(dbcSignal.rawToPhysicalValue(double(dbcSignal.decode(span).first)), physical));

    // And back: the physical value encodes to the same bit field, where a
    // double holds it exactly.
    if (std::fabs(physical) > 9007199254740992.0)
        return;
    std::vector<uint8_t> encoded(frame.size(), 0);
    gsl::span<uint8_t> encodedSpan(encoded);
    dbcSignal.encodePhysicalValue(encodedSpan, physical);
    QCOMPARE(quint64(dbcSignal.decode(encodedSpan).second), raw);
}

void TestDbcConformance::multiplexing()
{
    const DBC::Message &message = network(QStringLiteral("cantools/multiplex.dbc"))
            .messages.at(2148676694u);
    QCOMPARE(message.signals.at("Multiplexor").multiplexor, DBC::Signal::MultiplexerSwitch);
    QCOMPARE(message.signals.at("BIT_J").multiplexor, DBC::Signal::Multiplexed);
    QCOMPARE(message.signals.at("BIT_J").multiplexerSwitchValue, 8u);
    QCOMPARE(message.signals.at("BIT_K").multiplexerSwitchValue, 24u);

    // Extended multiplexing: a signal that is multiplexed and a switch itself
    // is kept as multiplexed by its own switch value.
    const DBC::Message &cascaded = network(QStringLiteral(
            "cantools/issue_184_extended_mux_cascaded.dbc")).messages.at(2147483649u);
    const DBC::Signal &inner = cascaded.signals.at("muxed_A_2_MUX_B");
    QCOMPARE(inner.multiplexor, DBC::Signal::Multiplexed);
    QCOMPARE(inner.multiplexerSwitchValue, 2u);
    QCOMPARE(cascaded.signals.at("MUX_A").multiplexor, DBC::Signal::MultiplexerSwitch);
}

QTEST_APPLESS_MAIN(TestDbcConformance)

#include "tst_dbcconformance.moc"
