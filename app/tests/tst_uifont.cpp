// Font faces on a machine without the desktop fonts the program names: the
// CJK face stands in for named families that are missing and for Qt's
// generic face, and leaves installed families alone.
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
    void installedFamilyKept();
    void applicationFont_data();
    void applicationFont();

private:
    QString installedOther;  // an installed family other than the CJK face
};

void tst_UiFont::initTestCase()
{
    const QFontDatabase fonts;
    if (!fonts.hasFamily(UiFont::cjkFamily()))
        QSKIP("the CJK face is not installed (Debian: fonts-wqy-microhei)");
    for (const QString &family : fonts.families()) {
        if (family.compare(UiFont::cjkFamily(), Qt::CaseInsensitive) != 0) {
            installedOther = family;
            break;
        }
    }
}

void tst_UiFont::missingFamilyFallsBack_data()
{
    QTest::addColumn<QString>("family");
    // The families the painted widgets ask for, none of them on Linux.
    for (const char *family : {"Microsoft YaHei", "Microsoft Yahei", "Euphemia", "DokChampa"})
        QTest::newRow(family) << QString::fromLatin1(family);
    QTest::newRow("no such family") << QStringLiteral("No Such Family 7f3a");
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

void tst_UiFont::installedFamilyKept()
{
    if (installedOther.isEmpty())
        QSKIP("no other family installed");
    QCOMPARE(UiFont::family(installedOther), installedOther);
    QCOMPARE(UiFont::family(UiFont::cjkFamily()), UiFont::cjkFamily());
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
