// Writes 1,000,000-frame .can, ASC and CSV files into a temporary folder
// through the record formats, then times reading each back frame by frame.
// Budgets: .can under 0.5 s, ASC under 2 s (CSV is reported only).
// Usage: bench_recordfiles [frames]

#include "ascfile.h"
#include "canfile.h"
#include "canobj.h"
#include "canobjstr.h"
#include "ulascformat.h"
#include "ulcanfileformat.h"
#include "ulcsvformat.h"
#include "ulfilecsv.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <memory>

static CanObjStr row(int i)
{
    const bool sent = i % 10 == 9;
    const bool extended = i % 3 == 0;
    const int len = i % 9;
    const int ms = 36000000 + i / 4;
    CanObjStr r;
    r.index = QString::number(i);
    r.id = QString::asprintf("%08X ", extended ? 0x18EB0000u + uint32_t(i % 0xFFFF) : uint32_t(i % 0x800));
    r.deviceTime = sent ? QStringLiteral("NULL") : QString::asprintf("0x%X", uint32_t(i) * 3);
    r.time = QString::asprintf("%02d:%02d:%02d:%03d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    r.frameType = QStringLiteral("Data Frame");
    r.frameFormat = extended ? QStringLiteral("Extend") : QStringLiteral("Standard");
    r.dataLen = QString::number(len);
    QStringList bytes;
    for (int b = 0; b < len; ++b)
        bytes << QString::asprintf("%02X", (i + b) & 0xFF);
    r.data = bytes.join(QLatin1Char(' '));
    r.direction = sent ? QStringLiteral("Tx") : QStringLiteral("Rx");
    return r;
}

static bool writeFile(const QString &path, int frames, const std::function<QByteArray(int)> &frameBytes,
                      const QByteArray &head, const QByteArray &tail)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(head);
    QByteArray block;
    for (int i = 0; i < frames; ++i) {
        block += frameBytes(i);
        if (block.size() > (1 << 20)) {
            f.write(block);
            block.clear();
        }
    }
    f.write(block + tail);
    return true;
}

// Seconds to read every frame; -1 when the file is not read to its end.
static double readAll(UlFile &reader, const QString &path, int frames)
{
    QElapsedTimer timer;
    timer.start();
    if (!reader.open(path) || !reader.prepare())
        return -1;
    CanObj frame;
    int n = 0;
    while (reader.getFrame(frame))
        ++n;
    const double seconds = timer.nsecsElapsed() / 1e9;
    return n == frames && !reader.hasError() ? seconds : -1;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int frames = argc > 1 ? QByteArray(argv[1]).toInt() : 1000000;
    QTemporaryDir dir;
    const QString can = dir.filePath("bench.can"), asc = dir.filePath("bench.asc"), csv = dir.filePath("bench.csv");

    QElapsedTimer timer;
    timer.start();
    writeFile(can, frames, [](int i) { return UlCanFileFormat::record(row(i)); }, UlCanFileFormat::header(), {});
    UlAscFormat ascWriter;
    writeFile(asc, frames, [&](int i) { return ascWriter.line(row(i)).toUtf8(); },
              UlAscFormat::header(QDateTime::currentDateTime()).toUtf8(), UlAscFormat::footer().toUtf8());
    writeFile(csv, frames, [](int i) { return UlCsvFormat::line(row(i), 3, 0, QString()).toUtf8(); },
              UlCsvFormat::header(3, 0).toUtf8(), {});
    std::printf("generated %d frames per format in %.2f s\n", frames, timer.nsecsElapsed() / 1e9);

    struct Case {
        const char *name;
        QString path;
        std::unique_ptr<UlFile> reader;
        double budget;  // seconds, 0 = none
    };
    Case cases[] = {
        {".can", can, std::make_unique<CANFile>(), 0.5},
        {"ASC", asc, std::make_unique<ASCFile>(), 2.0},
        {"CSV", csv, std::make_unique<UlFileCsv>(), 0},
    };
    bool ok = true;
    for (Case &c : cases) {
        const double s = readAll(*c.reader, c.path, frames);
        const bool within = s >= 0 && (c.budget == 0 || s < c.budget);
        ok = ok && within;
        if (c.budget > 0)
            std::printf("read %-4s %d frames: %.3f s (budget %.1f s) %s\n", c.name, frames, s, c.budget,
                        within ? "ok" : "OVER");
        else
            std::printf("read %-4s %d frames: %.3f s%s\n", c.name, frames, s, within ? "" : " FAILED");
    }
    return ok ? 0 : 1;
}
