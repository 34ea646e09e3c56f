// The firmware upload dialog on a simulated two-channel device: channel 0
// uploads, channel 1 listens on the same bus. Checks the frames that reach
// the bus, the file checks, and that every way of ending an upload early
// leaves no thread running and nothing queued.
#include "canwritethread.h"
#include "controlcan.h"
#include "devcan.h"
#include "guitest.h"
#include "sendfixture.h"
#include "testhelpers.h"
#include "uifiledialog.h"
#include "uifirmwareprogressdlg.h"
#include "uimessage.h"
#include "ulbuffer.h"
#include "ulpipe.h"
#include "ulsendfirmwarethread.h"
#include "vcisim.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include <vector>

namespace {

constexpr uint32_t Type = VCI_KELMO_USB2;
constexpr uint32_t Listener = 1;

// Keeps an upload on the bus long enough to end it half way.
uint32_t slowTransmit(uint32_t type, uint32_t index, uint32_t channel, VCI_CAN_OBJ *frames, uint32_t count)
{
    QThread::usleep(1000);
    return VCI_Transmit(type, index, channel, frames, count);
}

QByteArray image(int size)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += char((i * 13 + 5) & 0xFF);
    return bytes;
}

using Frame = SendFixture::BusFrame;
using SendFixture::firmwareUpload;

uint64_t transmitted();

// Everything the listening channel has heard, once the bus has carried
// what channel 0 queued (waiting up to 5 s for the frames' bus time).
QVector<Frame> heard()
{
    QElapsedTimer carrying;
    carrying.start();
    VCISIM_STATS listener{};
    while (VCISIM_GetStats(Type, 0, Listener, &listener) == 1 && listener.received < transmitted()
           && carrying.elapsed() < 5000)
        QTest::qWait(5);
    QVector<Frame> frames;
    VCI_CAN_OBJ buffer[256];
    uint32_t n = 0;
    while ((n = VCI_Receive(Type, 0, Listener, buffer, 256, 0)) > 0) {
        for (uint32_t i = 0; i < n; ++i) {
            const VCI_CAN_OBJ &f = buffer[i];
            frames.append({f.ID, f.RemoteFlag != 0,
                           QByteArray(reinterpret_cast<const char *>(f.Data), f.RemoteFlag ? 0 : f.DataLen)});
        }
    }
    return frames;
}

uint64_t transmitted()
{
    VCISIM_STATS stats{};
    VCISIM_GetStats(Type, 0, 0, &stats);
    return stats.transmitted;
}

} // namespace

QT_BEGIN_NAMESPACE
namespace QTest {
template <>
char *toString(const Frame &f)
{
    return qstrdup(QStringLiteral("%1 %2 %3")
                           .arg(f.id, 0, 16)
                           .arg(f.remote ? "remote" : "data")
                           .arg(QString::fromLatin1(f.data.toHex()))
                           .toLatin1());
}
} // namespace QTest
QT_END_NAMESPACE

class tst_UiFirmwareProgressDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void uploadsImage();
    void fileCheck_data();
    void fileCheck();
    void browse_data();
    void browse();
    void stopClosesUpload();
    void endedMidUpload_data();
    void endedMidUpload();
    void transmitFailure();

private:
    QString write(const QByteArray &bytes) { return dir.write(bytes, QStringLiteral(".bin")); }
    static QPushButton *button(QDialog &dialog, const char *name)
    {
        return dialog.findChild<QPushButton *>(QLatin1String(name));
    }
    static bool threadsRunning(QDialog &dialog)
    {
        return dialog.findChild<CanWriteThread *>()->isRunning()
               || dialog.findChild<UlSendFirmwareThread *>()->isRunning();
    }
    void startUpload(UiFirmwareProgressDlg &dialog, const QString &path);

    TestFiles dir;
    QList<UiMessage::Box> boxes;
    VCI_TransmitFn realTransmit = nullptr;
};

void tst_UiFirmwareProgressDlg::startUpload(UiFirmwareProgressDlg &dialog, const QString &path)
{
    dialog.findChild<QLineEdit *>(QStringLiteral("m_ctrlFilename"))->setText(path);
    button(dialog, "SendButton")->click();
}

void tst_UiFirmwareProgressDlg::init()
{
    QVERIFY(dir.isValid());
    VCISIM_ResetAll();
    DevCan &device = DevCan::instance();
    realTransmit = device.pTransmit;
    QCOMPARE(device.openDevice(Type, 0, 0), 1u);
    for (uint32_t ch : {0u, Listener}) {
        VCI_INIT_CONFIG config{};
        config.MaskCode = 0xFFFFFFFF;
        config.FilterMode = 1;
        config.BTR1 = 0x1C; // 500 kbit/s
        QCOMPARE(device.initCAN(ch, &config), 1u);
        QCOMPARE(device.StartCAN(ch), 1u);
    }
    UlBuffer::instance(0).reset();
    boxes.clear();
    UiMessage::setHandler([this](const UiMessage::Box &box) {
        boxes << box;
        return QMessageBox::Ok;
    });
}

void tst_UiFirmwareProgressDlg::cleanup()
{
    UiMessage::setHandler({});
    UiFileDialog::setHandler({});
    DevCan::instance().pTransmit = realTransmit;
    DevCan::instance().closeDevice();
    UlPipe::instance(0).clear();
}

// A whole upload, started while the pipe still holds a unit that a failed
// upload left behind: the bus gets exactly this image's frames, and none
// of them enter the channel's frame list.
void tst_UiFirmwareProgressDlg::uploadsImage()
{
    CanObj stale;
    stale.ID = 0x111;
    stale.DataLen = 8;
    CanData leftover;
    leftover.push(stale);
    UlPipe::instance(0).push(leftover);

    const QByteArray file = image(1000);
    UiFirmwareProgressDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Firmware"));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    dialog.show();
    startUpload(dialog, write(file));
    QVERIFY(!button(dialog, "SendButton")->isEnabled());
    QTRY_VERIFY(button(dialog, "SendButton")->isEnabled());
    const QVector<Frame> want = firmwareUpload(file);
    QTRY_COMPARE(transmitted(), uint64_t(want.size()));
    QCOMPARE(heard(), want);
    QCOMPARE(dialog.findChild<QProgressBar *>()->value(), 100);
    QCOMPARE(UlBuffer::instance(0).count(), 0);
    QVERIFY(boxes.isEmpty());
    // The transmit thread stays for the next upload until the dialog closes.
    QVERIFY(dialog.findChild<CanWriteThread *>()->isRunning());
    dialog.close();
    QVERIFY(!threadsRunning(dialog));
}

void tst_UiFirmwareProgressDlg::fileCheck_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("text");
    QTest::newRow("no name") << QString() << QStringLiteral("Cannot read file,No file name specified.");
    const QString missing = dir.filePath(QStringLiteral("missing.bin"));
    QTest::newRow("missing file") << missing
                                  << QStringLiteral("Cannot read file %1,\nNo such file or directory").arg(missing);
}

void tst_UiFirmwareProgressDlg::fileCheck()
{
    QFETCH(QString, path);
    QFETCH(QString, text);
    UiFirmwareProgressDlg dialog;
    dialog.show();
    startUpload(dialog, path);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(boxes[0].title, QStringLiteral("Warning"));
    QCOMPARE(boxes[0].text, text);
    QVERIFY(!threadsRunning(dialog));
    QVERIFY(button(dialog, "SendButton")->isEnabled());
}

void tst_UiFirmwareProgressDlg::browse_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("shown");
    QTest::newRow("chosen") << QStringLiteral("/tmp/image.bin") << QStringLiteral("/tmp/image.bin");
    QTest::newRow("cancelled") << QString() << QStringLiteral("/earlier.bin");
}

void tst_UiFirmwareProgressDlg::browse()
{
    QFETCH(QString, chosen);
    QFETCH(QString, shown);
    QList<UiFileDialog::Request> requests;
    UiFileDialog::setHandler([&](const UiFileDialog::Request &request) {
        requests << request;
        return chosen;
    });
    UiFirmwareProgressDlg dialog;
    auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("m_ctrlFilename"));
    name->setText(QStringLiteral("/earlier.bin"));
    button(dialog, "BrowseButton")->click();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].mode, UiFileDialog::Open);
    QCOMPARE(requests[0].caption, QStringLiteral("Open"));
    QCOMPARE(requests[0].filter, QStringLiteral("Bin File(*.bin)"));
    QCOMPARE(name->text(), shown);
}

// Stop ends the image early; what is queued still goes out and the upload
// is closed with the end, digest and finish frames.
void tst_UiFirmwareProgressDlg::stopClosesUpload()
{
    DevCan::instance().pTransmit = &slowTransmit;
    const QByteArray file = image(40000);
    UiFirmwareProgressDlg dialog;
    dialog.show();
    startUpload(dialog, write(file));
    QTRY_VERIFY(transmitted() > 10);
    QVERIFY(!button(dialog, "SendButton")->isEnabled());
    button(dialog, "StopButton")->click();
    QTRY_VERIFY(button(dialog, "SendButton")->isEnabled());
    QVector<Frame> bus;
    QTRY_VERIFY((bus += heard(), !bus.isEmpty() && bus.last().id == 0x114u));
    const QVector<Frame> whole = firmwareUpload(file);
    QVERIFY(bus.size() < whole.size());
    QCOMPARE(bus.first(), whole.first());
    QCOMPARE(bus.mid(1, bus.size() - 6), whole.mid(1, bus.size() - 6));
    // End, the digest of the whole image, finish.
    QCOMPARE(bus.mid(bus.size() - 5), whole.mid(whole.size() - 5));
    QVERIFY(dialog.findChild<QProgressBar *>()->value() < 100);
}

void tst_UiFirmwareProgressDlg::endedMidUpload_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("close button") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("dialog destroyed") << 2;
}

// However the dialog ends during an upload, both threads have ended when
// it returns, the pipe is empty and nothing more reaches the bus.
void tst_UiFirmwareProgressDlg::endedMidUpload()
{
    QFETCH(int, how);
    DevCan::instance().pTransmit = &slowTransmit;
    auto dialog = std::make_unique<UiFirmwareProgressDlg>();
    dialog->show();
    startUpload(*dialog, write(image(40000)));
    QTRY_VERIFY(transmitted() > 10);
    if (how == 0) {
        dialog->close();
    } else if (how == 1) {
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
    } else {
        dialog.reset();
    }
    if (dialog) {
        QVERIFY(!dialog->isVisible());
        QVERIFY(!threadsRunning(*dialog));
    }
    QVERIFY(UlPipe::instance(0).isEmpty());
    const uint64_t sent = transmitted();
    QTest::qWait(30);
    QCOMPARE(transmitted(), sent);
    const QVector<Frame> bus = heard();
    QCOMPARE(bus.first().id, 0x110u);
    QVERIFY(bus.last().id == 0x111u);
    QVERIFY(boxes.isEmpty());
}

// A device that refuses the frames: "Send failed.", both threads end and
// the pipe is emptied; the next upload starts afresh and goes out whole.
void tst_UiFirmwareProgressDlg::transmitFailure()
{
    QCOMPARE(VCISIM_SetTransmitLimit(Type, 0, 0, 0), 1u);
    UiFirmwareProgressDlg dialog;
    dialog.show();
    startUpload(dialog, write(image(40000)));
    QTRY_COMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].title, QStringLiteral("Error"));
    QCOMPARE(boxes[0].text, QStringLiteral("Send failed."));
    QVERIFY(!threadsRunning(dialog));
    QVERIFY(UlPipe::instance(0).isEmpty());
    QVERIFY(button(dialog, "SendButton")->isEnabled());
    QCOMPARE(transmitted(), uint64_t(0));

    QCOMPARE(VCISIM_SetTransmitLimit(Type, 0, 0, -1), 1u);
    const QByteArray file = image(100);
    startUpload(dialog, write(file));
    QTRY_VERIFY(button(dialog, "SendButton")->isEnabled());
    const QVector<Frame> want = firmwareUpload(file);
    QTRY_COMPARE(transmitted(), uint64_t(want.size()));
    QCOMPARE(heard(), want);
    QCOMPARE(boxes.size(), 1);
}

MEROVAST_GUI_TEST_MAIN(tst_UiFirmwareProgressDlg)
#include "tst_uifirmwareprogressdlg.moc"
