// The name dialog: the map shown, edited and replaced on Ok, rows with a
// bad ID reported, and name list files written and read back, with their
// bad lines skipped and oversize files refused.
#include "apphelpers.h"
#include "guitest.h"
#include "merovast.h"
#include "modaldialog.h"
#include "uifiledialog.h"
#include "uimessage.h"
#include "uinamesetting.h"
#include "ulnamemapping.h"

#include <QAction>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Dialog {
    UiNameSetting dialog;
    QTableWidget *table = dialog.findChild<QTableWidget *>(QStringLiteral("tableWidget"));

    void click(const char *name) { dialog.findChild<QPushButton *>(QLatin1String(name))->click(); }
    QList<QStringList> rows() const
    {
        QList<QStringList> out;
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 2; ++c)
                cells << (table->item(r, c) ? table->item(r, c)->text() : QString());
            out << cells;
        }
        return out;
    }
    void setRow(int row, const QString &id, const QString &name)
    {
        table->setItem(row, 0, new QTableWidgetItem(id));
        table->setItem(row, 1, new QTableWidgetItem(name));
    }
};

} // namespace

class tst_UiNameSetting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void showsMapInOrder();
    void okReplacesMap();
    void okReportsBadIds();
    void okListsTwentyBadRows();
    void addAndDelete();
    void exportThenImportRoundTrip();
    void importLines_data();
    void importLines();
    void importBounds_data();
    void importBounds();
    void failedImportKeepsTable();
    void exportEmptyTableWritesNothing();
    void exportFailureIsReported();
    void mainWindowCommandOpensDialog();

private:
    UlNameMapping *map() const { return UlNameMapping::getSingleton(); }

    QTemporaryDir dir;
    QList<UiMessage::Box> boxes;
    QString answer;
};

void tst_UiNameSetting::init()
{
    map()->clear();
    boxes.clear();
    answer.clear();
    UiMessage::setHandler([this](const UiMessage::Box &box) {
        boxes << box;
        return QMessageBox::Yes;
    });
    UiFileDialog::setHandler([this](const UiFileDialog::Request &request) {
        return request.filter == QLatin1String("(*.txt)") ? answer : QString();
    });
}

void tst_UiNameSetting::cleanup()
{
    UiMessage::setHandler({});
    UiFileDialog::setHandler({});
}

void tst_UiNameSetting::showsMapInOrder()
{
    map()->add(0x7FF, QStringLiteral("Brake"));
    map()->add(0x1A, QStringLiteral("Engine"));
    Dialog d;
    QCOMPARE(d.rows(), QList<QStringList>({{"1a", "Engine"}, {"7ff", "Brake"}}));
    QCOMPARE(d.table->horizontalHeaderItem(0)->text(), QStringLiteral("Id(HEX)"));
    d.dialog.addName(0x1ABCDEF, QStringLiteral("Motor"));
    QCOMPARE(d.rows().last(), QStringList({"1ABCDEF", "Motor"}));
}

void tst_UiNameSetting::okReplacesMap()
{
    map()->add(0x5, QStringLiteral("Old"));
    Dialog d;
    d.click("m_btnAdd");
    d.setRow(1, QStringLiteral("100"), QStringLiteral("Door"));
    d.click("m_btnAdd");
    d.setRow(2, QStringLiteral("100"), QStringLiteral("Hatch"));  // the later row wins
    d.click("m_btnOk");
    QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(map()->size(), 2);
    QCOMPARE(map()->find(0x5), QStringLiteral("Old"));
    QCOMPARE(map()->find(0x100), QStringLiteral("Hatch"));
    QCOMPARE(boxes.size(), 0);

    Dialog empty;
    while (empty.table->rowCount() > 0) {
        empty.table->setCurrentCell(0, 0);
        empty.click("m_btnDelete");
    }
    empty.click("m_btnOk");
    QCOMPARE(map()->size(), 0);
}

void tst_UiNameSetting::okReportsBadIds()
{
    Dialog d;
    const QStringList ids{"", "zz", "20000000", "1FFFFFFF", " 42 "};
    for (int row = 0; row < ids.size(); ++row) {
        d.click("m_btnAdd");
        d.setRow(row, ids.at(row), QStringLiteral("n%1").arg(row));
    }
    d.click("m_btnAdd");  // a row left blank is no entry
    d.click("m_btnOk");
    QCOMPARE(map()->getList(), (QList<QPair<uint32_t, QString>>{{0x42, "n4"}, {0x1FFFFFFF, "n3"}}));
    QCOMPARE(map()->find(0), QString());
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes.at(0).text.startsWith(QLatin1String("Rows 1, 2, 3 ")), qPrintable(boxes.at(0).text));
}

void tst_UiNameSetting::okListsTwentyBadRows()
{
    Dialog d;
    for (int row = 0; row < 500; ++row) {
        d.click("m_btnAdd");
        d.setRow(row, QStringLiteral("zz"), QStringLiteral("n%1").arg(row));
    }
    d.click("m_btnOk");
    QCOMPARE(boxes.size(), 1);
    const QStringList lines = boxes.at(0).text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.at(0).startsWith(QLatin1String("Rows 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, "
                                                  "18, 19, 20 were not stored")),
             qPrintable(lines.at(0)));
    QCOMPARE(lines.at(1), QStringLiteral("... and 480 more."));
}

void tst_UiNameSetting::addAndDelete()
{
    map()->add(1, QStringLiteral("a"));
    map()->add(2, QStringLiteral("b"));
    map()->add(3, QStringLiteral("c"));
    Dialog d;
    d.click("m_btnDelete");  // no current row
    QCOMPARE(d.table->rowCount(), 3);
    d.table->setCurrentCell(1, 1);
    d.click("m_btnDelete");
    QCOMPARE(d.rows(), QList<QStringList>({{"1", "a"}, {"3", "c"}}));
    QCOMPARE(d.table->selectionModel()->selectedRows().size(), 1);
    d.click("m_btnAdd");
    QCOMPARE(d.rows().last(), QStringList({"", ""}));
}

void tst_UiNameSetting::exportThenImportRoundTrip()
{
    const QString path = dir.filePath(QStringLiteral("names.txt"));
    writeFile(path, "old,line\nlonger,than,the,new\nand,more\n");
    {
        Dialog d;
        d.click("m_btnAdd");
        d.setRow(0, QStringLiteral("1a"), QStringLiteral("Engine"));
        d.click("m_btnAdd");
        d.setRow(1, QStringLiteral("7FF"), QStringLiteral("Brake"));
        answer = path;
        d.click("m_pButtExport");
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).text, QStringLiteral("Save successfully"));
    }
    QCOMPARE(readAll(path), QByteArray("1a,Engine\n7FF,Brake\n"));

    map()->add(9, QStringLiteral("other"));
    Dialog d;
    d.click("m_pButtImport");
    QCOMPARE(d.rows(), QList<QStringList>({{"1a", "Engine"}, {"7FF", "Brake"}}));
    d.click("m_btnAdd");
    QCOMPARE(d.table->rowCount(), 3);
    d.click("m_btnOk");
    QCOMPARE(map()->getList(), (QList<QPair<uint32_t, QString>>{{0x1A, "Engine"}, {0x7FF, "Brake"}}));
}

void tst_UiNameSetting::importLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<int>("skipped");
    QTest::newRow("empty field dropped") << QByteArray("100,,Door\n") << QList<QStringList>{{"100", "Door"}} << 0;
    QTest::newRow("three fields skipped, reading goes on")
            << QByteArray("1,a,b\n2,two\n") << QList<QStringList>{{"2", "two"}} << 1;
    QTest::newRow("no comma") << QByteArray("lonely\n") << QList<QStringList>{} << 1;
    QTest::newRow("last line without newline") << QByteArray("3,x\n4,y") << QList<QStringList>{{"3", "x"}, {"4", "y"}}
                                               << 0;
    QTest::newRow("CR LF") << QByteArray("3,x\r\n4,y\r\n") << QList<QStringList>{{"3", "x"}, {"4", "y"}} << 0;
    QTest::newRow("blank lines are no entries") << QByteArray("\n  \n6,six\n\n") << QList<QStringList>{{"6", "six"}}
                                                << 0;
    QTest::newRow("Chinese name") << QByteArray("5,\xE8\xBD\xA6\xE9\x97\xA8\n")
                                  << QList<QStringList>{{"5", QStringLiteral("\u8F66\u95E8")}} << 0;
    QTest::newRow("ID not hexadecimal") << QByteArray("xyz,name\n12,ok\n") << QList<QStringList>{{"12", "ok"}} << 1;
    QTest::newRow("ID above 1FFFFFFF") << QByteArray("20000000,big\n1FFFFFFF,largest\n")
                                       << QList<QStringList>{{"1FFFFFFF", "largest"}} << 1;
    QTest::newRow("control character in the name") << QByteArray("5,a\x01" "b\n") << QList<QStringList>{} << 1;
    QTest::newRow("binary file") << QByteArray("\x7F" "ELF\x02\x01\x01\x00\x00\n\x01\x02,\xFF\xFE\x00\n1,\x80\x81\n", 22)
                                 << QList<QStringList>{} << 3;
}

void tst_UiNameSetting::importLines()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<QStringList>, rows);
    QFETCH(int, skipped);
    const QString path = dir.filePath(QStringLiteral("import.txt"));
    writeFile(path, content);
    Dialog d;
    d.click("m_btnAdd");
    QVERIFY(d.dialog.importFile(path));
    QCOMPARE(d.rows(), rows);
    if (skipped == 0) {
        QVERIFY(boxes.isEmpty());
    } else {
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).title, QStringLiteral("Hint"));
        QCOMPARE(boxes.at(0).text, QStringLiteral("%1 lines were skipped: each line must be a hexadecimal ID from 0 to "
                                                  "1FFFFFFF, a comma and a name.")
                                           .arg(skipped));
    }
}

static QByteArray nameLines(int count, int nameLength = 4)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray::number(i, 16) + ',' + QByteArray(nameLength, 'n') + '\n';
    return text;
}

void tst_UiNameSetting::importBounds_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("refusal");  // empty: imported
    QTest::newRow("100000 lines") << nameLines(100000) << QString();
    QTest::newRow("100001 lines") << nameLines(100001) << "%1 holds more than 100000 lines; nothing was imported.";
    QTest::newRow("above 16 MB") << nameLines(2, 8 * 1024 * 1024) << "%1 is larger than 16 MB; nothing was imported.";
}

void tst_UiNameSetting::importBounds()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, refusal);
    const QString path = dir.filePath(QStringLiteral("large.txt"));
    writeFile(path, content);
    map()->add(0x10, QStringLiteral("kept"));
    Dialog d;
    QCOMPARE(d.dialog.importFile(path), refusal.isEmpty());
    if (refusal.isEmpty()) {
        QVERIFY(boxes.isEmpty());
        QCOMPARE(d.table->rowCount(), 100000);
        QCOMPARE(d.rows().last(), QStringList({"1869f", "nnnn"}));
        return;
    }
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).text, refusal.arg(QDir::toNativeSeparators(path)));
    QCOMPARE(d.rows(), QList<QStringList>({{"10", "kept"}}));
}

void tst_UiNameSetting::failedImportKeepsTable()
{
    map()->add(0x10, QStringLiteral("kept"));
    Dialog d;
    answer = dir.filePath(QStringLiteral("does-not-exist.txt"));
    d.click("m_pButtImport");
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).title, QStringLiteral("Hint"));
    QVERIFY(boxes.at(0).text.startsWith(QLatin1String("Failed to open file")));
    QCOMPARE(boxes.at(0).buttons, QMessageBox::StandardButtons(QMessageBox::Yes));
    answer.clear();  // cancelled
    d.click("m_pButtImport");
    QCOMPARE(d.rows(), QList<QStringList>({{"10", "kept"}}));
}

void tst_UiNameSetting::exportEmptyTableWritesNothing()
{
    Dialog d;
    answer = dir.filePath(QStringLiteral("never.txt"));
    d.click("m_pButtExport");
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).text, QStringLiteral("Content is empty"));
    QVERIFY(!QFile::exists(answer));
}

void tst_UiNameSetting::exportFailureIsReported()
{
    map()->add(1, QStringLiteral("a"));
    Dialog d;
    QVERIFY(!d.dialog.exportFile(QStringLiteral("/dev/full")));
    QVERIFY(!d.dialog.exportFile(dir.filePath(QStringLiteral("missing/names.txt"))));
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes.at(0).title, QStringLiteral("Warning"));
    QVERIFY2(boxes.at(0).text.startsWith(QLatin1String("Cannot write file /dev/full,\n")), qPrintable(boxes.at(0).text));
    QCOMPARE(boxes.at(1).title, QStringLiteral("Hint"));
}

void tst_UiNameSetting::mainWindowCommandOpensDialog()
{
    map()->add(0x1A, QStringLiteral("Engine"));
    Merovast window;
    QList<QStringList> shown;
    onNextModal<UiNameSetting>([&shown](UiNameSetting *d) {
        auto *table = d->findChild<QTableWidget *>(QStringLiteral("tableWidget"));
        shown << QStringList{table->item(0, 0)->text(), table->item(0, 1)->text()};
        table->item(0, 1)->setText(QStringLiteral("Motor"));
        d->findChild<QPushButton *>(QStringLiteral("m_btnOk"))->click();
    });
    window.findChild<QAction *>(QStringLiteral("nameSettingAct"))->trigger();
    QCOMPARE(shown, QList<QStringList>({{"1a", "Engine"}}));
    QCOMPARE(map()->find(0x1A), QStringLiteral("Motor"));
}

MEROVAST_GUI_TEST_MAIN(tst_UiNameSetting)
#include "tst_uinamesetting.moc"
