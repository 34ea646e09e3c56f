// Real-time recording of a channel's frames: what stop leaves in the file,
// CSV file parts, the settings a recording keeps, files that cannot be
// opened or written (a full one cut back to whole records that every reader
// replays), CSV files read back by the core's reader (recordings appended
// to one file by every reader), and an idle recorder that waits instead of
// spinning.
#include "canrealtimesavethread.h"
#include "filesizelimit.h"
#include "guitest.h"
#include "queuedspy.h"
#include "recordreadback.h"
#include "ulbuffer.h"
#include "ulglobalset.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>

namespace {

constexpr int kChannel = 2;

UlCanObj stamped(uint32_t id, bool sent = false, int ms = 0)
{
    UlCanObj f;
    f.direction = sent;
    f.hour = 10;
    f.second = ms / 1000;
    f.millisecond = ms % 1000;
    f.obj.ID = id;
    f.obj.DeviceTime = sent ? 0 : 10 * id + 1;
    f.obj.ExternFlag = id > 0x7FF;
    f.obj.RemoteFlag = id % 7 == 0;
    f.obj.DataLen = uint8_t(id % 9);
    for (int i = 0; i < 8; ++i)
        f.obj.Data[i] = uint8_t(id + i);
    return f;
}

QList<QByteArray> lines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> all = file.readAll().split('\n');
    if (!all.isEmpty() && all.last().isEmpty())
        all.removeLast();
    return all;
}

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

class tst_CanRealTimeSaveThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void stopWritesWhatIsQueued_data();
    void stopWritesWhatIsQueued();
    void csvPartsReadBack();
    void appendedRecordingsReadBack_data();
    void appendedRecordingsReadBack();
    void splitKeepsExistingPart();
    void settingsKeptForTheRecording();
    void failureEndsRecording_data();
    void failureEndsRecording();
    void fileLimitKeepsWholeRecords_data();
    void fileLimitKeepsWholeRecords();
    void idleRecorderWaits();
    void withoutChannelDoesNothing();

private:
    void startRecording(CanRealTimeSaveThread &thread, const QString &path);
    void stopRecording(CanRealTimeSaveThread &thread);

    QTemporaryDir dir;
};

void tst_CanRealTimeSaveThread::init()
{
    UlGlobalSet &settings = UlGlobalSet::instance();
    settings.channel[kChannel].realTimeSave = false;
    settings.channel[kChannel].timeDisplay = 3;
    settings.IDFORMAT = 0;
    UlBuffer::instance(kChannel).reset();
}

void tst_CanRealTimeSaveThread::cleanup()
{
    UlGlobalSet::instance().channel[kChannel].realTimeSave = false;
    UlBuffer::instance(kChannel).reset();
}

// As the channel window does it.
void tst_CanRealTimeSaveThread::startRecording(CanRealTimeSaveThread &thread, const QString &path)
{
    thread.setFileName(path);
    UlGlobalSet::instance().channel[kChannel].realTimeSave = true;
    thread.start(QThread::InheritPriority);
}

void tst_CanRealTimeSaveThread::stopRecording(CanRealTimeSaveThread &thread)
{
    UlGlobalSet::instance().channel[kChannel].realTimeSave = false;
    thread.stop();
    thread.waitForFinish();
}

void tst_CanRealTimeSaveThread::stopWritesWhatIsQueued_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("headerLines");
    QTest::addColumn<int>("footerLines");
    QTest::newRow("csv") << "csv" << 1 << 0;
    QTest::newRow("asc") << "ASC" << 4 << 1;
}

void tst_CanRealTimeSaveThread::stopWritesWhatIsQueued()
{
    QFETCH(QString, suffix);
    QFETCH(int, headerLines);
    QFETCH(int, footerLines);
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    const QString path = dir.filePath(QStringLiteral("queued.") + suffix);
    CanRealTimeSaveThread thread(kChannel);
    for (int recording = 1; recording <= 2; ++recording) {
        startRecording(thread, path);
        // Queued faster than written; stop comes at once.
        for (uint32_t id = 0; id < 2000; ++id)
            buffer.addRtSaveFrame(stamped(id));
        stopRecording(thread);
        QCOMPARE(buffer.countRt(), 0);
        QCOMPARE(thread.rowsWritten(), qint64(2000));
        // Text files are appended to: each recording adds its own header.
        QCOMPARE(lines(path).size(), recording * (headerLines + 2000 + footerLines));
    }
    if (footerLines)
        QCOMPARE(lines(path).last(), QByteArray("End Triggerblock"));
}

void tst_CanRealTimeSaveThread::csvPartsReadBack()
{
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    const QString path = dir.filePath(QStringLiteral("log.csv"));
    CanRealTimeSaveThread thread(kChannel);
    thread.setSplitRows(10);
    startRecording(thread, path);
    QList<UlCanObj> sent;
    for (uint32_t id = 0x7F0; id < 0x7F0 + 25; ++id) {
        sent << stamped(id, id % 3 == 0);
        buffer.addRtSaveFrame(sent.last());
    }
    stopRecording(thread);

    const QStringList parts = {path, dir.filePath(QStringLiteral("log_10000.csv")),
                               dir.filePath(QStringLiteral("log_20000.csv"))};
    const int rows[] = {10, 10, 5};
    int next = 0;
    for (int p = 0; p < 3; ++p) {
        const QList<QByteArray> text = lines(parts[p]);
        QCOMPARE(text.size(), 1 + rows[p]);
        QVERIFY(text.first().startsWith("Index,"));
        // Row numbers go on across the parts.
        QVERIFY(text.at(1).startsWith(QByteArray::number(next) + ','));
        const ReadBack back = readBack(parts[p], RecordReader::Core);
        QCOMPARE(back.error, QString());
        QCOMPARE(back.frames.size(), rows[p]);
        for (const VCI_CAN_OBJ &f : back.frames) {
            const VCI_CAN_OBJ &expected = sent.at(next++).obj;
            QCOMPARE(f.ID, expected.ID);
            QCOMPARE(f.ExternFlag, expected.ExternFlag);
            QCOMPARE(f.RemoteFlag, expected.RemoteFlag);
            QCOMPARE(f.DataLen, expected.DataLen);
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(f.Data), f.DataLen),
                     QByteArray(reinterpret_cast<const char *>(expected.Data), expected.DataLen));
        }
    }
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("log_30000.csv"))));
}

void tst_CanRealTimeSaveThread::appendedRecordingsReadBack_data()
{
    QTest::addColumn<RecordReader>("reader");
    QTest::newRow("core reader") << RecordReader::Core;
    QTest::newRow("DBC replay") << RecordReader::DbcReplay;
}

// A second recording into the same CSV file, in another time display and
// ID format, adds its own title line: both recordings read back whole, each
// frame with the time of its own recording.
void tst_CanRealTimeSaveThread::appendedRecordingsReadBack()
{
    QFETCH(RecordReader, reader);
    const QString path = dir.filePath(QStringLiteral("twice.csv"));
    QFile::remove(path);
    const QList<UlCanObj> recorded = recordTwiceInto(path, kChannel, 60);
    const QList<QByteArray> text = lines(path);
    QCOMPARE(text.size(), 122);
    QVERIFY(text.at(61).startsWith("Index,"));

    const ReadBack back = readBack(path, reader);
    QCOMPARE(back.error, QString());
    QCOMPARE(back.frames.size(), recorded.size());
    for (int i = 0; i < recorded.size(); ++i) {
        const UlCanObj &want = recorded.at(i);
        const VCI_CAN_OBJ &got = back.frames.at(i);
        QCOMPARE(got.ID, want.obj.ID);
        QCOMPARE(got.ExternFlag, want.obj.ExternFlag);
        QCOMPARE(got.RemoteFlag, want.obj.RemoteFlag);
        QCOMPARE(got.DataLen, want.obj.DataLen);
        // Device time in ms in the first, arrival time of day in the second.
        const uint32_t ms = i < 60 ? want.obj.DeviceTime / 10
                                   : uint32_t(((want.hour * 60 + want.minute) * 60 + want.second) * 1000
                                              + want.millisecond);
        QCOMPARE(got.DeviceTime, ms);
    }
}

void tst_CanRealTimeSaveThread::splitKeepsExistingPart()
{
    const QString path = dir.filePath(QStringLiteral("keep.csv"));
    const QString part = dir.filePath(QStringLiteral("keep_10000.csv"));
    QFile earlier(part);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier recording\n");
    earlier.close();

    CanRealTimeSaveThread thread(kChannel);
    thread.setSplitRows(2);
    startRecording(thread, path);
    for (uint32_t id = 1; id <= 3; ++id)
        UlBuffer::instance(kChannel).addRtSaveFrame(stamped(id));
    stopRecording(thread);
    const QList<QByteArray> text = lines(part);
    QCOMPARE(text.size(), 3);
    QCOMPARE(text.first(), QByteArray("earlier recording"));
    QVERIFY(text.at(2).startsWith("2,"));
}

void tst_CanRealTimeSaveThread::settingsKeptForTheRecording()
{
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    UlGlobalSet &settings = UlGlobalSet::instance();
    const QString path = dir.filePath(QStringLiteral("latched.csv"));
    CanRealTimeSaveThread thread(kChannel);
    startRecording(thread, path);
    buffer.addRtSaveFrame(stamped(0x123));
    QTRY_COMPARE(thread.rowsWritten(), qint64(1));
    settings.channel[kChannel].timeDisplay = 2;
    settings.IDFORMAT = 1;
    buffer.addRtSaveFrame(stamped(0x123));
    stopRecording(thread);

    const QList<QByteArray> text = lines(path);
    QCOMPARE(text.size(), 3);
    QVERIFY(text.at(0).contains(",Time-0,"));
    QVERIFY(text.at(0).contains(",Id(Align Right),"));
    for (int row = 1; row <= 2; ++row)
        QVERIFY2(text.at(row).contains(",0xB5F,,0x00000123,"), text.at(row).constData());
}

void tst_CanRealTimeSaveThread::failureEndsRecording_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<qint64>("splitRows");
    QTest::addColumn<int>("failure");
    QTest::newRow("cannot open") << "missing/folder/x.csv" << qint64(1000) << int(CanRealTimeSaveThread::OpenFailed);
    QTest::newRow("disk full") << "full.asc" << qint64(1000) << int(CanRealTimeSaveThread::WriteFailed);
    QTest::newRow("next part cannot open") << "blocked.csv" << qint64(2) << int(CanRealTimeSaveThread::SplitFailed);
}

void tst_CanRealTimeSaveThread::failureEndsRecording()
{
    QFETCH(QString, path);
    QFETCH(qint64, splitRows);
    QFETCH(int, failure);
    path = dir.filePath(path);
    if (failure == CanRealTimeSaveThread::WriteFailed) {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full");
        QFile::remove(path);
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), path));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Cannot call seek on a sequential device")));
    }
    if (failure == CanRealTimeSaveThread::SplitFailed)
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("blocked_10000.csv")));  // a folder in the way

    UlBuffer &buffer = UlBuffer::instance(kChannel);
    CanRealTimeSaveThread thread(kChannel);
    thread.setSplitRows(splitRows);
    QueuedSpy failed(&thread, &CanRealTimeSaveThread::failed);
    // Queued before the thread starts, so that none comes after it gave up.
    UlGlobalSet::instance().channel[kChannel].realTimeSave = true;
    for (uint32_t id = 0; id < 5000; ++id) {
        const VCI_CAN_OBJ f = stamped(id).obj;
        buffer.addFrame(&f, 1, false);
    }
    thread.setFileName(path);
    thread.start();
    QVERIFY(thread.wait(10000));
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().at(0).toInt(), failure);
    QVERIFY(!failed.first().at(2).toString().isEmpty());
    QVERIFY(!UlGlobalSet::instance().channel[kChannel].realTimeSave);
    QCOMPARE(buffer.countRt(), 0);
}

void tst_CanRealTimeSaveThread::fileLimitKeepsWholeRecords_data()
{
    addCutRecordingRows();
}

// The file fills up in the middle of a recording: it ends with the system's
// reason, not an unknown error, and the file keeps every whole record that
// fitted and no part of the next, so that it replays to its end.
void tst_CanRealTimeSaveThread::fileLimitKeepsWholeRecords()
{
    QFETCH(QString, suffix);
    QFETCH(RecordReader, reader);
    const QString path = dir.filePath(QStringLiteral("limit.") + suffix);
    const QString whole = dir.filePath(QStringLiteral("whole.") + suffix);
    QFile::remove(path);
    QFile::remove(whole);
    constexpr qint64 kLimit = 3000 + 7;  // no whole number of rows or records
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    // Arrival times of their own, so that both recordings write the same.
    const auto queue = [&] {
        for (uint32_t id = 0; id < 1000; ++id)
            buffer.addRtSaveFrame(stamped(id, false, int(id)));
    };
    CanRealTimeSaveThread thread(kChannel);
    QueuedSpy failed(&thread, &CanRealTimeSaveThread::failed);
    UlGlobalSet::instance().channel[kChannel].realTimeSave = true;
    queue();
    {
        const FileSizeLimit limit(kLimit);
        QVERIFY(limit.isSet());
        thread.setFileName(path);
        thread.start();
        QVERIFY(thread.wait(10000));
    }
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().at(0).toInt(), int(CanRealTimeSaveThread::WriteFailed));
    QCOMPARE(failed.first().at(1).toString(), path);
    QCOMPARE(failed.first().at(2).toString(), FileSizeLimit::reason());
    QVERIFY(!UlGlobalSet::instance().channel[kChannel].realTimeSave);
    QCOMPARE(buffer.countRt(), 0);

    queue();
    startRecording(thread, whole);
    QTRY_COMPARE_WITH_TIMEOUT(buffer.countRt(), 0, 10000);
    stopRecording(thread);
    QCOMPARE(failed.size(), 1);
    verifyCutRecording(path, whole, kLimit, reader);
}

void tst_CanRealTimeSaveThread::idleRecorderWaits()
{
    CanRealTimeSaveThread thread(kChannel);
    startRecording(thread, dir.filePath(QStringLiteral("idle.can")));
    const double before = processCpuSeconds();
    QTest::qSleep(400);
    const double used = processCpuSeconds() - before;
    stopRecording(thread);
    QVERIFY2(used < 0.2, qPrintable(QString::number(used)));
}

void tst_CanRealTimeSaveThread::withoutChannelDoesNothing()
{
    const QString path = dir.filePath(QStringLiteral("nochannel.csv"));
    CanRealTimeSaveThread thread;
    QCOMPARE(thread.getChannel(), uint32_t(-1));
    thread.setFileName(path);
    thread.start();
    QVERIFY(thread.waitForFinish());
    QVERIFY(!QFile::exists(path));
}

MEROVAST_GUI_TEST_MAIN(tst_CanRealTimeSaveThread)
#include "tst_canrealtimesavethread.moc"
