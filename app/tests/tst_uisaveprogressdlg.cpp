// The progress dialog of a buffer save: what it reports when the save is
// complete, cancelled with Escape (it stays until the thread has ended)
// or failed.
#include "guitest.h"
#include "savethread.h"
#include "uimessage.h"
#include "uisaveprogressdlg.h"
#include "ulbuffer.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <thread>

namespace {

constexpr int kChannel = 0;

void fillBuffer(int n)
{
    UlBuffer &buffer = UlBuffer::instance(kChannel);
    for (int i = 0; i < n; ++i) {
        VCI_CAN_OBJ f{};
        f.ID = uint32_t(i);
        f.DeviceTime = 1;
        f.DataLen = 8;
        buffer.addFrame(&f, 1, false);
    }
}

} // namespace

class tst_UiSaveProgressDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void form();
    void reportsTheOutcome_data();
    void reportsTheOutcome();
    void escapeCancelsAndWaitsForTheThread();

private:
    QTemporaryDir dir;
    QList<UiMessage::Box> boxes;
};

void tst_UiSaveProgressDlg::init()
{
    UlBuffer::instance(kChannel).reset();
    boxes.clear();
    UiMessage::setHandler([this](const UiMessage::Box &box) {
        boxes << box;
        return QMessageBox::Ok;
    });
}

void tst_UiSaveProgressDlg::cleanup()
{
    UiMessage::setHandler({});
}

void tst_UiSaveProgressDlg::form()
{
    UiSaveProgressDlg dialog(nullptr, kChannel, dir.filePath(QStringLiteral("form.can")));
    QCOMPARE(dialog.objectName(), QStringLiteral("UiSaveProgressDlg"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Saving"));
    QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("pushButton"))->text(), QStringLiteral("Cancel"));
}

void tst_UiSaveProgressDlg::reportsTheOutcome_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text"); // its start; %1: the file
    QTest::newRow("complete") << "done.csv" << "Hint" << "Save successfully";
    // Then the system's text for the error.
    QTest::newRow("disk full") << "full.csv" << "Warning" << "Cannot write file %1,\n";
}

void tst_UiSaveProgressDlg::reportsTheOutcome()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, text);
    const QString path = dir.filePath(name);
    if (name.startsWith(QLatin1String("full"))) {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full");
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), path));
    }
    fillBuffer(2000);
    UiSaveProgressDlg dialog(nullptr, kChannel, path);
    auto *bar = dialog.findChild<QProgressBar *>(QStringLiteral("progressBar"));
    QCOMPARE(bar->maximum(), 2000);
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, title);
    QCOMPARE(boxes.first().parent, &dialog);
    if (title == QLatin1String("Hint")) {
        QCOMPARE(boxes.first().text, text);
        QCOMPARE(bar->value(), 2000);
    } else {
        text = text.arg(path);
        QVERIFY2(boxes.first().text.startsWith(text) && boxes.first().text.size() > text.size(),
                 qPrintable(boxes.first().text));
    }
}

void tst_UiSaveProgressDlg::escapeCancelsAndWaitsForTheThread()
{
    // A pipe as target: the thread waits in its open until the test reads.
    const QString path = dir.filePath(QStringLiteral("pipe.csv"));
    QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    fillBuffer(100);
    UiSaveProgressDlg dialog(nullptr, kChannel, path);

    QByteArray received;
    std::thread reader;
    bool openAfterEscape = false;
    QTimer::singleShot(0, &dialog, [&] {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        openAfterEscape = dialog.isVisible() && boxes.isEmpty();
        reader = std::thread([&received, path] {
            QFile pipe(path);
            if (pipe.open(QIODevice::ReadOnly))
                received = pipe.readAll();
        });
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    reader.join();
    QVERIFY(openAfterEscape);
    QCOMPARE(dialog.thread()->result(), saveThread::Cancelled);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().text, QStringLiteral("Save cancelled"));
    QCOMPARE(received.count('\n'), 2);  // header and the frame in hand
}

MEROVAST_GUI_TEST_MAIN(tst_UiSaveProgressDlg)
#include "tst_uisaveprogressdlg.moc"
