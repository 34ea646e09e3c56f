// The name dialog: the map shown, edited and replaced on Ok, rows with a
// bad ID reported, and name list files written and read back.
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
    void addAndDelete();
    void exportThenImportRoundTrip();
    void importLines_data();
    void importLines();
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
    QTest::newRow("empty field dropped") << QByteArray("100,,Door\n") << QList<QStringList>{{"100", "Door"}};
    QTest::newRow("three fields skipped, reading goes on")
            << QByteArray("1,a,b\n2,two\n") << QList<QStringList>{{"2", "two"}};
    QTest::newRow("no comma") << QByteArray("lonely\n") << QList<QStringList>{};
    QTest::newRow("last line without newline") << QByteArray("3,x\n4,y") << QList<QStringList>{{"3", "x"}, {"4", "y"}};
    QTest::newRow("Chinese name") << QByteArray("5,\xE8\xBD\xA6\xE9\x97\xA8\n")
                                  << QList<QStringList>{{"5", QStringLiteral("\u8F66\u95E8")}};
}

void tst_UiNameSetting::importLines()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<QStringList>, rows);
    const QString path = dir.filePath(QStringLiteral("import.txt"));
    writeFile(path, content);
    Dialog d;
    d.click("m_btnAdd");
    QVERIFY(d.dialog.importFile(path));
    QCOMPARE(d.rows(), rows);
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
