// A small DBC file for the DBC view tests: plain, scaled, signed and
// multiplexed signals, a 4-byte and a 20-byte message, J1939 identifiers
// (PDU1 and PDU2), an oversized message, texts in UTF-8 and in GBK, and the
// lines real files carry for things they never declare. And the languages
// a window test runs in.
#pragma once

#include "apphelpers.h"
#include "chinesecatalogue.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// "温度" in GBK, "速度" in UTF-8.
const QByteArray kGbkText("\xCE\xC2\xB6\xC8");
const QByteArray kUtf8Text("\xE9\x80\x9F\xE5\xBA\xA6");

// Declared message keys, ascending: Zero 0, Engine 0x100, Mux 0x12C,
// Big 0x190, Short 0x200 (extended), Proprietary 0x18EF2A17, Long 0x18FEF100.
inline QByteArray dbcFixture()
{
    return QByteArray("VERSION \"\"\n\nNS_ :\n\nBS_:\n\nBU_: ECU\n\n"
                      "BO_ 0 Zero: 1 ECU\n"
                      " SG_ Z : 0|8@1+ (1,0) [0|0] \"\" ECU\n\n"
                      "BO_ 256 Engine: 8 ECU\n"
                      " SG_ Speed : 16|16@1+ (0.5,0) [0|100] \"km/h\" ECU\n"
                      " SG_ Temp : 0|8@1- (1,-40) [-40|215] \"degC\" ECU\n"
                      " SG_ Gear : 8|4@1+ (1,0) [0|15] \"\" ECU\n\n"
                      "BO_ 2147484160 Short: 4 ECU\n"
                      " SG_ Late : 32|8@1+ (1,0) [0|255] \"\" ECU\n\n"
                      "BO_ 300 Mux: 2 ECU\n"
                      " SG_ Switch M : 0|8@1+ (1,0) [0|0] \"\" ECU\n"
                      " SG_ B m2 : 8|8@1+ (1,0) [0|0] \"\" ECU\n"
                      " SG_ A m1 : 8|8@1+ (1,0) [0|0] \"\" ECU\n\n"
                      "BO_ 400 Big: 8 ECU\n"
                      " SG_ X : 0|40@1+ (1,0) [0|0] \"\" ECU\n"
                      " SG_ Y : 40|24@1+ (1,0) [0|0] \"\" ECU\n"
                      " SG_ W : 0|8@1+ (1,0) [0|0] \"\" ECU\n\n"
                      "BO_ 2565810711 Proprietary: 8 ECU\n"
                      " SG_ Level : 0|8@1+ (1,0) [0|0] \"\" ECU\n\n"
                      "BO_ 2566844672 Long: 20 ECU\n"
                      " SG_ Tail : 144|16@1+ (1,0) [0|0] \"\" ECU\n\n"
                      "BO_ 3221225472 VECTOR__INDEPENDENT_SIG_MSG: 0 Vector__XXX\n"
                      " SG_ Loose : 0|8@1+ (1,0) [0|0] \"\" Vector__XXX\n\n"
                      "CM_ BO_ 256 \"")
           + kUtf8Text
           + "\";\n"
             "CM_ SG_ 256 Temp \""
           + kGbkText
           + "\";\n"
             "CM_ BO_ 999 \"nobody declares me\";\n"
             "VAL_ 256 Ghost 1 \"x\" ;\n"
             "VAL_ 256 Speed 4 \"raw four\" 2 \"raw two\" ;\n"
             "VAL_ 256 Temp -1 \"Sensor fault\" ;\n";
}

// The same file declaring itself a J1939 database.
inline QByteArray dbcJ1939Fixture()
{
    return dbcFixture() + "BA_DEF_ \"ProtocolType\" STRING ;\nBA_DEF_DEF_ \"ProtocolType\" \"J1939\";\n";
}

// Message 0x123 as a standard message, as an extended one (bit 31 of its
// DBC ID), or both, each decoding byte 0 into its own signal.
inline QByteArray dbcFormatsFixture(bool standard, bool extended)
{
    QByteArray content;
    if (standard)
        content += "BO_ 291 StdMessage: 8 ECU\n SG_ StdValue : 0|8@1+ (1,0) [0|0] \"\" ECU\n\n";
    if (extended)
        content += "BO_ 2147483939 ExtMessage: 8 ECU\n SG_ ExtValue : 0|8@1+ (2,0) [0|0] \"\" ECU\n\n";
    return content;
}

inline QString writeDbc(const QTemporaryDir &dir, const QByteArray &content = dbcFixture(),
                        const QString &name = QStringLiteral("fixture.dbc"))
{
    const QString path = dir.filePath(name);
    writeFile(path, content);
    return path;
}

// Rows of a window test in each language and across a switch either way.
inline void addLanguageRows()
{
    QTest::addColumn<bool>("chineseFirst");
    QTest::addColumn<bool>("chineseLast");
    QTest::newRow("English") << false << false;
    QTest::newRow("Chinese") << true << true;
    QTest::newRow("English, then Chinese") << false << true;
    QTest::newRow("Chinese, then English") << true << false;
}

// The Chinese catalogue when the row starts in Chinese, else null.
inline std::unique_ptr<ChineseCatalogue> firstLanguage()
{
    QFETCH(bool, chineseFirst);
    return chineseFirst ? std::make_unique<ChineseCatalogue>() : nullptr;
}

// Switches to the language the row ends in.
inline void lastLanguage(std::unique_ptr<ChineseCatalogue> &chinese)
{
    QFETCH(bool, chineseLast);
    if (chineseLast != bool(chinese))
        chinese.reset(chineseLast ? new ChineseCatalogue : nullptr);
}

// Where the shared files of other tools are, when present.
inline QString sharedDbc(const char *file)
{
    return QStringLiteral(MEROVAST_TESTDATA_DIR "/dbc/") + QLatin1String(file);
}
