// The File send page in its send tabs against the simulated bus: a plain
// file cut into frames at the Interval, record files with their recorded
// gaps (one written by the program, one written by another tool, two
// recordings appended to one file), runs of several replays, Stop,
// failures that end a run with one message, the refusals before a run, a
// file emptied during a run, the ID across an ID-format change, and the
// fields and file filters.
#include "ascfile.h"
#include "ulascformat.h"
#include "guitest.h"
#include "queuedspy.h"
#include "recordfilewriter.h"
#include "recordreadback.h"
#include "sendfixture.h"
#include "testhelpers.h"
#include "uifiledialog.h"
#include "uimessage.h"
#include "uitabsend.h"
#include "uitabsendbasepage.h"
#include "uitabsendfilepage.h"
#include "ulcanfileformat.h"
#include "ulcsvformat.h"
#include "ulglobalset.h"
#include "ulsendfilethread.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTime>
#include <QtTest>

#include <atomic>

using namespace SendFixture;

namespace {

QByteArray bytesOf(const VCI_CAN_OBJ &f)
{
    return QByteArray(reinterpret_cast<const char *>(f.Data), f.DataLen);
}

// An ASC file as the program saves it: frames 10 ms apart.
QString writeAsc(const QString &path, int frames, int gapMs)
{
    RecordFileWriter writer(RecordFileWriter::AscFormat, 2, 0);
    if (!writer.open(path, true) || !writer.writeHeader())
        return QString();
    for (int i = 0; i < frames; ++i) {
        const CanObj f = TestFrames::frame(0x100 + uint32_t(i), QByteArray(1, char(i)));
        const QTime at = QTime(12, 0).addMSecs(i * gapMs);
        writer.write(TestFrames::bufferRow(f, false, at.toString(QStringLiteral("hh:mm:ss:zzz"))));
    }
    writer.writeFooter();
    return writer.close() ? path : QString();
}

// Frames heard on the listening channel while the page's replays go on
// (their end reports start the next ones), until expected arrived.
std::vector<VCI_CAN_OBJ> listen(int expected, int timeoutMs = 5000)
{
    std::vector<VCI_CAN_OBJ> frames;
    VCI_CAN_OBJ buffer[256];
    QElapsedTimer timer;
    timer.start();
    while (int(frames.size()) < expected && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents();
        const uint32_t n = VCI_Receive(Type, 0, Rx, buffer, 256, 5);
        frames.insert(frames.end(), buffer, buffer + n);
    }
    return frames;
}

// Whether a file dialog with this filter lists the file name: the patterns
// in parentheses, matched with case as on Linux.
bool shows(const QString &filter, const QString &fileName)
{
    const int open = filter.indexOf(QLatin1Char('('));
    const QString patterns = filter.mid(open + 1, filter.lastIndexOf(QLatin1Char(')')) - open - 1);
    for (const QString &pattern : patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern)).match(fileName).hasMatch())
            return true;
    }
    return false;
}

} // namespace

class tst_UiTabSendFilePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void commonFileInFrames_data();
    void commonFileInFrames();
    void recordedGapsKept();
    void otherToolsAscFile();
    void csvReplaysRecordedIds_data();
    void csvReplaysRecordedIds();
    void appendedRecordingsReplayWhole();
    void repeatedlyThree();
    void stopEndsCirculation();
    void transmitFailureInCirculation();
    void readErrorEndsRun_data();
    void readErrorEndsRun();
    void emptyFileSaysSoOnce_data();
    void emptyFileSaysSoOnce();
    void fileEmptiedDuringRun_data();
    void fileEmptiedDuringRun();
    void idFormatChangeKeepsTheRealId();
    void cannotOpenOrPrepare_data();
    void cannotOpenOrPrepare();
    void refusalsBeforeRun_data();
    void refusalsBeforeRun();
    void typeAndCountFields();
    void fileFilters_data();
    void fileFilters();

private:
    template <typename T>
    T *field(const char *name) const
    {
        return page()->findChild<T *>(QLatin1String(name));
    }
    UiTabSendFilePage *page() const { return tabs->filePage(); }
    // Picks the file type and file and the number of replays.
    void choose(int type, const QString &file, int repeat = UiTabSendFilePage::Once, const QString &count = {});
    void send() { field<QPushButton>("SendButton")->click(); }
    void waitIdle(int timeoutMs = 5000);
    // Sends the file once and waits for the end: the frames heard.
    std::vector<VCI_CAN_OBJ> replayOnce(int type, const QString &file, int frames);
    // Every Send off, only the File page's Stop on.
    void expectFileSending();
    QStringList shownBoxes() const;

    TestFiles files;
    std::unique_ptr<UiTabSend> tabs;
    QList<UiMessage::Box> boxes;
    QList<UiFileDialog::Request> requests;
    QString answer;
};

void tst_UiTabSendFilePage::init()
{
    QVERIFY(files.isValid());
    QVERIFY(openBus());
    resetSender();
    UlGlobalSet::instance().channel[Tx].sending = false;
    boxes.clear();
    requests.clear();
    UiMessage::setHandler([this](const UiMessage::Box &box) {
        boxes << box;
        return QMessageBox::Ok;
    });
    UiFileDialog::setHandler([this](const UiFileDialog::Request &request) {
        requests << request;
        return answer;
    });
    tabs = std::make_unique<UiTabSend>(nullptr, int(Tx));
    tabs->setCurrentIndex(UiTabSend::FilePage);
}

void tst_UiTabSendFilePage::cleanup()
{
    tabs.reset();
    QCoreApplication::processEvents();
    UiMessage::setHandler({});
    UiFileDialog::setHandler({});
    UlGlobalSet::instance().IDFORMAT = 0;
    closeBus();
}

void tst_UiTabSendFilePage::expectFileSending()
{
    QVERIFY(UlGlobalSet::instance().channel[Tx].sending);
    for (int i = UiTabSend::BasePage; i <= UiTabSend::FilePage; ++i) {
        const UiTabSendPage *p = tabs->sendPage(i);
        if (p->sendButton())
            QVERIFY(!p->sendButton()->isEnabled());
        if (p->stopButton())
            QCOMPARE(p->stopButton()->isEnabled(), i == UiTabSend::FilePage);
    }
}

QStringList tst_UiTabSendFilePage::shownBoxes() const
{
    QStringList shown;
    for (const UiMessage::Box &box : boxes)
        shown << box.title << box.text;
    return shown;
}

void tst_UiTabSendFilePage::choose(int type, const QString &file, int repeat, const QString &count)
{
    field<QComboBox>("m_ctrlType")->setCurrentIndex(type);
    answer = file;
    field<QPushButton>("BrowseButton")->click();
    field<QComboBox>("m_ctrlSendMode_2")->setCurrentIndex(repeat);
    if (!count.isNull())
        field<QLineEdit>("m_Bumber")->setText(count);
}

void tst_UiTabSendFilePage::waitIdle(int timeoutMs)
{
    QTRY_VERIFY_WITH_TIMEOUT(!page()->isRunning(), timeoutMs);
    QCOMPARE(tabs->activeSender(), UiTabSend::NoSender);
    QVERIFY(!UlGlobalSet::instance().channel[Tx].sending);
    QVERIFY(field<QPushButton>("SendButton")->isEnabled());
    QVERIFY(!field<QPushButton>("StopButton")->isEnabled());
    QVERIFY(field<QProgressBar>("progressBar")->isHidden());
}

std::vector<VCI_CAN_OBJ> tst_UiTabSendFilePage::replayOnce(int type, const QString &file, int frames)
{
    choose(type, file);
    send();
    const std::vector<VCI_CAN_OBJ> bus = listen(frames);
    waitIdle();
    return bus;
}

void tst_UiTabSendFilePage::commonFileInFrames_data()
{
    QTest::addColumn<int>("idFormat");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("id");
    QTest::addColumn<uint>("busId");
    QTest::newRow("standard") << 0 << 0 << "123" << 0x123u;
    QTest::newRow("extended") << 0 << 1 << "1abcdef0" << 0x1ABCDEF0u;
    QTest::newRow("left-aligned standard") << 1 << 0 << "2461" << 0x123u;
}

// 20 bytes: frames of 8, 8 and 4 bytes on the page's ID, format and send
// mode, each after the Interval.
void tst_UiTabSendFilePage::commonFileInFrames()
{
    QFETCH(int, idFormat);
    QFETCH(int, format);
    QFETCH(QString, id);
    QFETCH(uint, busId);
    UlGlobalSet::instance().IDFORMAT = idFormat;
    QByteArray bytes;
    for (int i = 0; i < 20; ++i)
        bytes += char(0x30 + i);
    choose(UlSendFileThread::BinaryFile, files.write(bytes, ".bin"));
    field<QComboBox>("m_ctrlFormat")->setCurrentIndex(format);
    field<QLineEdit>("m_ctrlId")->setText(id);
    field<QSpinBox>("m_ctrlInterval")->setValue(50);
    field<QComboBox>("m_ctrlSendMode")->setCurrentIndex(2);  // self-reception
    QSignalSpy started(page(), &UiTabSendFilePage::startSignal);
    QSignalSpy ended(page(), &UiTabSendFilePage::tailSignal);
    QElapsedTimer timer;
    timer.start();
    send();
    QCOMPARE(tabs->activeSender(), UiTabSend::FileSender);
    expectFileSending();
    const std::vector<VCI_CAN_OBJ> bus = listen(3);
    waitIdle();
    QVERIFY(timer.elapsed() >= 145);  // a pause before each frame
    QCOMPARE(ended.count(), 1);
    QVERIFY(started.count() >= 1);
    QVERIFY(boxes.isEmpty());
    QCOMPARE(int(bus.size()), 3);
    const int lengths[] = {8, 8, 4};
    for (int i = 0; i < 3; ++i) {
        const VCI_CAN_OBJ &f = bus[size_t(i)];
        QCOMPARE(f.ID, busId);
        QCOMPARE(int(f.ExternFlag), format);
        QCOMPARE(bytesOf(f), bytes.mid(8 * i, lengths[i]));
    }
    // Paced, not in one burst of under 1 ms (0.1 ms units): 100 ms due. A
    // late first frame shortens the span, as the schedule holds; 10 ms is
    // left when a loaded machine held it back 90 ms. Up to 1 s late at the
    // end.
    const int64_t span = int64_t(bus[2].DeviceTime) - bus[0].DeviceTime;
    QVERIFY2(span >= 100 && span < 10000, qPrintable(QString::number(span)));
    // Self-reception: the sender hears its frames as well.
    VCI_CAN_OBJ back[8];
    QCOMPARE(VCI_Receive(Type, 0, Tx, back, 8, 10), 3u);
    if (idFormat == 1)
        QCOMPARE(field<QLineEdit>("m_ctrlId")->text(), QStringLiteral("2460"));
}

void tst_UiTabSendFilePage::recordedGapsKept()
{
    const QString path = writeAsc(files.filePath(QStringLiteral("saved.asc")), 6, 10);
    QVERIFY(!path.isEmpty());
    choose(UlSendFileThread::AscFile, path);
    QElapsedTimer clock;
    clock.start();
    send();
    const std::vector<VCI_CAN_OBJ> bus = listen(6);
    const qint64 heardMs = clock.elapsed();
    waitIdle();
    QCOMPARE(int(bus.size()), 6);
    // Lost gaps end the replay early. The bus stamps cannot show it: after
    // a late first frame the others catch up with the file's schedule.
    QVERIFY2(heardMs >= 50, qPrintable(QString::number(heardMs)));
    QVector<int64_t> gaps;
    for (size_t i = 1; i < bus.size(); ++i) {
        QCOMPARE(bus[i].ID, 0x100u + uint32_t(i));
        gaps << int64_t(bus[i].DeviceTime) - bus[i - 1].DeviceTime;
    }
    std::sort(gaps.begin(), gaps.end());
    // 0.1 ms units; the typical gap is no longer than 20 ms: a late frame
    // makes one gap longer and the next ones shorter, and 20 ms is still
    // far from the 100 ms of a gap read in the wrong unit.
    const int64_t median = gaps.at(gaps.size() / 2);
    QVERIFY2(median <= 200, qPrintable(QString::number(median)));
}

// An ASC log of another tool goes out as the core's reader reads it.
void tst_UiTabSendFilePage::otherToolsAscFile()
{
    const QString path = QStringLiteral(MEROVAST_TESTDATA_DIR "/asc/python-can/test_CanRemoteMessage.asc");
    if (!QFileInfo::exists(path))
        QSKIP("python-can's ASC files are not there");
    ASCFile reader;
    QVERIFY(reader.open(path));
    QVERIFY(reader.prepare());
    QList<CanObj> expected;
    for (CanObj f; reader.getFrame(f);)
        expected << f;
    QVERIFY(!reader.hasError());
    QVERIFY(!expected.isEmpty());

    choose(UlSendFileThread::AscFile, path);
    send();
    const std::vector<VCI_CAN_OBJ> bus = listen(expected.size());
    waitIdle();
    QCOMPARE(int(bus.size()), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(bus[size_t(i)].ID, expected[i].ID);
        QCOMPARE(bus[size_t(i)].ExternFlag, expected[i].ExternFlag);
        QCOMPARE(bus[size_t(i)].RemoteFlag, expected[i].RemoteFlag);
        QCOMPARE(bus[size_t(i)].DataLen, expected[i].DataLen);
    }
    QVERIFY(boxes.isEmpty());
}

void tst_UiTabSendFilePage::csvReplaysRecordedIds_data()
{
    QTest::addColumn<int>("idFormat");
    QTest::addColumn<int>("timeMode");
    QTest::newRow("right-aligned IDs") << 0 << 3;
    QTest::newRow("left-aligned IDs") << 1 << 3;
    QTest::newRow("left-aligned IDs, clock times") << 1 << 2;
}

// A CSV file the program saved under either ID format goes out with the IDs
// it recorded, standard and extended.
void tst_UiTabSendFilePage::csvReplaysRecordedIds()
{
    QFETCH(int, idFormat);
    QFETCH(int, timeMode);
    UlGlobalSet::instance().IDFORMAT = idFormat;
    const QList<CanObj> recorded = {
        TestFrames::frame(0x123, "\x01"), TestFrames::frame(0x7FF, "\x02"),
        TestFrames::frame(0x1ABCDEF0, "\x03", true), TestFrames::frame(0x1FFFFFFF, "\x04", true),
        TestFrames::frame(0, "\x05", true)};
    const QString path = files.filePath(QStringLiteral("ids%1%2.csv").arg(idFormat).arg(timeMode));
    RecordFileWriter writer(RecordFileWriter::CsvFormat, timeMode, idFormat);
    QVERIFY(writer.open(path, true));
    QVERIFY(writer.writeHeader());
    for (int i = 0; i < recorded.size(); ++i) {
        CanObj f = recorded[i];
        f.DeviceTime = 10 * uint32_t(i + 1);  // 1 ms apart
        QVERIFY(writer.write(TestFrames::bufferRow(f, false, QTime(12, 0).addMSecs(i).toString("hh:mm:ss:zzz"))));
    }
    QVERIFY(writer.close());

    const std::vector<VCI_CAN_OBJ> bus = replayOnce(UlSendFileThread::CsvFile, path, recorded.size());
    QVERIFY(boxes.isEmpty());
    QCOMPARE(int(bus.size()), recorded.size());
    for (int i = 0; i < recorded.size(); ++i) {
        QCOMPARE(bus[size_t(i)].ID, recorded[i].ID);
        QCOMPARE(bus[size_t(i)].ExternFlag, recorded[i].ExternFlag);
        QCOMPARE(bytesOf(bus[size_t(i)]), QByteArray(1, char(i + 1)));
    }
}

// Two real-time recordings appended to one CSV file, the second with clock
// times and left-aligned IDs: every frame of both goes out.
void tst_UiTabSendFilePage::appendedRecordingsReplayWhole()
{
    const QString path = files.filePath(QStringLiteral("twice.csv"));
    const QList<UlCanObj> recorded = recordTwiceInto(path, 2, 60);
    const std::vector<VCI_CAN_OBJ> bus = replayOnce(UlSendFileThread::CsvFile, path, recorded.size());
    QVERIFY(boxes.isEmpty());
    QCOMPARE(int(bus.size()), recorded.size());
    for (int i = 0; i < recorded.size(); ++i) {
        const VCI_CAN_OBJ &want = recorded.at(i).obj;
        QCOMPARE(bus[size_t(i)].ID, want.ID);
        QCOMPARE(bus[size_t(i)].ExternFlag, want.ExternFlag);
        QCOMPARE(bus[size_t(i)].RemoteFlag, want.RemoteFlag);
        QCOMPARE(bus[size_t(i)].DataLen, want.DataLen);
    }
}

// Three replays, each from the first frame; a fourth Send makes three more.
void tst_UiTabSendFilePage::repeatedlyThree()
{
    const QString path = writeAsc(files.filePath(QStringLiteral("two.asc")), 2, 5);
    choose(UlSendFileThread::AscFile, path, UiTabSendFilePage::Repeatedly, QStringLiteral("3"));
    QSignalSpy ended(page(), &UiTabSendFilePage::tailSignal);
    QueuedSpy finished(page()->replayThread(), &QThread::finished);
    // Each end report reaches the page while its thread is still returning.
    connect(page()->replayThread(), &UlSendFileThread::tailSignal, this, [] { QThread::msleep(30); },
            Qt::DirectConnection);
    send();
    std::vector<VCI_CAN_OBJ> bus = listen(6);
    waitIdle();
    QCOMPARE(int(bus.size()), 6);
    for (size_t i = 0; i < bus.size(); ++i)
        QCOMPARE(bus[i].ID, 0x100u + uint32_t(i % 2));
    QCOMPARE(ended.count(), 1);
    QTRY_COMPARE(finished.count(), 3);
    QCOMPARE(page()->sentTimes(), 0);

    send();
    bus = listen(6);
    waitIdle();
    QCOMPARE(int(bus.size()), 6);
    QTRY_COMPARE(finished.count(), 6);
    QCOMPARE(transmitted(), 12u);
}

void tst_UiTabSendFilePage::stopEndsCirculation()
{
    QByteArray bytes(16, '\x11');
    choose(UlSendFileThread::BinaryFile, files.write(bytes, ".bin"), UiTabSendFilePage::Circulation);
    field<QSpinBox>("m_ctrlInterval")->setValue(5);
    QCOMPARE(field<QLineEdit>("m_Bumber")->text(), QStringLiteral(" "));
    send();
    QVERIFY(listen(7).size() >= 7);  // into the fourth replay
    QVERIFY(page()->isRunning());
    for (int tab : {UiTabSend::BasePage, UiTabSend::ErrorInfoPage, UiTabSend::FilePage}) {
        tabs->setCurrentIndex(tab);
        expectFileSending();
    }
    QElapsedTimer timer;
    timer.start();
    field<QPushButton>("StopButton")->click();
    // Stop waits for one pause slice (10 ms) at most; 1 s holds on a
    // loaded machine.
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    waitIdle(0);
    QVERIFY(!page()->replayThread()->isRunning());
    const uint64_t sent = transmitted();
    QTest::qWait(60);
    QCOMPARE(transmitted(), sent);
    QVERIFY(boxes.isEmpty());
}

// Every transmit fails: one "Send failed." for the whole endless run.
void tst_UiTabSendFilePage::transmitFailureInCirculation()
{
    QCOMPARE(VCISIM_SetTransmitLimit(Type, 0, Tx, 0), 1u);
    choose(UlSendFileThread::BinaryFile, files.write("12345678", ".bin"), UiTabSendFilePage::Circulation);
    QSignalSpy failed(tabs.get(), &UiTabSend::sendErrorSignal);
    send();
    waitIdle();
    QTest::qWait(100);
    QCOMPARE(failed.count(), 1);
    QVERIFY(boxes.isEmpty());
    QVERIFY(!page()->replayThread()->isRunning());
}

void tst_UiTabSendFilePage::readErrorEndsRun_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("bytes");  // one good frame, then the bad one
    QTest::addColumn<QString>("where");
    QTest::addColumn<uint>("firstId");  // of the good frame
    const QByteArray csv = UlCsvFormat::header(3, 0).toUtf8() + "1,Rx,0x64,,0x00000123,Data Frame,Standard,1,01\n";
    const QByteArray asc = UlAscFormat::header(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5))).toUtf8()
                           + "0.000000 1 123 Rx d 1 01\n";
    // .can records: ID, stamp, time flag, direction, remote, extended, length, data.
    const auto record = [](uint32_t id, char remote, char extended) {
        QByteArray r(UlCanFileFormat::RecordSize, '\0');
        qToLittleEndian<quint32>(id, r.data());
        r[10] = remote;
        r[11] = extended;
        r[12] = 1;
        return r;
    };
    const QByteArray can = UlCanFileFormat::header() + record(0x123, 0, 0);
    QTest::newRow("CSV line without data") << int(UlSendFileThread::CsvFile)
                                           << csv + "2,Rx,0x6E,,0x00000123,Data Frame,Standard,1\n" << "Line 3"
                                           << 0x123u;
    QTest::newRow("CSV standard ID 0x800") << int(UlSendFileThread::CsvFile)
                                           << csv + "2,Rx,0x6E,,0x00000800,Data Frame,Standard,1,01\n" << "Line 3"
                                           << 0x123u;
    QTest::newRow("CSV left-aligned standard ID 0x800")
        << int(UlSendFileThread::CsvFile)
        << UlCsvFormat::header(3, 1).toUtf8() + "1,Rx,0x64,,0x0000ffe0,Data Frame,Standard,1,01\n"
               + "2,Rx,0x6E,,0x00010000,Data Frame,Standard,1,01\n"
        << "Line 3" << 0x7FFu;
    QTest::newRow("ASC extended ID 0x20000000") << int(UlSendFileThread::AscFile)
                                                << asc + "0.010000 1 20000000x Rx d 1 01\n" << "Line 6"
                                                << 0x123u;
    QTest::newRow(".can standard ID 0x800") << int(UlSendFileThread::CanFile) << can + record(0x800, 0, 0)
                                           << "Record 2" << 0x123u;
    QTest::newRow(".can remote flag 2") << int(UlSendFileThread::CanFile) << can + record(0x124, 2, 0) << "Record 2"
                                       << 0x123u;
}

// A line or record the reader refuses: one "Cannot read file" naming it,
// the frames before it sent, and the endless run over.
void tst_UiTabSendFilePage::readErrorEndsRun()
{
    QFETCH(int, type);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, where);
    QFETCH(uint, firstId);
    const QString path = files.write(bytes, ".rec");
    choose(type, path, UiTabSendFilePage::Circulation);
    QSignalSpy failed(tabs.get(), &UiTabSend::sendErrorSignal);
    send();
    waitIdle();
    QTest::qWait(50);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, QStringLiteral("Warning"));
    QVERIFY(boxes.first().text.startsWith(QStringLiteral("Cannot read file %1,\n").arg(path)));
    QVERIFY2(boxes.first().text.contains(where), qPrintable(boxes.first().text));
    QVERIFY(failed.isEmpty());
    QCOMPARE(transmitted(), 1u);
    const std::vector<VCI_CAN_OBJ> bus = listen(1);
    QCOMPARE(int(bus.size()), 1);
    QCOMPARE(bus.front().ID, firstId);
}

void tst_UiTabSendFilePage::emptyFileSaysSoOnce_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("repeat");
    const QByteArray asc = (UlAscFormat::header(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5))) + UlAscFormat::footer())
                               .toUtf8();
    QTest::newRow("ASC, repeatedly") << int(UlSendFileThread::AscFile) << asc << int(UiTabSendFilePage::Repeatedly);
    QTest::newRow("ASC, circulation") << int(UlSendFileThread::AscFile) << asc << int(UiTabSendFilePage::Circulation);
    QTest::newRow("ASC, once") << int(UlSendFileThread::AscFile) << asc << int(UiTabSendFilePage::Once);
    QTest::newRow("CSV header only") << int(UlSendFileThread::CsvFile) << UlCsvFormat::header(2, 0).toUtf8()
                                     << int(UiTabSendFilePage::Circulation);
    QTest::newRow(".can header only") << int(UlSendFileThread::CanFile) << UlCanFileFormat::header()
                                      << int(UiTabSendFilePage::Repeatedly);
    QTest::newRow(".can of 0 bytes") << int(UlSendFileThread::CanFile) << QByteArray()
                                     << int(UiTabSendFilePage::Once);
    QTest::newRow("empty common file") << int(UlSendFileThread::BinaryFile) << QByteArray()
                                       << int(UiTabSendFilePage::Circulation);
}

// A file without frames: one hint, one replay, and the run is over.
void tst_UiTabSendFilePage::emptyFileSaysSoOnce()
{
    QFETCH(int, type);
    QFETCH(QByteArray, bytes);
    QFETCH(int, repeat);
    choose(type, files.write(bytes, ".rec"), repeat, repeat == UiTabSendFilePage::Repeatedly ? "5" : QString());
    QueuedSpy finished(page()->replayThread(), &QThread::finished);
    QSignalSpy ended(page(), &UiTabSendFilePage::tailSignal);
    send();
    waitIdle();
    QTest::qWait(100);
    QCOMPARE(shownBoxes(), QStringList({"Hint", "The file holds no frames: nothing was sent."}));
    QCOMPARE(ended.count(), 1);
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(transmitted(), 0u);

    // The next Send tries again, and says so again.
    send();
    waitIdle();
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes.last().text, QStringLiteral("The file holds no frames: nothing was sent."));
}

void tst_UiTabSendFilePage::fileEmptiedDuringRun_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("emptied");  // what the file holds from the second replay on
    QTest::addColumn<int>("repeat");
    QTest::newRow("common file, repeatedly") << int(UlSendFileThread::BinaryFile) << QByteArray()
                                             << int(UiTabSendFilePage::Repeatedly);
    QTest::newRow("ASC, circulation")
        << int(UlSendFileThread::AscFile)
        << (UlAscFormat::header(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5))) + UlAscFormat::footer()).toUtf8()
        << int(UiTabSendFilePage::Circulation);
}

// The file loses its frames between the first replay and the second: the
// run ends there, and the hint counts what the run sent.
void tst_UiTabSendFilePage::fileEmptiedDuringRun()
{
    QFETCH(int, type);
    QFETCH(QByteArray, emptied);
    QFETCH(int, repeat);
    const QString path = type == UlSendFileThread::AscFile
                             ? writeAsc(files.filePath(QStringLiteral("three.asc")), 3, 1)
                             : files.write(QByteArray(24, '\x11'), ".bin");
    QVERIFY(!path.isEmpty());
    choose(type, path, repeat, repeat == UiTabSendFilePage::Repeatedly ? "5" : QString());
    QueuedSpy finished(page()->replayThread(), &QThread::finished);
    // On the replay thread, after the first replay closed the file and
    // before its end report lets the page start the second one.
    std::atomic<int> ends{0};
    std::atomic<bool> written{false};
    const QMetaObject::Connection emptying = connect(
        page()->replayThread(), &UlSendFileThread::tailSignal, this,
        [&] {
            if (ends++ > 0)
                return;
            QFile file(path);
            written = file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                      && file.write(emptied) == emptied.size();
        },
        Qt::DirectConnection);
    send();
    const std::vector<VCI_CAN_OBJ> bus = listen(3);
    waitIdle();
    disconnect(emptying);
    QVERIFY(written);
    QTRY_COMPARE(finished.count(), 2);
    QCOMPARE(int(bus.size()), 3);
    QCOMPARE(transmitted(), 3u);
    QCOMPARE(shownBoxes(),
             QStringList({"Hint", "The file holds no more frames: the replay ended after 3 frames."}));
}

// A Common File's ID field follows an ID-format change: the frame on the
// bus carries the ID that was typed.
void tst_UiTabSendFilePage::idFormatChangeKeepsTheRealId()
{
    choose(UlSendFileThread::BinaryFile, files.write("\x01", ".bin"));
    field<QComboBox>("m_ctrlFormat")->setCurrentIndex(1);
    UlGlobalSet::instance().IDFORMAT = 1;
    Q_EMIT tabs->idFormatChangedSignal();
    field<QLineEdit>("m_ctrlId")->setText(QStringLiteral("d5e6f78"));
    UlGlobalSet::instance().IDFORMAT = 0;
    Q_EMIT tabs->idFormatChangedSignal();
    QCOMPARE(field<QLineEdit>("m_ctrlId")->text(), QStringLiteral("01abcdef"));
    send();
    const std::vector<VCI_CAN_OBJ> bus = listen(1);
    waitIdle();
    QCOMPARE(int(bus.size()), 1);
    QCOMPARE(bus.front().ID, 0x1ABCDEFu);
    QVERIFY(boxes.isEmpty());
}

void tst_UiTabSendFilePage::cannotOpenOrPrepare_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("removeFirst");
    QTest::newRow(".can file without its header") << int(UlSendFileThread::CanFile) << QByteArray(10, 'x') << false;
    QTest::newRow("file gone after the check") << int(UlSendFileThread::AscFile) << QByteArray("x") << true;
}

// The replay cannot begin: "Cannot read file" with the path, and idle.
void tst_UiTabSendFilePage::cannotOpenOrPrepare()
{
    QFETCH(int, type);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, removeFirst);
    const QString path = files.write(bytes, ".rec");
    choose(type, path, UiTabSendFilePage::Circulation);
    QSignalSpy failed(tabs.get(), &UiTabSend::sendErrorSignal);
    if (removeFirst) {
        // Between the page's check and the thread's open.
        connect(page(), &UiTabSendFilePage::startSignal, this, [path] { QFile::remove(path); });
    }
    send();
    waitIdle();
    QTest::qWait(50);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, QStringLiteral("Warning"));
    QVERIFY2(boxes.first().text.startsWith(QStringLiteral("Cannot read file %1,\n").arg(path)),
             qPrintable(boxes.first().text));
    QVERIFY(failed.isEmpty());
    QCOMPARE(transmitted(), 0u);
}

void tst_UiTabSendFilePage::refusalsBeforeRun_data()
{
    QTest::addColumn<QString>("file");  // "missing", "none" or a name to write
    QTest::addColumn<int>("repeat");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("idErrors");
    QTest::newRow("no file name") << "none" << 0 << QString() << "0000"
                                  << QStringList({"Warning", "Cannot read file,No file name specified."}) << 0;
    QTest::newRow("missing file") << "missing" << 0 << QString() << "0000"
                                  << QStringList({"Warning", "Cannot read file %1,\nNo such file or directory"}) << 0;
    QTest::newRow("ID out of range") << "a.bin" << 0 << QString() << "800" << QStringList({"Hint", "Data error"})
                                     << 1;
    QTest::newRow("no count") << "a.bin" << 2 << "" << "0000"
                              << QStringList({"hint", "The number of sending times is not specified"}) << 0;
    QTest::newRow("count not a number") << "a.bin" << 2 << "x3" << "0000"
                                        << QStringList({"hint", "The number of sending times is not specified"}) << 0;
}

void tst_UiTabSendFilePage::refusalsBeforeRun()
{
    QFETCH(QString, file);
    QFETCH(int, repeat);
    QFETCH(QString, count);
    QFETCH(QString, id);
    QFETCH(QStringList, shown);
    QFETCH(int, idErrors);
    QString path;
    if (file == QLatin1String("missing"))
        path = files.filePath(QStringLiteral("missing.bin"));
    else if (file != QLatin1String("none"))
        path = files.write("12345678", ".bin");
    choose(UlSendFileThread::BinaryFile, path, repeat, count);
    field<QLineEdit>("m_ctrlId")->setText(id);
    QSignalSpy refused(tabs.get(), &UiTabSend::maxIdErrorSignal);
    QSignalSpy started(page(), &UiTabSendFilePage::startSignal);
    send();
    if (shown[1].contains(QLatin1String("%1")))
        shown[1] = shown[1].arg(path);
    QCOMPARE(shownBoxes(), shown);
    QCOMPARE(refused.count(), idErrors);
    QVERIFY(started.isEmpty());
    QVERIFY(!page()->replayThread()->isRunning());
    QCOMPARE(tabs->activeSender(), UiTabSend::NoSender);
    QVERIFY(field<QPushButton>("SendButton")->isEnabled());
}

void tst_UiTabSendFilePage::typeAndCountFields()
{
    auto *type = field<QComboBox>("m_ctrlType");
    auto *name = field<QLineEdit>("m_ctrlFilename");
    name->setText(QStringLiteral("/some/file"));
    type->setCurrentIndex(UlSendFileThread::CsvFile);
    QVERIFY(name->text().isEmpty());
    for (const char *w : {"m_ctrlFormat", "m_ctrlId", "m_ctrlInterval"})
        QVERIFY2(!field<QWidget>(w)->isEnabled(), w);
    type->setCurrentIndex(UlSendFileThread::BinaryFile);
    for (const char *w : {"m_ctrlFormat", "m_ctrlId", "m_ctrlInterval"})
        QVERIFY2(field<QWidget>(w)->isEnabled(), w);

    auto *count = field<QLineEdit>("m_Bumber");
    auto *repeat = field<QComboBox>("m_ctrlSendMode_2");
    QCOMPARE(count->text(), QStringLiteral("1"));
    QVERIFY(count->isReadOnly());
    repeat->setCurrentIndex(UiTabSendFilePage::Repeatedly);
    QVERIFY(count->text().isEmpty());
    QVERIFY(!count->isReadOnly());
    QCOMPARE(count->placeholderText(), QStringLiteral("importability"));
    repeat->setCurrentIndex(UiTabSendFilePage::Once);
    QCOMPARE(count->text(), QStringLiteral("1"));
    QVERIFY(count->isReadOnly());

    auto *id = field<QLineEdit>("m_ctrlId");
    id->setText(QStringLiteral("43"));
    field<QComboBox>("m_ctrlFormat")->setCurrentIndex(1);
    QCOMPARE(id->text(), QStringLiteral("00000043"));
    QCOMPARE(field<QSpinBox>("m_ctrlFrames")->maximum(), 9999);
}

void tst_UiTabSendFilePage::fileFilters_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("file");  // a name the filter must show
    QTest::newRow("common file") << int(UlSendFileThread::BinaryFile) << "All File(*)" << "firmware";
    QTest::newRow("CSV") << int(UlSendFileThread::CsvFile) << "CSV File(*.CSV *.csv)" << "log.csv";
    QTest::newRow("ASC") << int(UlSendFileThread::AscFile) << "ASC File(*.ASC *.asc)" << "log.asc";
    QTest::newRow("CAN") << int(UlSendFileThread::CanFile) << "CAN File(*.CAN *.can)" << "log.can";
}

void tst_UiTabSendFilePage::fileFilters()
{
    QFETCH(int, type);
    QFETCH(QString, filter);
    QFETCH(QString, file);
    field<QComboBox>("m_ctrlType")->setCurrentIndex(type);
    auto *name = field<QLineEdit>("m_ctrlFilename");
    answer.clear();
    field<QPushButton>("BrowseButton")->click();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().mode, UiFileDialog::Open);
    QCOMPARE(requests.first().caption, QStringLiteral("Open"));
    QCOMPARE(requests.first().filter, filter);
    QVERIFY(name->text().isEmpty());  // cancelled: nothing changes
    QVERIFY(shows(filter, file));
    answer = QStringLiteral("/data/") + file;
    field<QPushButton>("BrowseButton")->click();
    QCOMPARE(name->text(), answer);
}

MEROVAST_GUI_TEST_MAIN(tst_UiTabSendFilePage)
#include "tst_uitabsendfilepage.moc"
