// The Linux back-end on a fake sysfs tree: devices found in address order,
// boards without a UIO driver refused, BARs mapped from resource files,
// the interrupt re-enabled in the config space, and UIO notifications
// (a FIFO stands in for /dev/uioN) that time out, arrive and are cancelled.
#include "plxtest.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

namespace {

struct FakeDevice {
    const char *address;
    const char *vendor;
    const char *device;
    int uio; // -1: no UIO driver bound
};

const FakeDevice kDevices[] = {
    {"0000:04:00.0", "0x10b5", "0x2210", 4},
    {"0000:01:00.0", "0x10b5", "0x9050", -1},
    {"0000:02:00.0", "0x10b5", "0x2210", 2},
    {"0000:03:00.0", "0x8086", "0x1234", -1},
};

} // namespace

class TestPlxLinux : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void findInAddressOrder();
    void findByIds();
    void boardWithoutUioIsRefused();
    void mapAccessUnmap();
    void resetEepromAndInterruptEnable();
    void notifications();

private:
    QString devicePath(const char *address) const { return m_dir.path() + "/devices/" + address; }
    void write(const QString &path, const QByteArray &content);
    QByteArray read(const QString &path);
    uint32_t open(uint16_t deviceId, uint16_t matchIndex, PlxDevice &device);

    QTemporaryDir m_dir;
};

void TestPlxLinux::write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray TestPlxLinux::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestPlxLinux::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDir root(m_dir.path());
    QVERIFY(root.mkpath("dev"));
    QVERIFY(root.mkpath("devices/not-a-pci-address"));
    for (const FakeDevice &d : kDevices) {
        const QString path = devicePath(d.address);
        QVERIFY(root.mkpath(path));
        write(path + "/vendor", QByteArray(d.vendor) + '\n');
        write(path + "/device", QByteArray(d.device) + '\n');
        write(path + "/resource2", QByteArray(512, '\0'));
        write(path + "/resource0", QByteArray()); // an I/O BAR: size 0 here
        QByteArray config(256, '\0');
        config[5] = 0x04; // INTx disabled, as after an interrupt
        write(path + "/config", config);
        write(path + "/reset", QByteArray());
        if (d.uio >= 0) {
            QVERIFY(root.mkpath(path + QStringLiteral("/uio/uio%1").arg(d.uio)));
            const QByteArray node = QFile::encodeName(m_dir.path() + QStringLiteral("/dev/uio%1").arg(d.uio));
            QCOMPARE(::mkfifo(node.constData(), 0600), 0);
        }
    }
    qputenv("PLX_SYSFS_ROOT", QFile::encodeName(m_dir.path() + "/devices"));
    qputenv("PLX_DEV_ROOT", QFile::encodeName(m_dir.path() + "/dev"));
    qunsetenv("PLXSIM_BOARDS");
    PLXSIM_SetBoards(nullptr);
    QCOMPARE(PLXSIM_BoardCount(), 0u);
}

void TestPlxLinux::cleanupTestCase()
{
    qunsetenv("PLX_SYSFS_ROOT");
    qunsetenv("PLX_DEV_ROOT");
}

uint32_t TestPlxLinux::open(uint16_t deviceId, uint16_t matchIndex, PlxDevice &device)
{
    PlxDeviceKey key;
    std::memset(&key, 0xFF, sizeof key);
    key.vendorId = 0x10B5;
    key.deviceId = deviceId;
    const uint32_t status = PlxPci_DeviceFind(&key, matchIndex);
    if (status != PLX_STATUS_OK)
        return status;
    device = PlxDevice{};
    return PlxPci_DeviceOpen(&key, &device);
}

void TestPlxLinux::findInAddressOrder()
{
    const uint8_t buses[] = {1, 2, 3, 4};
    const uint16_t ids[] = {0x9050, 0x2210, 0x1234, 0x2210};
    for (uint16_t i = 0; i < 4; ++i) {
        PlxDeviceKey key;
        std::memset(&key, 0xFF, sizeof key);
        QCOMPARE(PlxPci_DeviceFind(&key, i), uint32_t(PLX_STATUS_OK));
        QCOMPARE(key.bus, buses[i]);
        QCOMPARE(key.deviceId, ids[i]);
        QCOMPARE(key.domain, uint16_t(0));
        QCOMPARE(key.slot, uint8_t(0));
        QCOMPARE(key.source, uint8_t(0));
    }
    PlxDeviceKey key;
    std::memset(&key, 0xFF, sizeof key);
    QCOMPARE(PlxPci_DeviceFind(&key, 4), uint32_t(PLX_STATUS_NOT_FOUND));
}

void TestPlxLinux::findByIds()
{
    PlxDeviceKey key;
    std::memset(&key, 0xFF, sizeof key);
    key.vendorId = 0x10B5;
    key.deviceId = 0x2210;
    QCOMPARE(PlxPci_DeviceFind(&key, 1), uint32_t(PLX_STATUS_OK));
    QCOMPARE(key.bus, uint8_t(4));
    std::memset(&key, 0xFF, sizeof key);
    key.vendorId = 0x10B5;
    QCOMPARE(PlxPci_DeviceFind(&key, 3), uint32_t(PLX_STATUS_NOT_FOUND));
}

void TestPlxLinux::boardWithoutUioIsRefused()
{
    PlxDevice device{};
    QCOMPARE(open(0x9050, 0, device), uint32_t(PLX_STATUS_NO_DRIVER));
    QCOMPARE(device.handle, 0u);

    PlxDeviceKey gone{};
    gone.vendorId = 0x10B5;
    gone.deviceId = 0x2210;
    gone.bus = 9;
    QCOMPARE(PlxPci_DeviceOpen(&gone, &device), uint32_t(PLX_STATUS_INVALID_OBJECT));
}

void TestPlxLinux::mapAccessUnmap()
{
    PlxDevice device{};
    QCOMPARE(open(0x2210, 0, device), uint32_t(PLX_STATUS_OK));
    void *address = nullptr;
    QCOMPARE(PlxPci_PciBarMap(&device, 0, &address), uint32_t(PLX_STATUS_INVALID_ADDR));
    QCOMPARE(PlxPci_PciBarMap(&device, 3, &address), uint32_t(PLX_STATUS_INVALID_ADDR));
    QCOMPARE(PlxPci_PciBarMap(&device, 2, &address), uint32_t(PLX_STATUS_OK));
    auto *bar = static_cast<uint8_t *>(address);

    QCOMPARE(PlxPci_WindowWrite8(&device, bar + 3, 0x5A), uint32_t(PLX_STATUS_OK));
    QCOMPARE(PlxPci_WindowWrite8(&device, bar + 511, 0xA5), uint32_t(PLX_STATUS_OK));
    QCOMPARE(PlxPci_WindowWrite8(&device, bar + 512, 0x11), uint32_t(PLX_STATUS_INVALID_ADDR));
    uint8_t value = 0;
    QCOMPARE(PlxPci_WindowRead8(&device, bar + 3, &value), uint32_t(PLX_STATUS_OK));
    QCOMPARE(value, uint8_t(0x5A));

    QCOMPARE(PlxPci_PciBarUnmap(&device, &address), uint32_t(PLX_STATUS_OK));
    QVERIFY(!address);
    QCOMPARE(PlxPci_WindowRead8(&device, bar + 3, &value), uint32_t(PLX_STATUS_INVALID_ADDR));
    const QByteArray content = read(devicePath("0000:02:00.0") + "/resource2");
    QCOMPARE(content.size(), 512);
    QCOMPARE(uint8_t(content[3]), uint8_t(0x5A));
    QCOMPARE(uint8_t(content[511]), uint8_t(0xA5));

    // A mapping still held at close is released by the close.
    QCOMPARE(PlxPci_PciBarMap(&device, 2, &address), uint32_t(PLX_STATUS_OK));
    QCOMPARE(PlxPci_DeviceClose(&device), uint32_t(PLX_STATUS_OK));
}

void TestPlxLinux::resetEepromAndInterruptEnable()
{
    PlxDevice device{};
    QCOMPARE(open(0x2210, 1, device), uint32_t(PLX_STATUS_OK));
    const QString path = devicePath("0000:04:00.0");
    QCOMPARE(PlxPci_DeviceReset(&device), uint32_t(PLX_STATUS_OK));
    QCOMPARE(read(path + "/reset"), QByteArray("1"));

    uint16_t word = 0xFFFF;
    QCOMPARE(PlxPci_EepromReadByOffset_16(&device, 112, &word), uint32_t(PLX_STATUS_UNSUPPORTED));
    QCOMPARE(word, uint16_t(0));

    PlxInterrupt irq{};
    irq.sources = PLX_INT_LOCAL_1;
    QCOMPARE(PlxPci_InterruptEnable(&device, &irq), uint32_t(PLX_STATUS_OK));
    const QByteArray config = read(path + "/config");
    QCOMPARE(config.size(), 256);
    QCOMPARE(uint8_t(config[5]), uint8_t(0x00));
    PlxPci_DeviceClose(&device);
}

void TestPlxLinux::notifications()
{
    PlxDevice device{};
    QCOMPARE(open(0x2210, 0, device), uint32_t(PLX_STATUS_OK));
    PlxInterrupt irq{};
    irq.sources = PLX_INT_LOCAL_1;
    PlxNotification event{};
    QCOMPARE(PlxPci_NotificationRegisterFor(&device, &irq, &event), uint32_t(PLX_STATUS_OK));
    QCOMPARE(PlxPci_NotificationWait(&device, &event, 30), uint32_t(PLX_STATUS_TIMEOUT));

    // The kernel hands out a 32-bit interrupt count per read.
    const QByteArray node = QFile::encodeName(m_dir.path() + "/dev/uio2");
    const int fifo = ::open(node.constData(), O_RDWR | O_NONBLOCK);
    QVERIFY(fifo >= 0);
    const uint32_t count = 1;
    QCOMPARE(::write(fifo, &count, sizeof count), ssize_t(sizeof count));
    QCOMPARE(PlxPci_NotificationWait(&device, &event, 1000), uint32_t(PLX_STATUS_OK));
    QCOMPARE(PlxPci_NotificationWait(&device, &event, 10), uint32_t(PLX_STATUS_TIMEOUT));

    uint32_t waited = 0;
    std::thread waiter([&] { waited = PlxPci_NotificationWait(&device, &event, 10000); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    QCOMPARE(PlxPci_NotificationCancel(&device, &event), uint32_t(PLX_STATUS_OK));
    waiter.join();
    QCOMPARE(waited, uint32_t(PLX_STATUS_CANCELED));
    // Cancelled for good, even with an interrupt waiting.
    QCOMPARE(::write(fifo, &count, sizeof count), ssize_t(sizeof count));
    QCOMPARE(PlxPci_NotificationWait(&device, &event, 0), uint32_t(PLX_STATUS_CANCELED));
    ::close(fifo);
    QCOMPARE(PlxPci_DeviceClose(&device), uint32_t(PLX_STATUS_OK));
}

QTEST_APPLESS_MAIN(TestPlxLinux)
#include "tst_plxlinux.moc"
