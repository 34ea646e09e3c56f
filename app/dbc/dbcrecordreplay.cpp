#include "dbcrecordreplay.h"

#include "ascfile.h"
#include "canobj.h"
#include "ulfilecsv.h"

#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Waits until due while reading; time spent paused moves due on. False
// when reading was cleared.
bool waitUntil(Clock::time_point &due, const std::atomic<bool> &reading, const std::atomic<bool> &paused)
{
    const auto slice = std::chrono::milliseconds(DBCRecordReplay::WaitSliceMs);
    while (reading) {
        const Clock::time_point now = Clock::now();
        if (paused) {
            std::this_thread::sleep_for(slice);
            due += Clock::now() - now;
            continue;
        }
        if (now >= due)
            return true;
        std::this_thread::sleep_for(std::min<Clock::duration>(slice, due - now));
    }
    return false;
}

} // namespace

DBCRecordReplay::Result DBCRecordReplay::run(const QString &path, const std::atomic<bool> &reading,
                                             const std::atomic<bool> &paused, const Accept &accepts,
                                             const Deliver &deliver, QString *error)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    std::unique_ptr<UlFile> reader;
    if (suffix == QLatin1String("asc"))
        reader = std::make_unique<ASCFile>();
    else if (suffix == QLatin1String("csv"))
        reader = std::make_unique<UlFileCsv>();
    if (!reader || !reader->open(path) || !reader->prepare()) {
        if (error)
            *error = reader ? reader->errorString() : QString();
        return CannotOpen;
    }
    // Rows the program sent are stored without a device time stamp; ASC
    // times and CSV clock times are arrival times that every row has. The
    // time code of a CSV file can change with each recording appended.
    const bool asc = suffix == QLatin1String("asc");
    const auto everyRowTimed = [&] {
        return asc || static_cast<const UlFileCsv &>(*reader).timeCode() == UlCsvFormat::ClockTime;
    };

    int timedRecording = -1;  // of the last timed frame; -1 before the first
    uint32_t previousMs = 0;
    Clock::time_point previousDue = Clock::now();  // when the last timed frame was due
    while (reading) {
        // Held before the next line; the pause does not count as file time.
        if (!waitUntil(previousDue, reading, paused))
            break;
        CanObj frame;
        if (!reader->getFrame(frame)) {
            if (reader->hasError()) {
                if (error)
                    *error = reader->errorString();
                return CannotRead;
            }
            break;
        }
        const VCI_CAN_OBJ received = frame.toVci();
        if (!accepts(received))
            continue;
        if (everyRowTimed() || frame.DeviceTime != 0) {
            // Times that go back are shown at once, and so is the first
            // frame of a further recording: its times are its own.
            Clock::time_point due = Clock::now();
            if (timedRecording == reader->recording())
                due = previousDue + std::chrono::milliseconds(std::max<int64_t>(0, int64_t(frame.DeviceTime) - previousMs));
            if (!waitUntil(due, reading, paused))
                break;
            previousDue = due;
            timedRecording = reader->recording();
            previousMs = frame.DeviceTime;
        }
        deliver(received);
    }
    return Ended;
}
