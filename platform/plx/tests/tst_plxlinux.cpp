// The Linux back-end on a fake sysfs tree: devices found in address order,
// boards without a UIO driver refused, BARs mapped from resource files,
// the interrupt re-enabled in the bridge and the config space, UIO
// notifications (a FIFO stands in for /dev/uioN) that time out, arrive and
// are cancelled, and each file it cannot use (a UIO node that hangs up
// among them) failing its call with one line on stderr.
#include "plxtest.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/mman.h>
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
    void failures_data();
    void failures();

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
    // Traversable by the unprivileged user of asUnprivileged().
    QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                    | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                                    | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                                    | QFileDevice::ExeOther));
    QDir root(m_dir.path());
    QVERIFY(root.mkpath("dev"));
    QVERIFY(root.mkpath("devices/not-a-pci-address"));
    for (const FakeDevice &d : kDevices) {
        const QString path = devicePath(d.address);
        QVERIFY(root.mkpath(path));
        write(path + "/vendor", QByteArray(d.vendor) + '\n');
        write(path + "/device", QByteArray(d.device) + '\n');
        write(path + "/resource0", QByteArray(256, '\0')); // the bridge's registers
        write(path + "/resource1", QByteArray(128, '\0')); // an I/O BAR, as the resource file says
        write(path + "/resource2", QByteArray(512, '\0'));
        write(path + "/resource", "0x00000000fe000000 0x00000000fe0000ff 0x0000000000040200\n"
                                  "0x000000000000e000 0x000000000000e07f 0x0000000000040101\n"
                                  "0x00000000fe001000 0x00000000fe0011ff 0x0000000000040200\n"
                                  "0x0000000000000000 0x0000000000000000 0x0000000000000000\n");
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
    write(m_dir.path() + "/lockdown-none", "[none] integrity confidentiality\n");
    write(m_dir.path() + "/lockdown-integrity", "none [integrity] confidentiality\n");
    qputenv("PLX_LOCKDOWN_FILE", QFile::encodeName(m_dir.path() + "/lockdown-none"));
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
    qunsetenv("PLX_LOCKDOWN_FILE");
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
    QCOMPARE(PlxPci_PciBarMap(&device, 1, &address), uint32_t(PLX_STATUS_INVALID_ADDR));
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
    // The board's PEX8311: PCI interrupt (bit 8) and local input (bit 11)
    // enabled in INTCSR at 0x68 of BAR 0.
    QByteArray bridge = read(path + "/resource0");
    QCOMPARE(uint8_t(bridge[0x68]), uint8_t(0x00));
    QCOMPARE(uint8_t(bridge[0x69]), uint8_t(0x09));
    irq.sources = PLX_INT_PCI_MAIN;
    QCOMPARE(PlxPci_InterruptDisable(&device, &irq), uint32_t(PLX_STATUS_OK));
    bridge = read(path + "/resource0");
    QCOMPARE(uint8_t(bridge[0x69]), uint8_t(0x08));
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

namespace {

enum Step { Open, MapBar2, MapBar1, Register, Enable, Wait };

// A file the writer of a sealed memory file may no longer change: writes
// and writable shared mappings fail with EPERM, as the kernel lockdown
// makes them fail on sysfs. Returns the path that reaches it.
QString sealedFile(const QByteArray &content)
{
    const int fd = memfd_create("sealed", MFD_ALLOW_SEALING);
    if (fd < 0 || ::write(fd, content.constData(), size_t(content.size())) != content.size()
        || fcntl(fd, F_ADD_SEALS, F_SEAL_WRITE | F_SEAL_SHRINK | F_SEAL_GROW) != 0)
        return QString();
    return QStringLiteral("/proc/self/fd/%1").arg(fd); // kept open for the test's run
}

} // namespace

Q_DECLARE_METATYPE(Step)

void TestPlxLinux::failures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<Step>("step");    // the call that must fail (or not)
    QTest::addColumn<uint32_t>("status");
    QTest::addColumn<QString>("file");   // empty: nothing printed
    QTest::addColumn<QString>("reason");

    const uint32_t access = PLX_STATUS_INVALID_ACCESS;
    QTest::newRow("no driver bound") << "unbound" << Open << uint32_t(PLX_STATUS_NO_DRIVER) << "0000:0a:00.0"
                                     << "not bound to uio_pci_generic (no driver bound";
    QTest::newRow("another driver bound") << "other driver" << Open << uint32_t(PLX_STATUS_NO_DRIVER)
                                          << "0000:0a:00.0" << "not bound to uio_pci_generic (bound to plx_pci";
    QTest::newRow("BAR without access") << "resource2 denied" << MapBar2 << access << "0000:0a:00.0/resource2"
                                        << "cannot open: permission denied";
    QTest::newRow("BAR under lockdown") << "resource2 locked" << MapBar2 << access << "0000:0a:00.0/resource2"
                                        << "cannot map: refused by the kernel lockdown (integrity)";
    QTest::newRow("I/O BAR") << "" << MapBar1 << uint32_t(PLX_STATUS_INVALID_ADDR) << "0000:0a:00.0/resource1"
                             << "an I/O port BAR, which cannot be mapped";
    QTest::newRow("UIO node without access") << "uio denied" << Register << access << "dev/uio7"
                                             << "cannot open: permission denied";
    QTest::newRow("config without access") << "config denied" << Register << access << "0000:0a:00.0/config"
                                           << "cannot open for reading: permission denied";
    QTest::newRow("bridge registers without access") << "resource0 denied" << Register << access
                                                     << "0000:0a:00.0/resource0" << "cannot open: permission denied";
    QTest::newRow("config read-only, interrupt masked") << "config read-only, masked" << Enable << access
                                                        << "0000:0a:00.0/config"
                                                        << "cannot open for writing: permission denied";
    QTest::newRow("config read-only, nothing to write") << "config read-only" << Enable << uint32_t(PLX_STATUS_OK)
                                                        << "" << "";
    QTest::newRow("config write under lockdown")
        << "config locked, masked" << Enable << access << "0000:0a:00.0/config"
        << "cannot write the command register: refused by the kernel lockdown (integrity)";
    // Readable at once and never a count, as a node whose board was unbound.
    QTest::newRow("UIO node hung up") << "uio dead" << Wait << uint32_t(PLX_STATUS_FAILED) << "dev/uio7"
                                      << "interrupt wait failed: end of file instead of an interrupt count";
}

// Each row builds its own board 0x2210 (bound to UIO, everything readable
// and writable by anyone) and breaks one thing; the calls up to the row's
// step run with an unprivileged user's rights.
void TestPlxLinux::failures()
{
    QFETCH(QString, fault);
    QFETCH(Step, step);
    QFETCH(uint32_t, status);
    QFETCH(QString, file);
    QFETCH(QString, reason);

    const QString root = m_dir.path() + "/faults/" + QString(QTest::currentDataTag()).replace('/', '-');
    const QString path = root + "/devices/0000:0a:00.0";
    QVERIFY(QDir().mkpath(path));
    QVERIFY(QDir().mkpath(root + "/dev"));
    const auto everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                        | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    QByteArray config(256, '\0');
    config[5] = fault.contains("masked") ? 0x04 : 0x00;
    const QList<QPair<QString, QByteArray>> files = {
        {"vendor", "0x10b5\n"}, {"device", "0x2210\n"}, {"resource0", QByteArray(256, '\0')},
        {"resource1", QByteArray(128, '\0')}, {"resource2", QByteArray(512, '\0')}, {"config", config},
        {"reset", QByteArray()},
        {"resource", "0x00000000fe000000 0x00000000fe0000ff 0x0000000000040200\n"
                     "0x000000000000e000 0x000000000000e07f 0x0000000000040101\n"
                     "0x00000000fe001000 0x00000000fe0011ff 0x0000000000040200\n"}};
    for (const auto &f : files) {
        write(path + '/' + f.first, f.second);
        QVERIFY(QFile::setPermissions(path + '/' + f.first, everyone));
    }
    const QByteArray node = QFile::encodeName(root + "/dev/uio7");
    if (fault == "uio dead")
        write(QString::fromUtf8(node), QByteArray());
    else
        QCOMPARE(::mkfifo(node.constData(), 0666), 0);
    QCOMPARE(::chmod(node.constData(), 0666), 0);
    if (fault == "other driver")
        QCOMPARE(::symlink("../../../bus/pci/drivers/plx_pci", QFile::encodeName(path + "/driver").constData()), 0);
    else if (fault != "unbound")
        QVERIFY(QDir().mkpath(path + "/uio/uio7"));

    const QString broken = fault.section(' ', 0, 0);
    if (fault.endsWith("denied")) {
        const QString target = broken == "uio" ? QString::fromUtf8(node) : path + '/' + broken;
        QVERIFY(QFile::setPermissions(target, QFileDevice::Permissions()));
    } else if (fault.contains("read-only")) {
        QVERIFY(QFile::setPermissions(path + "/config", QFileDevice::ReadOwner | QFileDevice::ReadGroup
                                                        | QFileDevice::ReadOther));
    } else if (fault.contains("locked")) {
        const QString sealed = sealedFile(broken == "config" ? config : QByteArray(512, '\0'));
        QVERIFY(!sealed.isEmpty());
        QVERIFY(QFile::remove(path + '/' + broken));
        QVERIFY(QFile::link(sealed, path + '/' + broken));
        qputenv("PLX_LOCKDOWN_FILE", QFile::encodeName(m_dir.path() + "/lockdown-integrity"));
    }
    for (const QString &dir : {m_dir.path() + "/faults", root, root + "/devices", path, root + "/dev",
                               path + "/uio", path + "/uio/uio7"})
        ::chmod(QFile::encodeName(dir).constData(), 0755);
    qputenv("PLX_SYSFS_ROOT", QFile::encodeName(root + "/devices"));
    qputenv("PLX_DEV_ROOT", QFile::encodeName(root + "/dev"));

    PlxDevice device{};
    uint32_t got = PLX_STATUS_FAILED;
    const auto run = [&] {
        got = open(0x2210, 0, device);
        void *address = nullptr;
        if (got == PLX_STATUS_OK && (step == MapBar2 || step == MapBar1))
            got = PlxPci_PciBarMap(&device, step == MapBar2 ? 2 : 1, &address);
        PlxInterrupt irq{};
        irq.sources = PLX_INT_LOCAL_1 | PLX_INT_LOCAL_2 | PLX_INT_PCI_MAIN;
        PlxNotification event{};
        if (got == PLX_STATUS_OK && step >= Register)
            got = PlxPci_NotificationRegisterFor(&device, &irq, &event);
        if (got == PLX_STATUS_OK && step == Enable)
            got = PlxPci_InterruptEnable(&device, &irq);
        // A failed wait fails again, with no second line.
        if (got == PLX_STATUS_OK && step == Wait && PlxPci_NotificationWait(&device, &event, 1000) == PLX_STATUS_FAILED)
            got = PlxPci_NotificationWait(&device, &event, 1000);
    };
    // File modes do not bind root, and /proc/self/fd is root's alone once
    // the effective user changes: the sealed rows keep the test's user.
    bool dropped = true;
    const std::string printed = plxtest::stderrOf([&] {
        if (fault.contains("locked"))
            run();
        else
            dropped = plxtest::asUnprivileged(run);
    });
    PlxPci_DeviceClose(&device);
    qputenv("PLX_SYSFS_ROOT", QFile::encodeName(m_dir.path() + "/devices"));
    qputenv("PLX_DEV_ROOT", QFile::encodeName(m_dir.path() + "/dev"));
    qputenv("PLX_LOCKDOWN_FILE", QFile::encodeName(m_dir.path() + "/lockdown-none"));
    QVERIFY(dropped);

    QCOMPARE(got, status);
    const QStringList lines = QString::fromStdString(printed).split('\n', Qt::SkipEmptyParts);
    if (file.isEmpty()) {
        QVERIFY2(lines.isEmpty(), printed.c_str());
        return;
    }
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].startsWith("PlxApi: " + root), printed.c_str());
    QVERIFY2(lines[0].contains(file + ": "), printed.c_str());
    QVERIFY2(lines[0].contains(reason), printed.c_str());
}

QTEST_APPLESS_MAIN(TestPlxLinux)
#include "tst_plxlinux.moc"
