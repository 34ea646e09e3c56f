#include "candata.h"
#include "canobj.h"
#include "testhelpers.h"
#include "ulcsvformat.h"
#include "ulcsvtime.h"
#include "ulfilecsv.h"

#include <QtTest>

using namespace TestFrames;

class tst_UlFileCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void timeClassification_data();
    void timeClassification();
    void headerTimeCode_data();
    void headerTimeCode();
    void lines_data();
    void lines();
    void headerAlignment_data();
    void headerAlignment();
    void idRange_data();
    void idRange();
    void impossibleIdFails();
    void codeFromFirstLine_data();
    void codeFromFirstLine();
    void windowsFile();
    void badLineFails();
    void titleLines_data();
    void titleLines();
    void appendedRecordings();
    void recordingCutMidLine();
    void chunks();
    void notOpen();

private:
    QString write(const QByteArray &bytes) { return m_dir.write(bytes, QStringLiteral(".csv")); }
    TestFiles m_dir;
};

static QByteArray header(const char *time)
{
    return QByteArray("Index,Direction,") + time + ",Name,Id(Align Right),Format,Type,Length,Data(HEX)\n";
}

void tst_UlFileCsv::timeClassification_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("dateTime");
    QTest::addColumn<bool>("hex");
    QTest::addColumn<bool>("time");
    QTest::addColumn<int>("code");
    QTest::newRow("duration") << "00:00:12.345.600" << true << false << false << 2;
    QTest::newRow("one fraction group") << "23:59:59.5" << true << false << false << 2;
    QTest::newRow("whole seconds") << "23:59:59" << true << false << true << 2;
    QTest::newRow("clock") << "12:34:56:789" << false << false << true << 1;
    QTest::newRow("clock with fraction") << "12:34:56:7.25" << false << false << true << 1;
    QTest::newRow("stamp") << "0x1E240" << false << true << false << 0;
    QTest::newRow("stamp without prefix") << "1e240" << false << true << false << 0;
    QTest::newRow("64 bits") << "0xFFFFFFFFFFFFFFFF" << false << true << false << 0;
    QTest::newRow("65 bits") << "1FFFFFFFFFFFFFFFF" << false << false << false << 9;
    QTest::newRow("prefix only") << "0x" << false << false << false << 9;
    QTest::newRow("hour 24") << "24:00:00" << false << false << false << 9;
    QTest::newRow("sent row") << "NULL" << false << false << false << 9;
    QTest::newRow("empty") << "" << false << false << false << 9;
}

void tst_UlFileCsv::timeClassification()
{
    QFETCH(QString, text);
    QFETCH(bool, dateTime);
    QFETCH(bool, hex);
    QFETCH(bool, time);
    QFETCH(int, code);
    QCOMPARE(isValidDateTime(text), dateTime);
    QCOMPARE(isHexadecimal(text), hex);
    QCOMPARE(isTimeFormat(text), time);
    QCOMPARE(identifyTimeString(text), code);
}

void tst_UlFileCsv::headerTimeCode_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<uint>("code");
    QTest::newRow("stamp") << QString(header("Time-0")) << 0u;
    QTest::newRow("clock") << QString(header("Time-1")) << 1u;
    QTest::newRow("duration") << QString(header("Time-2")) << 2u;
    QTest::newRow("translated title") << QString::fromUtf8(u8"序号,方向,时间-2,名称") << 2u;
    QTest::newRow("no suffix") << QString(header("Time")) << 8u;
    QTest::newRow("unknown suffix") << QString(header("Time-9")) << 8u;
    QTest::newRow("two suffixes") << QString(header("Time-1-2")) << 8u;
    QTest::newRow("no header") << QStringLiteral("0,Rx,0x10,,0x1,Data Frame,Standard,0,") << 8u;
}

void tst_UlFileCsv::headerTimeCode()
{
    QFETCH(QString, line);
    QFETCH(uint, code);
    UlCsvFormat format;
    format.readHeader(line);
    QCOMPARE(format.timeCode(), code);
}

void tst_UlFileCsv::lines_data()
{
    QTest::addColumn<uint>("code");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("frame");  // empty: the line is rejected
    const QString rejected;
    QTest::newRow("stamp") << 0u << "1,Rx,0x64,,0x00000123,Data Frame,Standard,2,0A FF"
                           << frameText(10, 0x123, false, false, 2, "0AFF000000000000");
    QTest::newRow("stamp of a sent row") << 0u << "1,Tx,NULL,,0x1abcdef0,Data Frame,Extend,1,01"
                                         << frameText(0, 0x1ABCDEF0, true, false, 1, "0100000000000000");
    QTest::newRow("clock") << 1u << "1,Rx,10:00:01:500,,123,Remote,Standard,3,"
                           << frameText(36001500, 0x123, false, true, 3);
    QTest::newRow("clock, short milliseconds") << 1u << "1,Rx,00:00:01:5,,1,Data Frame,Standard,0,"
                                               << frameText(1005, 1, false, false, 0);
    QTest::newRow("duration") << 2u << "1,Rx,00:00:12.345.600,,0x1,Data Frame,Standard,0,"
                              << frameText(12345, 1, false, false, 0);
    QTest::newRow("duration, one group") << 2u << "1,Rx,00:00:12.345,,0x1,Data Frame,Standard,0,"
                                         << frameText(12345, 1, false, false, 0);
    QTest::newRow("duration past 99 hours") << 2u << "1,Rx,119:18:16.729.500,,0x1,Data Frame,Standard,0,"
                                            << frameText(429496729, 1, false, false, 0);
    QTest::newRow("Chinese texts") << 0u << QString::fromUtf8(u8"1,接收,0x10,,0x7ff,远程帧,扩展帧,8,")
                                   << frameText(1, 0x7FF, true, true, 8);
    QTest::newRow("quoted name with commas") << 0u << "1,Rx,0x10,\"a, \"\"b\"\", c\",0x5,Data Frame,Standard,1,AB"
                                             << frameText(1, 5, false, false, 1, "AB00000000000000");
    QTest::newRow("only 8 data bytes taken") << 0u << "1,Rx,0x10,,0x5,Data Frame,Standard,8,01 02 03 04 05 06 07 08 9 ZZ"
                                             << frameText(1, 5, false, false, 8, "0102030405060708");
    QTest::newRow("8 columns") << 0u << "1,Rx,0x10,0x5,Data Frame,Standard,1,AB" << rejected;
    QTest::newRow("10 columns") << 0u << "1,Rx,0x10,,,0x5,Data Frame,Standard,1,AB" << rejected;
    QTest::newRow("unquoted comma in name") << 0u << "1,Rx,0x10,a,b,0x5,Data Frame,Standard,1,AB" << rejected;
    QTest::newRow("length above 8") << 0u << "1,Rx,0x10,,0x5,Data Frame,Standard,9,AB" << rejected;
    QTest::newRow("length not a number") << 0u << "1,Rx,0x10,,0x5,Data Frame,Standard,x,AB" << rejected;
    QTest::newRow("id not hexadecimal") << 0u << "1,Rx,0x10,,0x5G,Data Frame,Standard,1,AB" << rejected;
    QTest::newRow("data byte not hexadecimal") << 0u << "1,Rx,0x10,,0x5,Data Frame,Standard,2,AB XY" << rejected;
    QTest::newRow("data byte too large") << 0u << "1,Rx,0x10,,0x5,Data Frame,Standard,1,1AB" << rejected;
    QTest::newRow("cut between bytes") << 0u << "1,Rx,0x10,,0x5,Data Frame,Standard,8,01 02 03" << rejected;
    QTest::newRow("cut within the last byte") << 0u << "1,Rx,0x10,,0x5,Data Frame,Standard,3,01 02 0" << rejected;
    QTest::newRow("cut before the data") << 0u << "1,Rx,0x10,,0x5,Data Frame,Standard,2," << rejected;
    QTest::newRow("time of another code") << 0u << "1,Rx,10:00:01:500,,0x5,Data Frame,Standard,0," << rejected;
    QTest::newRow("clock hour 24") << 1u << "1,Rx,24:00:01:500,,0x5,Data Frame,Standard,0," << rejected;
    QTest::newRow("stamp too large") << 0u << "1,Rx,0xFFFFFFFFFFFF,,0x5,Data Frame,Standard,0," << rejected;
}

void tst_UlFileCsv::lines()
{
    QFETCH(uint, code);
    QFETCH(QString, line);
    QFETCH(QString, frame);
    UlCsvFormat format;
    format.readHeader(QString::asprintf("Index,Direction,Time-%u", code));
    QCOMPARE(format.timeCode(), code);
    CanObj f;
    f.SendType = 3;
    f.Data[7] = 0x55;
    const QString before = describe(f);
    const UlCsvFormat::LineKind kind = format.readLine(line, f);
    QCOMPARE(kind, frame.isEmpty() ? UlCsvFormat::BadLine : UlCsvFormat::Frame);
    QCOMPARE(describe(f), frame.isEmpty() ? before : frame);
    QCOMPARE(f.SendType, uint8_t(3));
}

void tst_UlFileCsv::headerAlignment_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("left");
    QTest::newRow("right") << QString(header("Time-0")) << false;
    QTest::newRow("left") << QStringLiteral("Index,Direction,Time-0,Name,Id(Align Left),Format,Type,Length,Data(HEX)")
                          << true;
    QTest::newRow("left, Chinese")
        << QString::fromUtf8(u8"序号,传输方向,时间-0,名称,帧ID(左对齐),帧类型,帧格式,数据长度,数据(HEX)") << true;
    QTest::newRow("right, Chinese")
        << QString::fromUtf8(u8"序号,传输方向,时间-0,名称,帧ID(右对齐),帧类型,帧格式,数据长度,数据(HEX)") << false;
    QTest::newRow("left title in another column")
        << QStringLiteral("Index,Direction,Time-0,Id(Align Left),Name,Format,Type,Length,Data(HEX)") << false;
    QTest::newRow("no header") << QStringLiteral("0,Rx,0x10,,0x1,Data Frame,Standard,0,") << false;
}

void tst_UlFileCsv::headerAlignment()
{
    QFETCH(QString, line);
    QFETCH(bool, left);
    UlCsvFormat format;
    format.readHeader(line);
    QCOMPARE(format.leftAlignedIds(), left);
    QCOMPARE(format.timeCode(), line.startsWith(QLatin1String("0,")) ? 8u : 0u);
}

void tst_UlFileCsv::idRange_data()
{
    QTest::addColumn<bool>("left");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("kind");
    QTest::addColumn<uint>("frameId");  // when kind is Frame
    const int F = UlCsvFormat::Frame, B = UlCsvFormat::BadId;
    QTest::newRow("standard 0x7FF") << false << "0x000007ff" << "Standard" << F << 0x7FFu;
    QTest::newRow("standard 0x800") << false << "0x00000800" << "Standard" << B << 0u;
    QTest::newRow("extended 0x1FFFFFFF") << false << "0x1fffffff" << "Extend" << F << 0x1FFFFFFFu;
    QTest::newRow("extended 0x20000000") << false << "0x20000000" << "Extend" << B << 0u;
    QTest::newRow("beyond 32 bits") << false << "0x100000000" << "Extend" << B << 0u;
    QTest::newRow("left standard 0x7FF") << true << "0x0000ffe0" << "Standard" << F << 0x7FFu;
    QTest::newRow("left standard 0x800") << true << "0x00010000" << "Standard" << B << 0u;
    QTest::newRow("left standard 0x123") << true << "0x00002460" << "Standard" << F << 0x123u;
    QTest::newRow("left standard, low bits dropped") << true << "0x0000246f" << "Standard" << F << 0x123u;
    QTest::newRow("left extended 0x1FFFFFFF") << true << "0xfffffff8" << "Extend" << F << 0x1FFFFFFFu;
    QTest::newRow("left extended 0x20000000") << true << "0x100000000" << "Extend" << B << 0u;
    QTest::newRow("left extended 0x123") << true << "0x00000918" << "Extend" << F << 0x123u;
}

// IDs are checked against their frame format after a left-aligned one is
// turned back into the real ID.
void tst_UlFileCsv::idRange()
{
    QFETCH(bool, left);
    QFETCH(QString, id);
    QFETCH(QString, type);
    QFETCH(int, kind);
    QFETCH(uint, frameId);
    UlCsvFormat format;
    format.readHeader(QStringLiteral("Index,Direction,Time-0,Name,%1,Format,Type,Length,Data(HEX)")
                          .arg(left ? QStringLiteral("Id(Align Left)") : QStringLiteral("Id(Align Right)")));
    CanObj f;
    f.ID = 0xDEAD;
    const QString line = QStringLiteral("1,Rx,0x10,,%1,Data Frame,%2,1,AB").arg(id, type);
    QCOMPARE(int(format.readLine(line, f)), kind);
    QCOMPARE(f.ID, kind == UlCsvFormat::Frame ? frameId : 0xDEADu);
}

void tst_UlFileCsv::impossibleIdFails()
{
    UlFileCsv file;
    QVERIFY(file.open(write(header("Time-0") + "0,Rx,0x10,,0x7ff,Data Frame,Standard,0,\n"
                                              "1,Rx,0x20,,0x800,Data Frame,Standard,0,\n")));
    QVERIFY(file.prepare());
    CanObj f;
    QVERIFY(file.getFrame(f));
    QVERIFY(!file.getFrame(f));
    QVERIFY(file.hasError());
    QVERIFY2(file.errorString().startsWith(QLatin1String("Line 3: the ID does not fit")),
             qPrintable(file.errorString()));
    QCOMPARE(f.ID, 0x7FFu);
}

void tst_UlFileCsv::codeFromFirstLine_data()
{
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<uint>("code");
    QTest::addColumn<QStringList>("frames");
    QTest::newRow("sent row first, then stamps")
        << QByteArray("0,Tx,NULL,,0x1,Data Frame,Standard,0,\n1,Rx,0x64,,0x2,Data Frame,Standard,0,\n") << 0u
        << QStringList{frameText(0, 1, false, false, 0), frameText(10, 2, false, false, 0)};
    QTest::newRow("clock")
        << QByteArray("0,Rx,00:00:01:000,,0x1,Data Frame,Standard,0,\n1,Rx,00:00:01:010,,0x2,Data Frame,Standard,0,\n") << 1u
        << QStringList{frameText(1000, 1, false, false, 0), frameText(1010, 2, false, false, 0)};
    QTest::newRow("duration")
        << QByteArray("0,Rx,00:00:01.000.100,,0x1,Data Frame,Standard,0,\n") << 2u
        << QStringList{frameText(1000, 1, false, false, 0)};
    QTest::newRow("undecidable: no frame")
        << QByteArray("0,Rx,soon,,0x1,Data Frame,Standard,0,\n1,Rx,0x64,,0x2,Data Frame,Standard,0,\n") << 9u
        << QStringList();
}

// A header without a time suffix: the first line's time decides for all.
void tst_UlFileCsv::codeFromFirstLine()
{
    QFETCH(QByteArray, rows);
    QFETCH(uint, code);
    QFETCH(QStringList, frames);
    UlFileCsv file;
    QVERIFY(file.open(write(header("Time") + rows)));
    QVERIFY(file.prepare());
    QCOMPARE(file.timeCode(), 8u);
    QStringList read;
    CanObj f;
    while (file.getFrame(f))
        read << describe(f);
    QCOMPARE(read, frames);
    QCOMPARE(file.timeCode(), code);
    QCOMPARE(file.hasError(), frames.isEmpty());
}

// Written by the Chinese program on Windows: GBK, CR LF.
void tst_UlFileCsv::windowsFile()
{
    UlFileCsv file;
    QVERIFY(file.open(QFINDTESTDATA("data/windows-gbk-crlf.csv")));
    QVERIFY(file.prepare());
    QCOMPARE(file.timeCode(), 1u);
    QStringList read;
    CanObj f;
    while (file.getFrame(f))
        read << describe(f);
    QVERIFY2(!file.hasError(), qPrintable(file.errorString()));
    QCOMPARE(read, QStringList({
        frameText(36000000, 0x123, false, false, 2, "0AFF000000000000"),
        frameText(36000010, 0x1ABCDEF0, true, false, 8, "0102030405060708"),
        frameText(36001500, 0x7FF, false, true, 3),
        frameText(36002999, 0, false, false, 0),
    }));
}

void tst_UlFileCsv::badLineFails()
{
    UlFileCsv file;
    QVERIFY(file.open(write("\xEF\xBB\xBF" + header("Time-0") + "0,Rx,0x10,,0x1,Data Frame,Standard,0,\n\n"
                            "1,Rx,0x20,,0x2,Data Frame,Standard,0\n"
                            "2,Rx,0x30,,0x3,Data Frame,Standard,0,\n")));
    QVERIFY(file.prepare());
    QCOMPARE(file.timeCode(), 0u);
    CanObj f;
    QVERIFY(file.getFrame(f));
    QVERIFY(!file.getFrame(f));
    QVERIFY(file.hasError());
    QVERIFY2(file.errorString().contains(QLatin1String("Line 4")), qPrintable(file.errorString()));
    QCOMPARE(f.ID, 1u);
}

void tst_UlFileCsv::titleLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("title");
    QTest::addColumn<uint>("code");  // after the line
    QTest::addColumn<bool>("left");
    const auto written = [](int timeMode, int idFormat) { return UlCsvFormat::header(timeMode, idFormat).trimmed(); };
    QTest::newRow("clock, left-aligned") << written(2, 1) << true << 1u << true;
    QTest::newRow("duration") << written(0, 0) << true << 2u << false;
    QTest::newRow("Chinese, left-aligned")
        << QString::fromUtf8(u8"序号,传输方向,时间-1,名称,帧ID(左对齐),帧类型,帧格式,数据长度,数据(HEX)") << true << 1u
        << true;
    QTest::newRow("no time suffix") << QString(header("Time")).trimmed() << true << 8u << false;
    QTest::newRow("two titles swapped")
        << QStringLiteral("Index,Direction,Time-1,Name,Id(Align Right),Type,Format,Length,Data(HEX)") << false << 0u
        << false;
    QTest::newRow("eight titles")
        << QStringLiteral("Index,Direction,Time-1,Name,Id(Align Right),Format,Type,Length") << false << 0u << false;
    QTest::newRow("data instead of its title")
        << QStringLiteral("Index,Direction,Time-1,Name,Id(Align Right),Format,Type,Length,0A") << false << 0u << false;
    QTest::newRow("other time title")
        << QStringLiteral("Index,Direction,Times-1,Name,Id(Align Right),Format,Type,Length,Data(HEX)") << false << 0u
        << false;
}

// A title line in the middle of a file starts another recording, whose
// time code and alignment follow its titles; a line that only looks like
// one is a bad line and changes nothing.
void tst_UlFileCsv::titleLines()
{
    QFETCH(QString, line);
    QFETCH(bool, title);
    QFETCH(uint, code);
    QFETCH(bool, left);
    UlCsvFormat format;
    format.readHeader(header("Time-0"));
    CanObj f;
    f.ID = 0x55;
    QCOMPARE(format.readLine(line, f), title ? UlCsvFormat::Title : UlCsvFormat::BadLine);
    QCOMPARE(format.timeCode(), code);
    QCOMPARE(format.leftAlignedIds(), left);
    QCOMPARE(f.ID, 0x55u);
}

// Recordings appended to one file, each with its own time display and ID
// format: every frame is read, with the times and IDs of its recording.
void tst_UlFileCsv::appendedRecordings()
{
    struct Recording {
        int timeMode;
        int idFormat;
        QList<uint32_t> stamps;  // 0.1 ms; arrival times are 10:00 plus these
    };
    const QList<Recording> recordings = {{3, 0, {100, 200}}, {2, 1, {50, 0}}, {0, 0, {30}}};
    QString text;
    QList<CanObj> frames;
    for (const Recording &r : recordings) {
        text += UlCsvFormat::header(r.timeMode, r.idFormat);
        for (uint32_t stamp : r.stamps) {
            CanObj f = frame(0x100 + uint32_t(frames.size()), QByteArray(1, char(frames.size())), frames.size() == 3);
            f.DeviceTime = stamp;
            frames << f;
            const QString arrival = QTime(10, 0).addMSecs(int(stamp / 10)).toString(QStringLiteral("hh:mm:ss:zzz"));
            text += UlCsvFormat::line(TestFrames::bufferRow(f, stamp == 0, arrival), r.timeMode, r.idFormat, QString());
        }
    }
    const QString path = write(text.toUtf8());
    // Milliseconds: stamp / 10 in stamp and duration mode, time of day in
    // clock mode.
    const QList<uint32_t> times = {10, 20, 36000005, 36000000, 3};
    const QList<int> recordingOf = {0, 0, 1, 1, 2};
    const QList<uint> codes = {0, 0, 1, 1, 2};

    UlFileCsv file;
    QVERIFY(file.open(path));
    QVERIFY(file.prepare());
    QCOMPARE(file.recording(), 0);
    CanObj f;
    for (int i = 0; i < frames.size(); ++i) {
        QVERIFY2(file.getFrame(f), qPrintable(file.errorString()));
        CanObj expected = frames.at(i);
        expected.DeviceTime = times.at(i);
        QCOMPARE(describe(f), describe(expected));
        QCOMPARE(file.recording(), recordingOf.at(i));
        QCOMPARE(file.timeCode(), codes.at(i));
    }
    QVERIFY(!file.getFrame(f));
    QVERIFY(!file.hasError());

    UlFileCsv chunked;
    QVERIFY(chunked.open(path));
    QVERIFY(chunked.prepare());
    CanData chunk;
    QVERIFY(chunked.getFrames(chunk, 10));
    QCOMPARE(chunk.size(), frames.size());
    QCOMPARE(chunk.at(4).ID, frames.at(4).ID);
    QCOMPARE(chunk.at(4).tailMark, uint8_t(1));
    QCOMPARE(chunked.recording(), 2);
}

// The last line of a recording that stopped while it was being written.
void tst_UlFileCsv::recordingCutMidLine()
{
    const QString path = write(header("Time-0") + "0,Rx,0x10,,0x1,Data Frame,Standard,8,01 02 03 04 05 06 07 08\n"
                                                  "1,Rx,0x20,,0x2,Data Frame,Standard,2,0A 0B\n"
                                                  "2,Rx,0x30,,0x3,Data Frame,Standard,8,11 22 3");
    UlFileCsv file;
    QVERIFY(file.open(path));
    QVERIFY(file.prepare());
    CanObj f;
    QVERIFY(file.getFrame(f));
    QVERIFY(file.getFrame(f));
    QCOMPARE(f.ID, 2u);
    QVERIFY(!file.getFrame(f));
    QVERIFY(file.hasError());
    QVERIFY2(file.errorString().contains(QLatin1String("Line 4")), qPrintable(file.errorString()));
    QCOMPARE(f.ID, 2u);

    UlFileCsv chunked;
    QVERIFY(chunked.open(path));
    QVERIFY(chunked.prepare());
    CanData frames;
    QVERIFY(chunked.getFrames(frames, 5));
    QCOMPARE(frames.size(), 2);
    QCOMPARE(frames.at(1).ID, 2u);
}

void tst_UlFileCsv::chunks()
{
    UlFileCsv file;
    QByteArray rows = header("Time-0");
    for (int i = 1; i <= 5; ++i) {
        rows += QByteArray::number(i) + ",Rx,0x" + QByteArray::number(i * 10, 16) + ",,0x" + QByteArray::number(i)
            + ",Data Frame,Standard,1,0" + QByteArray::number(i) + "\n";
        if (i == 2)
            rows += "bad line\n";
    }
    QVERIFY(file.open(write(rows)));
    QVERIFY(file.prepare());
    CanObj templ;
    templ.SendType = 1;
    templ.RemoteFlag = 1;
    templ.Data[5] = 0xEE;
    templ.firstMark = templ.lastMark = templ.tailMark = 1;
    CanData frames;
    frames.push(templ);

    QVERIFY(!file.getFrames(frames, 0));
    QVERIFY(file.getFrames(frames, 3));
    QCOMPARE(frames.size(), 3);
    QList<uint32_t> ids;
    for (int i = 0; i < frames.size(); ++i) {
        const CanObj &f = frames.at(i);
        ids << f.ID;
        QCOMPARE(f.SendType, uint8_t(1));
        QCOMPARE(f.RemoteFlag, uint8_t(0));
        QCOMPARE(f.Data[5], uint8_t(0));
        QCOMPARE(f.firstMark, uint8_t(i == 0));
        QCOMPARE(f.lastMark, uint8_t(i == 2));
        QCOMPARE(f.tailMark, uint8_t(0));
    }
    QCOMPARE(ids, QList<uint32_t>({1, 2, 3}));
    QCOMPARE(frames.at(2).DeviceTime, 3u);

    QVERIFY(file.getFrames(frames, 3));
    QCOMPARE(frames.size(), 2);
    QCOMPARE(frames.at(0).ID, 4u);
    QCOMPARE(frames.at(0).firstMark, uint8_t(1));
    QCOMPARE(frames.at(0).tailMark, uint8_t(0));
    QCOMPARE(frames.at(1).ID, 5u);
    QCOMPARE(frames.at(1).tailMark, uint8_t(1));
    QCOMPARE(frames.at(1).lastMark, uint8_t(0));

    QVERIFY(!file.getFrames(frames, 3));
}

void tst_UlFileCsv::notOpen()
{
    UlFileCsv file;
    QVERIFY(!file.open(m_dir.filePath("none.csv")));
    QVERIFY(!file.prepare());
    CanObj f;
    QVERIFY(!file.getFrame(f));
    CanData frames;
    QVERIFY(!file.getFrames(frames, 3));

    UlFileCsv empty;
    QVERIFY(empty.open(write(QByteArray())));
    QVERIFY(empty.prepare());
    QCOMPARE(empty.timeCode(), 8u);
    QVERIFY(!empty.getFrame(f));
    QVERIFY(!empty.hasError());
}

QTEST_GUILESS_MAIN(tst_UlFileCsv)
#include "tst_ulfilecsv.moc"
