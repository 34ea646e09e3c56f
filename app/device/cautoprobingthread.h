// Finds the bit rate of a running bus by listening: opens the device that
// DevCan::instance() names a second time, through a device object of its
// own, and puts one channel in listen-only mode with candidate timings
// (first the usual rates, then every timing in the range by rising rate)
// until frames arrive. At most one timing is reported per run.
#pragma once

#include "devcan.h"
#include "ratedate.h"

#include <QThread>

#include <atomic>

class BitTiming;

class CAutoProbingThread : public QThread
{
    Q_OBJECT

public:
    explicit CAutoProbingThread(QObject *parent = nullptr);
    // Stops the run and waits for it.
    ~CAutoProbingThread() override;

    // Set while the thread is not running.
    void setChannel(uint32_t channel) { this->channel = channel; }
    void setWaitTime(int ms) { waitTime = ms; }
    void setStartRate(double kbps) { startRate = kbps; }
    void setEndRate(double kbps) { endRate = kbps; }

    // Any thread; the run ends after the candidate being tried.
    void stop() { stopFlag = true; }
    // Clears the stop flag, then starts the thread (a stop() right after
    // this call is not lost).
    void startProbing(Priority priority = InheritPriority);

Q_SIGNALS:
    // Every run that starts ends with it, also after a failed open.
    void EndTest();
    // The rate (kbit/s) about to be tried.
    void UpdateSlider(double val);
    void ShowRateInfo(RateDate rd);
    // Code 0 and an untranslated text; a failing init or start repeats
    // for every candidate.
    void ShowError(int errCode, QString strErr);

protected:
    void run() override;

private:
    bool tryTiming(uint8_t btr0, uint8_t btr1);
    bool sweep();
    void report(const BitTiming &timing, bool recommended);
    // Sleeps the wait time in slices; false when stopped meanwhile.
    bool waitOrStop();

    uint32_t channel = 0;
    std::atomic<bool> stopFlag{false};
    int waitTime = 50;
    double startRate = 0.0;
    double endRate = 1000.0;
    VCI_INIT_CONFIG initConfig{};
    DevCan device; // used by the thread only
};
