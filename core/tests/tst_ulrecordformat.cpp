#include "ascfile.h"
#include "canfile.h"
#include "canobj.h"
#include "canobjstr.h"
#include "testhelpers.h"
#include "ulascformat.h"
#include "ulcanfileformat.h"
#include "ulcsvformat.h"
#include "ulfilecsv.h"

#include <QtTest>

#include <QTextCodec>

#include <memory>

using TestFrames::describe;

class tst_UlRecordFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void canHeader();
    void canRecord_data();
    void canRecord();
    void ascHeader();
    void ascLines();
    void csvHeader_data();
    void csvHeader();
    void csvLine_data();
    void csvLine();
    void roundTrip_data();
    void roundTrip();
};

struct Arrival {
    CanObj frame;
    bool sent;
    QString time;  // arrival "hh:mm:ss:zzz"
};
Q_DECLARE_METATYPE(QVector<Arrival>)

static CanObj frame(uint32_t id, uint32_t stamp, QByteArray data, bool extended = false, bool remote = false)
{
    CanObj f = TestFrames::frame(id, data, extended, remote);
    f.DeviceTime = stamp;
    return f;
}

// The row texts the frame buffer makes of a frame.
static CanObjStr row(const CanObj &f, bool sent, const QString &time, int index = 0)
{
    CanObjStr r = TestFrames::bufferRow(f, sent, time);
    r.index = QString::number(index);
    return r;
}

void tst_UlRecordFormat::canHeader()
{
    const QByteArray head = UlCanFileFormat::header();
    QCOMPARE(head, QByteArray("Reririr CAN Data\0\0\0\0", 20));
    QVERIFY(UlCanFileFormat::isHeader(head));
    QVERIFY(UlCanFileFormat::isHeader(QByteArray("Reririr CAN Data\0XYZ", 20)));
    QVERIFY(!UlCanFileFormat::isHeader(QByteArray("Reririr CAN DataXYZW", 20)));
    QVERIFY(!UlCanFileFormat::isHeader(QByteArray("Reririr CAN Dat\0\0\0\0\0", 20)));
    QVERIFY(!UlCanFileFormat::isHeader(head.left(19)));
}

void tst_UlRecordFormat::canRecord_data()
{
    QTest::addColumn<CanObjStr>("row");
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("received, stamp 0x64")
        << row(frame(0x123, 0x64, QByteArray("\x0A\xFF", 2)), false, "10:00:00:000")
        << QByteArray("\x23\x01\0\0" "\x64\0\0\0" "\0\xFF\0\0\x02" "\x0A\xFF\0\0\0\0\0\0" "\0\0\0", 24);
    QTest::newRow("sent extended: no stamp, send type 0")
        << row(frame(0x1ABCDEF0, 0x64, QByteArray("\1\2\3", 3), true), true, "10:00:00:000")
        << QByteArray("\xF0\xDE\xBC\x1A" "\0\0\0\0" "\0\0\0\1\x03" "\1\2\3\0\0\0\0\0" "\0\0\0", 24);
    QTest::newRow("remote keeps its length, no data")
        << row(frame(0x7FF, 0x1E240, QByteArray(4, '\0'), false, true), false, "10:00:00:000")
        << QByteArray("\xFF\x07\0\0" "\x40\xE2\x01\0" "\0\xFF\1\0\x04" "\0\0\0\0\0\0\0\0" "\0\0\0", 24);
}

void tst_UlRecordFormat::canRecord()
{
    QFETCH(CanObjStr, row);
    QFETCH(QByteArray, record);
    QCOMPARE(UlCanFileFormat::record(row).toHex(' '), record.toHex(' '));
}

void tst_UlRecordFormat::ascHeader()
{
    const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 9));
    QCOMPARE(UlAscFormat::header(when),
             QStringLiteral("date Tue Mar 05 2:7:9 PM 2024\t\n"
                            "base hex timestamps absolute\t\n"
                            "//version 11.0.0\t\n"
                            "Begin Triggerblock Tue Mar 05 2:7:9 PM 2024\t\n"));
    QCOMPARE(UlAscFormat::footer(), QStringLiteral("End Triggerblock\n"));
}

void tst_UlRecordFormat::ascLines()
{
    UlAscFormat asc;
    const QByteArray two("\x0A\xFF", 2);
    QCOMPARE(asc.line(row(frame(0x1A3, 5, two, true), false, "23:59:59:988")),
             QStringLiteral("0.000000\t1\t1A3x\tRx\td\t2\t0A FF \t\n"));
    QCOMPARE(asc.line(row(frame(0x12345, 5, two, true), true, "23:59:59:999")),
             QStringLiteral("0.011000\t1\t12345x\tTx\td\t2\t0A FF \t\n"));
    QCOMPARE(asc.line(row(frame(0, 5, QByteArray()), false, "23:59:59:999")),
             QStringLiteral("0.011000\t1\t0\tRx\td\t0\t \t\n"));
    // Past midnight the time of day starts again; the file's time goes on.
    QCOMPARE(asc.line(row(frame(0x7FF, 5, QByteArray(3, '\0'), false, true), false, "00:00:00:012")),
             QStringLiteral("0.024000\t1\t7FF\tRx\tr\t3\t \t\n"));
    QCOMPARE(asc.line(row(frame(0x100, 5, QByteArray("\1", 1)), false, "02:46:39:987")),
             QStringLiteral("9999.999000\t1\t100\tRx\td\t1\t01 \t\n"));
}

void tst_UlRecordFormat::csvHeader_data()
{
    QTest::addColumn<int>("timeMode");
    QTest::addColumn<int>("idFormat");
    QTest::addColumn<QString>("header");
    const QString tail = QStringLiteral(",Format,Type,Length,Data(HEX)\n");
    QTest::newRow("duration") << 0 << 0 << "Index,Direction,Time-2,Name,Id(Align Right)" + tail;
    QTest::newRow("clock") << 2 << 0 << "Index,Direction,Time-1,Name,Id(Align Right)" + tail;
    QTest::newRow("stamp, left-aligned") << 3 << 1 << "Index,Direction,Time-0,Name,Id(Align Left)" + tail;
    QTest::newRow("other mode writes clock time") << 1 << 0 << "Index,Direction,Time-1,Name,Id(Align Right)" + tail;
}

void tst_UlRecordFormat::csvHeader()
{
    QFETCH(int, timeMode);
    QFETCH(int, idFormat);
    QFETCH(QString, header);
    QCOMPARE(UlCsvFormat::header(timeMode, idFormat), header);
}

void tst_UlRecordFormat::csvLine_data()
{
    QTest::addColumn<CanObjStr>("row");
    QTest::addColumn<int>("timeMode");
    QTest::addColumn<int>("idFormat");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("line");
    const CanObjStr rx = row(frame(0x123, 0x1E240, QByteArray("\x0A\xFF", 2)), false, "09:08:07:006", 41);
    const CanObjStr tx = row(frame(0x123, 0, QByteArray("\1", 1), true), true, "09:08:07:016", 42);
    const CanObjStr remote = row(frame(0x7FF, 0x10, QByteArray(2, '\0'), false, true), false, "09:08:07:026", 43);
    QTest::newRow("stamp") << rx << 3 << 0 << ""
                           << "41,Rx,0x1E240,,0x00000123,Data Frame,Standard,2,0A FF\n";
    QTest::newRow("duration") << rx << 0 << 0 << ""
                              << "41,Rx,00:00:12.345.600,,0x00000123,Data Frame,Standard,2,0A FF\n";
    QTest::newRow("duration of a sent row") << tx << 0 << 0 << ""
                                            << "42,Tx,00:00:00.000.000,,0x00000123,Data Frame,Extend,1,01\n";
    QTest::newRow("duration past 99 hours")
        << row(frame(1, 0xFFFFFFFF, QByteArray()), false, "09:08:07:006", 1) << 0 << 0 << ""
        << "1,Rx,119:18:16.729.500,,0x00000001,Data Frame,Standard,0,\n";
    QTest::newRow("clock") << tx << 2 << 0 << "Engine"
                           << "42,Tx,09:08:07:016,Engine,0x00000123,Data Frame,Extend,1,01\n";
    QTest::newRow("left-aligned standard") << rx << 3 << 1 << ""
                                           << "41,Rx,0x1E240,,0x00002460,Data Frame,Standard,2,0A FF\n";
    QTest::newRow("left-aligned extended") << tx << 3 << 1 << ""
                                           << "42,Tx,NULL,,0x00000918,Data Frame,Extend,1,01\n";
    QTest::newRow("remote, no data") << remote << 3 << 0 << ""
                                     << "43,Rx,0x10,,0x000007ff,Remote,Standard,2,\n";
    QTest::newRow("name with comma and quote") << rx << 2 << 0 << "Speed, \"km/h\""
                                               << "41,Rx,09:08:07:006,\"Speed, \"\"km/h\"\"\",0x00000123,Data Frame,Standard,2,0A FF\n";
    QTest::newRow("name with line break") << rx << 2 << 0 << "a\r\nb"
                                          << "41,Rx,09:08:07:006,a  b,0x00000123,Data Frame,Standard,2,0A FF\n";
}

void tst_UlRecordFormat::csvLine()
{
    QFETCH(CanObjStr, row);
    QFETCH(int, timeMode);
    QFETCH(int, idFormat);
    QFETCH(QString, name);
    QFETCH(QString, line);
    QCOMPARE(UlCsvFormat::line(row, timeMode, idFormat, name), line);
}

static QVector<Arrival> traffic()
{
    return {
        {frame(0x123, 0x64, QByteArray("\x0A\xFF", 2)), false, "10:00:00:000"},
        {frame(0x1ABCDEF0, 0, QByteArray("\1\2\3\4\5\6\7\x08", 8), true), true, "10:00:00:010"},
        {frame(0x7FF, 0x1E240, QByteArray(3, '\0'), false, true), false, "10:00:01:500"},
        {frame(0, 0xFFFFFFFF, QByteArray()), false, "10:00:02:999"},
        {frame(0x18EBFF00, 0x1E24A, QByteArray("\xAB", 1), true), false, "10:00:03:000"},
        {frame(0x1FFFFFFF, 0x1E254, QByteArray("\xCD", 1), true), false, "10:00:03:001"},
    };
}

void tst_UlRecordFormat::roundTrip_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("timeMode");
    QTest::addColumn<QByteArray>("codec");
    QTest::addColumn<int>("idFormat");
    QTest::newRow(".can") << "can" << 0 << QByteArray() << 0;
    QTest::newRow("asc") << "asc" << 0 << QByteArray("UTF-8") << 0;
    QTest::newRow("csv duration") << "csv" << 0 << QByteArray("UTF-8") << 0;
    QTest::newRow("csv clock") << "csv" << 2 << QByteArray("UTF-8") << 0;
    QTest::newRow("csv stamp") << "csv" << 3 << QByteArray("UTF-8") << 0;
    QTest::newRow("csv stamp, GBK") << "csv" << 3 << QByteArray("GBK") << 0;
    QTest::newRow("csv stamp, left-aligned IDs") << "csv" << 3 << QByteArray("UTF-8") << 1;
    QTest::newRow("csv clock, left-aligned IDs, GBK") << "csv" << 2 << QByteArray("GBK") << 1;
}

// Frames are written from rows the way the save threads do, read back and
// compared with what each format keeps of the time.
void tst_UlRecordFormat::roundTrip()
{
    QFETCH(QString, format);
    QFETCH(int, timeMode);
    QFETCH(QByteArray, codec);
    QFETCH(int, idFormat);
    const QVector<Arrival> input = traffic();

    QByteArray bytes;
    QTextCodec *text = codec.isEmpty() ? nullptr : QTextCodec::codecForName(codec);
    if (format == QLatin1String("can")) {
        bytes = UlCanFileFormat::header();
        for (const Arrival &a : input)
            bytes += UlCanFileFormat::record(row(a.frame, a.sent, a.time));
    } else if (format == QLatin1String("asc")) {
        UlAscFormat asc;
        QString all = UlAscFormat::header(QDateTime::currentDateTime());
        for (const Arrival &a : input)
            all += asc.line(row(a.frame, a.sent, a.time));
        bytes = text->fromUnicode(all + UlAscFormat::footer());
    } else {
        QString all = UlCsvFormat::header(timeMode, idFormat);
        int index = 0;
        for (const Arrival &a : input) {
            const QString name = index % 2 ? QString::fromUtf8(u8"发动机, 转速") : QString();
            all += UlCsvFormat::line(row(a.frame, a.sent, a.time, index++), timeMode, idFormat, name);
        }
        bytes = text->fromUnicode(all);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("trip." + format);
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();

    std::unique_ptr<UlFile> reader;
    if (format == QLatin1String("can"))
        reader.reset(new CANFile);
    else if (format == QLatin1String("asc"))
        reader.reset(new ASCFile);
    else
        reader.reset(new UlFileCsv);
    QVERIFY(reader->open(path));
    QVERIFY(reader->prepare());
    const int firstMs = 10 * 3600 * 1000;
    for (const Arrival &a : input) {
        CanObj want = a.frame;
        if (format == QLatin1String("asc"))
            want.DeviceTime = uint32_t(QTime::fromString(a.time, "hh:mm:ss:zzz").msecsSinceStartOfDay() - firstMs);
        else if (format == QLatin1String("csv") && timeMode == 2)
            want.DeviceTime = uint32_t(QTime::fromString(a.time, "hh:mm:ss:zzz").msecsSinceStartOfDay());
        else
            want.DeviceTime = a.sent ? 0 : a.frame.DeviceTime / 10;
        CanObj got;
        QVERIFY2(reader->getFrame(got), qPrintable(reader->errorString()));
        QCOMPARE(describe(got), describe(want));
    }
    CanObj extra;
    QVERIFY(!reader->getFrame(extra));
    QVERIFY(!reader->hasError());
}

QTEST_GUILESS_MAIN(tst_UlRecordFormat)
#include "tst_ulrecordformat.moc"
