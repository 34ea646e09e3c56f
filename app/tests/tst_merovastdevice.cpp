// The main window's Open command against the simulated device library: a
// failed open shows "Open device failed." and leaves the actions as they
// were; a successful one leaves the device open with its channels started.
#include "apphelpers.h"
#include "devcan.h"
#include "guitest.h"
#include "merovast.h"
#include "modaldialog.h"
#include "uidevpageusb.h"
#include "uimessage.h"
#include "uiopendevice.h"
#include "vcisim.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class tst_MerovastDevice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void openDevice_data();
    void openDevice();

private:
    QTemporaryDir programFolder;
    QList<UiMessage::Box> boxes;
};

void tst_MerovastDevice::init()
{
    resetProgram(programFolder);
    boxes.clear();
    UiMessage::setHandler([this](const UiMessage::Box &box) {
        boxes << box;
        return QMessageBox::Ok;
    });
}

void tst_MerovastDevice::cleanup()
{
    UiMessage::setHandler({});
    UiDevPageUsb::setConfigFolders(QString(), QString());
    DevCan::instance().closeDevice();
}

void tst_MerovastDevice::openDevice_data()
{
    QTest::addColumn<int>("devType"); // 0: the chosen model's
    QTest::addColumn<int>("devIndex"); // the library serves boards 0 to 7
    QTest::addColumn<bool>("close");  // the window's close button instead of Ok
    QTest::addColumn<bool>("open");
    QTest::addColumn<QStringList>("box"); // title, text
    QTest::newRow("opened") << 0 << 1 << false << true << QStringList();
    // The window starts with the Chinese catalogue.
    QTest::newRow("open failed") << 0 << 8 << false << false << QStringList{"错误", "打开设备失败。"};
    QTest::newRow("a channel failed") << int(VCI_DRAVIN_PCI1) << 0 << false << false
                                      << QStringList{"错误", "打开设备失败。"};
    QTest::newRow("closed by the user") << 0 << 0 << true << false << QStringList();
}

void tst_MerovastDevice::openDevice()
{
    QFETCH(int, devType);
    QFETCH(int, devIndex);
    QFETCH(bool, close);
    QFETCH(bool, open);
    QFETCH(QStringList, box);
    Merovast window;
    QAction *openAct = window.findChild<QAction *>(QStringLiteral("openAct"));
    QAction *closeAct = window.findChild<QAction *>(QStringLiteral("closeAct"));
    bool handled = false;
    onNextModal<UiOpenDevice>([&](UiOpenDevice *dialog) {
        auto *model = dialog->findChild<QComboBox *>(QStringLiteral("m_ctrlCanDevSelect"));
        model->setCurrentIndex(model->findText(QStringLiteral("DRAVIN-1200")));
        if (devType != 0)
            dialog->ChangedCanDevType(devType);
        auto *index = dialog->findChild<QComboBox *>(QStringLiteral("m_ctrlCanDevIndex"));
        if (index->findData(devIndex) < 0)
            index->addItem(QString::number(devIndex), devIndex);
        index->setCurrentIndex(index->findData(devIndex));
        if (close)
            dialog->close();
        else
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        handled = true;
    });
    openAct->trigger();
    QVERIFY(handled);
    QCOMPARE(DevCan::instance().isOpen(), open);
    QCOMPARE(openAct->isEnabled(), !open);
    QCOMPARE(closeAct->isEnabled(), open);
    if (open) {
        QVERIFY(DevCan::instance().isStarted(0));
        QVERIFY(DevCan::instance().isStarted(1));
    }
    QStringList shown;
    for (const UiMessage::Box &b : qAsConst(boxes))
        shown << b.title << b.text;
    QCOMPARE(shown, box);
}

MEROVAST_GUI_TEST_MAIN(tst_MerovastDevice)
#include "tst_merovastdevice.moc"
