// Smoke test: several threads transmit, receive, poll errors and change
// channel settings at once, as the core's threads and the GUI do. Run it
// under the sanitizer build too; it asserts accounting, not timing.
#include "simtest.h"

#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

using namespace simtest;

namespace {
constexpr uint32_t kType = VCI_DRAVIN_PCI4;
// 4 x 300 x 8 frames of about 80 bits: about 1 s of bus time at 1 Mbit/s.
constexpr uint32_t kBatches = 300;
constexpr uint32_t kBatch = 8;
constexpr uint32_t kSenders = 4;             // sender s sends on channel kSenderChannel[s]
constexpr uint32_t kSenderChannel[kSenders] = {0, 0, 1, 2};
constexpr uint32_t kBackgroundId = 0x7F0;

struct ReaderResult {
    uint64_t frames = 0;
    uint64_t errors = 0;
    bool ordered = true;
};
} // namespace

class tst_SimConcurrency : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { VCISIM_ResetAll(); }
    void cleanup() { VCISIM_ResetAll(); }
    void sendReceiveControl();
    void openCloseWhileUsed();
};

void tst_SimConcurrency::sendReceiveControl()
{
    QVERIFY(openAndStart(kType, 0, {0, 1, 2, 3}, config(kBtr0_1M, kBtr1_1M)));
    QCOMPARE(VCISIM_SetBackgroundTraffic(kType, 0, 1000000, kBackgroundId, 1000), 1u);
    std::atomic<bool> sending{true};

    // Readers of channels 0..2, whose settings never change: each checks
    // that the frames of every sender arrive in sending order.
    ReaderResult results[3];
    std::vector<std::thread> threads;
    for (uint32_t ch = 0; ch < 3; ++ch) {
        threads.emplace_back([ch, &sending, &results] {
            ReaderResult &r = results[ch];
            int64_t last[kSenders] = {-1, -1, -1, -1};
            VCI_CAN_OBJ buf[32];
            VCI_ERR_INFO err;
            for (;;) {
                const bool more = sending.load();
                const uint32_t n = VCI_Receive(kType, 0, ch, buf, 32, 1);
                r.errors += VCI_ReadErrInfo(kType, 0, ch, &err);
                for (uint32_t i = 0; i < n; ++i) {
                    if (buf[i].ID == kBackgroundId)
                        continue;
                    const uint32_t s = buf[i].ID - 0x100;
                    const int64_t seq = buf[i].Data[0] | buf[i].Data[1] << 8 | buf[i].Data[2] << 16;
                    if (s >= kSenders || seq <= last[s])
                        r.ordered = false;
                    else
                        last[s] = seq;
                }
                r.frames += n;
                if (!more && n == 0 && VCI_GetReceiveNum(kType, 0, ch) == 0)
                    break;
            }
        });
    }
    // The GUI thread's part: re-initialise and restart channel 3, read
    // status, references and counters.
    threads.emplace_back([&sending] {
        VCI_INIT_CONFIG cfg = config(kBtr0_1M, kBtr1_1M);
        VCI_CAN_STATUS st{};
        VCISIM_STATS stats{};
        uint32_t ref = 0;
        VCI_CAN_OBJ buf[32];
        for (uint32_t i = 0; sending.load(); ++i) {
            VCI_ResetCAN(kType, 0, 3);
            VCI_InitCAN(kType, 0, 3, &cfg);
            VCI_StartCAN(kType, 0, 3);
            VCI_Receive(kType, 0, 3, buf, 32, 0);
            VCI_ClearBuffer(kType, 0, 3);
            VCI_ReadCANStatus(kType, 0, 1, &st);
            st.RxErrorCounter = uint8_t(i);
            VCISIM_SetStatus(kType, 0, 1, &st);
            VCI_SetReference(kType, 0, 2, 1, &i);
            VCI_GetReference(kType, 0, 2, 1, &ref);
            VCISIM_GetStats(kType, 0, 0, &stats);
            VCI_OpenDevice(kType, 0, 0); // a second handle comes and goes
            VCI_CloseDevice(kType, 0);
            std::this_thread::yield();
        }
    });
    std::vector<std::thread> senders;
    std::atomic<uint32_t> accepted{0};
    for (uint32_t s = 0; s < kSenders; ++s) {
        senders.emplace_back([s, &accepted] {
            VCI_CAN_OBJ batch[kBatch];
            uint32_t seq = 0;
            for (uint32_t b = 0; b < kBatches; ++b) {
                for (VCI_CAN_OBJ &f : batch) {
                    f = frame(0x100 + s, {uint8_t(seq), uint8_t(seq >> 8), uint8_t(seq >> 16)}, false, false,
                              (seq % 5 == 0) ? 2 : 0);
                    ++seq;
                }
                // What a full queue did not take goes again, as a careful
                // caller would send it.
                uint32_t done = 0;
                for (uint32_t tries = 0; done < kBatch && tries < 100; ++tries)
                    done += VCI_Transmit(kType, 0, kSenderChannel[s], batch + done, kBatch - done);
                accepted += done;
            }
        });
    }
    for (std::thread &t : senders)
        t.join();
    // Background traffic first, so that the readers can drain and end.
    QCOMPARE(VCISIM_SetBackgroundTraffic(kType, 0, 1000000, kBackgroundId, 0), 1u);
    // Until the bus has handed out what was queued and the background
    // frames, all of which channel 0 heard. The bus counts a frame after
    // channel 0 stored it: read first, its count is never ahead.
    const auto carriedBesidesBackground = [] {
        const quint64 carried = stats(kType, 0, 0).carried;
        return carried - stats(kType, 0, 0).generated;
    };
    QTRY_COMPARE_WITH_TIMEOUT(carriedBesidesBackground(), quint64(accepted.load()), 30000);
    sending = false;
    for (std::thread &t : threads)
        t.join();

    QCOMPARE(accepted.load(), kSenders * kBatches * kBatch);
    for (uint32_t ch = 0; ch < 3; ++ch) {
        VCISIM_STATS s{};
        QCOMPARE(VCISIM_GetStats(kType, 0, ch, &s), 1u);
        QVERIFY(results[ch].ordered);
        QCOMPARE(s.dropped, quint64(0));
        QCOMPARE(results[ch].errors, quint64(0));
        QCOMPARE(results[ch].frames + VCI_GetReceiveNum(kType, 0, ch), quint64(s.received));
    }
    // Channel 1 hears the two senders of channel 0 and the one of channel 2,
    // plus background frames.
    QVERIFY(results[1].frames >= 3 * kBatches * kBatch);
}

void tst_SimConcurrency::openCloseWhileUsed()
{
    const uint32_t t = VCI_KELMO_USB2;
    std::atomic<bool> running{true};
    std::thread owner([t, &running] {
        for (int i = 0; i < 300; ++i) {
            openAndStart(t, 1, {0, 1});
            VCISIM_SetBackgroundTraffic(t, 1, 500000, 0x10, 50000);
            std::this_thread::yield();
            VCI_CloseDevice(t, 1);
        }
        running = false;
    });
    std::vector<std::thread> users;
    for (uint32_t ch = 0; ch < 2; ++ch) {
        users.emplace_back([t, ch, &running] {
            VCI_CAN_OBJ buf[16];
            VCI_ERR_INFO err;
            while (running.load()) {
                VCI_CAN_OBJ f = frame(0x20 + ch, {1, 2}, false, false, 2);
                VCI_Transmit(t, 1, ch, &f, 1);
                VCI_Receive(t, 1, ch, buf, 16, ch); // channel 1 waits up to 1 ms
                VCI_ReadErrInfo(t, 1, ch, &err);
                VCI_GetReceiveNum(t, 1, ch);
                VCISIM_InjectFrames(t, 1, ch, &f, 1);
            }
        });
    }
    owner.join();
    for (std::thread &u : users)
        u.join();
    QCOMPARE(VCI_CloseDevice(t, 1), 0u); // every open was matched by a close
}

QTEST_GUILESS_MAIN(tst_SimConcurrency)
#include "tst_simconcurrency.moc"
