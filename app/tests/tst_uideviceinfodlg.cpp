// The device information dialog against the simulated board and against
// boards that report odd records: versions, whole channel counts, texts
// that fill their fields, markup in texts, and failed reads.
#include "devcan.h"
#include "guitest.h"
#include "uideviceinfodlg.h"
#include "vcisim.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <cstring>

namespace {

VCI_BOARD_INFO fakeBoard;
uint32_t fakeResult = 1;
bool fakeWrites = true;

uint32_t fakeReadBoardInfo(uint32_t, uint32_t, VCI_BOARD_INFO *info)
{
    if (fakeWrites)
        *info = fakeBoard;
    return fakeResult;
}

QString infoText(const QStringList &values)
{
    const QStringList captions{"Hardware Version", "Firmware Version", "CAN Channels", "Serial Number",
                               "Product Type"};
    QString text;
    for (int i = 0; i < captions.size(); ++i)
        text += QStringLiteral("<div align=\"left\"><p>%1:%2</p></div>").arg(captions[i], values[i]);
    return text;
}

QString shownText(const UiDeviceInfoDlg &dialog)
{
    return dialog.findChild<QLabel *>(QStringLiteral("m_pLabelDevInfo"))->text();
}

} // namespace

class tst_UiDeviceInfoDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void simulatedBoard();
    void reportedBoard_data();
    void reportedBoard();
    void noDevice();

private:
    VCI_ReadBoardInfoFn realReadBoardInfo = nullptr;
};

void tst_UiDeviceInfoDlg::init()
{
    VCISIM_ResetAll();
    DevCan &device = DevCan::instance();
    device.closeDevice();
    realReadBoardInfo = device.pReadBoardInfo;
}

void tst_UiDeviceInfoDlg::cleanup()
{
    DevCan &device = DevCan::instance();
    device.pReadBoardInfo = realReadBoardInfo;
    device.closeDevice();
}

void tst_UiDeviceInfoDlg::simulatedBoard()
{
    QCOMPARE(DevCan::instance().openDevice(VCI_DRAVIN_PCI4, 3, 0), 1u);
    UiDeviceInfoDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Device Information"));
    QCOMPARE(dialog.size(), QSize(260, 300));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("m_pLabelDevInfo"))->textFormat(), Qt::RichText);
    QCOMPARE(shownText(dialog), infoText({"1.00", "1.02", "4", "SIM-T14-I3", "DRAVIN PCI 4ch (simulated, type 14)"}));
    dialog.show();
    dialog.findChild<QPushButton *>(QStringLiteral("OkButton"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
}

void tst_UiDeviceInfoDlg::reportedBoard_data()
{
    QTest::addColumn<int>("hardware");
    QTest::addColumn<int>("firmware");
    QTest::addColumn<int>("channels");
    QTest::addColumn<QByteArray>("serial"); // bytes of the field, no terminator added
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<uint>("result");
    QTest::addColumn<bool>("writes");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("versions") << 0x0101 << 0x0110 << 4 << QByteArray("A1") << QByteArray("T") << 1u << true
                              << QStringList{"1.01", "1.10", "4", "A1", "T"};
    QTest::newRow("letter in the first pair") << 0x0a01 << 0x1299 << 1 << QByteArray("A1") << QByteArray("T")
                                              << 1u << true << QStringList{"0.01", "12.99", "1", "A1", "T"};
    QTest::newRow("16 channels") << 0x0100 << 0x0100 << 16 << QByteArray("A1") << QByteArray("T") << 1u << true
                                 << QStringList{"1.00", "1.00", "16", "A1", "T"};
    // No terminator anywhere: the serial number must stop at its 20 bytes
    // and the type at its 40, not run on into the next field.
    QTest::newRow("full fields") << 0x0100 << 0x0100 << 2 << QByteArray(20, 'S') << QByteArray(40, 'T') << 1u
                                 << true << QStringList{"1.00", "1.00", "2", QString(20, 'S'), QString(40, 'T')};
    QTest::newRow("markup and place markers")
            << 0x0100 << 0x0100 << 2 << QByteArray("%1<b>") << QByteArray("<a href=x>&amp;</a>") << 1u << true
            << QStringList{"1.00", "1.00", "2", "%1&lt;b&gt;", "&lt;a href=x&gt;&amp;amp;&lt;/a&gt;"};
    QTest::newRow("read failed") << 0x0101 << 0x0110 << 4 << QByteArray("A1") << QByteArray("T") << 0u << true
                                 << QStringList{"", "", "", "", ""};
    QTest::newRow("nothing written") << 0x0101 << 0x0110 << 4 << QByteArray("A1") << QByteArray("T") << 1u
                                     << false << QStringList{"0.00", "0.00", "0", "", ""};
}

void tst_UiDeviceInfoDlg::reportedBoard()
{
    QFETCH(int, hardware);
    QFETCH(int, firmware);
    QFETCH(int, channels);
    QFETCH(QByteArray, serial);
    QFETCH(QByteArray, type);
    QFETCH(uint, result);
    QFETCH(bool, writes);
    QFETCH(QStringList, shown);

    QCOMPARE(DevCan::instance().openDevice(VCI_KELMO_USB2, 0, 0), 1u);
    std::memset(&fakeBoard, 'x', sizeof fakeBoard);
    fakeBoard.HardwareVersion = uint16_t(hardware);
    fakeBoard.FirmwareVersion = uint16_t(firmware);
    fakeBoard.ChannelCount = uint8_t(channels);
    std::memset(fakeBoard.SerialNumber, 0, sizeof fakeBoard.SerialNumber);
    std::memcpy(fakeBoard.SerialNumber, serial.constData(), size_t(serial.size()));
    std::memset(fakeBoard.HardwareType, 0, sizeof fakeBoard.HardwareType);
    std::memcpy(fakeBoard.HardwareType, type.constData(), size_t(type.size()));
    fakeResult = result;
    fakeWrites = writes;
    DevCan::instance().pReadBoardInfo = &fakeReadBoardInfo;

    UiDeviceInfoDlg dialog;
    QCOMPARE(shownText(dialog), infoText(shown));
}

void tst_UiDeviceInfoDlg::noDevice()
{
    UiDeviceInfoDlg dialog;
    QCOMPARE(shownText(dialog), infoText({"", "", "", "", ""}));
}

MEROVAST_GUI_TEST_MAIN(tst_UiDeviceInfoDlg)
#include "tst_uideviceinfodlg.moc"
