// The go-to-line dialog: its range and the 0-based index it returns.
#include "guitest.h"
#include "modaldialog.h"
#include "uigotolinedlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

class tst_UiGotoLineDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void result_data();
    void result();
    void rangeFollowsLineCount();
};

void tst_UiGotoLineDlg::result_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("expected");
    QTest::newRow("last of 1000") << 1000 << 1000 << true << 999;
    QTest::newRow("first") << 1000 << 1 << true << 0;
    QTest::newRow("cancelled") << 1000 << 500 << false << -1;
    QTest::newRow("no frames") << 0 << 0 << true << -1;
}

void tst_UiGotoLineDlg::result()
{
    QFETCH(int, lines);
    QFETCH(int, chosen);
    QFETCH(bool, ok);
    QFETCH(int, expected);
    UiGotoLineDlg dialog;
    dialog.setLineCount(lines);
    onNextModal<UiGotoLineDlg>([&](UiGotoLineDlg *d) {
        d->findChild<QSpinBox *>(QStringLiteral("spinBox"))->setValue(chosen);
        auto *box = d->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        box->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    });
    QCOMPARE(dialog.exec(), expected);
}

void tst_UiGotoLineDlg::rangeFollowsLineCount()
{
    UiGotoLineDlg dialog;
    dialog.setLineCount(1000);
    auto *spin = dialog.findChild<QSpinBox *>(QStringLiteral("spinBox"));
    QCOMPARE(spin->minimum(), 1);
    QCOMPARE(spin->maximum(), 1000);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("label"))->text(), QStringLiteral("Line Number(1 - 1000):"));
    auto *box = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QCOMPARE(box->button(QDialogButtonBox::Ok)->text(), QStringLiteral("Ok"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Goto"));
}

MEROVAST_GUI_TEST_MAIN(tst_UiGotoLineDlg)
#include "tst_uigotolinedlg.moc"
