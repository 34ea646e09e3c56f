// Replays an ASC or CSV record file (chosen by its extension) at the
// file's own timing, with the core's record-file readers: every frame that
// accepts() keeps goes to deliver(), each with its own data and length and
// its time in milliseconds; other frames are passed over without a wait.
// Waits in slices of at most WaitSliceMs, so that clearing reading ends the
// replay and paused holds it within that time. Runs on the calling thread;
// holds no widgets.
#pragma once

#include "vci.h"

#include <QString>

#include <atomic>
#include <functional>

class DBCRecordReplay
{
public:
    static constexpr int WaitSliceMs = 100;

    enum Result {
        Ended,       // end of the file, or reading cleared
        CannotOpen,  // the file could not be opened or is not ASC or CSV
        CannotRead   // a line that the format does not allow, or a read error
    };

    using Accept = std::function<bool(const VCI_CAN_OBJ &)>;
    using Deliver = std::function<void(const VCI_CAN_OBJ &)>;

    // error (may be null) receives the reader's text on failure.
    static Result run(const QString &path, const std::atomic<bool> &reading, const std::atomic<bool> &paused,
                      const Accept &accepts, const Deliver &deliver, QString *error = nullptr);
};
