// Replay of record files through the DBC window's decoder: ASC and CSV
// files as the program writes them and as other tools do, each frame with
// its own bytes and length, the file's timing, frames of other messages
// passed over without a wait, stopping and pausing within a wait slice,
// and files that cannot be opened or read.
#include "dbcrecordreplay.h"
#include "testhelpers.h"
#include "ulascformat.h"
#include "ulcsvformat.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QtTest>

#include <thread>

namespace {

struct Delivered {
    VCI_CAN_OBJ frame;
    qint64 atMs;  // since the replay started
};

// Runs the replay of path on this thread, taking frames whose ID is in ids
// (all when empty).
QVector<Delivered> replay(const QString &path, DBCRecordReplay::Result *result, const QList<quint32> &ids = {},
                          std::atomic<bool> *reading = nullptr, std::atomic<bool> *paused = nullptr)
{
    std::atomic<bool> ownReading{true};
    std::atomic<bool> ownPaused{false};
    QVector<Delivered> delivered;
    QElapsedTimer clock;
    clock.start();
    *result = DBCRecordReplay::run(
            path, reading ? *reading : ownReading, paused ? *paused : ownPaused,
            [&](const VCI_CAN_OBJ &f) { return ids.isEmpty() || ids.contains(f.ID); },
            [&](const VCI_CAN_OBJ &f) { delivered << Delivered{f, clock.elapsed()}; });
    return delivered;
}

QString bytes(const VCI_CAN_OBJ &f)
{
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(f.Data), 8).toHex().toUpper());
}

// A file as the program saves it: the channel's rows in ASC or CSV.
QByteArray programFile(const QList<CanObj> &frames, bool asc, int csvTimeMode = 3)
{
    QString text;
    UlAscFormat format;
    if (asc)
        text = UlAscFormat::header(QDateTime(QDate(2024, 5, 6), QTime(10, 0)));
    else
        text = UlCsvFormat::header(csvTimeMode, 0);
    for (const CanObj &f : frames) {
        const QTime arrival = QTime(10, 0).addMSecs(int(f.DeviceTime / 10));
        const CanObjStr row = TestFrames::bufferRow(f, false, arrival.toString(QStringLiteral("hh:mm:ss:zzz")));
        text += asc ? format.line(row) : UlCsvFormat::line(row, csvTimeMode, 0, QString());
    }
    if (asc)
        text += UlAscFormat::footer();
    return text.toLocal8Bit();
}

CanObj timed(uint32_t id, const QByteArray &data, uint32_t deviceTime, bool extended = false)
{
    CanObj f = TestFrames::frame(id, data, extended);
    f.DeviceTime = deviceTime;
    return f;
}

} // namespace

class tst_DBCRecordReplay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ascLineOfAnotherTool();
    void programFiles_data();
    void programFiles();
    void timing();
    void appendedRecordings();
    void otherMessagesPassWithoutWait();
    void stopWithinASlice();
    void pauseHoldsTheTiming();
    void failures_data();
    void failures();
    void realAscFile();

private:
    TestFiles files;
};

void tst_DBCRecordReplay::ascLineOfAnotherTool()
{
    const QString path = files.write("date Mon May 6 10:00:00.000 am 2024\nbase hex  timestamps absolute\n"
                                     "no internal events logged\n"
                                     "   1.500000 1  123x Rx d 8 01 02 03 04 05 06 07 08\n"
                                     "   1.500000 1  124 Rx d 2 AA BB\n",
                                     QStringLiteral(".asc"));
    DBCRecordReplay::Result result;
    const QVector<Delivered> delivered = replay(path, &result);
    QCOMPARE(result, DBCRecordReplay::Ended);
    QCOMPARE(delivered.size(), 2);
    const VCI_CAN_OBJ &first = delivered.at(0).frame;
    QCOMPARE(first.ID, 0x123u);
    QCOMPARE(int(first.ExternFlag), 1);
    QCOMPARE(int(first.RemoteFlag), 0);
    QCOMPARE(first.DeviceTime, 1500u);
    QCOMPARE(int(first.DataLen), 8);
    QCOMPARE(bytes(first), QStringLiteral("0102030405060708"));
    // Its own bytes only: nothing left over from the line before.
    QCOMPARE(int(delivered.at(1).frame.DataLen), 2);
    QCOMPARE(bytes(delivered.at(1).frame), QStringLiteral("AABB000000000000"));
}

void tst_DBCRecordReplay::programFiles_data()
{
    QTest::addColumn<bool>("asc");
    QTest::addColumn<int>("csvTimeMode");
    QTest::newRow("ASC") << true << 0;
    QTest::newRow("CSV with device time stamps in hexadecimal") << false << 3;
    QTest::newRow("CSV with clock times") << false << 1;
}

void tst_DBCRecordReplay::programFiles()
{
    QFETCH(bool, asc);
    QFETCH(int, csvTimeMode);
    const QList<CanObj> frames{timed(0x100, QByteArray::fromHex("2A030400"), 20000),
                               timed(0x18FEF100, QByteArray::fromHex("0102030405060708"), 20500, true),
                               timed(0x100, QByteArray::fromHex("11"), 21000)};
    const QString path = files.write(programFile(frames, asc, csvTimeMode), asc ? ".asc" : ".csv");
    DBCRecordReplay::Result result;
    const QVector<Delivered> delivered = replay(path, &result);
    QCOMPARE(result, DBCRecordReplay::Ended);
    QCOMPARE(delivered.size(), 3);
    QStringList texts;
    for (const Delivered &d : delivered)
        texts << QString::asprintf("%X x%d len%d ", d.frame.ID, d.frame.ExternFlag, d.frame.DataLen) + bytes(d.frame);
    QCOMPARE(texts, (QStringList{"100 x0 len4 2A03040000000000", "18FEF100 x1 len8 0102030405060708",
                                 "100 x0 len1 1100000000000000"}));
    // 100 ms from the first frame to the last, as recorded.
    QCOMPARE(delivered.at(2).frame.DeviceTime - delivered.at(0).frame.DeviceTime, 100u);
    QVERIFY(delivered.at(2).atMs >= 95);
}

void tst_DBCRecordReplay::timing()
{
    const QString path = files.write("date Mon May 6 10:00:00.000 am 2024\nbase hex  timestamps absolute\n"
                                     "no internal events logged\n"
                                     "   0.100000 1  10 Rx d 1 01\n"
                                     "   0.350000 1  10 Rx d 1 02\n",
                                     QStringLiteral(".asc"));
    DBCRecordReplay::Result result;
    const QVector<Delivered> delivered = replay(path, &result);
    QCOMPARE(delivered.size(), 2);
    // The first frame at once, the second 250 ms later.
    QVERIFY2(delivered.at(0).atMs < 50, qPrintable(QString::number(delivered.at(0).atMs)));
    const qint64 gap = delivered.at(1).atMs - delivered.at(0).atMs;
    QVERIFY2(gap >= 249 && gap < 400, qPrintable(QString::number(gap)));
}

// Two recordings appended to one CSV file, device time stamps and then
// clock times: the second's first frame is shown at once, not after the
// ten hours between the two kinds of time, and its own gap is kept.
void tst_DBCRecordReplay::appendedRecordings()
{
    const QString path = files.write(programFile({timed(0x10, "\x01", 100), timed(0x11, "\x02", 200)}, false, 3)
                                             + programFile({timed(0x12, "\x03", 0), timed(0x13, "\x04", 2000)}, false, 2),
                                     QStringLiteral(".csv"));
    std::atomic<bool> reading{true};
    // A replay stalled at the boundary is ended after 10 s, so that it fails
    // rather than hangs.
    std::thread watchdog([&] {
        for (int i = 0; i < 1000 && reading; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        reading = false;
    });
    DBCRecordReplay::Result result;
    const QVector<Delivered> delivered = replay(path, &result, {}, &reading);
    reading = false;
    watchdog.join();
    QCOMPARE(result, DBCRecordReplay::Ended);
    QCOMPARE(delivered.size(), 4);
    QCOMPARE(delivered.at(2).frame.ID, 0x12u);
    QCOMPARE(delivered.at(2).frame.DeviceTime, 36000000u);
    QVERIFY(delivered.at(3).atMs - delivered.at(2).atMs >= 199);
}

void tst_DBCRecordReplay::otherMessagesPassWithoutWait()
{
    const QString path = files.write("date Mon May 6 10:00:00.000 am 2024\nbase hex  timestamps absolute\n"
                                     "no internal events logged\n"
                                     "   0.100000 1  10 Rx d 1 01\n"
                                     "   5.000000 1  20 Rx d 1 02\n"
                                     "   9.000000 1  30 Rx d 1 03\n",
                                     QStringLiteral(".asc"));
    QElapsedTimer clock;
    clock.start();
    DBCRecordReplay::Result result;
    const QVector<Delivered> delivered = replay(path, &result, {0x10});
    QCOMPARE(delivered.size(), 1);
    QVERIFY(clock.elapsed() < 1000);
}

void tst_DBCRecordReplay::stopWithinASlice()
{
    const QString path = files.write("date Mon May 6 10:00:00.000 am 2024\nbase hex  timestamps absolute\n"
                                     "no internal events logged\n"
                                     "   0.000000 1  10 Rx d 1 01\n"
                                     "  60.000000 1  10 Rx d 1 02\n",
                                     QStringLiteral(".asc"));
    std::atomic<bool> reading{true};
    QElapsedTimer stopped;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        stopped.start();
        reading = false;
    });
    DBCRecordReplay::Result result;
    const QVector<Delivered> delivered = replay(path, &result, {}, &reading);
    const qint64 late = stopped.elapsed();
    stopper.join();
    QCOMPARE(result, DBCRecordReplay::Ended);
    QCOMPARE(delivered.size(), 1);
    // Within a wait slice, and a loaded machine's wake-up (500 ms), not the
    // file's 60 s gap.
    QVERIFY2(late <= DBCRecordReplay::WaitSliceMs + 500, qPrintable(QString::number(late)));
}

void tst_DBCRecordReplay::pauseHoldsTheTiming()
{
    const QString path = files.write("date Mon May 6 10:00:00.000 am 2024\nbase hex  timestamps absolute\n"
                                     "no internal events logged\n"
                                     "   0.000000 1  10 Rx d 1 01\n"
                                     "   0.200000 1  10 Rx d 1 02\n",
                                     QStringLiteral(".asc"));
    std::atomic<bool> reading{true};
    std::atomic<bool> paused{false};
    QElapsedTimer clock;
    QVector<qint64> at;
    qint64 pausedAt = 0;
    std::atomic<qint64> resumedAt{0};
    std::thread resumer;
    clock.start();
    // Paused at a known point, the first frame, for 400 ms of the 200 ms gap.
    const DBCRecordReplay::Result result = DBCRecordReplay::run(
            path, reading, paused, [](const VCI_CAN_OBJ &) { return true; },
            [&](const VCI_CAN_OBJ &) {
                at << clock.elapsed();
                if (at.size() > 1)
                    return;
                pausedAt = clock.elapsed();
                paused = true;
                resumer = std::thread([&] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(400));
                    resumedAt = clock.elapsed();
                    paused = false;
                });
            });
    resumer.join();
    QCOMPARE(result, DBCRecordReplay::Ended);
    QCOMPARE(at.size(), 2);
    // The second frame is due 200 ms after the start plus the time paused;
    // late by a wait slice, and by a loaded machine's wake-ups (500 ms).
    const qint64 heldMs = resumedAt - pausedAt;
    QVERIFY2(at.at(1) >= 200 + heldMs - 1, qPrintable(QStringLiteral("%1 ms, held %2 ms").arg(at.at(1)).arg(heldMs)));
    QVERIFY2(at.at(1) <= resumedAt + 200 + DBCRecordReplay::WaitSliceMs + 500,
             qPrintable(QStringLiteral("%1 ms, resumed at %2 ms").arg(at.at(1)).arg(resumedAt.load())));
}

void tst_DBCRecordReplay::failures_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("framesBefore");
    QTest::newRow("missing file") << QByteArray() << ".missing.asc" << int(DBCRecordReplay::CannotOpen) << 0;
    QTest::newRow("not ASC or CSV") << QByteArray("0.1 1 10 Rx d 1 01\n") << ".txt"
                                    << int(DBCRecordReplay::CannotOpen) << 0;
    QTest::newRow("ASC frame line without its bytes")
            << QByteArray("date x\nbase hex  timestamps absolute\n\n   0.1 1 10 Rx d 1 01\n   0.1 1 10 Rx d 4 01\n")
            << ".asc" << int(DBCRecordReplay::CannotRead) << 1;
    QTest::newRow("CSV line that is no frame")
            << programFile({timed(0x100, "\x01", 10)}, false) + "1,Rx,0x1,,zz,?,?,1,01\n" << ".csv"
            << int(DBCRecordReplay::CannotRead) << 1;
    QTest::newRow("ASC standard ID 0x800")
            << QByteArray("date x\nbase hex  timestamps absolute\n\n   0.1 1 7FF Rx d 1 01\n   0.2 1 800 Rx d 1 01\n")
            << ".asc" << int(DBCRecordReplay::CannotRead) << 1;
    QTest::newRow("CSV extended ID 0x20000000")
            << programFile({timed(0x100, "\x01", 10)}, false) + "1,Rx,0x1,,0x20000000,Data Frame,Extend,1,01\n"
            << ".csv" << int(DBCRecordReplay::CannotRead) << 1;
}

void tst_DBCRecordReplay::failures()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, suffix);
    QFETCH(int, expected);
    QFETCH(int, framesBefore);
    const QString path = suffix.startsWith(QLatin1String(".missing")) ? files.filePath(QStringLiteral("none") + suffix)
                                                                     : files.write(content, suffix);
    std::atomic<bool> reading{true};
    std::atomic<bool> paused{false};
    int delivered = 0;
    QString error;
    const DBCRecordReplay::Result result = DBCRecordReplay::run(
            path, reading, paused, [](const VCI_CAN_OBJ &) { return true; },
            [&](const VCI_CAN_OBJ &) { ++delivered; }, &error);
    QCOMPARE(int(result), expected);
    QCOMPARE(delivered, framesBefore);
    if (result == DBCRecordReplay::CannotRead)
        QVERIFY(!error.isEmpty());
}

void tst_DBCRecordReplay::realAscFile()
{
    const QString path = QStringLiteral(MEROVAST_TESTDATA_DIR "/asc/python-can/logfile.asc");
    if (!QFile::exists(path))
        QSKIP("shared test data not present");
    // The three remote frames, 75 ms of the file.
    DBCRecordReplay::Result result;
    const QVector<Delivered> delivered = replay(path, &result, {0x100, 0x200, 0x300});
    QCOMPARE(result, DBCRecordReplay::Ended);
    QCOMPARE(delivered.size(), 3);
    QCOMPARE(delivered.at(0).frame.DeviceTime, 2510u);
    QCOMPARE(int(delivered.at(0).frame.RemoteFlag), 1);
    QCOMPARE(int(delivered.at(2).frame.DataLen), 8);
    QCOMPARE(delivered.at(2).frame.DeviceTime, 2584u);
    QVERIFY(delivered.at(2).atMs >= 70);
}

QTEST_GUILESS_MAIN(tst_DBCRecordReplay)
#include "tst_dbcrecordreplay.moc"
