// Saving a channel's frame buffer: the three record formats against golden
// files, the copy taken when the save starts, progress, cancelling, a full
// disk (the file cut back to whole records that every reader replays), the
// choice of format by file name, and an ASC file read back by python-can's
// reader.
#include "apphelpers.h"
#include "filesizelimit.h"
#include "guitest.h"
#include "queuedspy.h"
#include "recordreadback.h"
#include "recordfilewriter.h"
#include "savethread.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "ulnamemapping.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kChannel = 1;

VCI_CAN_OBJ frame(uint32_t id, uint32_t time, bool ext, bool remote, QByteArray data, int len = -1)
{
    VCI_CAN_OBJ f{};
    f.ID = id;
    f.DeviceTime = time;
    f.HasDeviceTime = time != 0;
    f.ExternFlag = ext;
    f.RemoteFlag = remote;
    f.DataLen = uint8_t(len < 0 ? data.size() : len);
    for (int i = 0; i < data.size() && i < 8; ++i)
        f.Data[i] = uint8_t(data[i]);
    return f;
}

// Three received frames in one device read and one sent frame.
void fillKnownBuffer()
{
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    const VCI_CAN_OBJ received[] = {
        frame(0x123, 0x1E240, false, false, QByteArray::fromHex("112233")),
        frame(0x12345, 0x2710, true, true, QByteArray(), 1),
        frame(0x1ABCDEF0, 0x5, true, false, QByteArray::fromHex("0102030405060708")),
    };
    buffer.addFrame(received, 3, false);
    const VCI_CAN_OBJ sent = frame(0, 0, false, false, QByteArray::fromHex("FFEEDDCCBBAA9988"));
    buffer.addFrame(&sent, 1, true);
}

// The ASC date lines and frame times depend on the clock: checked for their
// form, then replaced.
QByteArray maskClock(QByteArray text)
{
    const QString date = QStringLiteral("[A-Z][a-z]{2} [A-Z][a-z]{2} \\d{2} \\d{1,2}:\\d{1,2}:\\d{1,2} [AP]M \\d{4}");
    QString s = QString::fromLatin1(text);
    s.replace(QRegularExpression(QStringLiteral("^date ") + date + QStringLiteral("\t$"),
                                 QRegularExpression::MultilineOption),
              QStringLiteral("date D\t"));
    s.replace(QRegularExpression(QStringLiteral("^Begin Triggerblock ") + date + QStringLiteral("\t$"),
                                 QRegularExpression::MultilineOption),
              QStringLiteral("Begin Triggerblock D\t"));
    s.replace(QRegularExpression(QStringLiteral("^0\\.00\\d000\t"), QRegularExpression::MultilineOption),
              QStringLiteral("T\t"));
    return s.toLatin1();
}

bool runSave(saveThread &thread)
{
    thread.start();
    return thread.waitForFinish();
}

} // namespace

class tst_SaveThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void goldenFiles_data();
    void goldenFiles();
    void savesTheBufferAsItWasAtTheStart();
    void progressEndsAtFrameCount();
    void cancelStopsAfterTheFrameInHand();
    void emptyBufferGivesEmptyRecordFile();
    void fullDiskFails();
    void fileLimitKeepsWholeRecords_data();
    void fileLimitKeepsWholeRecords();
    void nameToSave_data();
    void nameToSave();
    void pythonCanReadsAsc();

private:
    QTemporaryDir dir;
};

void tst_SaveThread::init()
{
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    buffer.setMaxCount(UlBuffer::DefaultMaxCount);
    buffer.reset();
    buffer.setHideSendFrame(false);
    UlGlobalSet::instance().IDFORMAT = 0;
    UlGlobalSet::instance().channel[kChannel].timeDisplay = 2;
    UlNameMapping::getSingleton()->clear();
}

void tst_SaveThread::cleanup()
{
    UlNameMapping::getSingleton()->clear();
}

void tst_SaveThread::goldenFiles_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("timeMode");
    QTest::addColumn<int>("idFormat");
    QTest::addColumn<QString>("golden");
    QTest::newRow(".can") << "can" << 2 << 1 << "buffer.can";
    QTest::newRow("ASC") << "asc" << 2 << 1 << "buffer.asc";
    QTest::newRow("CSV durations, right-aligned IDs") << "csv" << 0 << 0 << "buffer-duration-right.csv";
    QTest::newRow("CSV stamps, left-aligned IDs") << "CSV" << 3 << 1 << "buffer-stamp-left.csv";
}

void tst_SaveThread::goldenFiles()
{
    QFETCH(QString, suffix);
    QFETCH(int, timeMode);
    QFETCH(int, idFormat);
    QFETCH(QString, golden);
    UlNameMapping::getSingleton()->add(0x123, QStringLiteral("Engine"));
    UlGlobalSet::instance().channel[kChannel].timeDisplay = timeMode;
    UlGlobalSet::instance().IDFORMAT = idFormat;
    fillKnownBuffer();
    const QString path = dir.filePath(QStringLiteral("golden.") + suffix);

    saveThread thread(kChannel, path);
    // Later changes of the display settings do not reach a save in hand.
    UlGlobalSet::instance().channel[kChannel].timeDisplay = 2;
    UlGlobalSet::instance().IDFORMAT = 1 - idFormat;
    QVERIFY(runSave(thread));
    QCOMPARE(thread.result(), saveThread::Complete);

    const QByteArray expected = readAll(QFINDTESTDATA("data/save/" + golden));
    QVERIFY(!expected.isEmpty());
    const QByteArray written = readAll(path);
    if (suffix == QLatin1String("asc"))
        QCOMPARE(maskClock(written), maskClock(expected));
    else if (suffix == QLatin1String("can"))
        QCOMPARE(written.toHex(' '), expected.toHex(' '));
    else
        QCOMPARE(written, expected);
}

void tst_SaveThread::savesTheBufferAsItWasAtTheStart()
{
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    buffer.setMaxCount(100);
    for (uint32_t id = 0; id < 100; ++id) {
        const VCI_CAN_OBJ f = frame(id, 1, false, false, QByteArray());
        buffer.addFrame(&f, 1, false);
    }
    const QString path = dir.filePath(QStringLiteral("moving.csv"));
    saveThread thread(kChannel, path);
    // The receive path goes on: the ring drops the frames being saved.
    for (uint32_t id = 100; id < 150; ++id) {
        const VCI_CAN_OBJ f = frame(id, 1, false, false, QByteArray());
        buffer.addFrame(&f, 1, false);
    }
    QVERIFY(runSave(thread));

    const QList<QByteArray> lines = readAll(path).split('\n');
    QCOMPARE(lines.size(), 1 + 100 + 1);  // header, rows, empty end
    for (int i = 0; i < 100; ++i)
        QVERIFY2(lines[i + 1].contains(QString::asprintf(",0x%08x,", i).toLatin1()), lines[i + 1].constData());
}

void tst_SaveThread::progressEndsAtFrameCount()
{
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    for (uint32_t id = 0; id < 1000; ++id) {
        const VCI_CAN_OBJ f = frame(id, 1, false, false, QByteArray("\1", 1));
        buffer.addFrame(&f, 1, false);
    }
    saveThread thread(kChannel, dir.filePath(QStringLiteral("progress.can")));
    QCOMPARE(thread.frameCount(), 1000);
    QueuedSpy status(&thread, &saveThread::statusSignal);
    QVERIFY(runSave(thread));
    QVERIFY(status.size() >= 2);
    QCOMPARE(status.first().at(0).toInt(), 0);
    QCOMPARE(status.last().at(0).toInt(), 1000);
    for (int i = 1; i < status.size(); ++i)
        QVERIFY(status.at(i).at(0).toInt() > status.at(i - 1).at(0).toInt());
    QCOMPARE(readAll(thread.fileName()).size(), 20 + 1000 * 24);
}

void tst_SaveThread::cancelStopsAfterTheFrameInHand()
{
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    for (uint32_t id = 0; id < 1000; ++id) {
        const VCI_CAN_OBJ f = frame(id, 1, false, false, QByteArray("\1", 1));
        buffer.addFrame(&f, 1, false);
    }
    const QString path = dir.filePath(QStringLiteral("cancelled.asc"));
    saveThread thread(kChannel, path);
    int stoppedAt = -1;
    connect(&thread, &saveThread::statusSignal, &thread, [&](int value) {
        if (stoppedAt < 0 && value >= 500) {
            stoppedAt = value;
            thread.stop();
        }
    }, Qt::DirectConnection);
    QVERIFY(runSave(thread));
    QCOMPARE(thread.result(), saveThread::Cancelled);
    // Header, the frames up to the one in hand, the footer.
    const QList<QByteArray> lines = readAll(path).split('\n');
    QCOMPARE(lines.size() - 1, 4 + stoppedAt + 1 + 1);
    QCOMPARE(lines.at(lines.size() - 2), QByteArray("End Triggerblock"));
}

void tst_SaveThread::emptyBufferGivesEmptyRecordFile()
{
    const QString path = dir.filePath(QStringLiteral("empty.can"));
    saveThread thread(kChannel, path);
    QueuedSpy status(&thread, &saveThread::statusSignal);
    QVERIFY(runSave(thread));
    QCOMPARE(thread.result(), saveThread::Complete);
    QCOMPARE(status.size(), 1);
    QCOMPARE(readAll(path).toHex(), QByteArray("Reririr CAN Data\0\0\0\0", 20).toHex());
}

void tst_SaveThread::fullDiskFails()
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full");
    const QString path = dir.filePath(QStringLiteral("full.csv"));
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), path));
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    for (uint32_t id = 0; id < 3000; ++id) {
        const VCI_CAN_OBJ f = frame(id, 1, false, false, QByteArray(8, '\1'));
        buffer.addFrame(&f, 1, false);
    }
    saveThread thread(kChannel, path);
    QVERIFY(runSave(thread));
    QCOMPARE(thread.result(), saveThread::Failed);
    QVERIFY(!thread.errorString().isEmpty());
}

void tst_SaveThread::fileLimitKeepsWholeRecords_data()
{
    addCutRecordingRows();
}

// The file fills up in the middle of a buffer: the save fails with the
// system's reason, not an unknown error, and the file keeps every whole
// record that fitted and no part of the next, so that it replays to its end.
void tst_SaveThread::fileLimitKeepsWholeRecords()
{
    QFETCH(QString, suffix);
    QFETCH(RecordReader, reader);
    const QString path = dir.filePath(QStringLiteral("limit.") + suffix);
    const QString whole = dir.filePath(QStringLiteral("whole.") + suffix);
    QFile::remove(path);
    constexpr qint64 kLimit = 3000 + 7;  // no whole number of rows or records
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    for (uint32_t id = 0; id < 1000; ++id) {
        const VCI_CAN_OBJ f = frame(id, 10 * id + 1, false, false, QByteArray(8, '\1'));
        buffer.addFrame(&f, 1, false);
    }
    saveThread thread(kChannel, path);
    {
        const FileSizeLimit limit(kLimit);
        QVERIFY(limit.isSet());
        QVERIFY(runSave(thread));
    }
    QCOMPARE(thread.result(), saveThread::Failed);
    QCOMPARE(thread.errorString(), FileSizeLimit::reason());

    saveThread unlimited(kChannel, whole);
    QVERIFY(runSave(unlimited));
    QCOMPARE(unlimited.result(), saveThread::Complete);
    verifyCutRecording(path, whole, kLimit, reader);
}

void tst_SaveThread::nameToSave_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<int>("format");
    const QString csvFilter = QStringLiteral("CSV File(*.CSV)");
    QTest::newRow("csv") << "/t/a.csv" << csvFilter << "/t/a.csv" << int(RecordFileWriter::CsvFormat);
    QTest::newRow("CSV") << "/t/a.CSV" << csvFilter << "/t/a.CSV" << int(RecordFileWriter::CsvFormat);
    QTest::newRow("Csv, any case") << "/t/a.Csv" << csvFilter << "/t/a.Csv" << int(RecordFileWriter::CsvFormat);
    QTest::newRow("suffix wins over filter") << "/t/a.can" << csvFilter << "/t/a.can"
                                             << int(RecordFileWriter::CanFormat);
    QTest::newRow("no suffix: the filter's") << "/t/a" << csvFilter << "/t/a.csv" << int(RecordFileWriter::CsvFormat);
    QTest::newRow("no suffix, ASC filter") << "/t/run.1/a" << "ASC File(*.asc)" << "/t/run.1/a.asc"
                                           << int(RecordFileWriter::AscFormat);
    QTest::newRow("unknown suffix") << "/t/a.txt" << csvFilter << "" << int(RecordFileWriter::NoFormat);
    QTest::newRow("no suffix, no filter") << "/t/a" << "" << "" << int(RecordFileWriter::NoFormat);
    QTest::newRow("cancelled") << "" << csvFilter << "" << int(RecordFileWriter::NoFormat);
}

void tst_SaveThread::nameToSave()
{
    QFETCH(QString, name);
    QFETCH(QString, filter);
    QFETCH(QString, saved);
    QFETCH(int, format);
    QCOMPARE(RecordFileWriter::nameToSave(name, filter), saved);
    QCOMPARE(int(RecordFileWriter::formatOf(saved)), format);
}

void tst_SaveThread::pythonCanReadsAsc()
{
    // Debian's python3-can lives beside the system interpreter.
    QString python;
    for (const QString &candidate : {QStringLiteral("/usr/bin/python3"), QStandardPaths::findExecutable("python3")}) {
        if (!candidate.isEmpty()
            && QProcess::execute(candidate, {QStringLiteral("-c"), QStringLiteral("import can")}) == 0) {
            python = candidate;
            break;
        }
    }
    if (python.isEmpty())
        QSKIP("python-can is not installed");

    fillKnownBuffer();
    const QString path = dir.filePath(QStringLiteral("python.asc"));
    saveThread thread(kChannel, path);
    QVERIFY(runSave(thread));

    QProcess reader;
    reader.start(python, {QStringLiteral("-c"),
                          QStringLiteral("import can, sys\n"
                                         "for m in can.ASCReader(sys.argv[1]):\n"
                                         "    print('%X %d %d %d %s %s' % (m.arbitration_id, m.is_extended_id,"
                                         " m.is_remote_frame, m.dlc, m.data.hex().upper(), 'Rx' if m.is_rx else 'Tx'))\n"),
                          path});
    QVERIFY(reader.waitForFinished(30000));
    QCOMPARE(reader.exitCode(), 0);
    QCOMPARE(QString::fromLatin1(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
             QStringList({"123 0 0 3 112233 Rx", "12345 1 1 1  Rx", "1ABCDEF0 1 0 8 0102030405060708 Rx",
                          "0 0 0 8 FFEEDDCCBBAA9988 Tx"}));
}

MEROVAST_GUI_TEST_MAIN(tst_SaveThread)
#include "tst_savethread.moc"
