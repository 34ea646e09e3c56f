// The find-ID dialog: what it emits, what it accepts, the count it shows.
#include "guitest.h"
#include "uifindid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class tst_UiFindID : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttonsEmitTextAndDirection();
    void fieldTakesOneToEightHexDigits();
    void countShownUntilTextChanges();
};

void tst_UiFindID::buttonsEmitTextAndDirection()
{
    UiFindID dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Search"));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("lineEdit"));
    QVERIFY(edit);
    QCOMPARE(edit->placeholderText(), QStringLiteral("Input ID"));
    QSignalSpy spy(&dialog, &UiFindID::FINDIDSEARCH);
    QTest::keyClicks(edit, QStringLiteral("1a"));
    dialog.findChild<QPushButton *>(QStringLiteral("okButton"))->click();
    dialog.findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0), QVariantList({true, QStringLiteral("1a")}));
    QCOMPARE(spy.at(1), QVariantList({false, QStringLiteral("1a")}));
    QCOMPARE(dialog.lastSearch(), QStringLiteral("1a"));
}

void tst_UiFindID::fieldTakesOneToEightHexDigits()
{
    UiFindID dialog;
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("lineEdit"));
    QTest::keyClicks(edit, QStringLiteral("12g x3456789AB"));
    QCOMPARE(edit->text(), QStringLiteral("12345678"));
}

void tst_UiFindID::countShownUntilTextChanges()
{
    UiFindID dialog;
    auto *count = dialog.findChild<QLabel *>(QStringLiteral("label_2"));
    dialog.onSHOWCOUNT(3, 10);
    QCOMPARE(count->text(), QStringLiteral("total quantity :3/10"));
    QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("lineEdit")), QStringLiteral("7"));
    QCOMPARE(count->text(), QStringLiteral(" "));
}

MEROVAST_GUI_TEST_MAIN(tst_UiFindID)
#include "tst_uifindid.moc"
