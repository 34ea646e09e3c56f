#include "ulsendfilethread.h"

#include "ascfile.h"
#include "canfile.h"
#include "canobj.h"
#include "devcan.h"
#include "ulbuffer.h"
#include "ulcsvformat.h"
#include "ulfilebin.h"
#include "ulfilecsv.h"
#include "ulglobalset.h"

#include <QMutexLocker>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace {

constexpr int64_t NsPerMs = 1000000;
// Longest sleep between two tests of the running flag.
constexpr int64_t StopSliceNs = 10 * NsPerMs;
// A replay further behind its schedule than this (the machine stalled)
// starts a new schedule rather than sending the backlog in one burst.
constexpr int64_t MaxLagNs = 1000 * NsPerMs;

int64_t steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// When frames are due: each one its gap after the previous one was due, not
// after it was sent, so that sleep overshoots do not add up.
class Schedule
{
public:
    void restart() { m_dueNs = steadyNs(); }
    int64_t next(int64_t gapMs)
    {
        m_dueNs += std::max<int64_t>(0, gapMs) * NsPerMs;
        const int64_t now = steadyNs();
        if (m_dueNs < now - MaxLagNs)
            m_dueNs = now;
        return m_dueNs;
    }

private:
    int64_t m_dueNs = 0;
};

std::unique_ptr<UlFile> makeReader(int type)
{
    switch (type) {
    case UlSendFileThread::BinaryFile:
        return std::make_unique<UlFileBin>();
    case UlSendFileThread::CsvFile:
        return std::make_unique<UlFileCsv>();
    case UlSendFileThread::AscFile:
        return std::make_unique<ASCFile>();
    case UlSendFileThread::CanFile:
        return std::make_unique<CANFile>();
    default:
        return nullptr;
    }
}

// Whether a record-file frame has a time of its own. Rows the program
// transmitted are stored without a device time (0); ASC times and CSV
// clock times are arrival times, which every row has.
bool carriesTime(int type, const UlFile &reader, const CanObj &frame)
{
    if (type == UlSendFileThread::AscFile)
        return true;
    if (type == UlSendFileThread::CsvFile
        && static_cast<const UlFileCsv &>(reader).timeCode() == UlCsvFormat::ClockTime)
        return true;
    return frame.DeviceTime != 0;
}

} // namespace

UlSendFileThread::UlSendFileThread(uint32_t channel)
    : UlSendFileThread(nullptr, channel)
{
}

UlSendFileThread::UlSendFileThread(QObject *parent, uint32_t channel)
    : UThread(parent)
    , timerStartNs(steadyNs())
    , channel(channel)
{
}

UlSendFileThread::~UlSendFileThread()
{
    finish();
}

void UlSendFileThread::setFileName(const QString &name)
{
    const QMutexLocker lock(&mutex);
    fileName = name;
}

void UlSendFileThread::setFileType(int type)
{
    const QMutexLocker lock(&mutex);
    fileType = type;
}

void UlSendFileThread::setParameter(const taskObj &task)
{
    const QMutexLocker lock(&mutex);
    this->task = task;
}

UlSendFileThread::Failure UlSendFileThread::failure() const
{
    const QMutexLocker lock(&failureLock);
    return lastFailure;
}

QString UlSendFileThread::failureText() const
{
    const QMutexLocker lock(&failureLock);
    return lastFailureText;
}

void UlSendFileThread::setFailure(Failure failure, const QString &text)
{
    const QMutexLocker lock(&failureLock);
    lastFailure = failure;
    lastFailureText = text;
}

void UlSendFileThread::onInitUsedTime()
{
    timerStartNs = steadyNs();
    if (channel < uint32_t(UlGlobalSet::Channels))
        UlGlobalSet::instance().channel[channel].counters.usedTime = 0.0;
}

uint32_t UlSendFileThread::writeObj(const CanObj &frame)
{
    if (channel >= uint32_t(UlGlobalSet::Channels))
        return 0;
    record = frame.toTransmit();
    UlBuffer::instance(int(channel)).addFrame(&record, 1, true);
    return DevCan::instance().Transmit(channel, &record, 1);
}

bool UlSendFileThread::waitUntil(int64_t dueNs) const
{
    while (runFlag()) {
        const int64_t now = steadyNs();
        if (now >= dueNs)
            return true;
        const int64_t sliceNs = std::min(dueNs - now, StopSliceNs);
        std::this_thread::sleep_for(std::chrono::nanoseconds(sliceNs));
    }
    return false;
}

void UlSendFileThread::run()
{
    int type;
    QString name;
    taskObj params;
    {
        const QMutexLocker lock(&mutex);
        type = fileType;
        name = fileName;
        params = task;
    }
    setFailure(NoFailure, QString());
    sent = 0;
    CanObj frame;
    const bool haveTemplate = params.templateFrame(frame);
    std::unique_ptr<UlFile> reader = makeReader(type);
    if (channel >= uint32_t(UlGlobalSet::Channels) || !reader || (type == BinaryFile && !haveTemplate)
        || !reader->open(name) || !reader->prepare()) {
        setFailure(CannotOpen, reader ? reader->errorString() : QString());
        Q_EMIT errorSignal();
        return;
    }
    UlGlobalSet &settings = UlGlobalSet::instance();
    UlRunCounters &counters = settings.channel[channel].counters;
    if (type == BinaryFile)
        frame.ID = taskObj::firstId(frame, settings.IDFORMAT == 1);
    const qint64 size = reader->size();
    int percent = 0;
    auto reportProgress = [&] {
        const int now = size > 0 ? int(qBound<qint64>(0, reader->pos(), size) * 100 / size) : 0;
        if (now != percent) {
            percent = now;
            Q_EMIT progressValueChanged(percent);
        }
    };

    Q_EMIT progressValueChanged(0);
    Q_EMIT begainSend();
    onInitUsedTime();

    Schedule schedule;
    schedule.restart();
    int timedRecording = -1;  // of the last timed frame; -1 before the first
    uint32_t previousMs = 0;
    while (runFlag()) {
        if (!reader->getFrame(frame)) {
            if (reader->hasError()) {
                setFailure(CannotRead, reader->errorString());
                Q_EMIT errorSignal();
            } else {
                reportProgress();  // lines after the last frame count as read
            }
            break;
        }
        int64_t dueNs = 0;  // 0: at once
        if (type == BinaryFile) {
            if (params.Interval > 0)
                dueNs = schedule.next(params.Interval);
        } else if (carriesTime(type, *reader, frame)) {
            // A further recording appended to the file has times of its own
            // (started anew, later by hours, or of another kind): its first
            // frame follows the last one at once and restarts the schedule.
            if (timedRecording == reader->recording())
                dueNs = schedule.next(int64_t(frame.DeviceTime) - int64_t(previousMs));
            else
                schedule.restart();
            timedRecording = reader->recording();
            previousMs = frame.DeviceTime;
        }
        if (dueNs != 0 && !waitUntil(dueNs))
            break;
        if (writeObj(frame) == 0) {
            setFailure(CannotSend, QString());
            Q_EMIT errorSignal();
            break;
        }
        ++sent;
        reportProgress();
        counters.sent += 1;
        counters.usedTime = double(steadyNs() - timerStartNs) / double(NsPerMs) / 1000.0;
    }
    reader->close();
    reader.reset();
    Q_EMIT tailSignal();
}
