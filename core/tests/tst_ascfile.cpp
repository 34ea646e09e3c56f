#include "ascfile.h"
#include "candata.h"
#include "canobj.h"
#include "testhelpers.h"
#include "ulascformat.h"

#include <QtTest>

using namespace TestFrames;

class tst_ASCFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lines_data();
    void lines();
    void numberBase();
    void otherToolFile();
    void lineEnds_data();
    void lineEnds();
    void readsEveryTriggerBlock();
    void shortHeaderKeepsFirstFrame();
    void badFrameLineFails_data();
    void badFrameLineFails();
    void conformance_data();
    void conformance();

private:
    QString write(const QByteArray &bytes) { return m_dir.write(bytes, QStringLiteral(".asc")); }
    TestFiles m_dir;
};

void tst_ASCFile::lines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("frame");  // when kind is Frame
    const int F = UlAscFormat::Frame, N = UlAscFormat::NotAFrame, B = UlAscFormat::BadFrame, I = UlAscFormat::BadId;
    const QString none;
    QTest::newRow("own line") << QByteArray("0.012000\t1\t1A3x\tRx\td\t2\t0A FF \t") << F
                              << frameText(12, 0x1A3, true, false, 2, "0AFF000000000000");
    QTest::newRow("other spacing, trailing fields")
        << QByteArray("   0.012000 1  1A3x          Rx   d 2 0a ff  Length = 1 BitCount = 2 ID = 419x") << F
        << frameText(12, 0x1A3, true, false, 2, "0AFF000000000000");
    QTest::newRow("remote with length") << QByteArray("1 2 7ff Tx r 8 Length = 0") << F << frameText(1000, 0x7FF, false, true, 8);
    QTest::newRow("remote without length") << QByteArray("2.510001 2 100 Rx r") << F
                                           << frameText(2510, 0x100, false, true, 0);
    QTest::newRow("remote, trailing fields without length")
        << QByteArray("2.520002 3 200 Tx r Length = 1704000 BitCount = 145 ID = 512") << F
        << frameText(2520, 0x200, false, true, 0);
    QTest::newRow("remote with DLC above 8") << QByteArray("1 2 7ff Tx r F") << F << frameText(1000, 0x7FF, false, true, 8);
    QTest::newRow("length 0") << QByteArray("0.5 1 0 Rx d 0") << F << frameText(500, 0, false, false, 0);
    QTest::newRow("time truncated in decimal") << QByteArray("0.029 1 1 Rx d 0") << F << frameText(29, 1, false, false, 0);
    QTest::newRow("time with microseconds") << QByteArray("3.0989999 1 1 Rx d 0") << F << frameText(3098, 1, false, false, 0);
    QTest::newRow("largest time") << QByteArray("4294967.295 1 1 Rx d 0") << F << frameText(4294967295u, 1, false, false, 0);
    QTest::newRow("time too large") << QByteArray("4294967.296 1 1 Rx d 0") << N << none;
    QTest::newRow("negative time") << QByteArray("-1.0 1 1 Rx d 0") << N << none;
    QTest::newRow("time not a number") << QByteArray("date 1 1 Rx d 0") << N << none;
    QTest::newRow("id not hexadecimal") << QByteArray("1.0 1 12G Rx d 1 00") << N << none;
    QTest::newRow("standard id 7FF") << QByteArray("1.0 1 7FF Rx d 0") << F << frameText(1000, 0x7FF, false, false, 0);
    QTest::newRow("standard id 800") << QByteArray("1.0 1 800 Rx d 0") << I << none;
    QTest::newRow("extended id 1FFFFFFF") << QByteArray("1.0 1 1FFFFFFFx Tx r 0") << F
                                          << frameText(1000, 0x1FFFFFFF, true, true, 0);
    QTest::newRow("extended id 20000000") << QByteArray("1.0 1 20000000x Rx d 0") << I << none;
    QTest::newRow("id beyond 32 bits") << QByteArray("1.0 1 100000000x Rx d 0") << I << none;
    QTest::newRow("error frame") << QByteArray("   2.501000 1 ErrorFrame") << N << none;
    QTest::newRow("error frame with details")
        << QByteArray("2.501020 2 ErrorFrame Flags = 0xe CodeExt = 0x20a2 Code = 0x82 ID = 0 DLC = 0") << N << none;
    QTest::newRow("CAN FD") << QByteArray("30.005021 CANFD   1 Rx        300    1 0 8  8 11 c2 03 04 05 06 07 08") << N << none;
    QTest::newRow("status") << QByteArray("0.015991 CAN 1 Status:chip status error passive - TxErr: 132") << N << none;
    QTest::newRow("statistic") << QByteArray("1.015991 1  Statistic: D 0 R 0 XD 0 XR 0 E 0 O 0 B 0.00%") << N << none;
    QTest::newRow("begin") << QByteArray("Begin Triggerblock Sat Sep 30 15:06:13.191 2017") << N << none;
    QTest::newRow("comment") << QByteArray("// version 9.0.0") << N << none;
    QTest::newRow("empty") << QByteArray() << N << none;
    QTest::newRow("block end") << QByteArray("End TriggerBlock") << N << none;
    QTest::newRow("data frame without length") << QByteArray("1.0 1 123 Rx d") << N << none;
    QTest::newRow("DLC as one hexadecimal digit")
        << QByteArray("0.000000 1 123x Rx d F 00 01 02 03 04 05 06 07 Length = 1") << F
        << frameText(0, 0x123, true, false, 8, "0001020304050607");
    QTest::newRow("length above 8, 8 bytes and more")
        << QByteArray("0.000000 1 123x Rx d 9 00 01 02 03 04 05 06 07 08") << F
        << frameText(0, 0x123, true, false, 8, "0001020304050607");
    QTest::newRow("length above 8, fewer than 8 bytes") << QByteArray("0.000000 1 123x Rx d 40 00 01 02") << B << none;
    QTest::newRow("missing data byte") << QByteArray("1.0 1 123 Rx d 3 00 01") << B << none;
    QTest::newRow("data byte not hexadecimal") << QByteArray("1.0 1 123 Rx d 2 00 1Z") << B << none;
    QTest::newRow("data byte of three digits") << QByteArray("1.0 1 123 Rx d 2 00 100") << B << none;
}

void tst_ASCFile::lines()
{
    QFETCH(QByteArray, line);
    QFETCH(int, kind);
    QFETCH(QString, frame);
    CanObj f;
    f.ID = 0xDEAD;
    f.SendType = 3;
    for (auto &b : f.Data)
        b = 0x55;
    const CanObj before = f;
    UlAscFormat format;
    QCOMPARE(int(format.readLine(line.constData(), line.size(), f)), kind);
    QCOMPARE(f.SendType, uint8_t(3));
    QCOMPARE(describe(f), kind == UlAscFormat::Frame ? frame : describe(before));
}

// IDs and data bytes are decimal after "base dec", up to the next "base".
void tst_ASCFile::numberBase()
{
    UlAscFormat format;
    const auto read = [&format](const QByteArray &line) {
        CanObj f;
        const int kind = format.readLine(line.constData(), line.size(), f);
        return kind == UlAscFormat::Frame ? describe(f) : QString::number(kind);
    };
    QCOMPARE(read("1.0 1 100 Rx d 2 10 FF"), frameText(1000, 0x100, false, false, 2, "10FF000000000000"));
    QCOMPARE(read("base dec  timestamps absolute"), QString::number(UlAscFormat::NotAFrame));
    QCOMPARE(read("1.0 1 100 Rx d 2 10 255"), frameText(1000, 100, false, false, 2, "0AFF000000000000"));
    QCOMPARE(read("1.0 1 419430399x Rx d 1 9"), frameText(1000, 0x18FFFFFF, true, false, 1, "0900000000000000"));
    QCOMPARE(read("1.0 1 1A3 Rx d 1 00"), QString::number(UlAscFormat::NotAFrame));
    QCOMPARE(read("1.0 1 100 Rx d 2 10 256"), QString::number(UlAscFormat::BadFrame));
    QCOMPARE(read("1.0 1 100 Rx d 1 FF"), QString::number(UlAscFormat::BadFrame));
    QCOMPARE(read("base hex timestamps absolute"), QString::number(UlAscFormat::NotAFrame));
    QCOMPARE(read("1.0 1 100 Rx d 1 10"), frameText(1000, 0x100, false, false, 1, "1000000000000000"));
}

static const QStringList otherToolFrames = {
    frameText(10, 0x1A3, true, false, 2, "0AFF000000000000"),
    frameText(20, 0x7FF, false, true, 4),
    frameText(30, 0, false, false, 0),
    frameText(1000, 0x18EBFF00, true, false, 8, "01A00FA6603BD140"),
};

static QStringList readAll(ASCFile &file)
{
    QStringList frames;
    CanObj f;
    while (file.getFrame(f))
        frames << describe(f);
    return frames;
}

void tst_ASCFile::otherToolFile()
{
    ASCFile file;
    QVERIFY(file.open(QFINDTESTDATA("data/othertool-crlf.asc")));
    QVERIFY(file.prepare());
    QCOMPARE(readAll(file), otherToolFrames);
    QVERIFY(!file.hasError());
    CanData chunk;
    QVERIFY(!file.getFrames(chunk, 4));
}

void tst_ASCFile::lineEnds_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CR") << QByteArray("\r");
    QTest::newRow("CR LF") << QByteArray("\r\n");
}

void tst_ASCFile::lineEnds()
{
    QFETCH(QByteArray, lineEnd);
    QFile fixture(QFINDTESTDATA("data/othertool-crlf.asc"));
    QVERIFY(fixture.open(QIODevice::ReadOnly));
    QByteArray bytes = fixture.readAll();
    QVERIFY(bytes.contains("\r\n"));
    bytes.replace("\r\n", lineEnd);
    ASCFile file;
    QVERIFY(file.open(write(bytes)));
    QVERIFY(file.prepare());
    QCOMPARE(readAll(file), otherToolFrames);
    QVERIFY(!file.hasError());
}

void tst_ASCFile::shortHeaderKeepsFirstFrame()
{
    ASCFile file;
    QVERIFY(file.open(write("base hex timestamps absolute\n"
                            "0.001000\t1\t100\tRx\td\t1\t01 \t\n"
                            "0.002000\t1\t101\tRx\td\t1\t02 \t\n")));
    QVERIFY(file.prepare());
    QCOMPARE(readAll(file).size(), 2);
    QVERIFY(!file.hasError());
}

// A recording appended to an existing file holds one block per recording.
void tst_ASCFile::readsEveryTriggerBlock()
{
    ASCFile file;
    QVERIFY(file.open(write("date Thu Mar 07 9:15:42 AM 2024\t\nbase hex timestamps absolute\t\n//version 11.0.0\t\n"
                            "Begin Triggerblock Thu Mar 07 9:15:42 AM 2024\t\n"
                            "0.000000\t1\t100\tRx\td\t1\t01 \t\n"
                            "End Triggerblock\n"
                            "date Thu Mar 07 9:20:00 AM 2024\t\nbase dec timestamps absolute\t\n//version 11.0.0\t\n"
                            "Begin Triggerblock Thu Mar 07 9:20:00 AM 2024\t\n"
                            "0.010000\t1\t257\tRx\td\t1\t2 \t\n"
                            "End TriggerBlock\n"
                            "base hex timestamps absolute\n"
                            "0.020000\t1\t102\tRx\td\t0\t \t\n")));
    QVERIFY(file.prepare());
    QCOMPARE(readAll(file), (QStringList{frameText(0, 0x100, false, false, 1, "0100000000000000"),
                                         frameText(10, 0x101, false, false, 1, "0200000000000000"),
                                         frameText(20, 0x102, false, false, 0)}));
    QVERIFY(!file.hasError());
}

void tst_ASCFile::badFrameLineFails_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing data bytes") << QByteArray("0.010000\t1\t101\tRx\td\t8\t02 03")
                                        << "Line 5 is not a valid frame.";
    QTest::newRow("standard ID 0x800") << QByteArray("0.010000\t1\t800\tRx\td\t1\t02")
                                       << "Line 5: the ID does not fit its frame format";
    QTest::newRow("extended ID 0x20000000") << QByteArray("0.010000\t1\t20000000x\tRx\td\t1\t02")
                                            << "Line 5: the ID does not fit its frame format";
}

void tst_ASCFile::badFrameLineFails()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, error);
    ASCFile file;
    QVERIFY(file.open(write("h1\nh2\nh3\n"
                            "0.000000\t1\t100\tRx\td\t1\t01 \t\n"
                            + line + "\n0.020000\t1\t102\tRx\td\t1\t03\n")));
    QVERIFY(file.prepare());
    CanObj f;
    QVERIFY(file.getFrame(f));
    QVERIFY(!file.getFrame(f));
    QVERIFY(file.hasError());
    QVERIFY2(file.errorString().startsWith(error), qPrintable(file.errorString()));
    QCOMPARE(f.ID, 0x100u);

    ASCFile missing;
    QVERIFY(!missing.open(m_dir.filePath("none.asc")));
    QVERIFY(!missing.prepare());
    QVERIFY(!missing.getFrame(f));
}

void tst_ASCFile::conformance_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("frames");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    const QString lastOfLog = frameText(20248, 0x18EBFF00, true, false, 8, "04004BFFFFFFFFFF");
    QTest::newRow("classic") << "test_CanMessage.asc" << 2 << frameText(2501, 0xC8, false, false, 8, "0908070605040302")
                             << frameText(17876, 0x6F9, false, false, 8, "050C000000000000");
    QTest::newRow("remote") << "test_CanRemoteMessage.asc" << 3 << frameText(2510, 0x100, false, true, 0)
                            << frameText(2584, 0x300, false, true, 8);
    QTest::newRow("CAN FD only") << "test_CanFdMessage.asc" << 0 << QString() << QString();
    QTest::newRow("mixed log") << "logfile.asc" << 13 << frameText(2510, 0x100, false, true, 0) << lastOfLog;
    QTest::newRow("error frames") << "logfile_errorframes.asc" << 9 << frameText(2520, 0x200, false, true, 0)
                                  << lastOfLog;
    QTest::newRow("64 bytes as a classic frame: the first 8")
        << "single_frame.asc" << 1 << frameText(0, 0x123, true, false, 8, "0001020304050607")
        << frameText(0, 0x123, true, false, 8, "0001020304050607");
}

// ASC logs written by another tool (python-can's test files).
void tst_ASCFile::conformance()
{
    QFETCH(QString, name);
    QFETCH(int, frames);
    QFETCH(QString, first);
    QFETCH(QString, last);
    const QString path = QStringLiteral(MEROVAST_TESTDATA_DIR "/asc/python-can/") + name;
    if (!QFileInfo::exists(path))
        QSKIP("python-can's ASC files are not there");
    ASCFile file;
    QVERIFY(file.open(path));
    QVERIFY(file.prepare());
    const QStringList read = readAll(file);
    QVERIFY2(!file.hasError(), qPrintable(file.errorString()));
    QCOMPARE(read.size(), frames);
    if (frames) {
        QCOMPARE(read.first(), first);
        QCOMPARE(read.last(), last);
    }
}

QTEST_GUILESS_MAIN(tst_ASCFile)
#include "tst_ascfile.moc"
