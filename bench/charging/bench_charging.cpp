// The GB/T 27930 charging window of channel 0 while a feeder thread fills
// the channel's GB/T 27930 queue at a steady rate with charging-stage
// traffic (CCS, BCL, BSM, and BCS, BMV and BMT over the transport
// protocol), what the receive thread does on a busy bus. After a warm-up
// the GUI thread is held (it sleeps) for a while; measured are the growth
// of the resident size over the hold, the deepest the queue got, and the
// time from the GUI thread's return until the window shows the CCS that
// was fed last before it (each CCS carries its cycle number as charging
// time).
//
//   bench_charging [--rate FPS] [--hold S]
//   bench_charging --screenshot DIR [--chinese] [--minimum]
//
// Exits with 1 when the hold cost 2 MB or more or the newest values took
// 100 ms or more to show.
//
// --screenshot feeds a scripted charge (handshake to statistics) instead,
// shows the window at its default size (--minimum: at its minimum size)
// and saves one picture per tab to DIR/charging-<en|zh>[-min]-<tab>.png.

#include "gbt27930.h"
#include "gbt27931widget.h"
#include "gbtframes.h"
#include "procstatus.h"
#include "uifont.h"
#include "uilanguage.h"
#include "ulbuffer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

using namespace GbtFrames;

namespace {

constexpr int kChannel = 0;

// Runs the event loop until done or timeoutMs have passed.
void waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.start(1);
    QEventLoop loop;
    while (!done() && clock.elapsed() < timeoutMs)
        loop.processEvents(QEventLoop::WaitForMoreEvents);
}

void wait(int ms)
{
    waitFor([] { return false; }, ms);
}

// One cycle of charging-stage traffic; the CCS carries the cycle number.
std::vector<VCI_CAN_OBJ> cycle(quint16 number)
{
    std::vector<VCI_CAN_OBJ> frames;
    const QByteArray ccs = QByteArray::fromHex("dc0ead0d") + char(number & 0xFF) + char(number >> 8) + char(1);
    frames.push_back(single(Gbt::CCS, ccs, Charger, Bms));
    frames.push_back(single(Gbt::BCL, QByteArray::fromHex("a00fac0d02"), Bms, Charger));
    frames.push_back(single(Gbt::BSM, QByteArray::fromHex("0b5a0246070010"), Bms, Charger));
    QByteArray cells;
    for (int i = 0; i < 32; ++i)
        cells += QByteArray::fromHex("5911");
    for (const auto &message : {transfer(Gbt::BCS, QByteArray::fromHex("dd0eae0d5911502d00"), Bms, Charger),
                                transfer(Gbt::BMV, cells, Bms, Charger),
                                transfer(Gbt::BMT, QByteArray(16, char(80)), Bms, Charger)})
        frames.insert(frames.end(), message.begin(), message.end());
    return frames;
}

// Handshake to statistics, with the battery's reports.
QVector<VCI_CAN_OBJ> scriptedCharge()
{
    const QByteArray brm = QByteArray::fromHex("010100" "03" "e803" "5a0f" "43415442" "39300000" "220514" "102700"
                                               "01" "ff" "4c5a5941544a4b4c303132333435363738" "030f06e307" "ffffff");
    QByteArray cells;
    for (int i = 0; i < 12; ++i)
        cells += QByteArray::fromHex("5911");
    QVector<VCI_CAN_OBJ> frames;
    frames << single(Gbt::CHM, QByteArray::fromHex("010100"), Charger, Bms)
           << single(Gbt::BHM, QByteArray::fromHex("a00f"), Bms, Charger)
           << single(Gbt::CRM, QByteArray::fromHex("aa01020304") + "021", Charger, Bms);
    frames << transfer(Gbt::BRM, brm, Bms, Charger);
    frames << transfer(Gbt::BCP, QByteArray::fromHex("5e01a00f5802a00f6ef401dd0e"), Bms, Charger);
    frames << single(Gbt::CTS, QByteArray::fromHex("30150801072019"), Charger, Bms)
           << single(Gbt::CML, QByteArray::fromHex("401f881328230000"), Charger, Bms)
           << single(Gbt::BRO, QByteArray::fromHex("aa"), Bms, Charger)
           << single(Gbt::CRO, QByteArray::fromHex("aa"), Charger, Bms);
    frames << single(Gbt::BCL, QByteArray::fromHex("a00fac0d01"), Bms, Charger);
    frames << transfer(Gbt::BCS, QByteArray::fromHex("dd0eae0d5911502d00"), Bms, Charger);
    frames << single(Gbt::CCS, QByteArray::fromHex("dc0ead0d1e0001ff"), Charger, Bms)
           << single(Gbt::BSM, QByteArray::fromHex("0b5a0446070a10"), Bms, Charger);
    frames << transfer(Gbt::BMV, cells, Bms, Charger);
    frames << transfer(Gbt::BMT, QByteArray::fromHex("50515253" "5a" "545546" "56"), Bms, Charger);
    frames << single(Gbt::BST, QByteArray::fromHex("04000000"), Bms, Charger)
           << single(Gbt::CST, QByteArray::fromHex("40000000"), Charger, Bms)
           << single(Gbt::BSD, QByteArray::fromHex("5f57015a01465b"), Bms, Charger)
           << single(Gbt::CSD, QByteArray::fromHex("2d00000101020304"), Charger, Bms)
           << single(Gbt::BEM, QByteArray::fromHex("00000001"), Bms, Charger);
    return frames;
}

int screenshots(GBT27931Widget &window, const QString &folder, bool chinese, bool minimum)
{
    const QVector<VCI_CAN_OBJ> frames = scriptedCharge();
    UlBuffer::instance(kChannel).addGBT27930Frame(frames.constData(), frames.size());
    window.show();
    wait(1500);
    if (minimum) {
        window.resize(window.minimumSize());
        wait(200);
    }
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("m_pTabWidget"));
    QDir().mkpath(folder);
    bool saved = true;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        wait(200);
        const QString file = QDir(folder).filePath(
                QStringLiteral("charging-%1%2-%3.png")
                        .arg(chinese ? QStringLiteral("zh") : QStringLiteral("en"),
                             minimum ? QStringLiteral("-min") : QString())
                        .arg(tab));
        const bool ok = window.grab().save(file);
        std::printf("%s %s (%dx%d)\n", ok ? "saved" : "could not save", qPrintable(file), window.width(),
                    window.height());
        saved &= ok;
    }
    return saved ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    int rate = 20000;
    int hold = 5;
    QString folder;
    bool chinese = false;
    bool minimum = false;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--rate") && hasValue)
            rate = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--hold") && hasValue)
            hold = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--screenshot") && hasValue)
            folder = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--chinese"))
            chinese = true;
        else if (!std::strcmp(argv[i], "--minimum"))
            minimum = true;
        else {
            std::fprintf(stderr,
                         "usage: %s [--rate FPS] [--hold S]\n       %s --screenshot DIR [--chinese] [--minimum]\n",
                         argv[0], argv[0]);
            return 2;
        }
    }
    if (folder.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UiFont::chooseApplicationFont(app); // as the program starts
    QTranslator translator;
    if (chinese && translator.load(QStringLiteral(":/translations/Merovast_zh.qm")))
        QCoreApplication::installTranslator(&translator);
    UiLanguage::setCode(chinese ? UiLanguage::Chinese : UiLanguage::Other);

    bool open = false;
    auto *window = new GBT27931Widget(kChannel, &open);
    if (!folder.isEmpty()) {
        const int result = screenshots(*window, folder, chinese, minimum);
        window->close();
        QCoreApplication::processEvents();
        return result;
    }
    window->show();

    // Feeder: whole cycles every millisecond against a steady clock.
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    const int cycleFrames = int(cycle(0).size());
    std::atomic<bool> feeding{true};
    std::atomic<int> maxQueue{0};
    std::atomic<qint64> fed{0};
    std::atomic<quint32> lastCycle{0};
    std::thread feeder([&] {
        using namespace std::chrono;
        const auto start = steady_clock::now();
        quint32 n = 0;
        while (feeding) {
            const double elapsed = duration<double>(steady_clock::now() - start).count();
            const qint64 due = qint64(elapsed * rate / cycleFrames);
            for (; n < due; ++n) {
                const std::vector<VCI_CAN_OBJ> frames = cycle(quint16(n));
                buffer.addGBT27930Frame(frames.data(), int(frames.size()));
                fed += qint64(frames.size());
                lastCycle = n;
            }
            maxQueue = std::max(maxQueue.load(), buffer.countGBT27930());
            std::this_thread::sleep_for(milliseconds(1));
        }
    });

    auto *chargingTime = window->findChild<QLineEdit *>(QStringLiteral("m_pLineEditTotalTime"));
    const auto shows = [&](quint32 number) {
        bool ok = false;
        const int shown = chargingTime->text().toInt(&ok);
        return ok && quint16(shown - int(number)) < 0x8000;
    };

    wait(1000);
    const qint64 before = ProcStatus::residentKb();
    const qint64 fedBefore = fed;
    std::this_thread::sleep_for(std::chrono::seconds(hold)); // the GUI thread held
    const qint64 after = ProcStatus::residentKb();
    const qint64 fedInHold = fed - fedBefore;
    const quint32 newest = lastCycle;
    QElapsedTimer returned;
    returned.start();
    waitFor([&] { return shows(newest); }, 5000);
    const qint64 lag = returned.elapsed();
    const bool shown = shows(newest);
    wait(500);
    feeding = false;
    feeder.join();
    const qint64 dropped = buffer.droppedGBT27930();
    window->close();
    QCoreApplication::processEvents();

    const qint64 grown = after - before;
    std::printf("rate %d frames/s, GUI thread held %d s: %lld frames fed in the hold (%.0f frames/s)\n", rate, hold,
                static_cast<long long>(fedInHold), double(fedInHold) / hold);
    std::printf("resident %lld kB before, %lld kB after the hold: %+lld kB\n", static_cast<long long>(before),
                static_cast<long long>(after), static_cast<long long>(grown));
    std::printf("deepest queue %d frames, %lld dropped\n", maxQueue.load(), static_cast<long long>(dropped));
    std::printf("newest CCS shown %s %lld ms after the GUI thread returned\n", shown ? "" : "NOT",
                static_cast<long long>(lag));
    return grown < 2048 && shown && lag < 100 ? 0 : 1;
}
