// Delivery of frames between the channels of one simulated device.
#include "simtest.h"

#include <QtTest>

#include <QElapsedTimer>

#include <thread>

using namespace simtest;

namespace {
constexpr uint32_t kType = VCI_DRAVIN_PCI4; // four channels on one bus
} // namespace

class tst_SimBus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { VCISIM_ResetAll(); }
    void cleanup() { VCISIM_ResetAll(); }
    void sameRateDeliveredIntact();
    void otherRateNotDelivered();
    void otherDeviceNotDelivered();
    void noSelfReceptionForNormalSend();
    void selfReceptionForSendType23();
    void selfTestModeReceivesOwn();
    void listenOnlySendsNothing();
    void listenOnlyReceives();
    void resetChannelReceivesNothing();
    void startAfterResetWithoutInit();
    void dataLenClampedTo8();
    void receivedFieldsNormalised();
    void deviceTimeMonotonic();
    void receiveBoundedByCapacity();
    void receiveWaitsForFirstFrame();
    void receiveWaitTimesOut();
    void injectedFramesSkipRateCheck();
};

void tst_SimBus::sameRateDeliveredIntact()
{
    QVERIFY(openAndStart(kType, 0, {0, 1, 2, 3}));
    VCI_CAN_OBJ sent[] = {frame(0x123, {1, 2, 3}), frame(0x1ABCDEF0, {9, 8, 7, 6, 5, 4, 3, 2}, true),
                          frame(0x7FF, {}, false, true), frame(0x1FFFFFFF, {}, true, true)};
    sent[2].DataLen = 4; // remote frame asking for 4 bytes
    QCOMPARE(VCI_Transmit(kType, 0, 0, sent, 4), 4u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 0), 0u);
    for (uint32_t ch = 1; ch < 4; ++ch) {
        VCI_CAN_OBJ got[8];
        QCOMPARE(VCI_Receive(kType, 0, ch, got, 8, 0), 4u);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(got[i].ID, sent[i].ID);
            QCOMPARE(got[i].ExternFlag, sent[i].ExternFlag);
            QCOMPARE(got[i].RemoteFlag, sent[i].RemoteFlag);
            QCOMPARE(got[i].DataLen, sent[i].DataLen);
            QCOMPARE(QByteArray((const char *)got[i].Data, got[i].RemoteFlag ? 0 : got[i].DataLen),
                     QByteArray((const char *)sent[i].Data, sent[i].RemoteFlag ? 0 : sent[i].DataLen));
            QCOMPARE(got[i].HasDeviceTime, uint8_t(1));
            QVERIFY(got[i].DeviceTime != 0);
        }
    }
    VCISIM_STATS s{};
    QCOMPARE(VCISIM_GetStats(kType, 0, 0, &s), 1u);
    QCOMPARE(s.transmitted, quint64(4));
    QCOMPARE(VCISIM_GetStats(kType, 0, 1, &s), 1u);
    QCOMPARE(s.received, quint64(4));
}

void tst_SimBus::otherRateNotDelivered()
{
    QVERIFY(openAndStart(kType, 0, {0, 1}));
    QVERIFY(startWith(kType, 0, 2, config(kBtr0_250k, kBtr1_250k)));
    // BTR1 0x2F (TSEG1 15, TSEG2 2) gives 400000; 0x1F gives 421052.
    QVERIFY(startWith(kType, 0, 3, config(0x00, 0x1F)));
    VCI_CAN_OBJ f = frame(0x100, {1});
    QCOMPARE(VCI_Transmit(kType, 0, 0, &f, 1), 1u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 1), 1u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 2), 0u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 3), 0u);
    // Same rate reached through other registers (SJW and sampling bits do not count).
    QVERIFY(startWith(kType, 0, 3, config(0xC0, 0x9C)));
    QCOMPARE(VCI_Transmit(kType, 0, 0, &f, 1), 1u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 3), 1u);
}

void tst_SimBus::otherDeviceNotDelivered()
{
    QVERIFY(openAndStart(kType, 0, {0}));
    QVERIFY(openAndStart(kType, 1, {0}));
    QVERIFY(openAndStart(VCI_DRAVIN_PCI2, 0, {0}));
    VCI_CAN_OBJ f = frame(0x100);
    QCOMPARE(VCI_Transmit(kType, 0, 0, &f, 1), 1u);
    QCOMPARE(VCI_GetReceiveNum(kType, 1, 0), 0u);
    QCOMPARE(VCI_GetReceiveNum(VCI_DRAVIN_PCI2, 0, 0), 0u);
}

void tst_SimBus::noSelfReceptionForNormalSend()
{
    QVERIFY(openAndStart(kType, 0, {0}));
    VCI_CAN_OBJ f[] = {frame(0x1, {}, false, false, 0), frame(0x2, {}, false, false, 1)};
    QCOMPARE(VCI_Transmit(kType, 0, 0, f, 2), 2u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 0), 0u);
}

void tst_SimBus::selfReceptionForSendType23()
{
    QVERIFY(openAndStart(kType, 0, {0, 1}));
    VCI_CAN_OBJ f[] = {frame(0x1, {}, false, false, 0), frame(0x2, {}, false, false, 2),
                       frame(0x3, {}, false, false, 3), frame(0x4, {}, false, false, 1)};
    QCOMPARE(VCI_Transmit(kType, 0, 0, f, 4), 4u);
    VCI_CAN_OBJ got[8];
    QCOMPARE(VCI_Receive(kType, 0, 0, got, 8, 0), 2u);
    QCOMPARE(got[0].ID, 0x2u);
    QCOMPARE(got[1].ID, 0x3u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 1), 4u);
}

void tst_SimBus::selfTestModeReceivesOwn()
{
    QVERIFY(openAndStart(kType, 0, {1}));
    QVERIFY(startWith(kType, 0, 0, config(kBtr0_500k, kBtr1_500k, 2)));
    VCI_CAN_OBJ f[] = {frame(0x10, {1}), frame(0x11, {2}, false, false, 2)};
    QCOMPARE(VCI_Transmit(kType, 0, 0, f, 2), 2u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 0), 2u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 1), 2u); // still goes out on the bus
}

void tst_SimBus::listenOnlySendsNothing()
{
    QVERIFY(openAndStart(kType, 0, {1}));
    QVERIFY(startWith(kType, 0, 0, config(kBtr0_500k, kBtr1_500k, 1)));
    VCI_CAN_OBJ f = frame(0x10, {}, false, false, 2);
    QCOMPARE(VCI_Transmit(kType, 0, 0, &f, 1), 0u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 1), 0u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 0), 0u);
    VCISIM_STATS s{};
    QCOMPARE(VCISIM_GetStats(kType, 0, 0, &s), 1u);
    QCOMPARE(s.transmitted, quint64(0));
}

void tst_SimBus::listenOnlyReceives()
{
    QVERIFY(openAndStart(kType, 0, {0}));
    QVERIFY(startWith(kType, 0, 1, config(kBtr0_500k, kBtr1_500k, 1)));
    VCI_CAN_OBJ f = frame(0x10);
    QCOMPARE(VCI_Transmit(kType, 0, 0, &f, 1), 1u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 1), 1u);
}

void tst_SimBus::resetChannelReceivesNothing()
{
    QVERIFY(openAndStart(kType, 0, {0, 1}));
    VCI_CAN_OBJ f = frame(0x10);
    QCOMPARE(VCI_Transmit(kType, 0, 0, &f, 1), 1u);
    QCOMPARE(VCI_ResetCAN(kType, 0, 1), 1u);
    QCOMPARE(VCI_Transmit(kType, 0, 0, &f, 1), 1u);
    QCOMPARE(VCISIM_InjectFrames(kType, 0, 1, &f, 1), 0u);
    // The frame received before the reset is still there.
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 1), 1u);
    // A reset channel does not send either.
    QCOMPARE(VCI_Transmit(kType, 0, 1, &f, 1), 0u);
    // Nor does one that was initialised again (init leaves it stopped).
    VCI_INIT_CONFIG cfg = config();
    QCOMPARE(VCI_InitCAN(kType, 0, 0, &cfg), 1u);
    QCOMPARE(VCI_Transmit(kType, 0, 0, &f, 1), 0u);
}

void tst_SimBus::startAfterResetWithoutInit()
{
    QVERIFY(openAndStart(kType, 0, {0, 1}));
    QCOMPARE(VCI_ResetCAN(kType, 0, 1), 1u);
    QCOMPARE(VCI_StartCAN(kType, 0, 1), 1u);
    VCI_CAN_OBJ f = frame(0x10);
    QCOMPARE(VCI_Transmit(kType, 0, 0, &f, 1), 1u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 1), 1u);
}

void tst_SimBus::dataLenClampedTo8()
{
    QVERIFY(openAndStart(kType, 0, {0, 1}));
    VCI_CAN_OBJ f = frame(0x10, {1, 2, 3, 4, 5, 6, 7, 8});
    f.DataLen = 15;
    QCOMPARE(VCI_Transmit(kType, 0, 0, &f, 1), 1u);
    VCI_CAN_OBJ got{};
    QCOMPARE(VCI_Receive(kType, 0, 1, &got, 1, 0), 1u);
    QCOMPARE(got.DataLen, uint8_t(8));
    QCOMPARE(got.Data[7], uint8_t(8));
    QCOMPARE(f.DataLen, uint8_t(15)); // the caller's array is not written
}

void tst_SimBus::receivedFieldsNormalised()
{
    QVERIFY(openAndStart(kType, 0, {0, 1}));
    VCI_CAN_OBJ f = frame(0xFFFF, {0xAA, 0xBB});
    f.Data[5] = 0x55; // beyond DataLen
    f.Spare[0] = 0x77;
    f.SendType = 1;
    VCI_CAN_OBJ r = frame(0x20, {1, 2}, false, true);
    VCI_CAN_OBJ both[] = {f, r};
    QCOMPARE(VCI_Transmit(kType, 0, 0, both, 2), 2u);
    VCI_CAN_OBJ got[2];
    QCOMPARE(VCI_Receive(kType, 0, 1, got, 2, 0), 2u);
    QCOMPARE(got[0].ID, 0x7FFu); // standard identifier: 11 bits
    QCOMPARE(got[0].Data[1], uint8_t(0xBB));
    QCOMPARE(got[0].Data[5], uint8_t(0));
    QCOMPARE(got[0].Spare[0], uint8_t(0));
    QCOMPARE(got[0].SendType, uint8_t(0));
    QCOMPARE(got[1].RemoteFlag, uint8_t(1));
    QCOMPARE(got[1].DataLen, uint8_t(2));
    QCOMPARE(got[1].Data[0], uint8_t(0)); // a remote frame carries no data
}

void tst_SimBus::deviceTimeMonotonic()
{
    QVERIFY(openAndStart(kType, 0, {0, 1}));
    VCI_CAN_OBJ f = frame(0x10);
    QCOMPARE(VCI_Transmit(kType, 0, 0, &f, 1), 1u);
    QTest::qSleep(20);
    QCOMPARE(VCI_Transmit(kType, 0, 0, &f, 1), 1u);
    VCI_CAN_OBJ got[2];
    QCOMPARE(VCI_Receive(kType, 0, 1, got, 2, 0), 2u);
    QVERIFY(got[0].DeviceTime >= 1);
    // 20 ms = 200 units; the sleep may last longer, never shorter.
    QVERIFY2(got[1].DeviceTime - got[0].DeviceTime >= 190, qPrintable(QString::number(got[1].DeviceTime)));
}

void tst_SimBus::receiveBoundedByCapacity()
{
    QVERIFY(openAndStart(kType, 0, {0, 1}));
    VCI_CAN_OBJ f[40];
    for (int i = 0; i < 40; ++i)
        f[i] = frame(uint32_t(i));
    QCOMPARE(VCI_Transmit(kType, 0, 0, f, 40), 40u);
    VCI_CAN_OBJ got[41];
    got[32].ID = 0xDEAD;
    QCOMPARE(VCI_Receive(kType, 0, 1, got, 32, 0), 32u);
    QCOMPARE(got[32].ID, 0xDEADu); // nothing written past the capacity
    QCOMPARE(got[31].ID, 31u);
    QCOMPARE(VCI_Receive(kType, 0, 1, got, 32, 0), 8u);
    QCOMPARE(got[0].ID, 32u);
    QCOMPARE(VCI_Receive(kType, 0, 1, got, 32, 0), 0u);
}

void tst_SimBus::receiveWaitsForFirstFrame()
{
    QVERIFY(openAndStart(kType, 0, {0, 1}));
    std::thread sender([] {
        QTest::qSleep(30);
        VCI_CAN_OBJ f = frame(0x55);
        VCI_Transmit(kType, 0, 0, &f, 1);
    });
    VCI_CAN_OBJ got{};
    QElapsedTimer timer;
    timer.start();
    const uint32_t n = VCI_Receive(kType, 0, 1, &got, 1, 5000);
    const qint64 ms = timer.elapsed();
    sender.join();
    QCOMPARE(n, 1u);
    QCOMPARE(got.ID, 0x55u);
    QVERIFY2(ms < 4000, qPrintable(QString::number(ms))); // woke on the frame
}

void tst_SimBus::receiveWaitTimesOut()
{
    QVERIFY(openAndStart(kType, 0, {0, 1}));
    VCI_CAN_OBJ got{};
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(VCI_Receive(kType, 0, 1, &got, 1, 40), 0u);
    QVERIFY(timer.elapsed() >= 30);
    timer.restart();
    QCOMPARE(VCI_Receive(kType, 0, 1, &got, 1, 0), 0u);
}

void tst_SimBus::injectedFramesSkipRateCheck()
{
    QVERIFY(openAndStart(kType, 0, {0}));
    QVERIFY(startWith(kType, 0, 1, config(kBtr0_250k, kBtr1_250k)));
    VCI_CAN_OBJ f[] = {frame(0x1, {1}), frame(0x2, {2})};
    QCOMPARE(VCISIM_InjectFrames(kType, 0, 1, f, 2), 2u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 1), 2u);
    QCOMPARE(VCI_GetReceiveNum(kType, 0, 0), 0u); // only the target channel
    QCOMPARE(VCISIM_InjectFrames(kType, 0, 4, f, 2), 0u);
    QCOMPARE(VCISIM_InjectFrames(kType, 0, 0, nullptr, 2), 0u);
}

QTEST_GUILESS_MAIN(tst_SimBus)
#include "tst_simbus.moc"
