// The ID filter dialog: modes and hints, editing the rules, the filter
// list file (written byte for byte, read back, rejected when broken), and
// the channel's filters changing only on Ok.
#include "apphelpers.h"
#include "guitest.h"
#include "modaldialog.h"
#include "uifiledialog.h"
#include "uiidfiltersetting.h"
#include "uimessage.h"
#include "ulidfiltermannger.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kChannel = 2;

const char kGolden[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<!DOCTYPE xml>\n"
                       "<xml version=\"1.0\">\n"
                       "    <Filter Mode=\"2\"/>\n"
                       "    <NotReceiveFilter LowID=\"100\" HighID=\"1ff\" Comment=\"\"/>\n"
                       "    <NotReceiveFilter LowID=\"0\" HighID=\"1fffffff\" Comment=\"all &amp; &quot;more&quot;\"/>\n"
                       "    <OnlyReceiveFilter LowID=\"7ff\" HighID=\"7ff\" Comment=\"\"/>\n"
                       "</xml>\n";

struct Dialog {
    UiIdFilterSetting dialog{nullptr, kChannel};
    QComboBox *mode = dialog.findChild<QComboBox *>(QStringLiteral("m_comboxFilter"));
    QLineEdit *low = dialog.findChild<QLineEdit *>(QStringLiteral("m_editLow"));
    QLineEdit *high = dialog.findChild<QLineEdit *>(QStringLiteral("m_editHigh"));
    QTableWidget *table = dialog.findChild<QTableWidget *>(QStringLiteral("tableWidget"));
    QLabel *hint = dialog.findChild<QLabel *>(QStringLiteral("hint"));

    QPushButton *button(const char *name) const { return dialog.findChild<QPushButton *>(QLatin1String(name)); }
    void add(const QString &from, const QString &to)
    {
        low->setText(from);
        high->setText(to);
        button("m_btnAdd")->click();
    }
    QStringList row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells << (table->item(r, c) ? table->item(r, c)->text() : QString());
        return cells;
    }
};

} // namespace

class tst_UiIdFilterSetting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void disabledModeShowsNothingToEdit();
    void hints_data();
    void hints();
    void addedRuleShownAndSaved();
    void modesKeepBothLists();
    void deleteColumnRemovesRule();
    void editedCellReplacesRule();
    void saveWritesGoldenFile();
    void saveFailureIsReported();
    void loadReplacesWorkingCopyOnly();
    void brokenFiles_data();
    void brokenFiles();
    void refusedFiles_data();
    void refusedFiles();
    void largestFileLoads();
    void okCopiesBackCancelDoesNot();

private:
    void failToLoad(Dialog &d, const QString &path, const QByteArray &content);

    QTemporaryDir dir;
    QList<UiMessage::Box> boxes;
    QString answer;  // what the file dialog answers
};

void tst_UiIdFilterSetting::init()
{
    UlIdFilterMannger::instance(kChannel) = UlIdFilterMannger();
    boxes.clear();
    answer.clear();
    UiMessage::setHandler([this](const UiMessage::Box &box) {
        boxes << box;
        return QMessageBox::Ok;
    });
    UiFileDialog::setHandler([this](const UiFileDialog::Request &request) {
        if (request.filter != QLatin1String("Filter(*.filter)"))
            return QString();
        return answer;
    });
}

void tst_UiIdFilterSetting::cleanup()
{
    UiMessage::setHandler({});
    UiFileDialog::setHandler({});
}

void tst_UiIdFilterSetting::disabledModeShowsNothingToEdit()
{
    Dialog d;
    QCOMPARE(d.mode->currentText(), QStringLiteral("Disable"));
    QCOMPARE(d.table->rowCount(), 0);
    QVERIFY(d.hint->isHidden());
    for (QWidget *w : {static_cast<QWidget *>(d.low), static_cast<QWidget *>(d.high),
                       static_cast<QWidget *>(d.table), static_cast<QWidget *>(d.button("m_btnAdd")),
                       static_cast<QWidget *>(d.button("m_btnClear")), static_cast<QWidget *>(d.button("m_btnSave")),
                       static_cast<QWidget *>(d.button("m_btnLoad"))}) {
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    }
    QVERIFY(d.button("m_btnOk")->isEnabled());
    QVERIFY(d.button("m_btnCancel")->isEnabled());
    d.add(QStringLiteral("1"), QStringLiteral("2"));
    QCOMPARE(d.dialog.workingCopy().NotReceiveCount() + d.dialog.workingCopy().OnlyReceiveCount(), 0);
}

void tst_UiIdFilterSetting::hints_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("hint");
    QTest::newRow("not receive") << 1 << "When the list is empty, that receives all ID.";
    QTest::newRow("only receive") << 2 << "When the list is empty, that it would not receive any ID.";
}

void tst_UiIdFilterSetting::hints()
{
    QFETCH(int, mode);
    QFETCH(QString, hint);
    Dialog d;
    d.mode->setCurrentIndex(mode);
    QVERIFY(d.table->isEnabled());
    QVERIFY(!d.hint->isHidden());
    QCOMPARE(d.hint->text(), hint);
    d.add(QStringLiteral("10"), QStringLiteral("20"));
    QVERIFY(d.hint->isHidden());
    d.button("m_btnClear")->click();
    QVERIFY(!d.hint->isHidden());
    QCOMPARE(d.table->rowCount(), 0);
}

void tst_UiIdFilterSetting::addedRuleShownAndSaved()
{
    Dialog d;
    d.mode->setCurrentIndex(1);
    d.add(QStringLiteral("100"), QStringLiteral("1FF"));
    d.add(QStringLiteral("zz"), QString());  // unparsable text counts as 0
    QCOMPARE(d.row(0), QStringList({"1", "00000100", "000001ff", ""}));
    QCOMPARE(d.row(1), QStringList({"2", "00000000", "00000000", ""}));
    QCOMPARE(d.table->item(1, 0)->data(Qt::UserRole).toInt(), 1);
    QVERIFY(!(d.table->item(0, 0)->flags() & Qt::ItemIsEditable));
    const QString path = dir.filePath(QStringLiteral("added.filter"));
    QVERIFY(d.dialog.saveFile(path));
    QVERIFY(readAll(path).contains("<NotReceiveFilter LowID=\"100\" HighID=\"1ff\" Comment=\"\"/>"));
}

void tst_UiIdFilterSetting::modesKeepBothLists()
{
    Dialog d;
    d.mode->setCurrentIndex(1);
    d.add(QStringLiteral("100"), QStringLiteral("1ff"));
    d.mode->setCurrentIndex(2);
    QCOMPARE(d.table->rowCount(), 0);
    d.add(QStringLiteral("7ff"), QStringLiteral("7ff"));
    d.mode->setCurrentIndex(1);
    QCOMPARE(d.row(0).at(1), QStringLiteral("00000100"));
    QCOMPARE(d.table->rowCount(), 1);
    d.mode->setCurrentIndex(0);
    QCOMPARE(d.table->rowCount(), 0);
    QCOMPARE(d.dialog.workingCopy().NotReceiveCount(), 1);
    QCOMPARE(d.dialog.workingCopy().OnlyReceiveCount(), 1);
}

void tst_UiIdFilterSetting::deleteColumnRemovesRule()
{
    Dialog d;
    d.mode->setCurrentIndex(2);
    for (const char *id : {"1", "2", "3"})
        d.add(QLatin1String(id), QLatin1String(id));
    for (int column = 0; column < 4; ++column)
        d.dialog.OnCellClicked(1, column);
    QCOMPARE(d.table->rowCount(), 3);
    d.dialog.OnCellClicked(1, UiIdFilterSetting::DeleteColumn);
    QCOMPARE(d.table->rowCount(), 2);
    QCOMPARE(d.row(1), QStringList({"2", "00000003", "00000003", ""}));
    QCOMPARE(d.dialog.workingCopy().getOnlyReceive(1).startId, 3u);
}

void tst_UiIdFilterSetting::editedCellReplacesRule()
{
    Dialog d;
    d.mode->setCurrentIndex(1);
    d.add(QStringLiteral("100"), QStringLiteral("1ff"));
    d.table->item(0, UiIdFilterSetting::HighColumn)->setText(QStringLiteral("2FF"));
    d.table->item(0, UiIdFilterSetting::CommentColumn)->setText(QStringLiteral("body"));
    const UlIdFilter rule = d.dialog.workingCopy().getNotReceive(0);
    QCOMPARE(rule.startId, 0x100u);
    QCOMPARE(rule.endId, 0x2FFu);
    QCOMPARE(rule.text, QStringLiteral("body"));
    QCOMPARE(d.row(0).at(2), QStringLiteral("2FF"));  // as typed until shown again
}

void tst_UiIdFilterSetting::saveWritesGoldenFile()
{
    Dialog d;
    d.mode->setCurrentIndex(1);
    d.add(QStringLiteral("100"), QStringLiteral("1ff"));
    d.add(QStringLiteral("0"), QStringLiteral("1fffffff"));
    d.table->item(1, UiIdFilterSetting::CommentColumn)->setText(QStringLiteral("all & \"more\""));
    d.mode->setCurrentIndex(2);
    d.add(QStringLiteral("7FF"), QStringLiteral("7FF"));
    answer = dir.filePath(QStringLiteral("golden.filter"));
    d.button("m_btnSave")->click();
    QCOMPARE(boxes.size(), 0);
    QCOMPARE(readAll(answer), QByteArray(kGolden));

    // Read back into another dialog: the same rules and mode.
    Dialog other;
    QVERIFY(other.dialog.loadFile(answer));
    QCOMPARE(other.mode->currentIndex(), 2);
    QCOMPARE(other.dialog.workingCopy().getNotReceive(1).text, QStringLiteral("all & \"more\""));
    const QString again = dir.filePath(QStringLiteral("again.filter"));
    QVERIFY(other.dialog.saveFile(again));
    QCOMPARE(readAll(again), QByteArray(kGolden));
}

void tst_UiIdFilterSetting::saveFailureIsReported()
{
    Dialog d;
    d.mode->setCurrentIndex(1);
    d.add(QStringLiteral("1"), QStringLiteral("2"));
    QVERIFY(!d.dialog.saveFile(dir.filePath(QStringLiteral("missing/folder.filter"))));
    QVERIFY(!d.dialog.saveFile(QStringLiteral("/dev/full")));
    QCOMPARE(boxes.size(), 2);
    for (const UiMessage::Box &box : qAsConst(boxes)) {
        QCOMPARE(box.title, QStringLiteral("Warning"));
        QVERIFY2(box.text.startsWith(QLatin1String("Cannot write file ")), qPrintable(box.text));
    }
}

void tst_UiIdFilterSetting::loadReplacesWorkingCopyOnly()
{
    const QString path = dir.filePath(QStringLiteral("only.filter"));
    writeFile(path, "<?xml version=\"1.0\"?>\n<xml version=\"1.0\">\n"
                    "  <Filter Mode=\"2\"/>\n"
                    "  <Other/>\n"
                    "  <OnlyReceiveFilter LowID=\"10\" HighID=\"1F\" Comment=\"a\"/>\n"
                    "  <OnlyReceiveFilter HighID=\"20\"/>\n"
                    "  <OnlyReceiveFilter HighID=\"30\" LowID=\"30\" Extra=\"1\" Comment=\"c\"/>\n"
                    "</xml>\n");
    UlIdFilterMannger::instance(kChannel).addNotReceive(UlIdFilter(5, 6));
    Dialog d;
    answer = path;
    d.mode->setCurrentIndex(1);
    d.button("m_btnLoad")->click();
    QCOMPARE(boxes.size(), 0);
    QCOMPARE(d.mode->currentText(), QStringLiteral("Only receive IDs"));
    QCOMPARE(d.table->rowCount(), 3);
    QCOMPARE(d.row(0), QStringList({"1", "00000010", "0000001f", "a"}));
    QCOMPARE(d.row(1), QStringList({"2", "00000000", "00000020", ""}));
    QCOMPARE(d.row(2), QStringList({"3", "00000030", "00000030", "c"}));
    QCOMPARE(d.dialog.workingCopy().NotReceiveCount(), 0);
    // The channel keeps its own rules until Ok.
    QCOMPARE(UlIdFilterMannger::instance(kChannel).NotReceiveCount(), 1);
    QCOMPARE(UlIdFilterMannger::instance(kChannel).getFilterMode(), 0);
}

void tst_UiIdFilterSetting::brokenFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("rulesKept");
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("not XML") << QByteArray("LowID=100") << 0;
    QTest::newRow("other root") << QByteArray("<filters version=\"1.0\"><Filter Mode=\"1\"/></filters>") << 0;
    QTest::newRow("other version") << QByteArray("<xml version=\"2.0\"><Filter Mode=\"1\"/></xml>") << 0;
    QTest::newRow("breaks off") << QByteArray("<xml version=\"1.0\"><NotReceiveFilter LowID=\"1\" HighID=\"2\"/>"
                                              "<NotReceiveFilter LowID=\"3\" HighID=\"4\"/><NotRec")
                                << 2;
}

// Loads content from path into a dialog holding mode 1 and the rule 7-8;
// the load fails with one warning.
void tst_UiIdFilterSetting::failToLoad(Dialog &d, const QString &path, const QByteArray &content)
{
    writeFile(path, content);
    d.mode->setCurrentIndex(1);
    d.add(QStringLiteral("7"), QStringLiteral("8"));
    QVERIFY(!d.dialog.loadFile(path));
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).title, QStringLiteral("Warning"));
}

void tst_UiIdFilterSetting::brokenFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(int, rulesKept);
    const QString path = dir.filePath(QStringLiteral("broken.filter"));
    Dialog d;
    failToLoad(d, path, content);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(boxes.at(0).text.startsWith(QStringLiteral("Parse error in file %1:\n\n").arg(path)),
             qPrintable(boxes.at(0).text));
    QVERIFY2(boxes.at(0).text.contains(QLatin1String("\nLine ")), qPrintable(boxes.at(0).text));
    QCOMPARE(d.dialog.workingCopy().getFilterMode(), 0);
    QCOMPARE(d.dialog.workingCopy().NotReceiveCount(), rulesKept);
    QCOMPARE(d.mode->currentText(), QStringLiteral("Disable"));
    QCOMPARE(d.table->rowCount(), 0);
}

static QByteArray rules(int count, const QByteArray &extra = QByteArray())
{
    QByteArray text = "<?xml version=\"1.0\"?>\n<xml version=\"1.0\">\n<Filter Mode=\"1\"/>\n" + extra;
    for (int i = 0; i < count; ++i)
        text += "<NotReceiveFilter LowID=\"" + QByteArray::number(i, 16) + "\" HighID=\"" + QByteArray::number(i, 16)
            + "\"/>\n";
    return text + "</xml>\n";
}

void tst_UiIdFilterSetting::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    const QByteArray head = "<xml version=\"1.0\"><NotReceiveFilter LowID=\"1\" HighID=\"2\"/>";
    QTest::newRow("mode 5") << head + "<Filter Mode=\"5\"/></xml>" << "The filter mode 5 is not 0, 1 or 2.";
    QTest::newRow("mode not a number") << head + "<Filter Mode=\"one\"/></xml>"
                                       << "The filter mode one is not 0, 1 or 2.";
    QTest::newRow("ID above 0x1FFFFFFF")
        << head + "<NotReceiveFilter LowID=\"0\" HighID=\"20000000\"/></xml>"
        << "The rule's HighID \"20000000\" is not a hexadecimal ID from 0 to 1FFFFFFF.";
    QTest::newRow("ID not hexadecimal") << head + "<OnlyReceiveFilter LowID=\"12G\" HighID=\"200\"/></xml>"
                                        << "The rule's LowID \"12G\" is not a hexadecimal ID from 0 to 1FFFFFFF.";
    QTest::newRow("low above high") << head + "<NotReceiveFilter LowID=\"200\" HighID=\"1ff\"/></xml>"
                                    << "The rule's LowID 200 is above its HighID 1ff.";
    QTest::newRow("100001 rules") << rules(100001) << "The file holds more than 100000 rules.";
    QTest::newRow("above 16 MB") << rules(1, "<!-- " + QByteArray(16 * 1024 * 1024, '-').replace("--", "- ") + " -->\n")
                                 << "The file is larger than 16 MB.";
}

// Nothing of a refused file reaches the dialog.
void tst_UiIdFilterSetting::refusedFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const QString path = dir.filePath(QStringLiteral("refused.filter"));
    Dialog d;
    failToLoad(d, path, content);
    if (QTest::currentTestFailed())
        return;
    const QString text = boxes.at(0).text;
    QVERIFY2(text.startsWith(QStringLiteral("File refused %1:\n\n%2").arg(path, reason)), qPrintable(text));
    QCOMPARE(d.dialog.workingCopy().getFilterMode(), 1);
    QCOMPARE(d.dialog.workingCopy().NotReceiveCount(), 1);
    QCOMPARE(d.dialog.workingCopy().OnlyReceiveCount(), 0);
    QCOMPARE(d.table->rowCount(), 1);
    QCOMPARE(d.row(0), QStringList({"1", "00000007", "00000008", ""}));
}

void tst_UiIdFilterSetting::largestFileLoads()
{
    const QString path = dir.filePath(QStringLiteral("largest.filter"));
    writeFile(path, rules(100000));
    Dialog d;
    QVERIFY(d.dialog.loadFile(path));
    QVERIFY(boxes.isEmpty());
    QCOMPARE(d.dialog.workingCopy().NotReceiveCount(), 100000);
    QCOMPARE(d.table->rowCount(), 100000);
    QCOMPARE(d.row(99999), QStringList({"100000", "0001869f", "0001869f", ""}));
}

void tst_UiIdFilterSetting::okCopiesBackCancelDoesNot()
{
    for (const char *button : {"m_btnCancel", "m_btnOk"}) {
        Dialog d;
        onNextModal<UiIdFilterSetting>([&d, button](UiIdFilterSetting *) {
            d.mode->setCurrentIndex(2);
            d.add(QStringLiteral("123"), QStringLiteral("123"));
            d.button(button)->click();
        });
        const int result = d.dialog.exec();
        UlIdFilterMannger &channel = UlIdFilterMannger::instance(kChannel);
        if (QByteArray(button) == "m_btnOk") {
            QCOMPARE(result, 1);
            QCOMPARE(channel.getFilterMode(), 2);
            QCOMPARE(channel.OnlyReceiveCount(), 1);
            QVERIFY(channel.isValid(0x123));
            QVERIFY(!channel.isValid(0x124));
        } else {
            QCOMPARE(result, -1);
            QCOMPARE(channel.getFilterMode(), 0);
            QCOMPARE(channel.OnlyReceiveCount(), 0);
        }
    }
}

MEROVAST_GUI_TEST_MAIN(tst_UiIdFilterSetting)
#include "tst_uiidfiltersetting.moc"
