// Font faces on a machine without the desktop fonts the program names: the
// CJK face stands in for named families that are missing and for Qt's
// generic face, and leaves installed families alone, also those Qt lists
// with a foundry.
#include "guitest.h"
#include "uifont.h"

#include <QFontDatabase>
#include <QtTest>

class tst_UiFont : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void missingFamilyFallsBack_data();
    void missingFamilyFallsBack();
    void installedFamilyKept_data();
    void installedFamilyKept();
    void applicationFont_data();
    void applicationFont();
};

void tst_UiFont::initTestCase()
{
    if (!QFontDatabase().hasFamily(UiFont::cjkFamily()))
        QSKIP("the CJK face is not installed (Debian: fonts-wqy-microhei)");
}

void tst_UiFont::missingFamilyFallsBack_data()
{
    QTest::addColumn<QString>("family");
    // The families the painted widgets ask for, none of them on Linux.
    for (const char *family : {"Microsoft YaHei", "Microsoft Yahei", "Euphemia", "DokChampa"})
        QTest::newRow(family) << QString::fromLatin1(family);
    QTest::newRow("no such family") << QStringLiteral("No Such Family 7f3a");
    QTest::newRow("no such family, with a foundry") << QStringLiteral("No Such Family 7f3a [urw]");
}

void tst_UiFont::missingFamilyFallsBack()
{
    QFETCH(QString, family);
    if (QFontDatabase().hasFamily(family))
        QSKIP("installed here");
    QCOMPARE(UiFont::family(family), UiFont::cjkFamily());
    // Asked again (the answer is kept), the same.
    QCOMPARE(UiFont::family(family), UiFont::cjkFamily());
}

// Every family installed here, as Qt lists it: with a foundry ("C059
// [UKWN]") where more than one foundry makes it, and then also without.
void tst_UiFont::installedFamilyKept_data()
{
    QTest::addColumn<QString>("family");
    QSet<QString> bare;
    for (const QString &family : QFontDatabase().families()) {
        QTest::newRow(qPrintable(family)) << family;
        const int foundry = family.lastIndexOf(QLatin1String(" ["));
        if (foundry > 0 && !bare.contains(family.left(foundry))) {
            bare.insert(family.left(foundry));
            QTest::newRow(qPrintable(family.left(foundry))) << family.left(foundry);
        }
    }
}

void tst_UiFont::installedFamilyKept()
{
    QFETCH(QString, family);
    QCOMPARE(UiFont::family(family), family);
}

void tst_UiFont::applicationFont_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("Qt's generic face") << QStringLiteral("Sans Serif") << true;
    QTest::newRow("a chosen face") << QStringLiteral("Some Theme Face") << false;
}

void tst_UiFont::applicationFont()
{
    QFETCH(QString, start);
    QFETCH(bool, replaced);
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    QVERIFY(app);
    const QFont before = QApplication::font();
    QFont font = before;
    font.setFamily(start);
    font.setPointSize(13);
    QApplication::setFont(font);
    UiFont::chooseApplicationFont(*app);
    const QFont chosen = QApplication::font();
    QApplication::setFont(before);
    QCOMPARE(chosen.family(), replaced ? UiFont::cjkFamily() : start);
    QCOMPARE(chosen.pointSize(), 13);
}

MEROVAST_GUI_TEST_MAIN(tst_UiFont)
#include "tst_uifont.moc"
