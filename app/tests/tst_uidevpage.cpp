// The channel pages of both kinds: first-use values, the bit-rate list and
// the hexadecimal entries, the stored records (where, in which form, and
// which are refused), the automatic detection of a simulated bus, and the
// channel they initialise.
#include "apphelpers.h"
#include "devcan.h"
#include "doubleslider.h"
#include "guitest.h"
#include "modaldialog.h"
#include "uiautoprobing.h"
#include "uidevpagepci.h"
#include "uidevpageusb.h"
#include "ulsystem.h"
#include "vcisim.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QSettings pciStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("RavoSoft"),
                     QStringLiteral("DRAVIN"));
}

std::unique_ptr<UiDevPage> makePage(bool usb, uint32_t channel = 0)
{
    if (usb)
        return std::make_unique<UiDevPageUsb>(nullptr, channel);
    return std::make_unique<UiDevPagePci>(nullptr, channel);
}

void storeText(bool usb, uint32_t channel, const QString &text)
{
    if (usb) {
        QSettings ini(UiDevPageUsb::configFile(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Channnal/Channal_%1").arg(channel), text);
    } else {
        pciStore().setValue(QStringLiteral("canValue%1").arg(channel), text.toLatin1());
    }
}

QString storedText(bool usb, uint32_t channel)
{
    if (usb) {
        const QSettings ini(UiDevPageUsb::configFile(), QSettings::IniFormat);
        return ini.value(QStringLiteral("Channnal/Channal_%1").arg(channel)).toString();
    }
    return QString::fromLatin1(pciStore().value(QStringLiteral("canValue%1").arg(channel)).toByteArray());
}

struct Controls {
    QLineEdit *acc, *mask, *btr0, *btr1;
    QComboBox *rate, *filter, *mode;
    explicit Controls(const QWidget *page)
        : acc(page->findChild<QLineEdit *>(QStringLiteral("m_ctrlCanAccCode"))),
          mask(page->findChild<QLineEdit *>(QStringLiteral("m_ctrlCanMaskCode"))),
          btr0(page->findChild<QLineEdit *>(QStringLiteral("m_ctrlCanBTR0"))),
          btr1(page->findChild<QLineEdit *>(QStringLiteral("m_ctrlCanBTR1"))),
          rate(page->findChild<QComboBox *>(QStringLiteral("m_ctrlCanBaudrate"))),
          filter(page->findChild<QComboBox *>(QStringLiteral("m_ctrlCanFilter"))),
          mode(page->findChild<QComboBox *>(QStringLiteral("m_ctrlCanMode")))
    {
    }
    // What the user sees, in form order.
    QStringList shown() const
    {
        return {acc->text(),    mask->text(),        rate->currentText(), btr0->text(),
                btr1->text(),   filter->currentText(), mode->currentText(),
                btr0->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled")};
    }
};

} // namespace

class tst_UiDevPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void firstUse_data();
    void firstUse();
    void bitRateRows_data();
    void bitRateRows();
    void hexEntries_data();
    void hexEntries();
    void storedRecords_data();
    void storedRecords();
    void recordsRoundTrip_data();
    void recordsRoundTrip();
    void usbRecordsBesideTheSettings();
    void programFolderRecordsStillRead();
    void autoDetectionFillsThePage();
    void cancelledDetectionKeepsTheTiming();
    void applyInitialisesAndStarts();
    void fourChannelBoardSettles();

private:
    std::unique_ptr<QTemporaryDir> programFolder;
};

void tst_UiDevPage::init()
{
    DevCan::instance().closeDevice();
    VCISIM_ResetAll();
    pciStore().clear();
    programFolder = std::make_unique<QTemporaryDir>();
    QVERIFY(programFolder->isValid());
    UiDevPageUsb::setConfigFolders(programFolder->path(), programFolder->filePath(QStringLiteral("program")));
}

void tst_UiDevPage::cleanup()
{
    UiDevPageUsb::setConfigFolders(QString(), QString());
    DevCan::instance().closeDevice();
}

void tst_UiDevPage::firstUse_data()
{
    QTest::addColumn<bool>("usb");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("record");
    QTest::newRow("PCI") << false
                         << QStringList{"00000000", "FFFFFFFF", "100kbps", "04", "1C", "SingleFilter", "Normal",
                                        "disabled"}
                         << "00000000ffffffff08041c0100";
    QTest::newRow("USB") << true
                         << QStringList{"00000000", "FFFFFFFF", "125kbps", "03", "1C", "SingleFilter", "Normal",
                                        "disabled"}
                         << "00000000ffffffff09031c0100";
}

void tst_UiDevPage::firstUse()
{
    QFETCH(bool, usb);
    QFETCH(QStringList, shown);
    QFETCH(QString, record);
    const auto page = makePage(usb, 1);
    const Controls c(page.get());
    QCOMPARE(c.shown(), shown);
    QVERIFY(!c.btr1->isEnabled());
    QCOMPARE(c.rate->count(), 17);
    QCOMPARE(c.rate->itemText(0), QStringLiteral("Auto"));
    QCOMPARE(c.rate->itemText(16), QStringLiteral("1000kbps"));
    QCOMPARE(page->params().toText(), record);
    VCI_INIT_CONFIG config{};
    page->buildInitConfig(&config);
    QCOMPARE(config.AccCode, 0u);
    QCOMPARE(config.MaskCode, 0xFFFFFFFFu);
    QCOMPARE(config.FilterMode, uint8_t(1));
    QCOMPARE(config.WorkMode, uint8_t(0));
    QCOMPARE(config.BTR1, uint8_t(0x1C));
    QCOMPARE(page->getOpenReserved(), 0u);
}

void tst_UiDevPage::bitRateRows_data()
{
    QTest::addColumn<bool>("usb");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("edits"); // BTR0, BTR1, enabled
    QTest::addColumn<QString>("bytes8to10");
    QTest::newRow("500kbps") << false << 13 << QStringList{"00", "1C", "disabled"} << "0d001c";
    QTest::newRow("666kbps") << true << 14 << QStringList{"80", "B6", "disabled"} << "0e80b6";
    QTest::newRow("5kbps") << true << 2 << QStringList{"BF", "FF", "disabled"} << "02bfff";
    // Custom keeps the texts and lets them be edited.
    QTest::newRow("Custom") << false << 1 << QStringList{"04", "1C", "enabled"} << "01041c";
}

void tst_UiDevPage::bitRateRows()
{
    QFETCH(bool, usb);
    QFETCH(int, row);
    QFETCH(QStringList, edits);
    QFETCH(QString, bytes8to10);
    const auto page = makePage(usb);
    const Controls c(page.get());
    c.rate->setCurrentIndex(row);
    const QString enabled = c.btr0->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled");
    QCOMPARE((QStringList{c.btr0->text(), c.btr1->text(), enabled}), edits);
    QCOMPARE(c.btr1->isEnabled(), c.btr0->isEnabled());
    QCOMPARE(page->params().toText().mid(16, 6), bytes8to10);
    // Nothing is stored before the device opened.
    QVERIFY(storedText(usb, 0).isEmpty());
}

void tst_UiDevPage::hexEntries_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("record");
    // One number, right-aligned in its field; only hexadecimal digits go in.
    QTest::newRow("code 7FF") << "m_ctrlCanAccCode" << "7FF" << "7FF" << "000007ffffffffff01041c0100";
    QTest::newRow("code with other characters") << "m_ctrlCanAccCode" << "1g2 x3" << "123"
                                                << "00000123ffffffff01041c0100";
    QTest::newRow("code too long") << "m_ctrlCanAccCode" << "123456789" << "12345678"
                                   << "12345678ffffffff01041c0100";
    QTest::newRow("mask empty") << "m_ctrlCanMaskCode" << "" << "" << "000000000000000001041c0100";
    QTest::newRow("mask lower case") << "m_ctrlCanMaskCode" << "abc" << "abc" << "0000000000000abc01041c0100";
    QTest::newRow("BTR0 one digit") << "m_ctrlCanBTR0" << "7" << "7" << "00000000ffffffff01071c0100";
    QTest::newRow("BTR1 empty") << "m_ctrlCanBTR1" << "" << "" << "00000000ffffffff0104000100";
}

void tst_UiDevPage::hexEntries()
{
    QFETCH(QString, edit);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, record);
    const auto page = makePage(false);
    const Controls c(page.get());
    c.rate->setCurrentIndex(1); // Custom, so that the BTR edits take keys
    auto *line = page->findChild<QLineEdit *>(edit);
    line->clear();
    QTest::keyClicks(line, typed);
    QCOMPARE(line->text(), shown);
    QCOMPARE(page->params().toText(), record);
}

void tst_UiDevPage::storedRecords_data()
{
    QTest::addColumn<bool>("usb");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QStringList>("shown");
    const QString pciDefault = QStringLiteral("00000000ffffffff08041c0100");
    const QString usbDefault = QStringLiteral("00000000ffffffff09031c0100");
    QTest::newRow("PCI, upper case") << false << "000007FF0000000F0B011C0001" << "000007ff0000000f0b011c0001"
                                     << QStringList{"000007FF", "0000000F", "250kbps", "01", "1C", "DualFilter",
                                                    "ReadOnly", "disabled"};
    QTest::newRow("USB, custom timing") << true << "12345678fffffff00102030101" << "12345678fffffff00102030101"
                                        << QStringList{"12345678", "FFFFFFF0", "Custom", "02", "03",
                                                       "SingleFilter", "ReadOnly", "enabled"};
    QTest::newRow("last rate row") << true << "00000000ffffffff1000140100" << "00000000ffffffff1000140100"
                                   << QStringList{"00000000", "FFFFFFFF", "1000kbps", "00", "14", "SingleFilter",
                                                  "Normal", "disabled"};
    QTest::newRow("rate row above the list") << false << "00000000ffffffff11001c0100" << pciDefault << QStringList();
    QTest::newRow("rate row far above") << true << "00000000ffffffff20001c0100" << usbDefault << QStringList();
    QTest::newRow("rate row 0, Auto") << false << "00000000ffffffff00001c0100" << pciDefault << QStringList();
    QTest::newRow("PCI, 12 bytes") << false << "00000000ffffffff0d001c01" << pciDefault << QStringList();
    QTest::newRow("USB, 12 bytes") << true << "00000000ffffffff0d001c01" << usbDefault << QStringList();
    QTest::newRow("14 bytes") << false << "00000000ffffffff0d001c010000" << pciDefault << QStringList();
    QTest::newRow("filter 2") << true << "00000000ffffffff0d001c0200" << usbDefault << QStringList();
    QTest::newRow("mode 2, self test") << false << "00000000ffffffff0d001c0102" << pciDefault << QStringList();
    QTest::newRow("not hexadecimal") << true << "00000000ffffffff0d001c01zz" << usbDefault << QStringList();
    QTest::newRow("separated") << false << "00 00 00 00 ff ff ff ff 0d 00 1c 01 00" << pciDefault << QStringList();
}

void tst_UiDevPage::storedRecords()
{
    QFETCH(bool, usb);
    QFETCH(QString, stored);
    QFETCH(QString, record);
    QFETCH(QStringList, shown);
    storeText(usb, 2, stored);
    const auto page = makePage(usb, 2);
    QCOMPARE(page->params().toText(), record);
    if (!shown.isEmpty())
        QCOMPARE(Controls(page.get()).shown(), shown);
}

void tst_UiDevPage::recordsRoundTrip_data()
{
    QTest::addColumn<bool>("usb");
    QTest::newRow("PCI") << false;
    QTest::newRow("USB") << true;
}

void tst_UiDevPage::recordsRoundTrip()
{
    QFETCH(bool, usb);
    QString written;
    {
        const auto page = makePage(usb, 3);
        const Controls c(page.get());
        c.rate->setCurrentIndex(11); // 250kbps
        c.acc->setText(QStringLiteral("80000000"));
        c.mask->setText(QStringLiteral("1FFFFFFF"));
        c.filter->setCurrentIndex(0);
        c.mode->setCurrentIndex(1);
        page->storeParams();
        written = page->params().toText();
    }
    QCOMPARE(written, QStringLiteral("800000001fffffff0b011c0001"));
    QCOMPARE(storedText(usb, 3), written);
    QVERIFY(storedText(!usb, 3).isEmpty()); // each kind has its own store
    const auto again = makePage(usb, 3);
    QCOMPARE(again->params().toText(), written);
    QCOMPARE(Controls(again.get()).shown(),
             (QStringList{"80000000", "1FFFFFFF", "250kbps", "01", "1C", "DualFilter", "ReadOnly", "disabled"}));
    if (usb) {
        QVERIFY(QFile::exists(programFolder->filePath(QStringLiteral("Config.ini"))));
        QCOMPARE(UiDevPageUsb::configFile(), programFolder->path() + QStringLiteral("/Config.ini"));
    }
}

// Not in the program's folder, which an installed program cannot write.
void tst_UiDevPage::usbRecordsBesideTheSettings()
{
    UiDevPageUsb::setConfigFolders(QString(), QString());
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("RavoSoft"),
                             QStringLiteral("INIT"));
    QCOMPARE(QFileInfo(UiDevPageUsb::configFile()).absolutePath(), QFileInfo(settings.fileName()).absolutePath());
    QCOMPARE(QFileInfo(UiDevPageUsb::configFile()).fileName(), QStringLiteral("Config.ini"));
    QCOMPARE(UiDevPageUsb::programConfigFile(), UlSystem::programFolder() + QStringLiteral("/Config.ini"));
}

void tst_UiDevPage::programFolderRecordsStillRead()
{
    const QString programFile = UiDevPageUsb::programConfigFile();
    QVERIFY(QDir().mkpath(QFileInfo(programFile).absolutePath()));
    writeFile(programFile, "[Channnal]\nChannal_1=000007ff000000000d001c0100\nChannal_2=00000000ffffffff0b011c0100\n");
    const QByteArray programBytes = readAll(programFile);
    storeText(true, 2, QStringLiteral("00000000ffffffff03311c0101"));

    QCOMPARE(makePage(true, 0)->params(), DevChannelParams::usbDefault());
    const auto page1 = makePage(true, 1);
    QCOMPARE(page1->params().toText(), QStringLiteral("000007ff000000000d001c0100"));
    // The user's own record comes first.
    QCOMPARE(makePage(true, 2)->params().toText(), QStringLiteral("00000000ffffffff03311c0101"));

    Controls(page1.get()).mode->setCurrentIndex(1);
    page1->storeParams();
    QCOMPARE(storedText(true, 1), QStringLiteral("000007ff000000000d001c0101"));
    QCOMPARE(readAll(programFile), programBytes);
}

void tst_UiDevPage::autoDetectionFillsThePage()
{
    DevCan::instance().setDevType(VCI_KELMO_USB2);
    DevCan::instance().setDevIndex(0);
    QVERIFY(VCISIM_SetBackgroundTraffic(VCI_KELMO_USB2, 0, 500000, 0x123, 1000));
    const auto page = makePage(true, 1);
    const Controls c(page.get());
    bool handled = false;
    onNextModal<UiAutoProbing>([&handled](UiAutoProbing *dialog) {
        auto *table = dialog->findChild<QTableWidget *>();
        auto *operation = dialog->findChild<QPushButton *>(QStringLiteral("m_btnOperation"));
        // Long tries, so that a loaded machine still delivers frames; from 300 kbit/s.
        dialog->findChild<QLineEdit *>(QStringLiteral("m_lineEditTimeOut"))->setText(QStringLiteral("200"));
        dialog->findChild<DoubleSlider *>()->setMinValue(300.0f);
        operation->click();
        QVERIFY(QTest::qWaitFor([&] { return !dialog->isRunning() && operation->isEnabled(); }, 20000));
        QCOMPARE(table->rowCount(), 1);
        table->setCurrentCell(0, 0);
        dialog->findChild<QPushButton *>(QStringLiteral("m_btnOk"))->click();
        handled = true;
    });
    c.rate->setCurrentIndex(0); // Auto
    QVERIFY(handled);
    QCOMPARE(c.shown(), (QStringList{"00000000", "FFFFFFFF", "Custom", "00", "1C", "SingleFilter", "Normal",
                                     "disabled"}));
    QVERIFY(!c.btr1->isEnabled());
    QCOMPARE(page->params().toText(), QStringLiteral("00000000ffffffff01001c0100"));
}

void tst_UiDevPage::cancelledDetectionKeepsTheTiming()
{
    const auto page = makePage(false);
    const Controls c(page.get());
    c.rate->setCurrentIndex(13); // 500kbps
    onNextModal<UiAutoProbing>([](UiAutoProbing *dialog) { dialog->reject(); });
    c.rate->setCurrentIndex(0);
    QCOMPARE(c.rate->currentIndex(), 1);
    QCOMPARE(page->params().toText(), QStringLiteral("00000000ffffffff01001c0100"));
    QCOMPARE(c.btr0->text(), QStringLiteral("00"));
}

void tst_UiDevPage::applyInitialisesAndStarts()
{
    DevCan &device = DevCan::instance();
    QCOMPARE(device.openDevice(VCI_KELMO_USB2, 0, 0), 1u);
    storeText(true, 1, QStringLiteral("00000000ffffffff0b011c0000")); // 250 kbit/s, dual filter
    const auto page = makePage(true, 1);
    QVERIFY(page->applyParams());
    QVERIFY(device.isStarted(1));
    QVERIFY(!device.isStarted(0));
    QCOMPARE(device.maxBaudrate(1), 250000);
    // A frame at 250 kbit/s reaches the started channel.
    VCI_CAN_OBJ frame{};
    frame.ID = 0x100;
    frame.DataLen = 1;
    QCOMPARE(VCISIM_InjectFrames(VCI_KELMO_USB2, 0, 1, &frame, 1), 1u);
    // Applying does not store; storing is the dialog's decision.
    QCOMPARE(storedText(true, 1), QStringLiteral("00000000ffffffff0b011c0000"));

    device.closeDevice();
    QVERIFY(!page->applyParams());
}

void tst_UiDevPage::fourChannelBoardSettles()
{
    DevCan &device = DevCan::instance();
    QCOMPARE(device.openDevice(VCI_DRAVIN_PCI4, 0, 0), 1u);
    const auto page = makePage(false, 3);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(page->applyParams());
    QVERIFY(timer.elapsed() >= 300);
    QVERIFY(device.isStarted(3));
}

MEROVAST_GUI_TEST_MAIN(tst_UiDevPage)
#include "tst_uidevpage.moc"
