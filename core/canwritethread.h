// The transmit side of one channel's pipe: takes the units pushed into the
// channel's UlPipe, sends them in batches of at most BatchSize frames (a
// frame with lastMark ends its batch early), records them in the frame
// buffer as transmitted frames and reports by signals. Ends by stop() or
// after its first failed transmission.
#pragma once

#include "canthread.h"
#include "ulcanobjstrqueue.h"
#include "vci.h"
#include "vizoz_global.h"

#include <atomic>

class VIZOZ_EXPORT CanWriteThread : public CanThread
{
    Q_OBJECT
public:
    static constexpr int BatchSize = 100;
    // Longest wait on an empty pipe before the running flag is tested again, ms.
    static constexpr unsigned long IdleWaitMs = 20;

    explicit CanWriteThread(uint32_t channel = 0, QObject *parent = nullptr);
    ~CanWriteThread() override;

    // Keeps transmitted frames out of the frame buffer (firmware images).
    void setHideSendFrame(bool hide) { hideSendFrame = hide; }
    bool getHideSendFrame() const { return hideSendFrame; }
    // ms from the timer's start to the last batch.
    double getUsedTime() const { return usedTime; }

Q_SIGNALS:
    void sendEvent(const UlCanObjStrQueue &rows);
    void usedTimeSignal(double seconds);
    // Frames in the batch about to be sent.
    void sendSignal(uint count);
    void errorSignal();
    // The last frame of a unit carried tailMark and the unit is out.
    void tailSignal();
    void quickSignal();

public Q_SLOTS:
    void onInitUsedTime();

protected:
    void run() override;

private:
    // Sends the whole batch; a partial result sends the rest again.
    bool transmit(int n);
    double elapsedMs() const;

    std::atomic<bool> hideSendFrame{false};
    std::atomic<double> usedTime{0.0};
    std::atomic<int64_t> timerStartNs{0};
    VCI_CAN_OBJ batch[BatchSize] = {};
};
