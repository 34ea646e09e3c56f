// The hexadecimal byte field: spacing, case and cursor while typing,
// pasting and deleting.
#include "guitest.h"
#include "hexformatter.h"

#include <QLineEdit>
#include <QtTest>

class tst_HexFormatter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typing();
    void pasting_data();
    void pasting();
    void deletingBlankRespaces();
    void validatorTakesHexAndBlanksOnly();
    void formatterGoesWithItsEdit();
};

void tst_HexFormatter::typing()
{
    QLineEdit edit;
    HexFormatter::install(&edit);
    QTest::keyClicks(&edit, QStringLiteral("abc"));
    QCOMPARE(edit.text(), QStringLiteral("AB C"));
    QCOMPARE(edit.cursorPosition(), 4);
    QTest::keyClicks(&edit, QStringLiteral("d0"));
    QCOMPARE(edit.text(), QStringLiteral("AB CD 0"));
    QCOMPARE(edit.cursorPosition(), 7);
}

void tst_HexFormatter::pasting_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("pairs") << QStringLiteral("0102 0304") << QStringLiteral("01 02 03 04");
    QTest::newRow("odd last") << QStringLiteral("123") << QStringLiteral("12 3");
    QTest::newRow("stray blanks") << QStringLiteral("  a  b c ") << QStringLiteral("AB C");
    QTest::newRow("empty") << QString() << QString();
}

void tst_HexFormatter::pasting()
{
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    QLineEdit edit;
    HexFormatter::install(&edit);
    edit.insert(pasted);
    QCOMPARE(edit.text(), shown);
    QCOMPARE(edit.cursorPosition(), shown.size());
}

void tst_HexFormatter::deletingBlankRespaces()
{
    QLineEdit edit;
    HexFormatter::install(&edit);
    QTest::keyClicks(&edit, QStringLiteral("abc"));
    edit.setCursorPosition(3);
    QTest::keyClick(&edit, Qt::Key_Backspace);  // the blank between AB and C
    QCOMPARE(edit.text(), QStringLiteral("AB C"));
    QCOMPARE(edit.cursorPosition(), 3);  // one right of where the deletion left it

    // A digit typed in the middle moves the blanks behind it.
    edit.setCursorPosition(1);
    QTest::keyClicks(&edit, QStringLiteral("f"));
    QCOMPARE(edit.text(), QStringLiteral("AF BC"));
    QCOMPARE(edit.cursorPosition(), 2);
}

void tst_HexFormatter::validatorTakesHexAndBlanksOnly()
{
    QLineEdit edit;
    HexFormatter::install(&edit);
    QTest::keyClicks(&edit, QStringLiteral("1g-2 x"));
    QCOMPARE(edit.text(), QStringLiteral("12"));
}

void tst_HexFormatter::formatterGoesWithItsEdit()
{
    auto *edit = new QLineEdit;
    HexFormatter::install(edit);
    QPointer<HexFormatter> formatter = edit->findChild<HexFormatter *>();
    QVERIFY(formatter);
    delete edit;
    QVERIFY(!formatter);

    // A formatter that outlives its edit ignores late calls.
    QObject owner;
    auto *gone = new QLineEdit;
    auto *late = new HexFormatter(gone, &owner);
    delete gone;
    late->onTextChanged(QStringLiteral("ab"));
}

MEROVAST_GUI_TEST_MAIN(tst_HexFormatter)
#include "tst_hexformatter.moc"
