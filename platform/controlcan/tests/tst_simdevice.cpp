// Device and channel life cycle, board information, stores and the test
// settings of the simulated ControlCAN library.
#include "simtest.h"

#include <QtTest>

#include <cstring>

using namespace simtest;

class tst_SimDevice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { VCISIM_ResetAll(); }
    void cleanup() { VCISIM_ResetAll(); }
    void openCloseCounted();
    void closeNotOpenHarmless();
    void lastCloseStopsChannels();
    void reopenStartsAfresh();
    void deviceIndexRange();
    void closedDeviceRefusesEverything();
    void boardInfo_data();
    void boardInfo();
    void channelRange();
    void startNeedsInit();
    void initValidatesModes();
    void overflowKeepsOldestOneEvent();
    void overflowEpisodes();
    void clearBuffer();
    void readErrInfoOnceEach();
    void errorStoreBounded();
    void statusDefaultAndSet();
    void references();
    void transmitLimit();
    void transmitRefusals();
    void resetAllForgets();
};

void tst_SimDevice::openCloseCounted()
{
    const uint32_t t = VCI_KELMO_USB2;
    QVERIFY(openAndStart(t, 0, {0, 1}));
    QCOMPARE(VCI_OpenDevice(t, 0, 0), 1u); // second handle (the bit-rate probe)
    QCOMPARE(VCI_CloseDevice(t, 0), 1u);
    VCI_CAN_OBJ f = frame(0x1);
    QCOMPARE(VCI_Transmit(t, 0, 0, &f, 1), 1u); // still open, still started
    QTRY_COMPARE(VCI_GetReceiveNum(t, 0, 1), 1u);
    QCOMPARE(VCI_CloseDevice(t, 0), 1u);
    QCOMPARE(VCI_Transmit(t, 0, 0, &f, 1), 0u);
    QCOMPARE(VCI_CloseDevice(t, 0), 0u);
}

void tst_SimDevice::closeNotOpenHarmless()
{
    QCOMPARE(VCI_CloseDevice(VCI_KELMO_USB1, 3), 0u);   // never seen
    QCOMPARE(VCI_CloseDevice(VCI_KELMO_USB1, 200), 0u); // bad index
    QCOMPARE(VCI_OpenDevice(VCI_KELMO_USB1, 3, 0), 1u);
    QCOMPARE(VCI_CloseDevice(VCI_KELMO_USB1, 3), 1u);
    QCOMPARE(VCI_CloseDevice(VCI_KELMO_USB1, 3), 0u);
    QCOMPARE(VCI_OpenDevice(VCI_KELMO_USB1, 3, 0), 1u); // and opens again
}

void tst_SimDevice::lastCloseStopsChannels()
{
    const uint32_t t = VCI_DRAVEX_PCIE2;
    QVERIFY(openAndStart(t, 0, {0, 1}));
    QCOMPARE(VCI_CloseDevice(t, 0), 1u);
    QCOMPARE(VCI_OpenDevice(t, 0, 0), 1u);
    VCI_CAN_OBJ f = frame(0x1);
    QCOMPARE(VCI_Transmit(t, 0, 0, &f, 1), 0u); // not started after reopening
    QCOMPARE(VCI_StartCAN(t, 0, 0), 0u);        // and not initialised
}

void tst_SimDevice::reopenStartsAfresh()
{
    const uint32_t t = VCI_KELMO_USB2;
    QVERIFY(openAndStart(t, 0, {0, 1}));
    VCI_CAN_OBJ f = frame(0x1);
    QCOMPARE(VCI_Transmit(t, 0, 0, &f, 1), 1u);
    QTRY_COMPARE(VCI_GetReceiveNum(t, 0, 1), 1u);
    VCI_ERR_INFO e{};
    e.ErrorCode = VCI_ERR_BUS;
    QCOMPARE(VCISIM_InjectError(t, 0, 1, &e), 1u);
    QCOMPARE(VCI_CloseDevice(t, 0), 1u);
    VCISIM_STATS s{};
    QCOMPARE(VCISIM_GetStats(t, 0, 1, &s), 1u);
    QCOMPARE(s.received, quint64(1)); // kept while closed
    QVERIFY(openAndStart(t, 0, {0, 1}));
    QCOMPARE(VCI_GetReceiveNum(t, 0, 1), 0u);
    QCOMPARE(VCI_ReadErrInfo(t, 0, 1, &e), 0u);
    QCOMPARE(VCISIM_GetStats(t, 0, 1, &s), 1u);
    QCOMPARE(s.received, quint64(0));
}

void tst_SimDevice::deviceIndexRange()
{
    for (uint32_t i = 0; i < 8; ++i)
        QCOMPARE(VCI_OpenDevice(VCI_VARNET_TCP, i, 0), 1u);
    QCOMPARE(VCI_OpenDevice(VCI_VARNET_TCP, 8, 0), 0u);
    QCOMPARE(VCI_OpenDevice(VCI_VARNET_TCP, 0xFFFFFFFFu, 0), 0u);
}

void tst_SimDevice::closedDeviceRefusesEverything()
{
    const uint32_t t = VCI_KELMO_USB1;
    QVERIFY(openAndStart(t, 0, {0}));
    QCOMPARE(VCI_CloseDevice(t, 0), 1u);
    VCI_INIT_CONFIG cfg = config();
    VCI_CAN_OBJ f = frame(1);
    VCI_BOARD_INFO info{};
    VCI_CAN_STATUS st{};
    uint32_t ref = 5;
    QCOMPARE(VCI_InitCAN(t, 0, 0, &cfg), 0u);
    QCOMPARE(VCI_StartCAN(t, 0, 0), 0u);
    QCOMPARE(VCI_ResetCAN(t, 0, 0), 0u);
    QCOMPARE(VCI_ClearBuffer(t, 0, 0), 0u);
    QCOMPARE(VCI_ReadBoardInfo(t, 0, &info), 0u);
    QCOMPARE(VCI_ReadCANStatus(t, 0, 0, &st), 0u);
    QCOMPARE(VCI_SetReference(t, 0, 0, 1, &ref), 0u);
    QCOMPARE(VCI_GetReference(t, 0, 0, 1, &ref), 0u);
    QCOMPARE(VCI_Transmit(t, 0, 0, &f, 1), 0u);
    QCOMPARE(VCI_Receive(t, 0, 0, &f, 1, 0), 0u);
    QCOMPARE(VCI_GetReceiveNum(t, 0, 0), 0u);
    QCOMPARE(VCISIM_InjectFrames(t, 0, 0, &f, 1), 0u);
    VCI_ERR_INFO e{};
    e.ErrorCode = VCI_ERR_BUS;
    QCOMPARE(VCISIM_InjectError(t, 0, 0, &e), 0u);
}

void tst_SimDevice::boardInfo_data()
{
    QTest::addColumn<uint>("type");
    QTest::addColumn<uint>("channels");
    const uint types[] = {2, 3, 4, 5, 12, 14, 17, 24, 25, 99};
    for (uint t : types)
        QTest::newRow(qPrintable(QString::number(t))) << t << vciChannelCount(t);
}

void tst_SimDevice::boardInfo()
{
    QFETCH(uint, type);
    QFETCH(uint, channels);
    QCOMPARE(VCI_OpenDevice(type, 2, 0), 1u);
    VCI_BOARD_INFO info;
    std::memset(&info, 0xAB, sizeof info);
    QCOMPARE(VCI_ReadBoardInfo(type, 2, &info), 1u);
    QCOMPARE(uint(info.ChannelCount), channels);
    QCOMPARE(info.HardwareVersion, uint16_t(0x0100));
    QCOMPARE(info.FirmwareVersion, uint16_t(0x0102));
    QCOMPARE(info.DriverVersion, uint16_t(0x0203));
    QCOMPARE(info.InterfaceVersion, uint16_t(0x0202));
    QVERIFY(std::memchr(info.SerialNumber, 0, sizeof info.SerialNumber));
    QVERIFY(std::memchr(info.HardwareType, 0, sizeof info.HardwareType));
    QVERIFY(std::strlen(info.SerialNumber) > 0);
    QVERIFY(std::strlen(info.HardwareType) > 0);
    QCOMPARE(VCI_ReadBoardInfo(type, 2, nullptr), 0u);
    // Each channel index below the count works, the next one does not.
    VCI_INIT_CONFIG cfg = config();
    for (uint ch = 0; ch < channels; ++ch)
        QCOMPARE(VCI_InitCAN(type, 2, ch, &cfg), 1u);
    QCOMPARE(VCI_InitCAN(type, 2, channels, &cfg), 0u);
}

void tst_SimDevice::channelRange()
{
    const uint32_t t = VCI_KELMO_USB2;
    QVERIFY(openAndStart(t, 0, {0, 1}));
    VCI_CAN_OBJ f = frame(1);
    VCI_ERR_INFO e{};
    e.ErrorCode = 0xFF;
    QCOMPARE(VCI_StartCAN(t, 0, 2), 0u);
    QCOMPARE(VCI_Transmit(t, 0, 2, &f, 1), 0u);
    QCOMPARE(VCI_Receive(t, 0, 2, &f, 1, 0), 0u);
    QCOMPARE(VCI_ReadErrInfo(t, 0, 2, &e), 0u);
    QCOMPARE(e.ErrorCode, 0u);
    QCOMPARE(VCI_Transmit(t, 0, 0, nullptr, 1), 0u);
    QCOMPARE(VCI_Transmit(t, 0, 0, &f, 0), 0u);
    QCOMPARE(VCI_Receive(t, 0, 0, nullptr, 1, 0), 0u);
    QCOMPARE(VCI_InitCAN(t, 0, 0, nullptr), 0u);
    QCOMPARE(VCI_ReadErrInfo(t, 0, 0, nullptr), 0u);
    VCISIM_STATS s{};
    QCOMPARE(VCISIM_GetStats(t, 0, 2, &s), 0u);
}

void tst_SimDevice::startNeedsInit()
{
    const uint32_t t = VCI_KELMO_USB1;
    QCOMPARE(VCI_OpenDevice(t, 0, 0), 1u);
    QCOMPARE(VCI_StartCAN(t, 0, 0), 0u);
    QCOMPARE(VCI_ResetCAN(t, 0, 0), 1u);
    VCI_INIT_CONFIG cfg = config();
    QCOMPARE(VCI_InitCAN(t, 0, 0, &cfg), 1u);
    QCOMPARE(VCI_StartCAN(t, 0, 0), 1u);
    QCOMPARE(VCI_InitCAN(t, 0, 0, &cfg), 1u); // a started channel re-initialises
    QCOMPARE(VCI_ResetCAN(t, 0, 0), 1u);
    QCOMPARE(VCI_InitCAN(t, 0, 0, &cfg), 1u); // and so does a reset one
    QCOMPARE(VCI_StartCAN(t, 0, 0), 1u);
}

void tst_SimDevice::initValidatesModes()
{
    const uint32_t t = VCI_KELMO_USB1;
    QCOMPARE(VCI_OpenDevice(t, 0, 0), 1u);
    VCI_INIT_CONFIG cfg = config(kBtr0_500k, kBtr1_500k, 3);
    QCOMPARE(VCI_InitCAN(t, 0, 0, &cfg), 0u);
    cfg = config(kBtr0_500k, kBtr1_500k, 0, 0, 0xFFFFFFFFu, 2);
    QCOMPARE(VCI_InitCAN(t, 0, 0, &cfg), 0u);
    cfg = config(0xFF, 0xFF, 2, 0, 0, 0);
    QCOMPARE(VCI_InitCAN(t, 0, 0, &cfg), 1u);
}

void tst_SimDevice::overflowKeepsOldestOneEvent()
{
    const uint32_t t = VCI_KELMO_USB2;
    // 1 Mbit/s: the 66,536 frames take about 5 s of bus time.
    QVERIFY(openAndStart(t, 0, {0, 1}, config(kBtr0_1M, kBtr1_1M)));
    const uint32_t total = VCISIM_RX_CAPACITY + 1000;
    std::vector<VCI_CAN_OBJ> frames(total);
    for (uint32_t i = 0; i < total; ++i)
        frames[i] = frame(i & 0x7FF, {uint8_t(i), uint8_t(i >> 8), uint8_t(i >> 16)});
    QVERIFY(sendAll(t, 0, 0, frames.data(), total));
    QTRY_COMPARE_WITH_TIMEOUT(stats(t, 0, 1).received + stats(t, 0, 1).dropped, quint64(total), 30000);
    QCOMPARE(VCI_GetReceiveNum(t, 0, 1), VCISIM_RX_CAPACITY);
    VCISIM_STATS s{};
    QCOMPARE(VCISIM_GetStats(t, 0, 1, &s), 1u);
    QCOMPARE(s.received, quint64(VCISIM_RX_CAPACITY));
    QCOMPARE(s.dropped, quint64(1000));

    VCI_ERR_INFO e{};
    QCOMPARE(VCI_ReadErrInfo(t, 0, 1, &e), 1u);
    QCOMPARE(e.ErrorCode, uint32_t(VCI_ERR_RX_OVERRUN));
    QCOMPARE(VCI_ReadErrInfo(t, 0, 1, &e), 0u);
    QCOMPARE(VCI_ReadErrInfo(t, 0, 0, &e), 0u); // the sender has no overrun

    std::vector<VCI_CAN_OBJ> got(VCISIM_RX_CAPACITY + 10);
    QCOMPARE(VCI_Receive(t, 0, 1, got.data(), uint32_t(got.size()), 0), VCISIM_RX_CAPACITY);
    for (uint32_t i : {0u, 1u, 4095u, VCISIM_RX_CAPACITY - 1}) {
        const uint32_t n = got[i].Data[0] | got[i].Data[1] << 8 | got[i].Data[2] << 16;
        QCOMPARE(n, i); // the oldest frames were kept, in order
    }
}

void tst_SimDevice::overflowEpisodes()
{
    const uint32_t t = VCI_KELMO_USB1;
    // 1 Mbit/s: the 65,541 frames take about 3.3 s of bus time.
    QVERIFY(openAndStart(t, 0, {0}, config(kBtr0_1M, kBtr1_1M)));
    std::vector<VCI_CAN_OBJ> frames(VCISIM_RX_CAPACITY + 5, frame(0x1));
    QCOMPARE(VCISIM_InjectFrames(t, 0, 0, frames.data(), uint32_t(frames.size())), uint32_t(frames.size()));
    QTRY_COMPARE_WITH_TIMEOUT(stats(t, 0, 0).dropped, quint64(5), 30000);
    QCOMPARE(VCISIM_InjectFrames(t, 0, 0, frames.data(), 5), 5u);
    QTRY_COMPARE(stats(t, 0, 0).dropped, quint64(10));
    QCOMPARE(VCI_GetReceiveNum(t, 0, 0), VCISIM_RX_CAPACITY);
    VCI_CAN_OBJ one;
    QCOMPARE(VCI_Receive(t, 0, 0, &one, 1, 0), 1u); // taking frames ends the episode
    QCOMPARE(VCISIM_InjectFrames(t, 0, 0, frames.data(), 3), 3u);
    QTRY_COMPARE(stats(t, 0, 0).dropped, quint64(12));
    QCOMPARE(VCI_GetReceiveNum(t, 0, 0), VCISIM_RX_CAPACITY);
    VCI_ERR_INFO e{};
    QCOMPARE(VCI_ReadErrInfo(t, 0, 0, &e), 1u);
    QCOMPARE(VCI_ReadErrInfo(t, 0, 0, &e), 1u);
    QCOMPARE(e.ErrorCode, uint32_t(VCI_ERR_RX_OVERRUN));
    QCOMPARE(VCI_ReadErrInfo(t, 0, 0, &e), 0u);
}

void tst_SimDevice::clearBuffer()
{
    const uint32_t t = VCI_KELMO_USB1;
    QVERIFY(openAndStart(t, 0, {0}));
    VCI_CAN_OBJ f[] = {frame(1), frame(2), frame(3)};
    QCOMPARE(VCISIM_InjectFrames(t, 0, 0, f, 3), 3u);
    QTRY_COMPARE(VCI_GetReceiveNum(t, 0, 0), 3u);
    QCOMPARE(VCI_ClearBuffer(t, 0, 0), 1u);
    QCOMPARE(VCI_GetReceiveNum(t, 0, 0), 0u);
    QCOMPARE(VCI_Receive(t, 0, 0, f, 3, 0), 0u);
}

void tst_SimDevice::readErrInfoOnceEach()
{
    const uint32_t t = VCI_KELMO_USB2;
    QCOMPARE(VCI_OpenDevice(t, 0, 0), 1u);
    VCI_ERR_INFO a{};
    a.ErrorCode = VCI_ERR_PASSIVE;
    a.PassiveErrorData[0] = 0x11;
    a.PassiveErrorData[1] = 128;
    a.PassiveErrorData[2] = 3;
    VCI_ERR_INFO b{};
    b.ErrorCode = VCI_ERR_ARBITRATION_LOST;
    b.ArbitrationLostData = 0x07;
    QCOMPARE(VCISIM_InjectError(t, 0, 1, &a), 1u);
    QCOMPARE(VCISIM_InjectError(t, 0, 1, &b), 1u);
    QCOMPARE(VCISIM_InjectError(t, 0, 2, &b), 0u);

    VCI_ERR_INFO got;
    QCOMPARE(VCI_ReadErrInfo(t, 0, 1, &got), 1u);
    QCOMPARE(std::memcmp(&got, &a, sizeof got), 0);
    QCOMPARE(VCI_ReadErrInfo(t, 0, 1, &got), 1u);
    QCOMPARE(std::memcmp(&got, &b, sizeof got), 0);
    std::memset(&got, 0x5A, sizeof got);
    QCOMPARE(VCI_ReadErrInfo(t, 0, 1, &got), 0u);
    const VCI_ERR_INFO zero{};
    QCOMPARE(std::memcmp(&got, &zero, sizeof got), 0);
    QCOMPARE(VCI_ReadErrInfo(t, 0, 0, &got), 0u); // channel 0 had none
}

void tst_SimDevice::errorStoreBounded()
{
    const uint32_t t = VCI_KELMO_USB1;
    QCOMPARE(VCI_OpenDevice(t, 0, 0), 1u);
    VCI_ERR_INFO e{};
    for (uint32_t i = 0; i < VCISIM_ERR_CAPACITY; ++i) {
        e.ErrorCode = 0x1000 + i;
        QCOMPARE(VCISIM_InjectError(t, 0, 0, &e), 1u);
    }
    QCOMPARE(VCISIM_InjectError(t, 0, 0, &e), 0u); // full: dropped
    uint32_t n = 0;
    while (VCI_ReadErrInfo(t, 0, 0, &e) == 1) {
        QCOMPARE(e.ErrorCode, 0x1000 + n);
        ++n;
    }
    QCOMPARE(n, VCISIM_ERR_CAPACITY);
}

void tst_SimDevice::statusDefaultAndSet()
{
    const uint32_t t = VCI_KELMO_USB2;
    QCOMPARE(VCI_OpenDevice(t, 0, 0), 1u);
    VCI_CAN_STATUS st;
    std::memset(&st, 0x33, sizeof st);
    QCOMPARE(VCI_ReadCANStatus(t, 0, 1, &st), 1u);
    const VCI_CAN_STATUS zero{};
    QCOMPARE(std::memcmp(&st, &zero, sizeof st), 0);

    VCI_CAN_STATUS set{};
    set.StatusReg = 0x80; // bus off
    set.RxErrorCounter = 130;
    set.TxErrorCounter = 255;
    QCOMPARE(VCISIM_SetStatus(t, 0, 1, &set), 1u);
    QCOMPARE(VCI_ReadCANStatus(t, 0, 1, &st), 1u);
    QCOMPARE(std::memcmp(&st, &set, sizeof st), 0);
    QCOMPARE(VCI_ReadCANStatus(t, 0, 0, &st), 1u);
    QCOMPARE(std::memcmp(&st, &zero, sizeof st), 0);
    QCOMPARE(VCISIM_SetStatus(t, 0, 2, &set), 0u);
    QCOMPARE(VCI_ReadCANStatus(t, 0, 2, &st), 0u);
    QCOMPARE(VCI_ReadCANStatus(t, 0, 1, nullptr), 0u);
}

void tst_SimDevice::references()
{
    const uint32_t t = VCI_KELMO_USB2;
    QCOMPARE(VCI_OpenDevice(t, 0, 0), 1u);
    uint32_t v = 0x12345678;
    QCOMPARE(VCI_SetReference(t, 0, 0, 7, &v), 1u);
    v = 99;
    QCOMPARE(VCI_SetReference(t, 0, 1, 7, &v), 1u);
    uint32_t out = 0;
    QCOMPARE(VCI_GetReference(t, 0, 0, 7, &out), 1u);
    QCOMPARE(out, 0x12345678u);
    QCOMPARE(VCI_GetReference(t, 0, 1, 7, &out), 1u);
    QCOMPARE(out, 99u);
    out = 5;
    QCOMPARE(VCI_GetReference(t, 0, 0, 8, &out), 1u); // never set: 0
    QCOMPARE(out, 0u);
    QCOMPARE(VCI_GetReference(t, 0, 2, 7, &out), 0u);
    QCOMPARE(VCI_SetReference(t, 0, 0, 7, nullptr), 0u);
    QCOMPARE(VCI_GetReference(t, 0, 0, 7, nullptr), 0u);
}

void tst_SimDevice::transmitLimit()
{
    const uint32_t t = VCI_KELMO_USB2;
    QVERIFY(openAndStart(t, 0, {0, 1}));
    VCI_CAN_OBJ f[] = {frame(1), frame(2), frame(3), frame(4), frame(5)};
    QCOMPARE(VCISIM_SetTransmitLimit(t, 0, 0, 3), 1u);
    QCOMPARE(VCI_Transmit(t, 0, 0, f, 5), 3u);
    QTRY_COMPARE(stats(t, 0, 0).carried, quint64(3));
    QCOMPARE(VCI_GetReceiveNum(t, 0, 1), 3u); // only the accepted ones went out
    QCOMPARE(VCI_Transmit(t, 0, 0, f, 2), 2u);
    QCOMPARE(VCISIM_SetTransmitLimit(t, 0, 0, 0), 1u);
    QCOMPARE(VCI_Transmit(t, 0, 0, f, 5), 0u);
    QTRY_COMPARE(VCI_GetReceiveNum(t, 0, 1), 5u);
    QCOMPARE(VCI_Transmit(t, 0, 1, f, 5), 5u); // other channel unaffected
    QCOMPARE(VCISIM_SetTransmitLimit(t, 0, 0, -1), 1u);
    QCOMPARE(VCI_Transmit(t, 0, 0, f, 5), 5u);
    VCISIM_STATS s{};
    QCOMPARE(VCISIM_GetStats(t, 0, 0, &s), 1u);
    QCOMPARE(s.transmitted, quint64(10));
    QCOMPARE(VCISIM_SetTransmitLimit(t, 0, 2, 1), 0u);
    // A limit set before the device opens applies once it is open.
    QCOMPARE(VCISIM_SetTransmitLimit(t, 5, 0, 0), 1u);
    QVERIFY(openAndStart(t, 5, {0, 1}));
    QCOMPARE(VCI_Transmit(t, 5, 0, f, 5), 0u);
}

void tst_SimDevice::transmitRefusals()
{
    const uint32_t t = VCI_KELMO_USB2;
    QCOMPARE(VCI_OpenDevice(t, 0, 0), 1u);
    VCI_CAN_OBJ f = frame(1);
    QCOMPARE(VCI_Transmit(t, 0, 0, &f, 1), 0u); // not initialised
    VCI_INIT_CONFIG cfg = config();
    QCOMPARE(VCI_InitCAN(t, 0, 0, &cfg), 1u);
    QCOMPARE(VCI_Transmit(t, 0, 0, &f, 1), 0u); // initialised, not started
    QCOMPARE(VCI_StartCAN(t, 0, 0), 1u);
    QCOMPARE(VCI_Transmit(t, 0, 0, &f, 1), 1u); // nobody listens: still sent
    QCOMPARE(VCI_Transmit(VCI_KELMO_USB1, 0, 0, &f, 1), 0u); // never opened
}

void tst_SimDevice::resetAllForgets()
{
    const uint32_t t = VCI_KELMO_USB2;
    QVERIFY(openAndStart(t, 0, {0, 1}));
    QCOMPARE(VCI_OpenDevice(t, 0, 0), 1u);
    VCI_CAN_STATUS set{};
    set.TxErrorCounter = 9;
    QCOMPARE(VCISIM_SetStatus(t, 0, 0, &set), 1u);
    QCOMPARE(VCISIM_SetTransmitLimit(t, 0, 0, 0), 1u);
    VCISIM_ResetAll();
    QCOMPARE(VCI_CloseDevice(t, 0), 0u); // every handle went
    QVERIFY(openAndStart(t, 0, {0, 1}));
    VCI_CAN_OBJ f = frame(1);
    QCOMPARE(VCI_Transmit(t, 0, 0, &f, 1), 1u);
    VCI_CAN_STATUS st{};
    QCOMPARE(VCI_ReadCANStatus(t, 0, 0, &st), 1u);
    QCOMPARE(st.TxErrorCounter, uint8_t(0));
}

QTEST_GUILESS_MAIN(tst_SimDevice)
#include "tst_simdevice.moc"
