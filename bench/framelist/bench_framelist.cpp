// Frame-list refresh cost on the GUI thread: a full display ring (30000
// frames by default) while a feeder thread adds frames at a steady rate.
// Each refresh is one tick (updateList) and the synchronous repaint of the
// rows in view; both are timed in thread CPU time and wall time.
//
//   bench_framelist [--rate FPS] [--refreshes N] [--rows R] [--ring N] [--watch] [--decimal]
//                   [--screenshot FILE.png [--chinese]]
//
// Exits with 1 when a refresh with its repaint costs 2 ms or more on
// average. --screenshot runs the list on its own timer for a second under
// the same traffic (mixed frames) and saves a picture of it instead.

#include "uicanobjlistwidget.h"
#include "ulbuffer.h"
#include "ulglobalset.h"

#include <QApplication>
#include <QTranslator>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QThread>

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr int kChannel = 0;
constexpr double kTargetMs = 2.0;

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double wallMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

VCI_CAN_OBJ frameNumber(quint32 n, bool manyIds, bool mixed = false)
{
    VCI_CAN_OBJ f{};
    f.ID = manyIds ? n % 30000 : 0x100 + n % 64;
    f.ExternFlag = manyIds ? 1 : 0;
    if (mixed) {
        // Some extended and remote frames among standard data frames.
        f.ExternFlag = n % 5 == 0 ? 1 : 0;
        f.ID = f.ExternFlag ? 0x18FF0000u + n % 7 : 0x100 + n % 13;
        f.RemoteFlag = n % 17 == 0 ? 1 : 0;
    }
    f.DeviceTime = n + 1;
    f.HasDeviceTime = 1;
    f.DataLen = 8;
    std::memcpy(f.Data, &n, sizeof n);
    f.Data[7] = 0x5A;
    return f;
}

struct Stats {
    std::vector<double> samples;
    void add(double v) { samples.push_back(v); }
    double mean() const
    {
        double sum = 0;
        for (double v : samples)
            sum += v;
        return samples.empty() ? 0 : sum / double(samples.size());
    }
    double percentile(double p) const
    {
        if (samples.empty())
            return 0;
        std::vector<double> sorted = samples;
        std::sort(sorted.begin(), sorted.end());
        return sorted[std::min(sorted.size() - 1, std::size_t(p * double(sorted.size())))];
    }
    void print(const char *name) const
    {
        std::printf("%-34s mean %6.3f ms  median %6.3f  p99 %6.3f  max %6.3f\n", name, mean(), percentile(0.5),
                    percentile(0.99), percentile(1.0));
    }
};

} // namespace

int main(int argc, char *argv[])
{
    int rate = 20000;
    int refreshes = 500;
    int rows = 0;
    int ring = UlBuffer::DefaultMaxCount;
    bool watch = false;
    bool decimal = false;
    const char *screenshot = nullptr;
    bool chinese = false;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--rate") && hasValue)
            rate = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--refreshes") && hasValue)
            refreshes = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--rows") && hasValue)
            rows = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--ring") && hasValue)
            ring = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--watch"))
            watch = true;
        else if (!std::strcmp(argv[i], "--decimal"))
            decimal = true;
        else if (!std::strcmp(argv[i], "--screenshot") && hasValue)
            screenshot = argv[++i];
        else if (!std::strcmp(argv[i], "--chinese"))
            chinese = true;
        else {
            std::fprintf(stderr,
                         "usage: %s [--rate FPS] [--refreshes N] [--rows R] [--ring N] [--watch] [--decimal]"
                         " [--screenshot FILE.png [--chinese]]\n",
                         argv[0]);
            return 2;
        }
    }
    if (!screenshot && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTranslator translator;
    if (chinese && translator.load(QStringLiteral(":/translations/Merovast_zh.qm")))
        QCoreApplication::installTranslator(&translator);
    const bool mixed = screenshot != nullptr;

    UlBuffer &buffer = UlBuffer::instance(kChannel);
    buffer.setMaxCount(ring);
    UlGlobalSet::instance().watch = watch;
    UlGlobalSet::instance().channel[kChannel].dataDisplay = decimal ? 0 : 1;
    {
        std::vector<VCI_CAN_OBJ> frames;
        frames.reserve(std::size_t(ring));
        for (int i = 0; i < ring; ++i)
            frames.push_back(frameNumber(quint32(i), watch, mixed));
        buffer.addFrame(frames.data(), ring, false);
    }

    UiCanObjListWidget list(nullptr, kChannel);
    list.setRefreshCycle(24 * 3600 * 1000);  // the benchmark drives the ticks
    list.resize(1000, rows > 0 ? rows * UiCanObjListWidget::RowHeight + 40 : 600);
    list.show();
    QCoreApplication::processEvents();

    std::atomic<bool> feeding{true};
    std::atomic<quint32> fed{quint32(ring)};
    std::thread feeder([&] {
        using clock = std::chrono::steady_clock;
        constexpr int batch = 32;
        const auto start = clock::now();
        quint64 sent = 0;
        VCI_CAN_OBJ frames[batch];
        while (feeding) {
            const double due = std::chrono::duration<double>(clock::now() - start).count() * rate;
            while (sent + batch <= due) {
                for (auto &f : frames)
                    f = frameNumber(fed++, watch, mixed);
                buffer.addFrame(frames, batch, false);
                if (mixed) {
                    VCI_CAN_OBJ sent = frameNumber(fed++, false, true);
                    sent.DeviceTime = 0;
                    buffer.addFrame(&sent, 1, true);
                }
                sent += batch;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    });

    if (screenshot) {
        list.setRefreshCycle(UiCanObjListWidget::DefaultRefreshCycle);
        list.resize(1000, 600);
        QElapsedTimer shown;
        shown.start();
        while (shown.elapsed() < 1000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            if (!list.selectionModel()->hasSelection() && list.model()->rowCount() > 3)
                list.selectRow(list.model()->rowCount() - 3);
        }
        feeding = false;
        feeder.join();
        const bool saved = list.grab().save(QString::fromLocal8Bit(screenshot));
        std::printf("%s %s\n", saved ? "saved" : "could not save", screenshot);
        return saved ? 0 : 1;
    }

    Stats tickCpu, tickWall, refreshCpu, refreshWall;
    for (int i = 0; i < refreshes; ++i) {
        QThread::msleep(5);
        QCoreApplication::processEvents();
        const double cpu0 = threadCpuMs();
        const double wall0 = wallMs();
        list.updateList();
        const double cpu1 = threadCpuMs();
        const double wall1 = wallMs();
        list.viewport()->repaint();
        const double cpu2 = threadCpuMs();
        const double wall2 = wallMs();
        tickCpu.add(cpu1 - cpu0);
        tickWall.add(wall1 - wall0);
        refreshCpu.add(cpu2 - cpu0);
        refreshWall.add(wall2 - wall0);
    }
    feeding = false;
    feeder.join();

    const int shown = list.rowAt(list.viewport()->height() - 1) - list.rowAt(0) + 1;
    std::printf("ring %d frames (%s), %d rows in view, %d refreshes, feeding %d frames/s (%u fed)\n",
                list.model()->rowCount(), watch ? "watch list" : "display ring", shown, refreshes, rate,
                fed.load() - quint32(ring));
    tickCpu.print("tick (updateList), thread CPU");
    tickWall.print("tick (updateList), wall");
    refreshCpu.print("tick + repaint, thread CPU");
    refreshWall.print("tick + repaint, wall");
    const bool met = refreshCpu.mean() < kTargetMs;
    std::printf("target: tick + repaint under %.1f ms of GUI-thread time: %s\n", kTargetMs, met ? "met" : "MISSED");
    return met ? 0 : 1;
}
