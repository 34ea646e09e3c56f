// The ID format dialog: what it shows for the stored value, and what Ok,
// the close button and Cancel leave in UlGlobalSet and in the settings.
#include "guitest.h"
#include "merovast.h"
#include "modaldialog.h"
#include "uiidformatsetting.h"
#include "ulglobalset.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

class tst_UiIdFormatSetting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void storedOddValueOpensLeftAndOkStoresOne();
    void choice_data();
    void choice();
    void closingChangesNothing();
    void mainWindowTellsViewsOnOkOnly();

private:
    static QSettings settings()
    {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("RavoSoft"),
                         QStringLiteral("INIT"));
    }
    static QVariant stored() { return settings().value(QStringLiteral("IDFORMAT")); }
};

void tst_UiIdFormatSetting::initTestCase()
{
    // Before the first use of UlGlobalSet, which reads the setting once.
    QSettings s = settings();
    s.setValue(QStringLiteral("IDFORMAT"), 5);
    s.sync();
}

void tst_UiIdFormatSetting::storedOddValueOpensLeftAndOkStoresOne()
{
    QCOMPARE(UlGlobalSet::instance().IDFORMAT.load(), 1);
    UiIdFormatSetting dialog;
    QVERIFY(dialog.findChild<QRadioButton *>(QStringLiteral("m_radioLeft"))->isChecked());
    onNextModal<UiIdFormatSetting>([](UiIdFormatSetting *d) {
        d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    QCOMPARE(dialog.exec(), 1);
    QCOMPARE(stored().toInt(), 1);
}

void tst_UiIdFormatSetting::choice_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("after");
    QTest::newRow("right to left") << 0 << QStringLiteral("m_radioLeft") << 1;
    QTest::newRow("left to right") << 1 << QStringLiteral("m_radioRight") << 0;
}

void tst_UiIdFormatSetting::choice()
{
    QFETCH(int, before);
    QFETCH(QString, button);
    QFETCH(int, after);
    UlGlobalSet::instance().IDFORMAT = before;
    UiIdFormatSetting dialog;
    QCOMPARE(dialog.findChild<QRadioButton *>(QStringLiteral("m_radioRight"))->isChecked(), before == 0);
    QCOMPARE(dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->text(), QStringLiteral("Ok"));
    onNextModal<UiIdFormatSetting>([&](UiIdFormatSetting *d) {
        d->findChild<QRadioButton *>(button)->click();
        d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    QCOMPARE(dialog.exec(), 1);
    QCOMPARE(UlGlobalSet::instance().IDFORMAT.load(), after);
    QCOMPARE(stored().toInt(), after);
}

void tst_UiIdFormatSetting::closingChangesNothing()
{
    UlGlobalSet::instance().IDFORMAT = 0;
    settings().setValue(QStringLiteral("IDFORMAT"), 0);
    UiIdFormatSetting dialog;
    onNextModal<UiIdFormatSetting>([](UiIdFormatSetting *d) {
        d->findChild<QRadioButton *>(QStringLiteral("m_radioLeft"))->click();
        d->close();
    });
    QCOMPARE(dialog.exec(), -1);
    QCOMPARE(UlGlobalSet::instance().IDFORMAT.load(), 0);
    QCOMPARE(stored().toInt(), 0);
}

void tst_UiIdFormatSetting::mainWindowTellsViewsOnOkOnly()
{
    UlGlobalSet::instance().IDFORMAT = 0;
    Merovast window;
    QSignalSpy changed(&window, &Merovast::idFormatChanged);
    QAction *command = window.findChild<QAction *>(QStringLiteral("idFormatSettingAct"));
    onNextModal<UiIdFormatSetting>([](UiIdFormatSetting *d) { d->close(); });
    command->trigger();
    QCOMPARE(changed.count(), 0);
    onNextModal<UiIdFormatSetting>([](UiIdFormatSetting *d) {
        d->findChild<QRadioButton *>(QStringLiteral("m_radioLeft"))->click();
        d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    command->trigger();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(UlGlobalSet::instance().IDFORMAT.load(), 1);
}

MEROVAST_GUI_TEST_MAIN(tst_UiIdFormatSetting)
#include "tst_uiidformatsetting.moc"
