// The DBC frame-parsing window of channel 0 with a real DBC file while a
// feeder thread fills the channel's DBC queue at a steady rate, spread over
// the file's first messages (what the receive thread does on a busy bus).
// Measures, over the run: the GUI thread's CPU time as a share of the wall
// time, the deepest the DBC queue got, and the display lag: the age of the
// frame that each message row shows, sampled every 50 ms (each frame
// carries its feed time in bytes 4-7). Then loads a large file and
// measures the GUI-thread time the load takes.
//
//   bench_dbcwindow [--rate FPS] [--ids N] [--seconds S] [--dbc FILE] [--large FILE] [--scroll]
//                   [--messages N] [--huge-messages N]
//   bench_dbcwindow --screenshot FILE.png --dbc FILE [--chinese] [--scroll] [--inject]
//                   [--send-shot FILE.png] [--list-shot FILE.png]
//
// Then a generated file of --messages N messages (100,000 by default):
// its load time and the GUI thread's longest pause during it, the time the
// ID list takes to open on it, how long closing a window takes while that
// file loads, and the longest GUI pause while a small file replaces it
// (to the end, and closed during the new load). Last, a generated file of
// --huge-messages N messages (1,200,000, about 200 MB, by default): the
// longest GUI pause of closing a window 0.2, 1, 2 and 3 s into its load and
// after it loaded, until the file is freed.
//
// Exits with 1 when the GUI thread is busy 20 % of the time or more, the
// queue held more than 1000 frames, a row lagged 100 ms or more, the large
// load took 100 ms or more of the GUI thread, the ID list took 500 ms or
// more to open, a close during a load took 200 ms or more, a replacement
// or a close paused the GUI thread 100 ms or more, or a close was lost or
// followed by a box.
//
// --screenshot opens the simulated device instead: channel 0 at 500 kbit/s
// with its receive thread and background traffic on ID 0x123 (and with
// --inject a few J1939 frames from another node), shows the window for two
// seconds and saves a picture of it, and of the send dialog of its first
// row and of the ID list when asked.

#include "canreadthread.h"
#include "dbcdatabase.h"
#include "dbcdatawidget.h"
#include "dbcmessagekey.h"
#include "dbcreleasethread.h"
#include "dbcsendwidget.h"
#include "dbcwidget.h"
#include "devcan.h"
#include "guipause.h"
#include "uifiledialog.h"
#include "uilanguage.h"
#include "uimessage.h"
#include "ulbuffer.h"
#include "vcisim.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr int kChannel = 0;

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

quint32 nowMs()
{
    using namespace std::chrono;
    return quint32(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Runs the event loop (sleeping while there is nothing to do) until done
// or timeoutMs have passed.
void waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.start(10);
    QEventLoop loop;
    while (!done() && clock.elapsed() < timeoutMs)
        loop.processEvents(QEventLoop::WaitForMoreEvents);
}

void wait(int ms)
{
    waitFor([] { return false; }, ms);
}

bool loadFile(DBCWidget &window, const QString &file)
{
    UiFileDialog::setHandler([file](const UiFileDialog::Request &) { return file; });
    window.onToolButtonLoadDBC();
    waitFor([&] { return !window.isLoading(); }, 30000);
    return window.database() && window.loadedPath() == file && !window.isLoading();
}

struct Options {
    int rate = 20000;
    int ids = 100;
    int seconds = 10;
    QString dbc = QStringLiteral(MEROVAST_TESTDATA_DIR "/dbc/cantools/vehicle.dbc");
    QString large = QStringLiteral(MEROVAST_TESTDATA_DIR "/dbc/canmatrix/j1939.dbc");
    QString screenshot;
    QString sendShot;
    QString listShot;
    int messages = 100000;
    int hugeMessages = 1200000;  // about 200 MB
    bool chinese = false;
    bool scroll = false;
    bool inject = false;
};

// A DBC file of count messages with two signals each, as large files carry them.
bool writeGeneratedDbc(const QString &path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray text = "VERSION \"\"\n\nNS_ :\n\nBS_:\n\nBU_: ECU Tester\n\n";
    for (int i = 0; i < count; ++i) {
        const QByteArray id = QByteArray::number(0x80000000u | quint32(i));
        text += "BO_ " + id + " Generated_Message_" + QByteArray::number(i) + ": 8 ECU\n"
                " SG_ Counter_" + QByteArray::number(i % 97) + " : 0|8@1+ (1,0) [0|255] \"\" Tester\n"
                " SG_ Temperature : 8|16@1- (0.0078125,-40) [-40|215] \"degC\" Tester\n\n";
        if (text.size() > (1 << 20)) {
            file.write(text);
            text.clear();
        }
    }
    for (int i = 0; i < count; i += 10)
        text += "CM_ BO_ " + QByteArray::number(0x80000000u | quint32(i)) + " \"generated message\";\n";
    file.write(text);
    return file.error() == QFileDevice::NoError;
}

struct GeneratedRun {
    bool loaded = false;
    qint64 fileBytes = 0;
    qint64 loadMs = 0;
    qint64 longestPauseMs = 0;
    qint64 listOpenMs = 0;
    qint64 listBuildMs = 0;  // of listOpenMs, the dialog's constructor
    qint64 listCloseMs = 0;
    qint64 closeMs = -1;
    qint64 loadedCloseMs = 0;
    bool closeBoxes = false;
};

// Runs the event loop until the closed window has deleted itself.
void deleteClosed(const QPointer<DBCWidget> &window)
{
    QElapsedTimer clock;
    clock.start();
    while (window && clock.elapsed() < 10000) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Load, ID list and close-while-loading on a generated file.
GeneratedRun generatedRun(int count, const std::function<int()> &boxCount)
{
    GeneratedRun run;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("generated.dbc"));
    if (!writeGeneratedDbc(path, count))
        return run;
    run.fileBytes = QFileInfo(path).size();

    bool open = false;
    auto *window = new DBCWidget(DBCWidget::ReplayMode, 0, &open);
    window->resize(1180, 700);
    window->show();
    QTimer heartbeat;
    QElapsedTimer beat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { run.longestPauseMs = std::max(run.longestPauseMs, beat.restart()); });
    heartbeat.start(1);
    beat.start();
    QElapsedTimer clock;
    clock.start();
    run.loaded = loadFile(*window, path);
    run.loadMs = clock.elapsed();
    wait(20);  // the gap that ends with the load's result counts too
    heartbeat.stop();
    if (run.loaded) {
        clock.restart();
        {
            DBCDataWidget dialog(window->database()->messageTable, window);
            run.listBuildMs = clock.elapsed();
            dialog.show();
            QCoreApplication::processEvents();
            run.listOpenMs = clock.elapsed();
            clock.restart();
        }
        run.listCloseMs = clock.elapsed();
    }
    // Closing the window with the file loaded frees it on the GUI thread.
    QPointer<DBCWidget> loaded = window;
    clock.restart();
    window->close();
    deleteClosed(loaded);
    run.loadedCloseMs = clock.elapsed();

    // A fresh window closed half a second into the load.
    QPointer<DBCWidget> loading = new DBCWidget(DBCWidget::ReplayMode, 0, &open);
    loading->show();
    UiFileDialog::setHandler([path](const UiFileDialog::Request &) { return path; });
    loading->onToolButtonLoadDBC();
    wait(500);
    if (loading && loading->isLoading()) {
        const int boxesBefore = boxCount();
        clock.restart();
        loading->close();
        deleteClosed(loading);
        run.closeMs = clock.elapsed();
        wait(100);
        run.closeBoxes = boxCount() != boxesBefore;
    } else if (loading) {
        loading->close();
        deleteClosed(loading);
    }
    return run;
}

// Runs the event loop until the release thread has freed what it was given.
void waitReleased()
{
    std::atomic<bool> released{false};
    std::thread waiter([&released] {
        DBCReleaseThread::wait();
        released = true;
    });
    waitFor([&released] { return released.load(); }, 60000);
    waiter.join();
}

struct CloseRun {
    qint64 atMs = -1;      // into the load; -1 after it ended
    bool loading = false;  // the load still ran at the close
    qint64 longestPauseMs = 0;
    qint64 freedMs = 0;    // from the close until everything was freed
    bool closed = false;
    bool boxes = false;
};

// A fresh replay window loading path, closed atMs into the load (or, with
// -1, after it ended); the GUI pause counts until everything is freed.
CloseRun closeRun(const QString &path, qint64 atMs, const std::function<int()> &boxCount)
{
    CloseRun run;
    run.atMs = atMs;
    bool open = false;
    QPointer<DBCWidget> window = new DBCWidget(DBCWidget::ReplayMode, 0, &open);
    window->show();
    if (atMs < 0) {
        loadFile(*window, path);
    } else {
        UiFileDialog::setHandler([path](const UiFileDialog::Request &) { return path; });
        window->onToolButtonLoadDBC();
        wait(int(atMs));
    }
    run.loading = window && window->isLoading();
    const int boxesBefore = boxCount();
    QElapsedTimer clock;
    clock.start();
    GuiPause pauses(GuiPause::Wall);
    window->close();
    deleteClosed(window);
    run.closed = window.isNull();
    waitReleased();
    run.freedMs = clock.elapsed();
    wait(50);
    run.longestPauseMs = pauses.longestMs();
    run.boxes = boxCount() != boxesBefore;
    return run;
}

struct ReplaceRun {
    bool replaced = false;
    qint64 longestPauseMs = 0;
    qint64 replaceMs = 0;  // from the click until the old file was freed
    bool closedDuringReplace = false;
    bool boxAfterClose = false;
    qint64 closeLongestPauseMs = 0;
};

// A window with the file at large loaded gets the file at small: once to
// the end, once closed while the new file loads.
ReplaceRun replaceRun(const QString &large, const QString &small, const std::function<int()> &boxCount)
{
    ReplaceRun run;
    for (int round = 0; round < 2; ++round) {
        bool open = false;
        QPointer<DBCWidget> window = new DBCWidget(DBCWidget::ReplayMode, 0, &open);
        window->resize(1180, 700);
        window->show();
        if (!loadFile(*window, large))
            return run;
        UiFileDialog::setHandler([small](const UiFileDialog::Request &) { return small; });
        QElapsedTimer clock;
        clock.start();
        GuiPause pauses(GuiPause::Wall);
        window->onToolButtonLoadDBC();
        if (round == 0) {
            waitFor([&] { return !window->isLoading(); }, 30000);
            run.replaced = window->loadedPath() == small;
            waitReleased();
            run.replaceMs = clock.elapsed();
            wait(50);
            run.longestPauseMs = pauses.longestMs();
            window->close();
            deleteClosed(window);
            waitReleased();
        } else {
            const int boxesBefore = boxCount();
            window->close();
            deleteClosed(window);
            run.closedDuringReplace = window.isNull();
            waitReleased();
            wait(50);
            run.closeLongestPauseMs = pauses.longestMs();
            run.boxAfterClose = boxCount() != boxesBefore;
        }
    }
    return run;
}

int screenshot(DBCWidget &window, const Options &options)
{
    DevCan &device = DevCan::instance();
    if (device.openDevice(VCI_KELMO_USB1, 0, 0) != 1) {
        std::fprintf(stderr, "cannot open the simulated device\n");
        return 1;
    }
    VCI_INIT_CONFIG config{};
    config.MaskCode = 0xFFFFFFFF;
    config.FilterMode = 1;
    config.BTR0 = 0x00;
    config.BTR1 = 0x1C;
    device.initCAN(kChannel, &config);
    device.StartCAN(kChannel);
    CanReadThread reader(kChannel);
    reader.start(QThread::HighPriority);
    VCISIM_SetBackgroundTraffic(VCI_KELMO_USB1, 0, 500000, 0x123, 50);

    if (!loadFile(window, options.dbc)) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(options.dbc));
        return 1;
    }
    QTimer injector;
    if (options.inject) {
        // A J1939 node: engine speed and a broadcast transport message.
        QObject::connect(&injector, &QTimer::timeout, [] {
            static quint8 n = 0;
            ++n;
            VCI_CAN_OBJ frames[4] = {};
            frames[0].ID = 0x0CF00400;
            frames[0].ExternFlag = 1;
            frames[0].DataLen = 8;
            const quint8 eec1[8] = {0xF0, 0x7D, 0x7D, quint8(0x20 + n), 0x1A, 0x00, 0xF0, 0x7D};
            std::memcpy(frames[0].Data, eec1, 8);
            frames[1].ID = 0x18FEEE00;
            frames[1].ExternFlag = 1;
            frames[1].DataLen = 8;
            const quint8 et1[8] = {quint8(0x70 + n % 4), 0x80, 0x20, 0x4E, 0xFF, 0xFF, 0xFF, 0xFF};
            std::memcpy(frames[1].Data, et1, 8);
            if (VCISIM_InjectFrames(VCI_KELMO_USB1, 0, kChannel, frames, 2) != 2)
                std::fprintf(stderr, "injection failed\n");
        });
        injector.start(100);
    }
    window.resize(1180, 560);
    window.show();
    wait(1000);
    for (int i = 0; i < 3; ++i) {
        if (QTreeWidgetItem *row = window.findChild<QTreeWidget *>()->topLevelItem(i))
            row->setExpanded(true);
    }
    wait(1000);
    bool saved = window.grab().save(options.screenshot);
    std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(options.screenshot));
    // The send dialog of the first row, with a value edited, and the ID list.
    auto *tree = window.findChild<QTreeWidget *>();
    if (!options.sendShot.isEmpty() && tree->topLevelItemCount() > 0) {
        QTreeWidgetItem *row = tree->topLevelItem(0);
        const auto entry = window.database()->messageTable.value(row->data(0, DBCWidget::KeyRole).toUInt());
        DBCSendWidget dialog(row, entry.message, kChannel, &window);
        dialog.show();
        QTreeWidgetItem *message = dialog.findChild<QTreeWidget *>()->topLevelItem(0);
        if (message->childCount() > 2)
            message->child(message->childCount() - 3)->setText(DBCSendWidget::ValueColumn, QStringLiteral("12.5"));
        wait(300);
        const bool ok = dialog.grab().save(options.sendShot);
        std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(options.sendShot));
        saved &= ok;
    }
    if (!options.listShot.isEmpty()) {
        DBCDataWidget dialog(window.database()->messageTable, &window);
        dialog.show();
        wait(300);
        const bool ok = dialog.grab().save(options.listShot);
        std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(options.listShot));
        saved &= ok;
    }
    injector.stop();
    reader.stop();
    reader.waitForFinish();
    window.close();
    QCoreApplication::processEvents();
    device.closeDevice();
    return saved ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--rate") && hasValue)
            options.rate = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--ids") && hasValue)
            options.ids = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--seconds") && hasValue)
            options.seconds = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--dbc") && hasValue)
            options.dbc = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--large") && hasValue)
            options.large = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--screenshot") && hasValue)
            options.screenshot = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--send-shot") && hasValue)
            options.sendShot = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--list-shot") && hasValue)
            options.listShot = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--messages") && hasValue)
            options.messages = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--huge-messages") && hasValue)
            options.hugeMessages = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--chinese"))
            options.chinese = true;
        else if (!std::strcmp(argv[i], "--scroll"))
            options.scroll = true;
        else if (!std::strcmp(argv[i], "--inject"))
            options.inject = true;
        else {
            std::fprintf(stderr,
                         "usage: %s [--rate FPS] [--ids N] [--seconds S] [--dbc FILE] [--large FILE] [--scroll]\n"
                         "          [--messages N] [--huge-messages N]\n"
                         "       %s --screenshot FILE.png --dbc FILE [--chinese] [--scroll] [--inject]\n"
                         "          [--send-shot FILE.png] [--list-shot FILE.png]\n",
                         argv[0], argv[0]);
            return 2;
        }
    }
    if (options.screenshot.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTranslator translator;
    if (options.chinese && translator.load(QStringLiteral(":/translations/Merovast_zh.qm")))
        QCoreApplication::installTranslator(&translator);
    UiLanguage::setCode(options.chinese ? UiLanguage::Chinese : UiLanguage::Other);
    static int boxes = 0;
    UiMessage::setHandler([](const UiMessage::Box &box) {
        ++boxes;
        if (box.title != QLatin1String("Tips") && box.title != QStringLiteral("提示"))
            std::printf("box: %s: %s\n", qPrintable(box.title), qPrintable(box.text));
        return QMessageBox::Ok;
    });

    bool open = false;
    auto *window = new DBCWidget(DBCWidget::LiveMode, kChannel, &open);
    if (options.scroll)
        window->findChild<QComboBox *>(QStringLiteral("m_comboBoxDisplayType"))->setCurrentIndex(1);
    if (!options.screenshot.isEmpty())
        return screenshot(*window, options);

    window->resize(1180, 700);
    window->show();
    if (!loadFile(*window, options.dbc)) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(options.dbc));
        return 1;
    }
    struct Target {
        quint32 id;
        bool extended;
    };
    std::vector<Target> targets;
    for (auto it = window->database()->messageTable.cbegin();
         it != window->database()->messageTable.cend() && int(targets.size()) < options.ids; ++it)
        targets.push_back({DBCMessageKey::idOf(it.key()), DBCMessageKey::isExtended(it.key())});
    if (targets.empty()) {
        std::fprintf(stderr, "no messages in %s\n", qPrintable(options.dbc));
        return 1;
    }

    // Feeder: batches every millisecond against a steady clock.
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    std::atomic<bool> feeding{true};
    std::atomic<int> maxQueue{0};
    std::atomic<qint64> fed{0};
    std::thread feeder([&] {
        using namespace std::chrono;
        const auto start = steady_clock::now();
        qint64 n = 0;
        std::vector<VCI_CAN_OBJ> batch;
        while (feeding) {
            const double elapsed = duration<double>(steady_clock::now() - start).count();
            const qint64 due = qint64(elapsed * options.rate);
            batch.clear();
            const quint32 stamp = nowMs();
            for (; n < due; ++n) {
                const Target &target = targets[std::size_t(n) % targets.size()];
                VCI_CAN_OBJ f{};
                f.ID = target.id;
                f.ExternFlag = target.extended ? 1 : 0;
                f.DeviceTime = quint32(n);
                f.DataLen = 8;
                std::memcpy(f.Data, &n, 4);
                std::memcpy(f.Data + 4, &stamp, 4);
                batch.push_back(f);
            }
            for (std::size_t i = 0; i < batch.size(); i += 32)
                buffer.addDBCFrame(batch.data() + i, int(std::min<std::size_t>(32, batch.size() - i)));
            fed += qint64(batch.size());
            maxQueue = std::max(maxQueue.load(), buffer.countDBC());
            std::this_thread::sleep_for(milliseconds(1));
        }
    });

    // Display lag of every row, sampled on the GUI thread.
    auto *tree = window->findChild<QTreeWidget *>();
    quint32 maxLag = 0;
    qint64 samples = 0;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const quint32 now = nowMs();
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            const QByteArray bytes =
                    QByteArray::fromHex(tree->topLevelItem(i)->text(DBCWidget::DataColumn).toLatin1());
            if (bytes.size() < 8)
                continue;
            quint32 stamp;
            std::memcpy(&stamp, bytes.constData() + 4, 4);
            maxLag = std::max(maxLag, now - stamp);
            ++samples;
        }
    });

    // Warm-up: every row made once.
    wait(500);
    sampler.start(50);
    const double cpuStart = threadCpuMs();
    QElapsedTimer wall;
    wall.start();
    wait(options.seconds * 1000);
    const double busy = (threadCpuMs() - cpuStart) / double(wall.elapsed());
    sampler.stop();
    feeding = false;
    feeder.join();
    const int rows = tree->topLevelItemCount();
    const double repaintStart = threadCpuMs();
    for (int i = 0; i < 20; ++i)
        tree->viewport()->repaint();
    const double repaintMs = (threadCpuMs() - repaintStart) / 20;

    // A large file: GUI-thread time from the click to the swapped-in model.
    QTimer heartbeat;
    QElapsedTimer beat;
    qint64 longestGap = 0;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, beat.restart());
    });
    heartbeat.start(1);
    beat.start();
    const double loadCpu = threadCpuMs();
    QElapsedTimer loadWall;
    loadWall.start();
    const bool largeLoaded = loadFile(*window, options.large);
    const double loadBlock = threadCpuMs() - loadCpu;
    const qint64 loadTime = loadWall.elapsed();
    heartbeat.stop();

    window->close();
    QCoreApplication::processEvents();

    const qint64 frames = fed.load();
    std::printf("%lld frames over %zu IDs at %d frames/s, %s display, %d rows\n", (long long)frames,
                targets.size(), options.rate, options.scroll ? "scroll" : "classified", rows);
    std::printf("GUI thread busy %.1f %% (target under 20 %%); one repaint of the tree %.2f ms\n", busy * 100.0,
                repaintMs);
    std::printf("DBC queue at most %d frames (target at most 1000), %lld dropped\n", maxQueue.load(),
                (long long)buffer.droppedDBC());
    std::printf("display lag at most %u ms over %lld samples (target under 100 ms)\n", maxLag,
                (long long)samples);
    std::printf("load of %s: %s in %lld ms, GUI thread %.1f ms (target under 100 ms), longest GUI pause %lld ms\n",
                qPrintable(options.large), largeLoaded ? "loaded" : "FAILED", (long long)loadTime, loadBlock,
                (long long)longestGap);
    const GeneratedRun generated = generatedRun(options.messages, [] { return boxes; });
    std::printf("generated file of %d messages (%.1f MB): %s in %lld ms, longest GUI pause %lld ms\n",
                options.messages, double(generated.fileBytes) / 1e6, generated.loaded ? "loaded" : "FAILED",
                (long long)generated.loadMs, (long long)generated.longestPauseMs);
    std::printf("closing the window with it loaded: %lld ms\n", (long long)generated.loadedCloseMs);
    std::printf("ID list on it opens in %lld ms (target under 500 ms; %lld ms of it filling the table), closes in %lld ms\n",
                (long long)generated.listOpenMs, (long long)generated.listBuildMs, (long long)generated.listCloseMs);
    if (generated.closeMs >= 0)
        std::printf("close while it loads: %lld ms (target under 200 ms), %s\n", (long long)generated.closeMs,
                    generated.closeBoxes ? "a box appeared after the close" : "no box after the close");
    else
        std::printf("close while it loads: the load ended within 500 ms, nothing measured\n");
    const bool generatedOk = generated.loaded && generated.listOpenMs < 500 && generated.closeMs < 200
            && !generated.closeBoxes;

    QTemporaryDir dir;
    const QString generatedPath = dir.filePath(QStringLiteral("generated.dbc"));
    const QString smallPath = dir.filePath(QStringLiteral("small.dbc"));
    bool replaceOk = false;
    if (writeGeneratedDbc(generatedPath, options.messages) && writeGeneratedDbc(smallPath, 10)) {
        const ReplaceRun replace = replaceRun(generatedPath, smallPath, [] { return boxes; });
        std::printf("replacing it with a small file: %s, %lld ms until it was freed, longest GUI pause %lld ms "
                    "(target under 100 ms)\n",
                    replace.replaced ? "replaced" : "FAILED", (long long)replace.replaceMs,
                    (long long)replace.longestPauseMs);
        std::printf("closing during the replacement: %s, %s, longest GUI pause %lld ms (target under 100 ms)\n",
                    replace.closedDuringReplace ? "closed" : "NOT CLOSED",
                    replace.boxAfterClose ? "a box appeared after the close" : "no box after the close",
                    (long long)replace.closeLongestPauseMs);
        replaceOk = replace.replaced && replace.longestPauseMs < 100 && replace.closedDuringReplace
                && !replace.boxAfterClose && replace.closeLongestPauseMs < 100;
    }
    QFile::remove(generatedPath);

    bool hugeOk = false;
    const QString hugePath = dir.filePath(QStringLiteral("huge.dbc"));
    if (options.hugeMessages > 0 && writeGeneratedDbc(hugePath, options.hugeMessages)) {
        hugeOk = true;
        std::printf("generated file of %d messages (%.1f MB):\n", options.hugeMessages,
                    double(QFileInfo(hugePath).size()) / 1e6);
        for (const qint64 atMs : {200, 1000, 2000, 3000, -1}) {
            const CloseRun close = closeRun(hugePath, atMs, [] { return boxes; });
            if (atMs < 0)
                std::printf("  closed after it loaded");
            else
                std::printf("  closed %.1f s into the load (%s)", double(atMs) / 1000,
                            close.loading ? "still loading" : "the load had ended");
            std::printf(": longest GUI pause %lld ms (target under 100 ms), freed %lld ms after the close, %s%s\n",
                        (long long)close.longestPauseMs, (long long)close.freedMs,
                        close.closed ? "closed" : "NOT CLOSED",
                        close.boxes ? ", a box appeared after the close" : "");
            hugeOk = hugeOk && close.closed && !close.boxes && close.longestPauseMs < 100;
        }
    } else if (options.hugeMessages > 0) {
        std::printf("cannot write the generated file of %d messages\n", options.hugeMessages);
    }
    if (options.hugeMessages <= 0)
        hugeOk = true;
    const bool ok = busy < 0.20 && maxQueue.load() <= 1000 && maxLag < 100 && largeLoaded && loadBlock < 100.0
            && generatedOk && replaceOk && hugeOk;
    std::printf("%s\n", ok ? "all targets met" : "TARGET MISSED");
    return ok ? 0 : 1;
}
