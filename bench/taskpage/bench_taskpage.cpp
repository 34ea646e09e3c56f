// The Task page of channel 0 on the simulated device (1 Mbit/s) with the
// largest task list it takes, 100,000 rows: Load of the file (into the
// empty table, then again over the loaded one), then Send
// under each strategy (Order, Cycle, Timing send), each stopped after a
// second of sending. For each: the time from the click until the table is
// filled or the sending has begun, the GUI thread's longest pause from
// the click on (a 1 ms timer's longest gap), and the time Stop takes.
// Exits with 1 when a pause reaches 250 ms or something did not happen.
//
//   QT_QPA_PLATFORM=offscreen bench_taskpage [--rows N]

#include "devcan.h"
#include "guipause.h"
#include "taskthread.h"
#include "uimessage.h"
#include "uitabsend.h"
#include "uitabsendtaskpage.h"
#include "ulglobalset.h"
#include "ullistlimits.h"
#include "vcisim.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t Type = VCI_KELMO_USB2;
constexpr int Channel = 0;
constexpr qint64 PauseBoundMs = 250;

bool openChannel()
{
    VCISIM_ResetAll();
    DevCan &device = DevCan::instance();
    if (device.openDevice(Type, 0, 0) != 1)
        return false;
    VCI_INIT_CONFIG config{};
    config.MaskCode = 0xFFFFFFFF;
    config.BTR0 = 0x00;
    config.BTR1 = 0x14;  // 1 Mbit/s
    return device.initCAN(Channel, &config) == 1 && device.StartCAN(Channel) == 1;
}

// Rows of every kind of field: both formats, counting IDs and data, the
// three burst sizes; one frame each, 100 ms apart.
bool writeList(const QString &path, int rows)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray text;
    for (int i = 0; i < rows; ++i) {
        const bool extended = i % 2;
        text += "1,task " + QByteArray::number(i) + ",0,"
                + QByteArray::number(extended ? 0x1000000 + i : i % 0x800, 16) + ',' + (extended ? "1" : "0")
                + ",0,01 02 03 04 05 06 07 08," + QByteArray::number(i % 3 + 1) + ",1," + QByteArray::number(i % 9)
                + ",1,100\n";
    }
    return file.write(text) == text.size();
}

void runFor(qint64 ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int rows = UlListLimits::MaxEntries;
    for (int i = 1; i + 1 < argc; ++i) {
        if (!std::strcmp(argv[i], "--rows"))
            rows = std::atoi(argv[++i]);
    }
    int boxes = 0;
    UiMessage::setHandler([&boxes](const UiMessage::Box &) {
        ++boxes;
        return QMessageBox::Ok;
    });
    if (!openChannel()) {
        std::fprintf(stderr, "cannot open the simulated channel\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tasks.txt"));
    if (!writeList(path, rows)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }

    UiTabSend tabs(nullptr, Channel);
    tabs.resize(1200, 400);
    tabs.show();
    tabs.setSendEnabled(true);
    tabs.setCurrentIndex(UiTabSend::TaskPage);
    auto *page = qobject_cast<UiTabSendTaskPage *>(tabs.taskPage());
    runFor(100);
    bool ok = true;

    for (const char *into : {"an empty table", "the loaded table"}) {
        GuiPause pause(GuiPause::Wall);
        QElapsedTimer clock;
        clock.start();
        const bool loaded = page->loadFile(path) && page->table()->rowCount() == rows;
        const qint64 loadMs = clock.elapsed();
        runFor(50);  // the gap that ends with the load counts too
        const qint64 longest = pause.longestMs();
        std::printf("Load of %d rows into %s: %s in %lld ms, longest GUI pause %lld ms\n", rows, into,
                    loaded ? "loaded" : "FAILED", (long long)loadMs, (long long)longest);
        ok = ok && loaded && longest < PauseBoundMs && boxes == 0;
    }

    const char *const strategies[] = {"Order send", "Cycle send", "Timing send"};
    for (int strategy = 0; strategy < 3; ++strategy) {
        page->findChild<QComboBox *>(QStringLiteral("m_pComboBoxSendType"))->setCurrentIndex(strategy);
        runFor(50);
        const int64_t sentBefore = UlGlobalSet::instance().channel[Channel].counters.sent;
        GuiPause pause(GuiPause::Wall);
        QElapsedTimer clock;
        clock.start();
        page->findChild<QPushButton *>(QStringLiteral("SendButton"))->click();
        while (tabs.activeSender() == UiTabSend::NoSender && clock.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const qint64 startMs = clock.elapsed();
        runFor(1000);
        const qint64 longest = pause.longestMs();
        const bool sending = tabs.activeSender() != UiTabSend::NoSender;
        const int64_t sent = UlGlobalSet::instance().channel[Channel].counters.sent - sentBefore;
        clock.restart();
        page->findChild<QPushButton *>(QStringLiteral("StopButton"))->click();
        const qint64 stopMs = clock.elapsed();
        runFor(50);
        std::printf("%s of %d rows: sending after %lld ms, longest GUI pause %lld ms, %lld frames in the first "
                    "second, Stop %lld ms\n",
                    strategies[strategy], rows, (long long)startMs, (long long)longest, (long long)sent,
                    (long long)stopMs);
        ok = ok && sending && sent > 0 && longest < PauseBoundMs && stopMs < PauseBoundMs && boxes == 0;
    }
    DevCan::instance().closeDevice();
    return ok ? 0 : 1;
}
