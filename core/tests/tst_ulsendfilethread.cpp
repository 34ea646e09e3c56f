#include "canobjstr.h"
#include "sendfixture.h"
#include "testhelpers.h"
#include "ulascformat.h"
#include "ulbuffer.h"
#include "ulcanfileformat.h"
#include "ulcsvformat.h"
#include "ulglobalset.h"
#include "ulsendfilethread.h"

#include <QtTest>

#include <algorithm>

using namespace SendFixture;
using TestFrames::frame;

class tst_UlSendFileThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void binaryFile_data();
    void binaryFile();
    void recordFiles_data();
    void recordFiles();
    void cannotStart_data();
    void cannotStart();
    void badContent_data();
    void badContent();
    void transmitFailure();
    void recordedGaps();
    void framesWithoutGapNeverStall_data();
    void framesWithoutGapNeverStall();
    void longReplayKeepsSchedule();
    void stopDuringLongGap();

private:
    QString write(const QByteArray &bytes, const QString &suffix) { return m_dir.write(bytes, suffix); }
    void watch(UlSendFileThread &thread);
    // Runs a replay to its end (at most timeoutMs).
    bool replay(UlSendFileThread &thread, int timeoutMs = 5000);

    TestFiles m_dir;
    QStringList m_events;
    QList<int> m_progress;
};

static const QStringList Ran = {QStringLiteral("start"), QStringLiteral("tail")};
static const QStringList Failed = {QStringLiteral("start"), QStringLiteral("error"), QStringLiteral("tail")};
static const QStringList NotStarted = {QStringLiteral("error")};

static taskObj templateTask(const CanObj &templ, int interval)
{
    return TestFrames::task(templ, 0, 0, interval);
}

// A frame-buffer row of the frame, as the save threads get it.
static CanObjStr row(const CanObj &f, bool sent, uint32_t stamp, int ms)
{
    CanObj stamped = f;
    stamped.DeviceTime = stamp;
    return TestFrames::bufferRow(stamped, sent,
                                 QTime::fromMSecsSinceStartOfDay(ms).toString(QStringLiteral("hh:mm:ss:zzz")));
}

static QByteArray canRecord(uint32_t id, uint32_t stamp, uint8_t len = 1, uint8_t byte0 = 0)
{
    QByteArray r(24, '\0');
    qToLittleEndian<quint32>(id, r.data());
    qToLittleEndian<quint32>(stamp, r.data() + 4);
    r[9] = stamp ? char(0xFF) : 0;
    r[12] = char(len);
    r[13] = char(byte0);
    return r;
}

// An ASC file as another tool writes it: blank-separated fields.
static QByteArray ascFile(const QList<int> &timesMs)
{
    QByteArray text = "date Tue Mar 05 02:07:09 PM 2024\nbase hex  timestamps absolute\nno internal events logged\n";
    for (int i = 0; i < timesMs.size(); ++i)
        text += QString::asprintf("   %d.%03d000 1  %X             Rx   d 1 %02X\n", timesMs[i] / 1000,
                                  timesMs[i] % 1000, 0x100 + i, i & 0xFF)
                    .toLatin1();
    return text + "End TriggerBlock\n";
}

static QByteArray canFile(const QList<uint32_t> &stamps)
{
    QByteArray bytes = UlCanFileFormat::header();
    for (int i = 0; i < stamps.size(); ++i)
        bytes += canRecord(0x100 + uint32_t(i), stamps[i], 1, uint8_t(i));
    return bytes;
}

// One recording of a CSV file as the real-time save writes it, frames
// 0x100 + firstIndex, ... with these device time stamps (0.1 ms), arrival
// times 10:00 plus the stamps.
static QByteArray csvRecording(int timeMode, int firstIndex, const QList<uint32_t> &stamps)
{
    QString text = UlCsvFormat::header(timeMode, 0);
    for (int i = 0; i < stamps.size(); ++i)
        text += UlCsvFormat::line(row(frame(0x100 + uint32_t(firstIndex + i), QByteArray(1, char(i))), false, stamps[i],
                                      36000000 + int(stamps[i] / 10)),
                                  timeMode, 0, QString());
    return text.toUtf8();
}

constexpr int64_t NsPerMs = 1000000;

static int64_t median(QVector<int64_t> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// How far behind its recorded offset (ns) each transmit call came, in the
// time the replay thread was given since the run began: what it waited for
// a processor is left out, which a loaded machine adds whatever the code
// does, while what the code loses (sends, sleep overshoots, a device call
// held) counts whole. Waits before a frame was due are left out too, which
// makes a frame look earlier, never later.
static QVector<int64_t> heldLateness(const ThreadMoment &begun, const std::vector<ThreadMoment> &calls,
                                     const QVector<int64_t> &offsetsNs)
{
    QVector<int64_t> late;
    for (size_t i = 0; i < calls.size(); ++i)
        late << calls[i].heldSince(begun) - offsetsNs.value(int(i));
    return late;
}

// The median of the last quarter: a schedule that loses time falls behind
// over the run, while a frame held up on its own does not move the median.
static int64_t lastQuarter(const QVector<int64_t> &late)
{
    return median(late.mid(late.size() - late.size() / 4));
}

void tst_UlSendFileThread::watch(UlSendFileThread &thread)
{
    // Reports still queued from an earlier case are not this one's.
    QCoreApplication::processEvents();
    m_events.clear();
    m_progress.clear();
    // Queued to this thread, so the order of emission is kept.
    connect(&thread, &UlSendFileThread::begainSend, this, [this] { m_events << QStringLiteral("start"); });
    connect(&thread, &UlSendFileThread::errorSignal, this, [this] { m_events << QStringLiteral("error"); });
    connect(&thread, &UlSendFileThread::tailSignal, this, [this] { m_events << QStringLiteral("tail"); });
    connect(&thread, &UlSendFileThread::progressValueChanged, this, [this](int p) { m_progress << p; });
}

bool tst_UlSendFileThread::replay(UlSendFileThread &thread, int timeoutMs)
{
    thread.start();
    const bool ended = thread.wait(ulong(timeoutMs));
    QCoreApplication::processEvents();
    return ended;
}

void tst_UlSendFileThread::init()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(openBus());
    resetSender();
}

void tst_UlSendFileThread::cleanup()
{
    UlGlobalSet::instance().IDFORMAT = 0;
    closeBus();
}

void tst_UlSendFileThread::binaryFile_data()
{
    QTest::addColumn<int>("idFormat");
    QTest::addColumn<uint>("templateId");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<uint>("id");

    QTest::newRow("standard") << 0 << 0x123u << false << 0x123u;
    QTest::newRow("extended") << 0 << 0x1ABCDEF0u << true << 0x1ABCDEF0u;
    QTest::newRow("left-aligned standard") << 1 << 0x2460u << false << 0x123u;
    QTest::newRow("left-aligned extended") << 1 << 0x918u << true << 0x123u;
}

// 20 bytes: three frames of 8, 8 and 4 bytes on the template, each after
// the interval.
void tst_UlSendFileThread::binaryFile()
{
    QFETCH(int, idFormat);
    QFETCH(uint, templateId);
    QFETCH(bool, extended);
    QFETCH(uint, id);
    UlGlobalSet::instance().IDFORMAT = idFormat;
    QByteArray bytes;
    for (int i = 0; i < 20; ++i)
        bytes += char(0x30 + i);
    CanObj templ = frame(templateId, QByteArray(8, '\x77'), extended);

    TransmitLog log;
    UlSendFileThread thread(Tx);
    watch(thread);
    thread.setParameter(templateTask(templ, 5));
    thread.setFileType(UlSendFileThread::BinaryFile);
    thread.setFileName(write(bytes, ".bin"));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(replay(thread));
    QVERIFY(timer.elapsed() >= 14);

    QCOMPARE(m_events, Ran);
    QCOMPARE(thread.failure(), UlSendFileThread::NoFailure);
    QCOMPARE(m_progress.first(), 0);
    QCOMPARE(m_progress.last(), 100);
    QCOMPARE(log.calls(), std::vector<uint32_t>({1, 1, 1}));
    const std::vector<VCI_CAN_OBJ> bus = heard(3);
    QCOMPARE(int(bus.size()), 3);
    const int lengths[] = {8, 8, 4};
    for (int i = 0; i < 3; ++i) {
        const VCI_CAN_OBJ &f = bus[size_t(i)];
        QCOMPARE(f.ID, id);
        QCOMPARE(f.ExternFlag, uint8_t(extended));
        QCOMPARE(int(f.DataLen), lengths[i]);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(f.Data), f.DataLen), bytes.mid(8 * i, lengths[i]));
    }
    QCOMPARE(sentCount(), int64_t(3));
    QCOMPARE(UlBuffer::instance(int(Tx)).count(), 3);
    QCOMPARE(UlBuffer::instance(int(Tx)).getFrame(2).direction, QStringLiteral("Tx"));
}

struct Recorded {
    CanObj frame;
    bool sent;
    uint32_t stamp;  // 0.1 ms
    int ms;          // arrival time of day
};

static QVector<Recorded> recording()
{
    return {
        {frame(0x123, QByteArray("\x0A\xFF", 2)), false, 1000, 36000000},
        {frame(0x1ABCDEF0, QByteArray("\1\2\3\4\5\6\7\x08", 8), true), true, 0, 36000001},
        {frame(0x7FF, QByteArray(3, '\0'), false, true), false, 1020, 36000002},
        {frame(0x18EBFF00, QByteArray(), true), false, 1030, 36000003},
    };
}

void tst_UlSendFileThread::recordFiles_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("bytes");

    const QVector<Recorded> frames = recording();
    QByteArray can = UlCanFileFormat::header();
    UlAscFormat ascWriter;
    QString asc = UlAscFormat::header(QDateTime::currentDateTime());
    QString csvStamp = UlCsvFormat::header(3, 0);
    QString csvClock = UlCsvFormat::header(2, 0);
    for (const Recorded &r : frames) {
        const CanObjStr text = row(r.frame, r.sent, r.stamp, r.ms);
        can += UlCanFileFormat::record(text);
        asc += ascWriter.line(text);
        csvStamp += UlCsvFormat::line(text, 3, 0, QString());
        csvClock += UlCsvFormat::line(text, 2, 0, QStringLiteral("Engine, rear"));
    }
    asc += UlAscFormat::footer();
    auto crLf = [](const QString &text) { return text.toUtf8().replace("\n", "\r\n"); };

    QTest::newRow(".can") << int(UlSendFileThread::CanFile) << can;
    QTest::newRow("ASC") << int(UlSendFileThread::AscFile) << asc.toUtf8();
    QTest::newRow("ASC, CR LF") << int(UlSendFileThread::AscFile) << crLf(asc);
    QTest::newRow("CSV, device time") << int(UlSendFileThread::CsvFile) << csvStamp.toUtf8();
    QTest::newRow("CSV, clock time, CR LF") << int(UlSendFileThread::CsvFile) << crLf(csvClock);
}

// Files written the way the channel windows save them are replayed frame
// for frame, one frame per device call.
void tst_UlSendFileThread::recordFiles()
{
    QFETCH(int, type);
    QFETCH(QByteArray, bytes);

    TransmitLog log;
    UlSendFileThread thread(Tx);
    watch(thread);
    thread.setFileType(type);
    thread.setFileName(write(bytes, ".rec"));
    QVERIFY(replay(thread));

    QCOMPARE(m_events, Ran);
    QCOMPARE(m_progress.last(), 100);
    const QVector<Recorded> frames = recording();
    QCOMPARE(log.calls(), std::vector<uint32_t>(size_t(frames.size()), 1));
    const std::vector<VCI_CAN_OBJ> bus = heard(frames.size());
    QCOMPARE(int(bus.size()), frames.size());
    for (int i = 0; i < frames.size(); ++i) {
        const CanObj &want = frames[i].frame;
        const VCI_CAN_OBJ &got = bus[size_t(i)];
        QCOMPARE(got.ID, want.ID);
        QCOMPARE(got.ExternFlag, want.ExternFlag);
        QCOMPARE(got.RemoteFlag, want.RemoteFlag);
        QCOMPARE(got.DataLen, want.DataLen);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(got.Data), 8),
                 QByteArray(reinterpret_cast<const char *>(want.Data), 8));
    }
    QCOMPARE(sentCount(), int64_t(frames.size()));
    QCOMPARE(UlBuffer::instance(int(Tx)).count(), frames.size());
}

void tst_UlSendFileThread::cannotStart_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("bytes");  // empty: no file
    QTest::addColumn<bool>("withTemplate");
    QTest::addColumn<uint>("channel");

    const QByteArray three = canFile({10, 20, 30});
    QTest::newRow("missing CSV file") << int(UlSendFileThread::CsvFile) << QByteArray() << true << Tx;
    QTest::newRow("missing binary file") << int(UlSendFileThread::BinaryFile) << QByteArray() << true << Tx;
    QTest::newRow(".can without its header") << int(UlSendFileThread::CanFile) << three.mid(20) << true << Tx;
    QTest::newRow("unknown file type") << 4 << three << true << Tx;
    QTest::newRow("binary file without template") << int(UlSendFileThread::BinaryFile) << three << false << Tx;
    QTest::newRow("channel out of range") << int(UlSendFileThread::CanFile) << three << true << 4u;
}

// Nothing is sent and the run does not begin, but the caller learns why the
// thread ended.
void tst_UlSendFileThread::cannotStart()
{
    QFETCH(int, type);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, withTemplate);
    QFETCH(uint, channel);

    UlSendFileThread thread(channel);
    watch(thread);
    if (withTemplate)
        thread.setParameter(templateTask(frame(0x100, QByteArray()), 0));
    thread.setFileType(type);
    thread.setFileName(bytes.isEmpty() ? m_dir.filePath("none") : write(bytes, ".rec"));
    QVERIFY(replay(thread));

    QCOMPARE(m_events, NotStarted);
    QCOMPARE(thread.failure(), UlSendFileThread::CannotOpen);
    QVERIFY(m_progress.isEmpty());
    QCOMPARE(transmitted(), 0u);
    QCOMPARE(sentCount(), int64_t(0));
}

void tst_UlSendFileThread::badContent_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("frames");  // sent before the bad one

    const QString csv = UlCsvFormat::header(3, 0) + "1,Rx,0x64,,0x00000123,Data Frame,Standard,1,01\n"
        + "2,Rx,0x6E,,0x00000123,Data Frame,Standard,1\n" + "3,Rx,0x78,,0x00000123,Data Frame,Standard,1,03\n";
    const QByteArray asc = "date x\nbase hex timestamps absolute\n//version 11.0.0\n"
                           "0.000000 1 123 Rx d 1 01\n0.001000 1 123 Rx d 3 01 02\n";
    QTest::newRow("CSV line of 8 columns") << int(UlSendFileThread::CsvFile) << write(csv.toUtf8(), ".csv") << 1;
    QTest::newRow("ASC data byte missing") << int(UlSendFileThread::AscFile) << write(asc, ".asc") << 1;
    QTest::newRow(".can record cut short")
        << int(UlSendFileThread::CanFile) << write(canFile({10, 20}).chopped(3), ".can") << 1;
    QTest::newRow(".can length above 8")
        << int(UlSendFileThread::CanFile) << write(canFile({10}) + canRecord(1, 20, 9), ".can") << 1;
    if (QFile(QStringLiteral("/proc/self/mem")).open(QIODevice::ReadOnly))
        QTest::newRow("binary read error") << int(UlSendFileThread::BinaryFile) << "/proc/self/mem" << 0;
}

// A frame that cannot be read ends the replay with an error, not as if the
// file had ended there.
void tst_UlSendFileThread::badContent()
{
    QFETCH(int, type);
    QFETCH(QString, path);
    QFETCH(int, frames);

    UlSendFileThread thread(Tx);
    watch(thread);
    thread.setParameter(templateTask(frame(0x100, QByteArray()), 0));
    thread.setFileType(type);
    thread.setFileName(path);
    QVERIFY(replay(thread));

    QCOMPARE(m_events, Failed);
    QCOMPARE(thread.failure(), UlSendFileThread::CannotRead);
    QVERIFY(!thread.failureText().isEmpty());
    QCOMPARE(transmitted(), uint64_t(frames));
    QCOMPARE(sentCount(), int64_t(frames));
}

void tst_UlSendFileThread::transmitFailure()
{
    QCOMPARE(VCISIM_SetTransmitLimit(Type, 0, Tx, 0), 1u);
    TransmitLog log;
    UlSendFileThread thread(Tx);
    watch(thread);
    thread.setFileType(UlSendFileThread::AscFile);
    thread.setFileName(write(ascFile({0, 1, 2}), ".asc"));
    QVERIFY(replay(thread));

    QCOMPARE(m_events, Failed);
    QCOMPARE(thread.failure(), UlSendFileThread::CannotSend);
    QCOMPARE(log.calls(), std::vector<uint32_t>{1});
    QCOMPARE(sentCount(), int64_t(0));
    QCOMPARE(UlBuffer::instance(int(Tx)).count(), 1);  // the row stays
}

// Times are the replay thread's own, at its transmit calls. The schedule
// is the recording's: no frame goes before its offset from the run's
// start (a loaded machine can only delay it), and the transmit of frame 10
// held 100 ms is made up by the frames after it, so the last quarter goes
// out on time, where a schedule kept from one frame to the next sends
// every later frame 100 ms late. Lateness counts the time the thread was
// given, so that a loaded machine does not add to it; the bound of 50 ms
// lies between the two.
void tst_UlSendFileThread::recordedGaps()
{
    QList<int> times;
    for (int i = 0; i < 40; ++i)
        times << 12340 + 10 * i;
    const int held = 10;
    TransmitLog log(held, 100, TransmitLog::Timed);
    UlSendFileThread thread(Tx);
    watch(thread);
    ThreadMoment begun;
    connect(&thread, &UlSendFileThread::begainSend, this, [&begun] { begun = ThreadMoment::now(); },
            Qt::DirectConnection);
    thread.setFileType(UlSendFileThread::AscFile);
    thread.setFileName(write(ascFile(times), ".asc"));
    QVERIFY(replay(thread));
    QCOMPARE(m_events, Ran);
    QCOMPARE(int(heard(times.size()).size()), times.size());

    const std::vector<ThreadMoment> calls = log.moments();
    QCOMPARE(int(calls.size()), times.size());
    QVector<int64_t> offsets;
    for (int i = 0; i < times.size(); ++i) {
        offsets << (times[i] - times.first()) * NsPerMs;
        const int64_t early = offsets[i] - (calls[size_t(i)].atNs - begun.atNs);
        QVERIFY2(early <= 0, qPrintable(QStringLiteral("frame %1, %2 us early").arg(i).arg(early / 1000)));
    }
    const int64_t holdNs = calls[held + 1].atNs - calls[held].atNs;
    QVERIFY2(holdNs >= 100 * NsPerMs, qPrintable(QString::number(holdNs)));  // the hold took effect
    const int64_t behind = lastQuarter(heldLateness(begun, calls, offsets));
    QVERIFY2(behind <= 50 * NsPerMs, qPrintable(QStringLiteral("%1 us").arg(behind / 1000)));
}

void tst_UlSendFileThread::framesWithoutGapNeverStall_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("spanMs");  // between the first and last frame

    const int can = UlSendFileThread::CanFile;
    // Transmitted rows carry no time; the received rows around them are
    // 10 ms apart, late in a long recording.
    QTest::newRow("sent rows between received ones") << can << canFile({1000000, 0, 1000100, 0, 0, 1000200}) << 6
                                                     << 20;
    QTest::newRow("time going back") << can << canFile({0xFFFFFFF0, 100, 200}) << 3 << 10;
    QTest::newRow("sent row first") << can << canFile({0, 1000000, 1000100}) << 3 << 10;
    // Recordings appended to one CSV file: the next one's times are not
    // comparable to the last one's; its own gaps are kept.
    const int csv = UlSendFileThread::CsvFile;
    QTest::newRow("CSV, next recording in clock times")
        << csv << csvRecording(3, 0, {100, 200}) + csvRecording(2, 2, {100, 200}) << 4 << 20;
    QTest::newRow("CSV, next recording days later")
        << csv << csvRecording(3, 0, {100, 200}) + csvRecording(3, 2, {0x7FFFFF00, 0x7FFFFF64}) << 4 << 20;
}

void tst_UlSendFileThread::framesWithoutGapNeverStall()
{
    QFETCH(int, type);
    QFETCH(QByteArray, bytes);
    QFETCH(int, frames);
    QFETCH(int, spanMs);

    UlSendFileThread thread(Tx);
    watch(thread);
    thread.setFileType(type);
    thread.setFileName(write(bytes, ".rec"));
    QElapsedTimer clock;
    clock.start();
    const bool ended = replay(thread, 3000);
    const qint64 ranMs = clock.elapsed();
    thread.stop();
    QVERIFY(ended);
    QCOMPARE(m_events, Ran);

    const std::vector<VCI_CAN_OBJ> bus = heard(frames);
    QCOMPARE(int(bus.size()), frames);
    for (int i = 0; i < frames; ++i)
        QCOMPARE(bus[size_t(i)].ID, 0x100u + uint32_t(i));
    // A lost gap ends the run early. The bus stamps cannot show it: a first
    // frame sent late lets the rest catch up with the schedule.
    QVERIFY2(ranMs >= spanMs, qPrintable(QString::number(ranMs)));
    // A stall takes many seconds with these files (stamps in 0.1 ms).
    const int64_t span = int64_t(bus.back().DeviceTime) - int64_t(bus.front().DeviceTime);
    QVERIFY2(span <= spanMs * 10 + 10000, qPrintable(QString::number(span)));
}

// 200 frames 5 ms apart, far more than a send takes: sleeping each gap
// after the previous send would fall behind by the send and the overshoot
// of every sleep (at least the timer slack, 50 us, so several ms by the
// last quarter); the schedule does not. Lateness counts the time the
// thread was given, so that a loaded machine does not add to it.
void tst_UlSendFileThread::longReplayKeepsSchedule()
{
    QList<uint32_t> recorded;
    for (uint32_t i = 0; i < 200; ++i)
        recorded << 50000 + 50 * i;
    TransmitLog log(-1, 0, TransmitLog::Timed);
    UlSendFileThread thread(Tx);
    watch(thread);
    ThreadMoment begun;
    connect(&thread, &UlSendFileThread::begainSend, this, [&begun] { begun = ThreadMoment::now(); },
            Qt::DirectConnection);
    thread.setFileType(UlSendFileThread::CanFile);
    thread.setFileName(write(canFile(recorded), ".can"));
    QVERIFY(replay(thread));
    QCOMPARE(int(heard(recorded.size()).size()), recorded.size());

    const std::vector<ThreadMoment> calls = log.moments();
    QCOMPARE(int(calls.size()), recorded.size());
    QVector<int64_t> offsets;
    for (uint32_t stamp : recorded)
        offsets << int64_t(stamp - recorded.first()) * NsPerMs / 10;
    const int64_t behind = lastQuarter(heldLateness(begun, calls, offsets));
    QVERIFY2(behind <= 3 * NsPerMs, qPrintable(QStringLiteral("%1 us").arg(behind / 1000)));
}

void tst_UlSendFileThread::stopDuringLongGap()
{
    UlSendFileThread thread(Tx);
    watch(thread);
    thread.setFileType(UlSendFileThread::AscFile);
    thread.setFileName(write(ascFile({0, 60000}), ".asc"));
    thread.start();
    QCOMPARE(int(heard(1).size()), 1);
    QTest::qWait(20);

    QElapsedTimer timer;
    timer.start();
    thread.stop();
    QVERIFY(thread.waitForFinish());
    QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
    QCoreApplication::processEvents();
    QCOMPARE(m_events, Ran);
    QCOMPARE(transmitted(), 1u);
}

QTEST_GUILESS_MAIN(tst_UlSendFileThread)
#include "tst_ulsendfilethread.moc"
