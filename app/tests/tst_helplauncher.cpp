// The help launcher with a stand-in viewer, the collection the build makes
// for the real one, and the manual against the dialog it describes.
#include "guitest.h"
#include "helplauncher.h"
#include "uidevpageusb.h"
#include "uimessage.h"

#include <QComboBox>
#include <QHelpEngineCore>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <cerrno>
#include <csignal>

class tst_HelpLauncher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void missingViewerReported();
    void runningViewerStartedOnce();
    void collectionBesideProgram();
    void manualListsTheWorkModes();

private:
    QList<UiMessage::Box> boxes;
};

void tst_HelpLauncher::init()
{
    boxes.clear();
    UiMessage::setHandler([this](const UiMessage::Box &box) {
        boxes << box;
        return QMessageBox::Ok;
    });
}

void tst_HelpLauncher::cleanup()
{
    UiMessage::setHandler({});
}

void tst_HelpLauncher::missingViewerReported()
{
    const QString viewer = QStringLiteral("/nonexistent/assistant");
    HelpLauncher launcher(viewer, QStringLiteral("/nonexistent/UserManual.qhc"));
    QVERIFY(!launcher.showDocumentation());
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(boxes[0].parent, nullptr);
    QCOMPARE(boxes[0].title, QStringLiteral("Merovast"));
    QCOMPARE(boxes[0].text, QStringLiteral("Unable to launch Help (/nonexistent/assistant)"));
    QCOMPARE(boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(!launcher.showDocumentation()); // tries again
    QCOMPARE(boxes.size(), 2);
}

// The stand-in logs its process id and arguments, then waits to be ended.
void tst_HelpLauncher::runningViewerStartedOnce()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString viewer = dir.filePath(QStringLiteral("viewer"));
    const QString log = dir.filePath(QStringLiteral("viewer.log"));
    QFile script(viewer);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho \"$$ $*\" >> '%1'\nexec sleep 60\n").arg(log).toUtf8());
    script.close();
    QVERIFY(script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));

    auto readLog = [&log] {
        QFile file(log);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'),
                                                                                        Qt::SkipEmptyParts)
                                              : QStringList();
    };
    qint64 pid = 0;
    {
        HelpLauncher launcher(viewer, QStringLiteral("/x/help/UserManual.qhc"));
        QVERIFY(launcher.showDocumentation());
        QTRY_COMPARE(readLog().size(), 1);
        QVERIFY(launcher.showDocumentation());
        QTest::qWait(200); // a second viewer would have logged by now
        const QStringList lines = readLog();
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].section(QLatin1Char(' '), 1), QStringLiteral("-collectionFile /x/help/UserManual.qhc"));
        pid = lines[0].section(QLatin1Char(' '), 0, 0).toLongLong();
        QVERIFY(pid > 0);
        QVERIFY(::kill(pid_t(pid), 0) == 0);
    }
    // Ended and reaped by the launcher's destructor.
    QCOMPARE(::kill(pid_t(pid), 0), -1);
    QCOMPARE(errno, ESRCH);
    QVERIFY(boxes.isEmpty());
}

void tst_HelpLauncher::collectionBesideProgram()
{
    const QString collection = HelpLauncher::defaultCollection();
    QCOMPARE(collection, QCoreApplication::applicationDirPath() + QStringLiteral("/help/UserManual.qhc"));
    QVERIFY2(QFile::exists(collection), qPrintable(collection));
    // The engine may write to its collection: read a copy.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString copy = dir.filePath(QStringLiteral("UserManual.qhc"));
    QVERIFY(QFile::copy(collection, copy));
    QVERIFY(QFile::copy(QFileInfo(collection).dir().filePath(QStringLiteral("UserManual.qch")),
                        dir.filePath(QStringLiteral("UserManual.qch"))));
    QHelpEngineCore engine(copy);
    QVERIFY2(engine.setupData(), qPrintable(engine.error()));
    QCOMPARE(engine.registeredDocumentations(), QStringList{QStringLiteral("com.merovast.usermanual")});
    for (const char *page : {"index.html", "manual_en.html", "manual_zh.html"}) {
        const QByteArray html = engine.fileData(
                QUrl(QStringLiteral("qthelp://com.merovast.usermanual/doc/") + QLatin1String(page)));
        QVERIFY2(html.contains("<h1>"), page);
    }
    QVERIFY(QFileInfo::exists(HelpLauncher::defaultViewer()));
}

// The modes the channel pages of the open-device dialog offer, no more.
void tst_HelpLauncher::manualListsTheWorkModes()
{
    QTemporaryDir dir;
    UiDevPageUsb::setConfigFolders(dir.path(), dir.path());
    UiDevPageUsb page(nullptr, 0);
    UiDevPageUsb::setConfigFolders(QString(), QString());
    const auto *modes = page.findChild<QComboBox *>(QStringLiteral("m_ctrlCanMode"));
    QVERIFY(modes && modes->count() > 0);
    QTranslator chinese;
    QVERIFY(chinese.load(QStringLiteral(":/translations/Merovast_zh.qm")));
    const QString root = QStringLiteral(SOURCE_ROOT "/app/help/");
    for (const char *name : {"manual_en.html", "manual_zh.html"}) {
        QFile file(root + QLatin1String(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        const bool zh = QByteArray(name).contains("_zh");
        for (int i = 0; i < modes->count(); ++i) {
            const QString mode = zh ? chinese.translate("UiDevPage", qPrintable(modes->itemText(i))) : modes->itemText(i);
            QVERIFY2(html.contains(QStringLiteral("<b>%1</b>").arg(mode)), qPrintable(mode));
        }
        QVERIFY(!html.contains(QLatin1String("self test"), Qt::CaseInsensitive));
        QVERIFY(!html.contains(QString::fromUtf8(u8"自测")));
    }
}

MEROVAST_GUI_TEST_MAIN(tst_HelpLauncher)
#include "tst_helplauncher.moc"
