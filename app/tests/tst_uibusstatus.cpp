// The bus-status window against the simulated device: load and frame rate
// from the buffer counters, the lamps from the controller status, the
// channel boxes, the title and the window's open flag.
#include "busstatusledwidget.h"
#include "canrunstatuswidget.h"
#include "devcan.h"
#include "guitest.h"
#include "ucbusstatusled.h"
#include "uibusstatus.h"
#include "ulbuffer.h"
#include "vcisim.h"

#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QtTest>

namespace {

// Device type 4: two channels; channel 0 at 1000 kbit/s, channel 1 left
// uninitialised.
void openDevice()
{
    DevCan &device = DevCan::instance();
    QCOMPARE(device.openDevice(VCI_KELMO_USB2, 0, 0), 1u);
    VCI_INIT_CONFIG config{};
    config.MaskCode = 0xFFFFFFFF;
    config.FilterMode = 1;
    config.BTR0 = 0x00;
    config.BTR1 = 0x14;
    QCOMPARE(device.initCAN(0, &config), 1u);
    QCOMPARE(device.maxBaudrate(0), 1000000);
    QCOMPARE(device.StartCAN(0), 1u);
}

void addStandardFrames(int channel, int n)
{
    VCI_CAN_OBJ f{};
    f.ID = 0x100;
    f.DeviceTime = 1;
    f.DataLen = 8;
    for (int i = 0; i < n; ++i)
        UlBuffer::instance(channel).addFrame(&f, 1, false);
}

QString lamps(const CANRunStatusWidget *panel)
{
    QString states;
    for (const char *name : {"pWidgetLEDBusNormal", "pWidgetLEDBusClose", "pWidgetLEDErrorNegative",
                             "pWidgetLEDErrorActive", "pWidgetLEDRecvregisterFull", "pWidgetLEDRecvregisterOver",
                             "pWidgetLEDSendRegisterEmpty", "pWidgetLEDSendOver", "pWidgetLEDRecving"})
        states += QString::number(panel->findChild<BusStatusLEDWidget *>(QLatin1String(name))->state);
    return states;
}

QString text(const CANRunStatusWidget *panel, const char *name)
{
    return panel->findChild<QLabel *>(QLatin1String(name))->text();
}

int load(const CANRunStatusWidget *panel)
{
    return panel->findChild<QProgressBar *>(QStringLiteral("m_progressBarBusLoad"))->value();
}

} // namespace

class tst_UiBusStatus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void windowAndBoxes();
    void loadAndRate();
    void loadIsCappedAndNeverNegative();
    void lamps_data();
    void lamps();
    void failedStatusReadKeepsLamps();

private:
    std::unique_ptr<UiBusStatus> window;
};

void tst_UiBusStatus::init()
{
    DevCan::instance().closeDevice();
    VCISIM_ResetAll();
    for (int ch = 0; ch < UlBuffer::Channels; ++ch)
        UlBuffer::instance(ch).reset();
    openDevice();
}

void tst_UiBusStatus::cleanup()
{
    window.reset();
    DevCan::instance().closeDevice();
}

void tst_UiBusStatus::windowAndBoxes()
{
    QVERIFY(!UiBusStatus::isShowing);
    QPointer<UiBusStatus> dialog = new UiBusStatus(3, QStringLiteral("KELMO Device 0"));
    QVERIFY(UiBusStatus::isShowing);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("BusStatus - KELMO Device 0"));
    QStringList titles;
    for (const QGroupBox *box : dialog->findChildren<QGroupBox *>(QString(), Qt::FindDirectChildrenOnly))
        titles << box->title();
    QCOMPARE(titles, QStringList({"Channel 0", "Channel 1", "Channel 2"}));
    // A fresh panel shows the bus as normal, nothing else lit.
    QCOMPARE(::lamps(dialog->panel(2)), QStringLiteral("100000000"));

    dialog->show();
    dialog->close();
    QTRY_VERIFY(dialog.isNull());
    QVERIFY(!UiBusStatus::isShowing);
}

void tst_UiBusStatus::loadAndRate()
{
    addStandardFrames(0, 500);  // before the window: not counted
    window = std::make_unique<UiBusStatus>(2, QString());
    // 1000 standard frames of 8 bytes are 108,000 bits: a tenth of 1 Mbit/s.
    addStandardFrames(0, 1000);
    window->UpdateStatus();
    const CANRunStatusWidget *panel = window->panel(0);
    QCOMPARE(load(panel), 10);
    QCOMPARE(text(panel, "labelFrameSpeed"), QStringLiteral("1000"));
    QVERIFY(panel->findChild<UcBusStatusLed *>(QStringLiteral("m_ledBusStatus"))->isEnabled());
    QVERIFY(!window->panel(1)->findChild<UcBusStatusLed *>(QStringLiteral("m_ledBusStatus"))->isEnabled());

    window->UpdateStatus();
    QCOMPARE(load(panel), 0);
    QCOMPARE(text(panel, "labelFrameSpeed"), QStringLiteral("0"));

    // Counters reset between two ticks: counted from the reset.
    addStandardFrames(0, 2000);
    UlBuffer::instance(0).reset();
    addStandardFrames(0, 500);
    window->UpdateStatus();
    QCOMPARE(load(panel), 5);
    QCOMPARE(text(panel, "labelFrameSpeed"), QStringLiteral("500"));
}

void tst_UiBusStatus::loadIsCappedAndNeverNegative()
{
    window = std::make_unique<UiBusStatus>(2, QString());
    // 30,000,000 bits in one tick: times 100 no longer fits 32 bits.
    UlBuffer::instance(0).addSize(30000000);
    window->UpdateStatus();
    QCOMPARE(load(window->panel(0)), 100);
    // An uninitialised channel has a bit rate of 1: any bit is 100 %.
    addStandardFrames(1, 1);
    window->UpdateStatus();
    QCOMPARE(load(window->panel(1)), 100);
    QCOMPARE(load(window->panel(0)), 0);
}

void tst_UiBusStatus::lamps_data()
{
    QTest::addColumn<int>("statusReg");
    QTest::addColumn<int>("rec");
    QTest::addColumn<int>("tec");
    QTest::addColumn<QString>("lamps"); // bus ok, bus off, passive, active, then SR bits 0-4
    QTest::addColumn<QString>("counts"); // send, receive
    QTest::newRow("quiet bus") << 0 << 0 << 0 << "100000000" << "0 0";
    QTest::newRow("receive errors: active") << 0 << 5 << 0 << "100200000" << "0 5";
    QTest::newRow("126: still active") << 0 << 0 << 126 << "100200000" << "126 0";
    QTest::newRow("127: passive") << 0 << 0 << 127 << "102000000" << "127 0";
    QTest::newRow("bus off") << 0x80 << 0 << 255 << "022000000" << "255 0";
    QTest::newRow("overrun red") << 0x02 << 0 << 0 << "100002000" << "0 0";
    QTest::newRow("bits 0, 2, 3, 4 green") << 0x1D << 0 << 0 << "100010111" << "0 0";
}

void tst_UiBusStatus::lamps()
{
    QFETCH(int, statusReg);
    QFETCH(int, rec);
    QFETCH(int, tec);
    QFETCH(QString, lamps);
    QFETCH(QString, counts);
    VCI_CAN_STATUS status{};
    status.StatusReg = uint8_t(statusReg);
    status.RxErrorCounter = uint8_t(rec);
    status.TxErrorCounter = uint8_t(tec);
    QCOMPARE(VCISIM_SetStatus(VCI_KELMO_USB2, 0, 1, &status), 1u);
    window = std::make_unique<UiBusStatus>(2, QString());
    window->UpdateStatus();
    const CANRunStatusWidget *panel = window->panel(1);
    QCOMPARE(::lamps(panel), lamps);
    QCOMPARE(text(panel, "labelSendCount") + ' ' + text(panel, "labelRecvCount"), counts);
}

void tst_UiBusStatus::failedStatusReadKeepsLamps()
{
    VCI_CAN_STATUS status{};
    status.StatusReg = 0x80;
    status.RxErrorCounter = 9;
    QCOMPARE(VCISIM_SetStatus(VCI_KELMO_USB2, 0, 0, &status), 1u);
    window = std::make_unique<UiBusStatus>(2, QString());
    window->UpdateStatus();
    const CANRunStatusWidget *panel = window->panel(0);
    const QString shown = ::lamps(panel);
    QCOMPARE(shown, QStringLiteral("020200000"));
    DevCan::instance().closeDevice();  // status reads fail from now on
    addStandardFrames(0, 10);
    window->UpdateStatus();
    QCOMPARE(::lamps(panel), shown);
    QCOMPARE(text(panel, "labelRecvCount"), QStringLiteral("9"));
    QCOMPARE(text(panel, "labelFrameSpeed"), QStringLiteral("10"));
}

MEROVAST_GUI_TEST_MAIN(tst_UiBusStatus)
#include "tst_uibusstatus.moc"
