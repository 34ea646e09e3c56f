// Shared set-up of the send tests: a simulated two-channel device whose
// channel 0 sends and channel 1 listens on the same bus, and a log of the
// device's transmit calls taken between the core and the simulator.
#pragma once

#include "controlcan.h"
#include "devcan.h"
#include "runqueuewait.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "vcisim.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QVector>

#include <atomic>
#include <vector>

namespace SendFixture {

constexpr uint32_t Type = VCI_KELMO_USB2;
constexpr uint32_t Tx = 0;
constexpr uint32_t Rx = 1;

inline bool openBus()
{
    VCISIM_ResetAll();
    DevCan &device = DevCan::instance();
    if (device.openDevice(Type, 0, 0) != 1)
        return false;
    for (uint32_t ch : {Tx, Rx}) {
        VCI_INIT_CONFIG config{};
        config.MaskCode = 0xFFFFFFFF;
        config.FilterMode = 1;
        config.BTR1 = 0x1C;  // 500 kbit/s
        if (device.initCAN(ch, &config) != 1 || device.StartCAN(ch) != 1)
            return false;
    }
    return true;
}

inline void closeBus()
{
    DevCan::instance().closeDevice();
}

// The sending channel's frame buffer emptied, its sent frames shown.
inline void resetSendBuffer()
{
    UlBuffer &buffer = UlBuffer::instance(int(Tx));
    buffer.setHideSendFrame(false);
    buffer.reset();
}

// As resetSendBuffer, with right-aligned IDs and no frames counted as sent.
inline void resetSender()
{
    UlGlobalSet &settings = UlGlobalSet::instance();
    settings.IDFORMAT = 0;
    settings.channel[Tx].counters.sent = 0;
    resetSendBuffer();
}

// The sending channel's sent-frame counter.
inline int64_t sentCount()
{
    return UlGlobalSet::instance().channel[Tx].counters.sent;
}

inline uint64_t transmitted(uint32_t channel = Tx)
{
    VCISIM_STATS stats{};
    VCISIM_GetStats(Type, 0, channel, &stats);
    return stats.transmitted;
}

// Frames heard on the listening channel, waiting up to timeoutMs for at
// least expected of them.
inline std::vector<VCI_CAN_OBJ> heard(int expected, int timeoutMs = 5000)
{
    std::vector<VCI_CAN_OBJ> frames;
    VCI_CAN_OBJ buffer[256];
    QElapsedTimer timer;
    timer.start();
    do {
        const uint32_t n = VCI_Receive(Type, 0, Rx, buffer, 256, 10);
        frames.insert(frames.end(), buffer, buffer + n);
    } while (int(frames.size()) < expected && timer.elapsed() < timeoutMs);
    return frames;
}

// A frame as the bus carries it; a remote frame has no data.
struct BusFrame {
    uint32_t id;
    bool remote;
    QByteArray data;
    bool operator==(const BusFrame &o) const { return id == o.id && remote == o.remote && data == o.data; }
};

// The frames a firmware upload of file must put on the bus, in order.
inline QVector<BusFrame> firmwareUpload(const QByteArray &file)
{
    QVector<BusFrame> frames{{0x110, true, {}}};
    for (int at = 0; at < file.size(); at += 8)
        frames.append({0x111, false, file.mid(at, 8)});
    frames.append({0x112, true, {}});
    const QByteArray digest = QCryptographicHash::hash(file, QCryptographicHash::Sha1);
    for (int at = 0; at < digest.size(); at += 8)
        frames.append({0x113, false, digest.mid(at, 8)});
    frames.append({0x114, true, {}});
    return frames;
}

// Frames per transmit call the core made, in call order. The call numbered
// heldCall (from 0), if any, is held heldMs before it transmits. Timed, it
// also notes the moment of each call on the calling thread, as it came
// (before the hold).
class TransmitLog
{
public:
    enum Timing { Untimed, Timed };

    explicit TransmitLog(int heldCall = -1, unsigned long heldMs = 0, Timing timing = Untimed)
    {
        DevCan::instance().pTransmit = &record;
        clear();
        const QMutexLocker lock(&mutex());
        hold() = {heldCall, heldMs};
        timed() = timing == Timed;
    }
    ~TransmitLog() { DevCan::instance().pTransmit = &VCI_Transmit; }

    static std::vector<uint32_t> calls()
    {
        const QMutexLocker lock(&mutex());
        return sizes();
    }
    // Of every call, in call order; empty unless timed.
    static std::vector<ThreadMoment> moments()
    {
        const QMutexLocker lock(&mutex());
        return callMoments();
    }
    static void clear()
    {
        const QMutexLocker lock(&mutex());
        sizes().clear();
        callMoments().clear();
    }

private:
    struct Hold
    {
        int call;
        unsigned long ms;
    };

    static uint32_t record(uint32_t type, uint32_t index, uint32_t channel, VCI_CAN_OBJ *frames, uint32_t count)
    {
        bool held = false;
        unsigned long heldMs = 0;
        {
            // Taken before the lock, which another thread may hold.
            const ThreadMoment moment = timed() ? ThreadMoment::now() : ThreadMoment();
            const QMutexLocker lock(&mutex());
            held = int(sizes().size()) == hold().call;
            heldMs = hold().ms;
            sizes().push_back(count);
            if (timed())
                callMoments().push_back(moment);
        }
        if (held)
            QThread::msleep(heldMs);
        return VCI_Transmit(type, index, channel, frames, count);
    }
    static Hold &hold()
    {
        static Hold h{-1, 0};
        return h;
    }
    static QMutex &mutex()
    {
        static QMutex m;
        return m;
    }
    static std::vector<uint32_t> &sizes()
    {
        static std::vector<uint32_t> s;
        return s;
    }
    static std::vector<ThreadMoment> &callMoments()
    {
        static std::vector<ThreadMoment> m;
        return m;
    }
    static std::atomic<bool> &timed()
    {
        static std::atomic<bool> t{false};
        return t;
    }
};

} // namespace SendFixture
