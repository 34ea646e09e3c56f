// The open-device dialog against the simulated device library: the model
// and index lists with their stored choice, the channel pages per model,
// and Ok: the device opens with every channel started and the choices are
// stored, or it ends with -1, the device closed and nothing stored.
#include "devcan.h"
#include "guitest.h"
#include "uidevpagepci.h"
#include "uidevpageusb.h"
#include "uiopendevice.h"
#include "vcisim.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QSettings store(const char *application)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("RavoSoft"),
                     QLatin1String(application));
}

struct Dialog {
    UiOpenDevice dialog;
    QComboBox *model = dialog.findChild<QComboBox *>(QStringLiteral("m_ctrlCanDevSelect"));
    QComboBox *index = dialog.findChild<QComboBox *>(QStringLiteral("m_ctrlCanDevIndex"));
    QTabWidget *tabs = dialog.findChild<QTabWidget *>(QStringLiteral("m_ctrlTabWidget"));

    QStringList tabTitles() const
    {
        QStringList titles;
        for (int i = 0; i < tabs->count(); ++i)
            titles << tabs->tabText(i);
        return titles;
    }
    void choose(const QString &name) { model->setCurrentIndex(model->findText(name)); }
    // Ok, as the user presses it.
    int ok()
    {
        dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        return dialog.result();
    }
};

} // namespace

class tst_UiOpenDevice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void firstRun();
    void storedChoice_data();
    void storedChoice();
    void pagesFollowTheModel();
    void sameModelKeepsThePages();
    void openFourChannelBoard();
    void openUsbAdapter();
    void choiceAndParametersComeBack();
    void openFailure();
    void channelFailureClosesTheDevice();
    void closeButtonStoresNothing();

private:
    std::unique_ptr<QTemporaryDir> programFolder;
};

void tst_UiOpenDevice::init()
{
    DevCan::instance().closeDevice();
    VCISIM_ResetAll();
    store("INIT").clear();
    store("DRAVIN").clear();
    programFolder = std::make_unique<QTemporaryDir>();
    QVERIFY(programFolder->isValid());
    UiDevPageUsb::setConfigFolders(programFolder->path(), programFolder->filePath(QStringLiteral("program")));
}

void tst_UiOpenDevice::cleanup()
{
    UiDevPageUsb::setConfigFolders(QString(), QString());
    DevCan::instance().closeDevice();
}

void tst_UiOpenDevice::firstRun()
{
    Dialog d;
    QCOMPARE(d.dialog.windowTitle(), QStringLiteral("Open Device"));
    QCOMPARE(d.dialog.size(), QSize(469, 315));
    QCOMPARE(d.model->count(), 10);
    QCOMPARE(d.model->currentText(), QStringLiteral("KELMO-I/I+"));
    QCOMPARE(d.index->count(), 7);
    QCOMPARE(d.index->currentText(), QStringLiteral("0"));
    QCOMPARE(d.tabTitles(), QStringList{"CAN0"});
    QVERIFY(qobject_cast<UiDevPageUsb *>(d.dialog.page(0)));
    QVERIFY(!d.dialog.page(1));
    QCOMPARE(DevCan::instance().getDevType(), uint32_t(VCI_KELMO_USB1));
    QCOMPARE(DevCan::instance().getDevIndex(), 0u);
    QCOMPARE(d.dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->text(), QStringLiteral("Ok"));
}

void tst_UiOpenDevice::storedChoice_data()
{
    QTest::addColumn<int>("devSelect");
    QTest::addColumn<int>("devIndex");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("index");
    QTest::addColumn<int>("pages");
    QTest::newRow("DRAVIN-1400, index 3") << 7 << 3 << "DRAVIN-1400" << "3" << 4;
    QTest::newRow("STAVEN-II") << 11 << 6 << "STAVEN-II" << "6" << 2;
    QTest::newRow("no product 4") << 4 << 0 << "KELMO-I/I+" << "0" << 1;
    QTest::newRow("unknown product, index out of list") << 99 << 9 << "KELMO-I/I+" << "0" << 1;
    QTest::newRow("-1 stands for none") << -1 << -1 << "KELMO-I/I+" << "0" << 1;
}

void tst_UiOpenDevice::storedChoice()
{
    QFETCH(int, devSelect);
    QFETCH(int, devIndex);
    QFETCH(QString, model);
    QFETCH(QString, index);
    QFETCH(int, pages);
    {
        QSettings init = store("INIT");
        init.setValue(QStringLiteral("devSelect"), devSelect);
        init.setValue(QStringLiteral("devIndex"), devIndex);
    }
    Dialog d;
    QCOMPARE(d.model->currentText(), model);
    QCOMPARE(d.index->currentText(), index);
    QCOMPARE(d.tabs->count(), pages);
    QCOMPARE(DevCan::instance().getDevIndex(), index.toUInt());
}

void tst_UiOpenDevice::pagesFollowTheModel()
{
    Dialog d;
    d.choose(QStringLiteral("DRAVIN-1400"));
    QCOMPARE(d.tabTitles(), (QStringList{"CAN0", "CAN1", "CAN2", "CAN3"}));
    for (int ch = 0; ch < 4; ++ch) {
        auto *page = qobject_cast<UiDevPagePci *>(d.dialog.page(ch));
        QVERIFY(page);
        QCOMPARE(page->channelNumber(), uint32_t(ch));
        QCOMPARE(d.tabs->widget(ch), page);
    }
    QCOMPARE(DevCan::instance().getDevType(), uint32_t(VCI_DRAVIN_PCI4));
    QPointer<UiDevPage> old = d.dialog.page(3);
    d.choose(QStringLiteral("DRAVIN-1100"));
    QCOMPARE(d.tabTitles(), QStringList{"CAN0"});
    QVERIFY(!old);
    QVERIFY(!d.dialog.page(1));
    QCOMPARE(DevCan::instance().getDevType(), uint32_t(VCI_DRAVIN_PCI1));
    d.choose(QStringLiteral("TESKA-2I+"));
    QVERIFY(qobject_cast<UiDevPageUsb *>(d.dialog.page(1)));
    QCOMPARE(DevCan::instance().getDevType(), uint32_t(VCI_KELMO_USB2));
    d.index->setCurrentIndex(5);
    QCOMPARE(DevCan::instance().getDevIndex(), 5u);
}

void tst_UiOpenDevice::sameModelKeepsThePages()
{
    Dialog d;
    d.choose(QStringLiteral("DRAVIN-1200"));
    UiDevPage *first = d.dialog.page(0);
    auto *code = first->findChild<QLineEdit *>(QStringLiteral("m_ctrlCanAccCode"));
    code->setText(QStringLiteral("123"));
    d.dialog.ChangedCanDevSelect();
    QCOMPARE(d.dialog.page(0), first);
    QCOMPARE(code->text(), QStringLiteral("123"));
}

void tst_UiOpenDevice::openFourChannelBoard()
{
    Dialog d;
    d.choose(QStringLiteral("DRAVIN-1400"));
    d.index->setCurrentIndex(2);
    d.dialog.page(2)->findChild<QComboBox *>(QStringLiteral("m_ctrlCanBaudrate"))->setCurrentIndex(13);
    QCOMPARE(d.ok(), int(QDialog::Accepted));

    DevCan &device = DevCan::instance();
    QVERIFY(device.isOpen());
    QCOMPARE(device.getDevType(), uint32_t(VCI_DRAVIN_PCI4));
    QCOMPARE(device.getDevIndex(), 2u);
    QCOMPARE(device.getChannels(), 4u);
    QCOMPARE(device.getProduct(), 7u);
    for (uint32_t ch = 0; ch < 4; ++ch)
        QVERIFY(device.isStarted(ch));
    QCOMPARE(device.maxBaudrate(2), 500000);

    const QSettings dravin = store("DRAVIN");
    QCOMPARE(dravin.allKeys().size(), 4);
    for (int ch = 0; ch < 4; ++ch) {
        const QByteArray record = dravin.value(QStringLiteral("canValue%1").arg(ch)).toByteArray();
        QCOMPARE(record, ch == 2 ? QByteArray("00000000ffffffff0d001c0100") : QByteArray("00000000ffffffff08041c0100"));
    }
    const QSettings init = store("INIT");
    QCOMPARE(init.value(QStringLiteral("devSelect")).toInt(), 7);
    QCOMPARE(init.value(QStringLiteral("devType")).toInt(), 14);
    QCOMPARE(init.value(QStringLiteral("devIndex")).toInt(), 2);
    QVERIFY(!QFile::exists(UiDevPageUsb::configFile()));
}

void tst_UiOpenDevice::openUsbAdapter()
{
    Dialog d;
    d.choose(QStringLiteral("Merovast-II"));
    d.dialog.page(1)->findChild<QComboBox *>(QStringLiteral("m_ctrlCanMode"))->setCurrentIndex(1);
    QCOMPARE(d.ok(), int(QDialog::Accepted));
    QVERIFY(DevCan::instance().isStarted(1));

    const QString file = programFolder->filePath(QStringLiteral("Config.ini"));
    QFile ini(file);
    QVERIFY(ini.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromLatin1(ini.readAll());
    QCOMPARE(text.trimmed(), QStringLiteral("[Channnal]\nChannal_0=00000000ffffffff09031c0100\n"
                                            "Channal_1=00000000ffffffff09031c0101"));
    QVERIFY(store("DRAVIN").allKeys().isEmpty());
    QCOMPARE(store("INIT").value(QStringLiteral("devSelect")).toInt(), 3);
    QCOMPARE(store("INIT").value(QStringLiteral("devType")).toInt(), 4);
}

void tst_UiOpenDevice::choiceAndParametersComeBack()
{
    {
        Dialog d;
        d.choose(QStringLiteral("STAVEN-II"));
        d.index->setCurrentIndex(1);
        d.dialog.page(1)->findChild<QComboBox *>(QStringLiteral("m_ctrlCanBaudrate"))->setCurrentIndex(11);
        QCOMPARE(d.ok(), int(QDialog::Accepted));
    }
    DevCan::instance().closeDevice();
    Dialog again;
    QCOMPARE(again.model->currentText(), QStringLiteral("STAVEN-II"));
    QCOMPARE(again.index->currentText(), QStringLiteral("1"));
    QCOMPARE(again.dialog.page(1)->findChild<QComboBox *>(QStringLiteral("m_ctrlCanBaudrate"))->currentText(),
             QStringLiteral("250kbps"));
    QCOMPARE(again.dialog.page(0)->findChild<QComboBox *>(QStringLiteral("m_ctrlCanBaudrate"))->currentText(),
             QStringLiteral("100kbps"));
}

void tst_UiOpenDevice::openFailure()
{
    store("INIT").setValue(QStringLiteral("devSelect"), 6);
    Dialog d;
    // The library serves boards 0 to 7: a board that is not there.
    d.index->addItem(QStringLiteral("8"), 8);
    d.index->setCurrentIndex(7);
    QCOMPARE(DevCan::instance().getDevIndex(), 8u);
    QCOMPARE(d.ok(), int(UiOpenDevice::OpenFailed));
    QVERIFY(!DevCan::instance().isOpen());
    const QSettings init = store("INIT");
    QCOMPARE(init.allKeys(), QStringList{"devSelect"});
    QCOMPARE(init.value(QStringLiteral("devSelect")).toInt(), 6);
    QVERIFY(store("DRAVIN").allKeys().isEmpty());
}

void tst_UiOpenDevice::channelFailureClosesTheDevice()
{
    Dialog d;
    d.choose(QStringLiteral("DRAVIN-1200"));
    // A one-channel board behind two pages: channel 0 comes up, channel 1 cannot.
    d.dialog.ChangedCanDevType(VCI_DRAVIN_PCI1);
    QCOMPARE(d.ok(), int(UiOpenDevice::OpenFailed));
    QVERIFY(!DevCan::instance().isOpen());
    VCI_CAN_OBJ frame{};
    QCOMPARE(VCISIM_InjectFrames(VCI_DRAVIN_PCI1, 0, 0, &frame, 1), 0u); // closed in the library too
    QVERIFY(store("DRAVIN").allKeys().isEmpty());
    QVERIFY(store("INIT").allKeys().isEmpty());
}

void tst_UiOpenDevice::closeButtonStoresNothing()
{
    Dialog d;
    d.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d.dialog));
    d.dialog.close();
    QCOMPARE(d.dialog.result(), 0);
    QVERIFY(!DevCan::instance().isOpen());
    QVERIFY(store("INIT").allKeys().isEmpty());
}

MEROVAST_GUI_TEST_MAIN(tst_UiOpenDevice)
#include "tst_uiopendevice.moc"
