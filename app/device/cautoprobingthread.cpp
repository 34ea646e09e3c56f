#include "cautoprobingthread.h"

#include "bittiming.h"

#include <QElapsedTimer>

#include <algorithm>

namespace {

constexpr int kSliceMs = 10;

QString hexByte(uint8_t value)
{
    return QString::asprintf("0x%02X", unsigned(value));
}

} // namespace

CAutoProbingThread::CAutoProbingThread(QObject *parent) : QThread(parent)
{
    static const int registered = qRegisterMetaType<RateDate>("RateDate");
    Q_UNUSED(registered)
    initConfig.AccCode = 0;
    initConfig.MaskCode = 0xFFFFFFFF;
    initConfig.Spare = 0;
    initConfig.FilterMode = 1;
    initConfig.WorkMode = 1; // listen only: the probe must not disturb the bus
}

CAutoProbingThread::~CAutoProbingThread()
{
    if (isRunning()) {
        stop();
        wait();
    }
}

void CAutoProbingThread::startProbing(Priority priority)
{
    stopFlag = false;
    start(priority);
}

void CAutoProbingThread::run()
{
    device.closeDevice();
    const DevCan &program = DevCan::instance();
    if (device.openDevice(program.getDevType(), program.getDevIndex(), 0) != 1) {
        Q_EMIT ShowError(0, QStringLiteral("Failed to open device"));
        Q_EMIT EndTest();
        return;
    }
    device.clearBuffer(channel);

    bool found = false;
    for (const BitTiming &entry : BitTiming::standardTable()) {
        if (stopFlag)
            break;
        Q_EMIT UpdateSlider(entry.rate);
        if (entry.rate < startRate || entry.rate > endRate)
            continue;
        if (tryTiming(entry.btr0, entry.btr1)) {
            report(entry, true);
            found = true;
            break;
        }
    }
    if (!found && !stopFlag)
        sweep();

    device.ResetCAN(channel);
    device.closeDevice();
    Q_EMIT EndTest();
}

bool CAutoProbingThread::sweep()
{
    const QVector<BitTiming> &standard = BitTiming::standardTable();
    const auto triedAlready = [&standard, this](const BitTiming &t) {
        return std::any_of(standard.cbegin(), standard.cend(), [&t, this](const BitTiming &s) {
            return s.btr0 == t.btr0 && s.btr1 == t.btr1 && startRate <= s.rate && s.rate <= endRate;
        });
    };
    for (const BitTiming &timing : BitTiming::sweep(startRate, endRate)) {
        if (stopFlag)
            return false;
        if (triedAlready(timing))
            continue;
        Q_EMIT UpdateSlider(timing.rate);
        if (tryTiming(timing.btr0, timing.btr1)) {
            report(timing, timing.recommended);
            return true;
        }
    }
    return false;
}

void CAutoProbingThread::report(const BitTiming &timing, bool recommended)
{
    RateDate rd;
    rd.rate = QString::asprintf("%.03f", double(timing.rate));
    rd.btr0 = hexByte(timing.btr0);
    rd.btr1 = hexByte(timing.btr1);
    rd.samplePoint = QString::asprintf("%.02f%%", double(timing.samplePoint) * 100.0);
    rd.remark = recommended ? tr("Recommended") : tr("Not recommended");
    Q_EMIT ShowRateInfo(rd);
}

bool CAutoProbingThread::tryTiming(uint8_t btr0, uint8_t btr1)
{
    initConfig.BTR0 = btr0;
    initConfig.BTR1 = btr1;
    device.clearBuffer(channel);
    if (device.initCAN(channel, &initConfig) != 1 || device.StartCAN(channel) != 1) {
        Q_EMIT ShowError(0, QStringLiteral("Failed to init device"));
        return false;
    }
    if (waitOrStop() && device.getReceiveNum(channel) != 0) {
        device.clearBuffer(channel);
        return true;
    }
    device.ResetCAN(channel);
    return false;
}

bool CAutoProbingThread::waitOrStop()
{
    QElapsedTimer timer;
    timer.start();
    for (qint64 left = waitTime; left > 0; left = waitTime - timer.elapsed()) {
        if (stopFlag)
            return false;
        QThread::msleep(ulong(std::min<qint64>(left, kSliceMs)));
    }
    return !stopFlag;
}
