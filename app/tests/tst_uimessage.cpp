// Lists in message boxes: at most twenty entries and a line with the
// count of the rest, in both languages, and a box that fits the main
// window's smallest size however long the list was.
#include "chinesecatalogue.h"
#include "guitest.h"
#include "uimessage.h"

#include <QLabel>
#include <QtTest>

namespace {

QStringList entries(int count, int length = 10)
{
    QStringList out;
    for (int i = 1; i <= count; ++i)
        out << QStringLiteral("Line %1: ").arg(i).leftJustified(length, QLatin1Char('x'));
    return out;
}

} // namespace

class tst_UiMessage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listText_data();
    void listText();
    void longEntriesAreCut();
    void moreLineInChinese();
    void longestListFitsSmallestWindow();
};

void tst_UiMessage::listText_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("last");

    QTest::newRow("none") << 0 << -1 << 1 << "";
    QTest::newRow("one") << 1 << -1 << 1 << "Line 1: xx";
    QTest::newRow("twenty, all listed") << 20 << -1 << 20 << "Line 20: x";
    QTest::newRow("twenty-one") << 21 << -1 << 21 << "... and 1 more.";
    QTest::newRow("twenty thousand") << 20000 << -1 << 21 << "... and 19980 more.";
    QTest::newRow("first twenty of a count") << 20 << 5000 << 21 << "... and 4980 more.";
    QTest::newRow("fewer than the count") << 3 << 5 << 4 << "... and 2 more.";
}

void tst_UiMessage::listText()
{
    QFETCH(int, count);
    QFETCH(int, total);
    QFETCH(int, lines);
    QFETCH(QString, last);

    const QStringList shown = UiMessage::listText(entries(count), total).split(QLatin1Char('\n'));
    QCOMPARE(shown.size(), lines);
    QCOMPARE(shown.last(), last);
    QCOMPARE(shown.first(), count > 0 ? QStringLiteral("Line 1: xx") : QString());
}

void tst_UiMessage::longEntriesAreCut()
{
    const QString shown = UiMessage::listText({QString(300, QLatin1Char('a')), QStringLiteral("short")});
    const QStringList lines = shown.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).size(), int(UiMessage::MaxLineChars));
    QVERIFY(lines.at(0).endsWith(QChar(0x2026)));
    QCOMPARE(lines.at(1), QStringLiteral("short"));
}

void tst_UiMessage::moreLineInChinese()
{
    ChineseCatalogue chinese;
    QVERIFY(chinese.isLoaded());
    QCOMPARE(UiMessage::listText(entries(25)).split(QLatin1Char('\n')).last(), QStringLiteral("……另有 5 条。"));
}

void tst_UiMessage::longestListFitsSmallestWindow()
{
    // The main window's minimum size is 1080 by 600.
    const QString text = QStringLiteral("These lines were not loaded:\n") + UiMessage::listText(entries(20000, 400));
    const std::unique_ptr<QMessageBox> box =
            UiMessage::build({QMessageBox::Information, nullptr, QStringLiteral("Hint"), text, QMessageBox::Ok});
    const QSize size = box->sizeHint();
    QVERIFY2(size.width() <= 1080 && size.height() <= 600,
             qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
    const QLabel *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(label);
    QCOMPARE(label->text().count(QLatin1Char('\n')), 21);
}

MEROVAST_GUI_TEST_MAIN(tst_UiMessage)
#include "tst_uimessage.moc"
