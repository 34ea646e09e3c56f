// The simulated back-end as the drivers meet it: boards found in list
// order, their BARs and EEPROM, notifications, refused accesses, and the
// partner's traffic.
#include "plxtest.h"

#include <QtTest>

#include <thread>

using plxtest::MappedBar;
using plxtest::openAt;

class TestPlxSimBoards : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { PLXSIM_SetBoards(nullptr); }

    void findInListOrder();
    void findByDeviceId();
    void bars_data();
    void bars();
    void channelOrderOfFourChannelBoard();
    void eeprom();
    void accessOutsideMappedBarsIsRefused();
    void closedDeviceIsRefused();
    void notificationCancel();
    void bridgeInterruptEnable_data();
    void bridgeInterruptEnable();
    void backgroundTraffic();
};

void TestPlxSimBoards::findInListOrder()
{
    PLXSIM_SetBoards("0x9050,0x2210,1400");
    QCOMPARE(PLXSIM_BoardCount(), 3u);
    const uint16_t ids[] = {0x9050, 0x2210, 0x1400};
    for (uint16_t i = 0; i < 3; ++i) {
        PlxDeviceKey key;
        std::memset(&key, 0xFF, sizeof key);
        QCOMPARE(PlxPci_DeviceFind(&key, i), uint32_t(PLX_STATUS_OK));
        QCOMPARE(key.vendorId, uint16_t(0x10B5));
        QCOMPARE(key.deviceId, ids[i]);
        QCOMPARE(key.source, uint8_t(1));
    }
    PlxDeviceKey key;
    std::memset(&key, 0xFF, sizeof key);
    QCOMPARE(PlxPci_DeviceFind(&key, 3), uint32_t(PLX_STATUS_NOT_FOUND));
    QCOMPARE(PlxPci_DeviceFind(nullptr, 0), uint32_t(PLX_STATUS_NULL_PARAM));

    PLXSIM_SetBoards("");
    std::memset(&key, 0xFF, sizeof key);
    QCOMPARE(PlxPci_DeviceFind(&key, 0), uint32_t(PLX_STATUS_NOT_FOUND));
}

void TestPlxSimBoards::findByDeviceId()
{
    PLXSIM_SetBoards("0x2210,0x5201,0x2210");
    PlxDeviceKey key;
    std::memset(&key, 0xFF, sizeof key);
    key.deviceId = 0x2210;
    QCOMPARE(PlxPci_DeviceFind(&key, 1), uint32_t(PLX_STATUS_OK));
    QCOMPARE(key.bus, uint8_t(3));
    std::memset(&key, 0xFF, sizeof key);
    key.deviceId = 0x2210;
    QCOMPARE(PlxPci_DeviceFind(&key, 2), uint32_t(PLX_STATUS_NOT_FOUND));
}

void TestPlxSimBoards::bars_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<QList<int>>("present");

    // BAR 0: the bridge's own registers.
    QTest::newRow("0x2210") << "0x2210" << QList<int>{0, 2};
    QTest::newRow("0x2110") << "0x2110" << QList<int>{0, 2};
    QTest::newRow("0x5201") << "0x5201" << QList<int>{0, 2, 3};
    QTest::newRow("0x1101") << "0x1101" << QList<int>{0, 2};
    QTest::newRow("0x1400") << "0x1400" << QList<int>{0, 2, 3, 4, 5};
    QTest::newRow("foreign") << "0x9050" << QList<int>{};
}

void TestPlxSimBoards::bars()
{
    QFETCH(QString, board);
    QFETCH(QList<int>, present);
    PLXSIM_SetBoards(board.toLatin1().constData());
    PlxDevice device{};
    QCOMPARE(openAt(0, device), uint32_t(PLX_STATUS_OK));
    for (uint8_t bar = 0; bar <= 6; ++bar) {
        void *address = reinterpret_cast<void *>(1);
        const uint32_t status = PlxPci_PciBarMap(&device, bar, &address);
        if (present.contains(bar)) {
            QCOMPARE(status, uint32_t(PLX_STATUS_OK));
            QVERIFY(address);
            QCOMPARE(PlxPci_PciBarUnmap(&device, &address), uint32_t(PLX_STATUS_OK));
        } else {
            QCOMPARE(status, uint32_t(PLX_STATUS_INVALID_ADDR));
        }
        QVERIFY(!address);
    }
    QCOMPARE(PlxPci_DeviceClose(&device), uint32_t(PLX_STATUS_OK));
}

// Controller c sits behind BAR 5 - c.
void TestPlxSimBoards::channelOrderOfFourChannelBoard()
{
    PLXSIM_SetBoards("0x1400");
    PlxDevice device{};
    QCOMPARE(openAt(0, device), uint32_t(PLX_STATUS_OK));
    for (uint8_t bar = 2; bar <= 5; ++bar) {
        void *address = nullptr;
        QCOMPARE(PlxPci_PciBarMap(&device, bar, &address), uint32_t(PLX_STATUS_OK));
        PlxPci_WindowWrite8(&device, static_cast<uint8_t *>(address) + 31, 0xC8);
        PlxPci_WindowWrite8(&device, static_cast<uint8_t *>(address) + 13, uint8_t(0x10 + bar));
    }
    for (uint32_t controller = 0; controller < 4; ++controller) {
        uint8_t ewlr = 0;
        QVERIFY(PLXSIM_PeekRegister(0, controller, 13, &ewlr));
        QCOMPARE(ewlr, uint8_t(0x10 + 5 - controller));
    }
    QVERIFY(!PLXSIM_PeekRegister(0, 4, 13, nullptr));
    PlxPci_DeviceClose(&device);
}

void TestPlxSimBoards::eeprom()
{
    PLXSIM_SetBoards("0x2210,0x1400");
    PlxDevice device{};
    QCOMPARE(openAt(1, device), uint32_t(PLX_STATUS_OK));
    const std::pair<uint32_t, uint16_t> words[] = {{112, 0x0103}, {114, 0x0204}, {116, 0x0105},
                                                   {118, 0x0206}, {144, 0x1400}, {146, 0x5A01}, {148, 0x0001}};
    for (const auto &w : words) {
        uint16_t value = 0;
        QCOMPARE(PlxPci_EepromReadByOffset_16(&device, w.first, &value), uint32_t(PLX_STATUS_OK));
        QCOMPARE(value, w.second);
    }
    for (uint32_t offset : {113u, 256u, 0xFFFFFFFEu}) {
        uint16_t value = 0xAAAA;
        QCOMPARE(PlxPci_EepromReadByOffset_16(&device, offset, &value), uint32_t(PLX_STATUS_INVALID_OFFSET));
        QCOMPARE(value, uint16_t(0));
    }
    PlxPci_DeviceClose(&device);
}

void TestPlxSimBoards::accessOutsideMappedBarsIsRefused()
{
    PLXSIM_SetBoards("0x5201");
    MappedBar bar(0, 2);
    QCOMPARE(bar.status, uint32_t(PLX_STATUS_OK));
    uint8_t value = 0;
    QCOMPARE(PlxPci_WindowRead8(&bar.device, bar.base + 127, &value), uint32_t(PLX_STATUS_OK));
    QCOMPARE(PlxPci_WindowRead8(&bar.device, bar.base + 128, &value), uint32_t(PLX_STATUS_INVALID_ADDR));
    QCOMPARE(value, uint8_t(0xFF));
    QCOMPARE(PlxPci_WindowWrite8(&bar.device, bar.base - 1, 0), uint32_t(PLX_STATUS_INVALID_ADDR));
    QCOMPARE(PlxPci_WindowRead8(&bar.device, nullptr, &value), uint32_t(PLX_STATUS_INVALID_ADDR));

    void *address = bar.base;
    QCOMPARE(PlxPci_PciBarUnmap(&bar.device, &address), uint32_t(PLX_STATUS_OK));
    QCOMPARE(PlxPci_WindowRead8(&bar.device, bar.base, &value), uint32_t(PLX_STATUS_INVALID_ADDR));
    address = bar.base;
    QCOMPARE(PlxPci_PciBarUnmap(&bar.device, &address), uint32_t(PLX_STATUS_INVALID_ADDR));
}

void TestPlxSimBoards::closedDeviceIsRefused()
{
    PLXSIM_SetBoards("0x2210");
    PlxDevice device{};
    QCOMPARE(openAt(0, device), uint32_t(PLX_STATUS_OK));
    void *address = nullptr;
    QCOMPARE(PlxPci_PciBarMap(&device, 2, &address), uint32_t(PLX_STATUS_OK));
    const PlxDevice copy = device;
    QCOMPARE(PlxPci_DeviceClose(&device), uint32_t(PLX_STATUS_OK));
    QCOMPARE(device.handle, 0u);
    PlxDevice stale = copy;
    uint8_t value = 0;
    QCOMPARE(PlxPci_WindowRead8(&stale, address, &value), uint32_t(PLX_STATUS_INVALID_OBJECT));
    QCOMPARE(PlxPci_DeviceClose(&stale), uint32_t(PLX_STATUS_INVALID_OBJECT));
    PlxDevice zeroed{};
    QCOMPARE(PlxPci_DeviceReset(&zeroed), uint32_t(PLX_STATUS_INVALID_OBJECT));
    QCOMPARE(PlxPci_WindowWrite8(nullptr, address, 0), uint32_t(PLX_STATUS_INVALID_OBJECT));

    // Reconfiguring closes whatever is open.
    QCOMPARE(openAt(0, device), uint32_t(PLX_STATUS_OK));
    PLXSIM_SetBoards("0x2210");
    QCOMPARE(PlxPci_DeviceReset(&device), uint32_t(PLX_STATUS_INVALID_OBJECT));
}

// A cancel wakes a waiting thread and sticks for later waits; closing the
// device cancels too. Each acts once the wait has begun; the woken wait
// returns long before its 10 s time-out (5 s for a loaded machine).
void TestPlxSimBoards::notificationCancel()
{
    PLXSIM_SetBoards("0x2210");
    PlxDevice device{};
    QCOMPARE(openAt(0, device), uint32_t(PLX_STATUS_OK));
    PlxInterrupt irq{};
    irq.sources = PLX_INT_LOCAL_1;
    PlxNotification first{}, second{};
    QCOMPARE(PlxPci_NotificationRegisterFor(&device, &irq, &first), uint32_t(PLX_STATUS_OK));
    QCOMPARE(PlxPci_NotificationRegisterFor(&device, &irq, &second), uint32_t(PLX_STATUS_OK));
    QVERIFY(first.id != second.id);

    uint32_t waited = 0;
    QElapsedTimer timer;
    timer.start();
    std::thread waiter([&] { waited = PlxPci_NotificationWait(&device, &first, 10000); });
    QTRY_COMPARE(PLXSIM_NotificationWaiters(0), 1u);
    QCOMPARE(PlxPci_NotificationCancel(&device, &first), uint32_t(PLX_STATUS_OK));
    waiter.join();
    QCOMPARE(waited, uint32_t(PLX_STATUS_CANCELED));
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(PlxPci_NotificationWait(&device, &first, 10000), uint32_t(PLX_STATUS_CANCELED));

    timer.restart();
    std::thread closer([&] { waited = PlxPci_NotificationWait(&device, &second, 10000); });
    QTRY_COMPARE(PLXSIM_NotificationWaiters(0), 1u);
    PlxDevice copy = device;
    QCOMPARE(PlxPci_DeviceClose(&copy), uint32_t(PLX_STATUS_OK));
    closer.join();
    QCOMPARE(waited, uint32_t(PLX_STATUS_CANCELED));
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    PlxNotification none{};
    QCOMPARE(PlxPci_NotificationWait(&device, &none, 0), uint32_t(PLX_STATUS_INVALID_OBJECT));
}

void TestPlxSimBoards::bridgeInterruptEnable_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<int>("controllerBar");
    QTest::addColumn<int>("intcsr");        // offset in BAR 0
    QTest::addColumn<uint32_t>("enabled");  // local input(s) and PCI interrupt enabled
    QTest::addColumn<uint32_t>("pciEnable");
    QTest::addColumn<uint32_t>("active");   // local input 1 active

    QTest::newRow("PCI9052: 0x1400") << "0x1400" << 5 << 0x4C << 0x49u << 0x40u << 0x04u;
    QTest::newRow("PCI9052: 0x5201") << "0x5201" << 2 << 0x4C << 0x49u << 0x40u << 0x04u;
    QTest::newRow("PEX8311: 0x2210") << "0x2210" << 2 << 0x68 << 0x0900u << 0x0100u << 0x8000u;
}

// The bridge's INTCSR decides whether a pending controller reaches the
// host: enabled by PlxPci_InterruptEnable, cut off by a disable of the PCI
// interrupt, and enabled again by a write to the register itself.
void TestPlxSimBoards::bridgeInterruptEnable()
{
    QFETCH(QString, board);
    QFETCH(int, controllerBar);
    QFETCH(int, intcsr);
    QFETCH(uint32_t, enabled);
    QFETCH(uint32_t, pciEnable);
    QFETCH(uint32_t, active);
    PLXSIM_SetBoards(board.toLatin1().constData());
    MappedBar bridge(0, 0);
    QCOMPARE(bridge.status, uint32_t(PLX_STATUS_OK));
    void *address = nullptr;
    QCOMPARE(PlxPci_PciBarMap(&bridge.device, uint8_t(controllerBar), &address), uint32_t(PLX_STATUS_OK));
    auto *controller = static_cast<uint8_t *>(address);
    const auto readIntcsr = [&] {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= uint32_t(bridge.read(size_t(intcsr + i))) << (8 * i);
        return value;
    };
    QCOMPARE(readIntcsr(), 0u); // as the EEPROM left it

    PlxInterrupt irq{};
    irq.sources = PLX_INT_LOCAL_1 | PLX_INT_LOCAL_2 | PLX_INT_PCI_MAIN;
    PlxNotification event{};
    QCOMPARE(PlxPci_NotificationRegisterFor(&bridge.device, &irq, &event), uint32_t(PLX_STATUS_OK));
    QCOMPARE(PlxPci_InterruptEnable(&bridge.device, &irq), uint32_t(PLX_STATUS_OK));
    QCOMPARE(readIntcsr(), enabled);

    // Controller 0 receiving at 500 kbit/s with its receive interrupt on.
    for (auto [reg, value] : {std::pair<int, int>{31, 0xC8}, {6, 0x00}, {7, 0x1C}, {20, 0xFF}, {21, 0xFF},
                              {22, 0xFF}, {23, 0xFF}, {4, 0x01}, {0, 0x00}})
        PlxPci_WindowWrite8(&bridge.device, controller + reg, uint8_t(value));
    PlxInterrupt pci{};
    pci.sources = PLX_INT_PCI_MAIN;
    QCOMPARE(PlxPci_InterruptDisable(&bridge.device, &pci), uint32_t(PLX_STATUS_OK));
    QCOMPARE(readIntcsr(), enabled & ~pciEnable);
    VCI_CAN_OBJ f{};
    f.ID = 0x123;
    QCOMPARE(PLXSIM_SendFrames(0, 500000, &f, 1), 1u);
    QCOMPARE(PlxPci_NotificationWait(&bridge.device, &event, 30), uint32_t(PLX_STATUS_TIMEOUT));
    QCOMPARE(readIntcsr(), (enabled & ~pciEnable) | active);

    // Only the enable bits are written; the status bit stays the board's.
    for (int i = 0; i < 4; ++i)
        bridge.write(size_t(intcsr + i), uint8_t((enabled | 0x2000'0000u) >> (8 * i)));
    QCOMPARE(PlxPci_NotificationWait(&bridge.device, &event, 1000), uint32_t(PLX_STATUS_OK));
    QCOMPARE(readIntcsr(), enabled | active);
}

void TestPlxSimBoards::backgroundTraffic()
{
    PLXSIM_SetBoards("0x2210");
    MappedBar bar(0, 2);
    for (auto [reg, value] : {std::pair<int, int>{31, 0xC8}, {6, 0x00}, {7, 0x1C}, {20, 0xFF}, {21, 0xFF},
                              {22, 0xFF}, {23, 0xFF}, {0, 0x00}})
        bar.write(size_t(reg), uint8_t(value));
    QVERIFY(!PLXSIM_SetTraffic(0, 500000, 0x321, PLXSIM_MAX_TRAFFIC + 1));
    QVERIFY(!PLXSIM_SetTraffic(0, 0, 0x321, 10));
    QVERIFY(!PLXSIM_SetTraffic(1, 500000, 0x321, 10));
    QVERIFY(PLXSIM_SetTraffic(0, 500000, 0x321, 2000));
    QTRY_VERIFY(bar.read(29) == 5); // the FIFO fills: nobody reads it
    QVERIFY(PLXSIM_SetTraffic(0, 500000, 0x321, 0));

    // Once the frame on the bus at the stop has ended, every frame the node
    // sent was stored or overran the FIFO.
    PLXSIM_STATS board{}, controller{}, other{};
    const auto counted = [&board, &controller] {
        return PLXSIM_GetStats(0, PLXSIM_BOARD, &board) && PLXSIM_GetStats(0, 0, &controller)
            && controller.received + controller.overruns == board.generated;
    };
    QTRY_VERIFY(counted());
    QVERIFY(PLXSIM_GetStats(0, 1, &other));
    QVERIFY(!PLXSIM_GetStats(0, 2, &other));
    QVERIFY(board.generated >= 5);
    QCOMPARE(controller.received, 5u);
    QCOMPARE(other.received, 0u); // still in reset mode

    // The first message: the id and a frame counter of 0.
    QCOMPARE(bar.read(16), uint8_t(0x08));
    QCOMPARE(bar.read(17), uint8_t(0x321 >> 3));
    QCOMPARE(bar.read(19), uint8_t(0));
    bar.write(1, 0x04);
    QCOMPARE(bar.read(19), uint8_t(1));
}

QTEST_APPLESS_MAIN(TestPlxSimBoards)
#include "tst_plxsimboards.moc"
