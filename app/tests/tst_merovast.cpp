// The main window without a device: its commands, menus, tool bar and the
// switch between the Chinese and English catalogues.
#include "guitest.h"
#include "merovast.h"
#include "uilanguage.h"

#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QtTest>

namespace {

QStringList actionNames(const QList<QAction *> &actions)
{
    QStringList names;
    for (const QAction *action : actions)
        names << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
    return names;
}

} // namespace

class tst_Merovast : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsWithoutDevice();
    void menusAndToolBar_data();
    void menusAndToolBar();
    void iconsLoad();
    void switchLanguage_data();
    void switchLanguage();
    void viewCommandsToggle();

private:
    static QAction *action(const Merovast &window, const char *name)
    {
        return window.findChild<QAction *>(QLatin1String(name));
    }
    static QAction *languageEntry(const Merovast &window, const QString &catalogue)
    {
        for (QAction *entry : window.findChild<QMenu *>(QStringLiteral("menuLanguage"))->actions()) {
            if (entry->data().toString() == catalogue)
                return entry;
        }
        return nullptr;
    }
    static QList<QWidget *> toolButtons(const Merovast &window)
    {
        QList<QWidget *> buttons;
        QLayout *layout = window.findChild<QToolBar *>(QStringLiteral("mainToolBar"))->layout();
        for (int i = 0; i < layout->count(); ++i) {
            if (QWidget *widget = layout->itemAt(i)->widget())
                buttons << widget;
        }
        return buttons;
    }
};

// Qt's own text of its file dialog's "Open" (a text of Qt's catalogue).
static QString qtOpenText()
{
    const char *context = "QFileDialog";
    const char *source = "Open";
    return QCoreApplication::translate(context, source);
}

static bool qtCatalogueInstalled()
{
    return QFileInfo::exists(QLibraryInfo::location(QLibraryInfo::TranslationsPath)
                             + QStringLiteral("/qtbase_zh_CN.qm"));
}

void tst_Merovast::startsWithoutDevice()
{
    Merovast window;
    QCoreApplication::processEvents(); // the catalogue's change event is posted
    QCOMPARE(window.windowTitle(), QStringLiteral("Merovast"));
    QCOMPARE(window.minimumSize(), QSize(1080, 600));
    QCOMPARE(UiLanguage::code(), UiLanguage::Chinese);
    QVERIFY(action(window, "openAct")->isEnabled());
    for (const char *name : {"closeAct", "tabbedAct", "subWindowAct", "tileAct", "cascadeAct", "deviceInfoAct"})
        QVERIFY2(!action(window, name)->isEnabled(), name);
    QVERIFY(!action(window, "updateFirmwareAct")->isVisible());
    QVERIFY(action(window, "tabbedAct")->isChecked());
    QVERIFY(action(window, "tileAct")->isChecked());
    QVERIFY(action(window, "autoScrollAct")->isChecked());
    QVERIFY(!action(window, "watchAct")->isChecked());
    QCOMPARE(window.findChild<QMenu *>(QStringLiteral("menuOperation"))->title(), QStringLiteral("操作"));
    QCOMPARE(action(window, "openAct")->text(), QStringLiteral("打开设备"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("sendTimeValue"))->text(), QString());
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("sendFramesValue"))->text(), QStringLiteral("0"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("recvFramesValue"))->text(), QStringLiteral("0"));
    const QList<QWidget *> buttons = toolButtons(window);
    QCOMPARE(buttons.size(), 10);
    for (const QWidget *button : buttons) {
        QCOMPARE(button->minimumWidth(), 75);
        QCOMPARE(button->maximumWidth(), 75);
    }
    // Catalogues sorted by name, each entry in its own language.
    QStringList entries;
    for (const QAction *entry : window.findChild<QMenu *>(QStringLiteral("menuLanguage"))->actions())
        entries << entry->text() + (entry->isChecked() ? QStringLiteral(" *") : QString());
    QCOMPARE(entries, (QStringList{QStringLiteral("English"), QStringLiteral("简体中文 *")}));
    if (!qtCatalogueInstalled())
        QSKIP("Qt's Chinese catalogue (Debian qttranslations5-l10n) is not installed");
    QCOMPARE(qtOpenText(), QStringLiteral("打开"));
}

void tst_Merovast::menusAndToolBar_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<QStringList>("actions");
    QTest::newRow("menu bar") << "menuBar"
                              << QStringList{"menuFile", "menuOperation", "menuView", "menuTools", "menuWindow",
                                             "menuLanguage", "menuHelp"};
    QTest::newRow("File") << "menuFile" << QStringList{"exitAct"};
    QTest::newRow("Operation") << "menuOperation"
                               << QStringList{"openAct", "closeAct", "|", "manualScrollAct", "autoScrollAct", "|",
                                              "watchAct", "|", "bufferSettingAct", "idFormatSettingAct"};
    QTest::newRow("View") << "menuView" << QStringList{"toolbarsAct", "statusBarAct"};
    QTest::newRow("Tools") << "menuTools" << QStringList{"busStatusAct", "nameSettingAct", "updateFirmwareAct"};
    QTest::newRow("Window") << "menuWindow"
                            << QStringList{"tabbedAct", "subWindowAct", "|", "tileAct", "cascadeAct"};
    QTest::newRow("Help") << "menuHelp" << QStringList{"helpAct", "deviceInfoAct", "|", "aboutAct"};
    QTest::newRow("tool bar") << "mainToolBar"
                              << QStringList{"openAct", "closeAct", "bufferAct", "idFormatAct", "busStatusAct",
                                             "nameSettingAct", "manualScrollAct", "autoScrollAct", "watchAct",
                                             "dbcReplayAct"};
}

void tst_Merovast::menusAndToolBar()
{
    QFETCH(QString, container);
    QFETCH(QStringList, actions);
    Merovast window;
    QWidget *widget = window.findChild<QWidget *>(container);
    QVERIFY(widget);
    QStringList names;
    for (const QAction *a : widget->actions())
        names << (a->menu() ? a->menu()->objectName() : a->isSeparator() ? QStringLiteral("|") : a->objectName());
    QCOMPARE(names, actions);
}

// A wrong resource path would leave a command without its picture.
void tst_Merovast::iconsLoad()
{
    Merovast window;
    QVERIFY(!window.windowIcon().pixmap(32, 32).isNull());
    for (const char *name : {"exitAct", "importAct", "exportAct", "busStatusAct", "nameSettingAct",
                             "updateFirmwareAct", "openAct", "closeAct", "bufferAct", "bufferSettingAct",
                             "idFormatAct", "idFormatSettingAct", "aboutAct", "deviceInfoAct", "helpAct",
                             "manualScrollAct", "autoScrollAct", "watchAct", "dbcReplayAct"})
        QVERIFY2(!action(window, name)->icon().pixmap(36, 38).isNull(), name);
}

void tst_Merovast::switchLanguage_data()
{
    QTest::addColumn<QStringList>("catalogues"); // chosen in this order
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("buttonWidth");
    QTest::addColumn<int>("minimumWidth");
    QTest::addColumn<QStringList>("texts"); // Operation menu, Open, its tip, Buffer Setting, Watch tool tip, Send Frames
    QTest::addColumn<QString>("qtText");    // Qt's file dialog: "Open"
    const QString en = QStringLiteral(":/translations/Merovast_en.qm");
    const QString zh = QStringLiteral(":/translations/Merovast_zh.qm");
    QTest::newRow("English") << QStringList{en} << UiLanguage::Other << 78 << 1200
                             << QStringList{"Operation", "Open Device", "Open the device", "Data List", "Watch Data",
                                            "Send Frames"}
                             << "Open";
    QTest::newRow("English, then Chinese")
            << QStringList{en, zh} << UiLanguage::Chinese << 60 << 1080
            << QStringList{"操作", "打开设备", "打开设备", "缓冲区设置", "按ID监视数据", "发送帧数"} << "打开";
}

void tst_Merovast::switchLanguage()
{
    QFETCH(QStringList, catalogues);
    QFETCH(int, code);
    QFETCH(int, buttonWidth);
    QFETCH(int, minimumWidth);
    QFETCH(QStringList, texts);
    QFETCH(QString, qtText);
    Merovast window;
    for (const QString &catalogue : catalogues) {
        QAction *entry = languageEntry(window, catalogue);
        QVERIFY(entry);
        entry->trigger();
        QVERIFY(entry->isChecked());
        QCoreApplication::processEvents();
    }
    QCOMPARE(UiLanguage::code(), code);
    QCOMPARE(window.minimumWidth(), minimumWidth);
    for (const QWidget *button : toolButtons(window)) {
        QCOMPARE(button->minimumWidth(), buttonWidth);
        QCOMPARE(button->maximumWidth(), buttonWidth);
    }
    const QStringList shown{window.findChild<QMenu *>(QStringLiteral("menuOperation"))->title(),
                            action(window, "openAct")->text(), action(window, "openAct")->statusTip(),
                            action(window, "bufferSettingAct")->text(), action(window, "watchAct")->toolTip(),
                            window.findChild<QLabel *>(QStringLiteral("sendFramesCaption"))->text()};
    QCOMPARE(shown, texts);
    QCOMPARE(window.windowTitle(), QStringLiteral("Merovast"));
    if (!qtCatalogueInstalled())
        QSKIP("Qt's Chinese catalogue (Debian qttranslations5-l10n) is not installed");
    QCOMPARE(qtOpenText(), qtText);
}

void tst_Merovast::viewCommandsToggle()
{
    Merovast window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *toolBar = window.findChild<QToolBar *>(QStringLiteral("mainToolBar"));
    auto *statusBar = window.findChild<QStatusBar *>();
    for (bool shown : {false, true}) {
        action(window, "toolbarsAct")->trigger();
        action(window, "statusBarAct")->trigger();
        QCOMPARE(toolBar->isVisible(), shown);
        QCOMPARE(statusBar->isVisible(), shown);
        QCOMPARE(action(window, "toolbarsAct")->isChecked(), shown);
        QCOMPARE(action(window, "statusBarAct")->isChecked(), shown);
    }
}

MEROVAST_GUI_TEST_MAIN(tst_Merovast)
#include "tst_merovast.moc"
