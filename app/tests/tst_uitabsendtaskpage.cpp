// The Task page on its own: rows added, moved in from the frame list and
// deleted, the queue Send builds and the rows it refuses, the ID-format
// conversion, Save and Load with their messages, sorting and the language.
// Then in the send tabs over the simulated bus: the three strategies, Stop,
// "Add to List" and the ID format; Load and Send of the largest list
// without holding the GUI thread, and a cancelled Load.
#include "chinesecatalogue.h"
#include "comboboxdelegate.h"
#include "guipause.h"
#include "guitest.h"
#include "sendfixture.h"
#include "taskthread.h"
#include "uitabsend.h"
#include "taskrow.h"
#include "uifiledialog.h"
#include "uimessage.h"
#include "uitabsendtaskpage.h"
#include "ulglobalset.h"
#include "ullistlimits.h"

#include <QComboBox>
#include <QHeaderView>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <functional>

namespace {

struct Page {
    UiTabSendTaskPage page{nullptr, 0};
    QTableWidget *table = page.table();

    QPushButton *button(const char *name) const { return page.findChild<QPushButton *>(QLatin1String(name)); }
    void click(const char *name) const { button(name)->click(); }
    QComboBox *strategy() const { return page.findChild<QComboBox *>(QStringLiteral("m_pComboBoxSendType")); }
    void set(int row, TaskRow::Field column, const QString &text) const { table->item(row, column)->setText(text); }
    void choose(int row, TaskRow::Field column, int value) const
    {
        table->item(row, column)->setData(Qt::EditRole, value);
    }
    void uncheck(int row) const { table->item(row, TaskRow::Checked)->setCheckState(Qt::Unchecked); }
    QStringList column(TaskRow::Field field) const
    {
        QStringList texts;
        for (const TaskRow &row : page.rows())
            texts << row.fields().at(field);
        return texts;
    }
};

// The Task page in a channel's send tabs over the simulated bus.
struct Tabs {
    UiTabSend tabs{nullptr, int(SendFixture::Tx)};
    UiTabSendTaskPage *page = qobject_cast<UiTabSendTaskPage *>(tabs.taskPage());
    QTableWidget *table = page->table();

    Tabs()
    {
        tabs.setSendEnabled(true);
        tabs.setCurrentIndex(UiTabSend::TaskPage);
    }
    QPushButton *button(const char *name) const { return page->findChild<QPushButton *>(QLatin1String(name)); }
    QComboBox *strategy() const { return page->findChild<QComboBox *>(QStringLiteral("m_pComboBoxSendType")); }
    // A checked row sending one frame of id per burst.
    void add(uint id, int times, int interval, int frames = 1) const
    {
        TaskRow row;
        row.id = QString::number(id, 16);
        row.data = QStringLiteral("01 02");
        row.frames = QString::number(frames);
        row.times = QString::number(times);
        row.interval = QString::number(interval);
        page->appendRow(row);
    }
    // Send off, Stop on, strategy fixed.
    bool sending() const
    {
        return !button("SendButton")->isEnabled() && button("StopButton")->isEnabled() && !strategy()->isEnabled();
    }
    bool idle() const
    {
        return button("SendButton")->isEnabled() && !button("StopButton")->isEnabled() && strategy()->isEnabled()
               && tabs.activeSender() == UiTabSend::NoSender;
    }
};

QVector<uint> idsOf(const std::vector<VCI_CAN_OBJ> &frames)
{
    QVector<uint> ids;
    for (const VCI_CAN_OBJ &f : frames)
        ids << f.ID;
    return ids;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// A task list of rows that can all be sent: both formats, every burst
// size, one frame each, a second apart.
QString writeLargeList(const QString &path, int rows)
{
    QByteArray text;
    for (int i = 0; i < rows; ++i) {
        const bool extended = i % 2;
        text += "1,task " + QByteArray::number(i) + ",0,"
                + QByteArray::number(extended ? 0x1000000 + i : i % 0x800, 16) + ',' + (extended ? "1" : "0")
                + ",0,01 02 03 04 05 06 07 08," + QByteArray::number(i % 3 + 1) + ",0,0,1,1000\n";
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() ? path : QString();
}

// The longest the GUI thread may be held by a Load or a Send's
// preparation (GuiPause::Held: without the time a loaded machine keeps
// the thread from a processor). Its slices are 20 ms of work, the longest
// hold (the table's storage growing while old and new rows are both in
// it) about 100 ms; 500 ms still tells the seconds-long holds of filling
// the table at once. A sanitizer build's code runs several times slower.
#ifdef MEROVAST_SANITIZED
constexpr qint64 kPauseMs = 2000;
#else
constexpr qint64 kPauseMs = 500;
#endif

// Clicks Cancel of the page's progress dialog the first time its work
// reports a share done that when() accepts; what the table held then is
// noted.
struct Canceller {
    UiTabSendTaskPage &page;
    std::function<bool(int)> when;
    int rowsAtCancel = -1;
    bool busyCursor = false;
    bool dialogModal = false;

    Canceller(UiTabSendTaskPage &page, std::function<bool(int)> when) : page(page), when(std::move(when))
    {
        watch = QObject::connect(&page, &UiTabSendTaskPage::workProgress, &page, [this](int percent) {
            if (rowsAtCancel >= 0 || !this->when(percent))
                return;
            auto *dialog = this->page.findChild<QProgressDialog *>();
            if (!dialog)
                return;
            rowsAtCancel = this->page.table()->rowCount();
            busyCursor = QApplication::overrideCursor()
                         && QApplication::overrideCursor()->shape() == Qt::BusyCursor;
            dialogModal = dialog->windowModality() == Qt::WindowModal;
            dialog->findChild<QPushButton *>()->click();
        });
    }
    ~Canceller() { QObject::disconnect(watch); }

private:
    QMetaObject::Connection watch;
};

} // namespace

class tst_UiTabSendTaskPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void newPage();
    void addRow();
    void addToList();
    void deleteRow();
    void sendQueuesCheckedRowsInOrder();
    void sendRefusesRows();
    void manyRefusedIdsOneMessage();
    void sendUnderAlignedIds();
    void idFormatConversion();
    void saveThenLoad();
    void saveEmptyTable();
    void saveFailure();
    void loadFailureKeepsTable();
    void loadReportsSkippedAndRefusedLines();
    void refusalListsAreBounded_data();
    void refusalListsAreBounded();
    void sortingNeverSplitsARow();
    void strategyStored();
    void languageSwitch();
    void columnsFitTheirTexts();
    void buttonsOnStoppedChannel();

    void orderSend();
    void cycleSendUntilStop();
    void timingSendOwnIntervals();
    void timingSendStopsAtOnce();
    void addToListBringsTaskForward();
    void alignedIdsOnTheBus();
    void strategyFixedWhileAnySenderRuns_data();
    void strategyFixedWhileAnySenderRuns();
    void largeListNeverHoldsTheGui();
    void cancelledLoadKeepsTheTable_data();
    void cancelledLoadKeepsTheTable();

private:
    QList<UiMessage::Box> boxes;
    QList<UiFileDialog::Request> requests;
    QString answer;
    QTemporaryDir dir;
};

void tst_UiTabSendTaskPage::initTestCase()
{
    qRegisterMetaType<taskQueue>();
    QVERIFY(dir.isValid());
}

void tst_UiTabSendTaskPage::init()
{
    QVERIFY(SendFixture::openBus());
    SendFixture::resetSender();
    UlGlobalSet::instance().channel[SendFixture::Tx].sending = false;
    boxes.clear();
    requests.clear();
    answer.clear();
    UiMessage::setHandler([this](const UiMessage::Box &box) {
        boxes << box;
        return QMessageBox::Ok;
    });
    UiFileDialog::setHandler([this](const UiFileDialog::Request &request) {
        requests << request;
        return answer;
    });
}

void tst_UiTabSendTaskPage::cleanup()
{
    UiMessage::setHandler({});
    UiFileDialog::setHandler({});
    UlGlobalSet::instance().IDFORMAT = 0;
    QCoreApplication::processEvents();
    SendFixture::closeBus();
}

void tst_UiTabSendTaskPage::newPage()
{
    UlGlobalSet::instance().channel[0].sendMode = 2;
    Page p;
    QCOMPARE(p.table->columnCount(), 12);
    QStringList headers;
    for (int c = 0; c < 12; ++c)
        headers << p.table->horizontalHeaderItem(c)->text();
    QCOMPARE(headers, QStringList({" ", "Name", "Send Mode", "ID(Hex)", "Format", "Type", "Data(Hex)", "Frames",
                                   "ID Rule", "Data Rule", "Send Times", "Interval(ms)"}));
    QCOMPARE(p.strategy()->currentText(), QStringLiteral("Order send"));
    QCOMPARE(UlGlobalSet::instance().channel[0].sendMode.load(), 0);
    QVERIFY(p.button("SendButton")->isEnabled());
    QVERIFY(!p.button("StopButton")->isEnabled());
    QCOMPARE(p.table->rowCount(), 0);
    QCOMPARE(p.page.windowTitle(), QStringLiteral("UiTabSendTaskPage"));
}

void tst_UiTabSendTaskPage::addRow()
{
    Page p;
    p.click("addButton");
    p.click("addButton");
    QCOMPARE(p.page.rows(), (QList<TaskRow>{TaskRow(), TaskRow()}));
    QCOMPARE(p.table->rowHeight(1), 20);
    const Qt::ItemFlags check = p.table->item(0, TaskRow::Checked)->flags();
    QVERIFY(check & Qt::ItemIsUserCheckable);
    QVERIFY(!(check & Qt::ItemIsEditable));
    QVERIFY(!(p.table->item(0, TaskRow::Name)->flags() & Qt::ItemIsEditable));
    QVERIFY(p.table->item(0, TaskRow::Id)->flags() & Qt::ItemIsEditable);
    QCOMPARE(p.table->item(0, TaskRow::SendMode)->data(Qt::EditRole).type(), QVariant::Int);

    const QVector<QPair<int, int>> choices{{TaskRow::SendMode, 4}, {TaskRow::Format, 2}, {TaskRow::Type, 2},
                                           {TaskRow::IdRule, 2},   {TaskRow::DataRule, 9}};
    for (const auto &choice : choices) {
        auto *delegate = qobject_cast<ComboBoxDelegate *>(p.table->itemDelegateForColumn(choice.first));
        QVERIFY2(delegate, qPrintable(QString::number(choice.first)));
        QCOMPARE(delegate->texts().size(), choice.second);
    }
    QCOMPARE(qobject_cast<ComboBoxDelegate *>(p.table->itemDelegateForColumn(TaskRow::DataRule))->texts().at(4),
             QStringLiteral("3 Increase"));

    p.set(0, TaskRow::Frames, QStringLiteral("5"));  // the limiter is on
    QCOMPARE(p.table->item(0, TaskRow::Frames)->text(), QStringLiteral("3"));
}

void tst_UiTabSendTaskPage::addToList()
{
    Page p;
    BaseSendParam param;
    param.format = 1;
    param.type = 1;
    param.id = 0x1A;
    param.data = QStringLiteral("01 02 03");
    param.alias = QStringLiteral("Motor");
    param.length = 3;
    Q_EMIT p.page.AddMoveList(param);
    TaskRow expected;
    expected.name = QStringLiteral("Motor");
    expected.id = QStringLiteral("1a");
    expected.format = 1;
    expected.type = 1;
    expected.data = QStringLiteral("01 02 03");
    QCOMPARE(p.page.rows(), QList<TaskRow>{expected});
    QVERIFY(!(p.table->item(0, TaskRow::Name)->flags() & Qt::ItemIsEditable));
}

void tst_UiTabSendTaskPage::deleteRow()
{
    Page p;
    for (int i = 0; i < 3; ++i) {
        p.click("addButton");
        p.set(i, TaskRow::Id, QString::number(i));
    }
    p.table->setCurrentItem(nullptr);
    p.click("delButton");
    QCOMPARE(p.table->rowCount(), 3);

    p.table->setCurrentCell(1, TaskRow::Id);
    p.table->selectAll();
    p.click("delButton");
    QCOMPARE(p.column(TaskRow::Id), QStringList({"0", "2"}));
    const int now = p.table->currentRow();
    QVERIFY(now >= 0);
    const QModelIndexList selected = p.table->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.at(0).row(), now);
}

void tst_UiTabSendTaskPage::sendQueuesCheckedRowsInOrder()
{
    Page p;
    QSignalSpy started(&p.page, &UiTabSendTaskPage::start);
    for (int i = 0; i < 3; ++i)
        p.click("addButton");
    p.set(0, TaskRow::Id, QStringLiteral("100"));
    p.set(1, TaskRow::Id, QStringLiteral("200"));
    p.uncheck(1);
    p.set(2, TaskRow::Id, QStringLiteral("1abcdef"));
    p.choose(2, TaskRow::Format, 1);
    p.choose(2, TaskRow::SendMode, 2);
    p.set(2, TaskRow::Frames, QStringLiteral("3"));
    p.set(2, TaskRow::Times, QStringLiteral("10"));
    p.set(2, TaskRow::Interval, QStringLiteral("100"));
    p.choose(2, TaskRow::IdRule, 1);
    p.choose(2, TaskRow::DataRule, 8);
    p.set(2, TaskRow::Data, QStringLiteral("1 2 3"));
    p.click("SendButton");

    QCOMPARE(started.size(), 1);
    const taskQueue queue = started.at(0).at(0).value<taskQueue>();
    QCOMPARE(queue.size(), 2);
    const CanObj first = queue.at(0).at(0).at(0);
    QCOMPARE(first.ID, 0x100u);
    QCOMPARE(int(first.DataLen), 8);
    const taskObj &second = queue.at(1);
    const CanObj f = second.at(0).at(0);
    QCOMPARE(f.ID, 0x1ABCDEFu);
    QCOMPARE(int(f.ExternFlag), 1);
    QCOMPARE(int(f.SendType), 2);
    QCOMPARE(int(f.DataLen), 2);
    QCOMPARE(int(f.Data[0]), 0x12);
    QCOMPARE(int(f.Data[1]), 0x30);
    QCOMPARE(second.Frames, 3);
    QCOMPARE(second.Times, 10);
    QCOMPARE(second.Interval, 100);
    QCOMPARE(second.IdIncrease, 1);
    QCOMPARE(second.DataIncrease, 8);
    QCOMPARE(boxes.size(), 0);

    p.uncheck(0);
    p.uncheck(2);
    p.click("SendButton");  // nothing checked: nothing starts, nothing is said
    QCOMPARE(started.size(), 1);
    QCOMPARE(boxes.size(), 0);
}

void tst_UiTabSendTaskPage::sendRefusesRows()
{
    Page p;
    QSignalSpy started(&p.page, &UiTabSendTaskPage::start);
    QSignalSpy idError(&p.page, &UiTabSendTaskPage::maxIdErrorSignal);
    for (int i = 0; i < 7; ++i)
        p.click("addButton");
    p.set(0, TaskRow::Id, QStringLiteral("7ff"));
    p.set(1, TaskRow::Id, QStringLiteral("800"));
    p.set(2, TaskRow::Frames, QStringLiteral("0"));
    p.set(3, TaskRow::Times, QStringLiteral("0"));
    p.set(4, TaskRow::Data, QStringLiteral("11 22 33 44 55 66 77 88 99"));
    p.set(5, TaskRow::Interval, QStringLiteral("100000000"));
    p.set(6, TaskRow::Id, QStringLiteral("fff"));  // unchecked: neither sent nor named
    p.uncheck(6);
    p.click("SendButton");

    QCOMPARE(started.size(), 1);
    const taskQueue queue = started.at(0).at(0).value<taskQueue>();
    QCOMPARE(queue.size(), 1);
    QCOMPARE(queue.at(0).at(0).at(0).ID, 0x7FFu);
    QCOMPARE(idError.size(), 1);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).text, QStringLiteral("These rows were not sent:\n"
                                              "Row 2: ID(Hex) is out of range for its frame format\n"
                                              "Row 3: Frames must be 1 to 3\n"
                                              "Row 4: Send Times must be 1 to 999999999\n"
                                              "Row 5: Data(Hex) holds more than 8 bytes\n"
                                              "Row 6: Interval(ms) must be 0 to 99999999"));

    p.uncheck(0);
    p.click("SendButton");  // every checked row refused: nothing starts
    QCOMPARE(started.size(), 1);
    QCOMPARE(idError.size(), 2);
    QCOMPARE(boxes.size(), 2);
}

// Each refused ID would otherwise bring a modal box of its own.
void tst_UiTabSendTaskPage::manyRefusedIdsOneMessage()
{
    Page p;
    QSignalSpy idError(&p.page, &UiTabSendTaskPage::maxIdErrorSignal);
    constexpr int rows = 50;
    for (int i = 0; i < rows; ++i) {
        p.click("addButton");
        p.set(i, TaskRow::Id, QStringLiteral("800"));
    }
    p.click("SendButton");
    QCOMPARE(idError.size(), 1);
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes.at(0).text.contains(QStringLiteral("Row 20: ID(Hex) is out of range for its frame format")));
    QVERIFY(boxes.at(0).text.endsWith(QStringLiteral("... and 30 more.")));
}

void tst_UiTabSendTaskPage::sendUnderAlignedIds()
{
    UlGlobalSet::instance().IDFORMAT = 1;
    Page p;
    QSignalSpy started(&p.page, &UiTabSendTaskPage::start);
    QSignalSpy idError(&p.page, &UiTabSendTaskPage::maxIdErrorSignal);
    p.click("addButton");
    p.click("addButton");
    p.set(0, TaskRow::Id, QStringLiteral("ffe0"));
    p.set(1, TaskRow::Id, QStringLiteral("10000"));
    p.click("SendButton");
    QCOMPARE(started.size(), 1);
    const taskQueue queue = started.at(0).at(0).value<taskQueue>();
    QCOMPARE(queue.size(), 1);
    QCOMPARE(queue.at(0).at(0).at(0).ID, 0xFFE0u);  // as shown; the send thread shifts it
    QCOMPARE(idError.size(), 1);
}

void tst_UiTabSendTaskPage::idFormatConversion()
{
    Page p;
    p.click("addButton");
    p.click("addButton");
    p.set(0, TaskRow::Id, QStringLiteral("7ff"));
    p.set(1, TaskRow::Id, QStringLiteral("1fffffff"));
    p.choose(1, TaskRow::Format, 1);

    Q_EMIT p.page.idFormatChangedSignal();  // accepted without a change
    QCOMPARE(p.column(TaskRow::Id), QStringList({"7ff", "1fffffff"}));
    UlGlobalSet::instance().IDFORMAT = 1;
    Q_EMIT p.page.idFormatChangedSignal();
    QCOMPARE(p.column(TaskRow::Id), QStringList({"ffe0", "fffffff8"}));
    Q_EMIT p.page.idFormatChangedSignal();
    QCOMPARE(p.column(TaskRow::Id), QStringList({"ffe0", "fffffff8"}));
    UlGlobalSet::instance().IDFORMAT = 0;
    Q_EMIT p.page.idFormatChangedSignal();
    QCOMPARE(p.column(TaskRow::Id), QStringList({"07ff", "1fffffff"}));
}

void tst_UiTabSendTaskPage::saveThenLoad()
{
    Page p;
    p.click("addButton");
    p.click("addButton");
    p.uncheck(1);
    p.set(1, TaskRow::Id, QStringLiteral("1abcdef"));
    p.choose(1, TaskRow::Format, 1);
    p.choose(1, TaskRow::Type, 1);
    p.choose(1, TaskRow::SendMode, 3);
    p.choose(1, TaskRow::DataRule, 8);
    p.set(1, TaskRow::Data, QString());
    p.table->item(1, TaskRow::Name)->setText(QStringLiteral("电机"));
    const QList<TaskRow> saved = p.page.rows();

    answer = dir.filePath(QStringLiteral("round.txt"));
    p.click("saveButton");
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.at(0).mode, UiFileDialog::Save);
    QCOMPARE(requests.at(0).caption, QStringLiteral("Save data"));
    QCOMPARE(requests.at(0).filter, QStringLiteral("TXT File(*.txt)"));
    QCOMPARE(requests.at(0).dir, QString());
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).title, QStringLiteral("Hint"));
    QCOMPARE(boxes.at(0).text, QStringLiteral("Save successfully"));
    QVERIFY(fileBytes(answer).startsWith("1,,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\n"));

    Page other;
    other.click("addButton");
    other.click("loadButton");
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests.at(1).mode, UiFileDialog::Open);
    QCOMPARE(requests.at(1).caption, QStringLiteral("Open the task data file"));
    QCOMPARE(other.page.rows(), saved);
    QCOMPARE(boxes.size(), 1);  // nothing to report
    QVERIFY(other.table->isSortingEnabled());
    QCOMPARE(other.table->rowHeight(1), 20);

    answer.clear();
    other.click("loadButton");  // cancelled
    QCOMPARE(other.page.rows(), saved);
    QCOMPARE(boxes.size(), 1);
}

void tst_UiTabSendTaskPage::saveEmptyTable()
{
    Page p;
    answer = dir.filePath(QStringLiteral("empty.txt"));
    p.click("saveButton");
    QCOMPARE(requests.size(), 0);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).text, QStringLiteral("Data is empty"));
    QVERIFY(!QFile::exists(answer));
}

void tst_UiTabSendTaskPage::saveFailure()
{
    Page p;
    p.click("addButton");
    answer = dir.filePath(QStringLiteral("missing/tasks.txt"));
    p.click("saveButton");
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes.at(0).text.startsWith(QLatin1String("Save failed: ")), qPrintable(boxes.at(0).text));
}

void tst_UiTabSendTaskPage::loadFailureKeepsTable()
{
    Page p;
    p.click("addButton");
    p.click("addButton");
    answer = dir.filePath(QStringLiteral("nothing-here.txt"));
    p.click("loadButton");
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).text, QStringLiteral("Open fail"));
    QCOMPARE(p.table->rowCount(), 2);

    // A file past the bounds says why it was refused.
    answer = dir.filePath(QStringLiteral("huge.txt"));
    QFile huge(answer);
    QVERIFY(huge.open(QIODevice::WriteOnly));
    QVERIFY(huge.resize(16 * 1024 * 1024 + 1));
    huge.close();
    p.click("loadButton");
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes.at(1).text, QStringLiteral("The file is larger than 16 MB."));
    QCOMPARE(p.table->rowCount(), 2);
}

void tst_UiTabSendTaskPage::loadReportsSkippedAndRefusedLines()
{
    QTextCodec *gbk = QTextCodec::codecForName("GBK");
    QVERIFY(gbk);
    answer = dir.filePath(QStringLiteral("windows.txt"));
    QFile file(answer);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(gbk->fromUnicode(QStringLiteral("1,刹车,0,123,0,0,11 22,1,0,0,1,0\r\n"
                                               "1,bad,0,124,0,0,11 22,5,0,0,1,0\r\n"
                                               "1,too,many,0,125,0,0,11 22,1,0,0,1,0\r\n"
                                               "0,车门,0,126,0,0,11 22,2,0,0,1,0\r\n")));
    file.close();

    Page p;
    p.click("addButton");
    p.click("loadButton");
    QCOMPARE(p.column(TaskRow::Name), QStringList({"刹车", "车门"}));
    QCOMPARE(p.column(TaskRow::Checked), QStringList({"1", "0"}));
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).text, QStringLiteral("Lines skipped because they do not have 12 fields: 1\n"
                                              "These lines were not loaded:\n"
                                              "Line 2: Frames must be 1 to 3"));
}

void tst_UiTabSendTaskPage::refusalListsAreBounded_data()
{
    QTest::addColumn<bool>("load");
    QTest::addColumn<int>("refused");
    QTest::newRow("20,000 refused lines loaded") << true << 20000;
    QTest::newRow("25 refused rows sent") << false << 25;
}

void tst_UiTabSendTaskPage::refusalListsAreBounded()
{
    QFETCH(bool, load);
    QFETCH(int, refused);
    Page p;
    if (load) {
        answer = dir.filePath(QStringLiteral("refused.txt"));
        QFile file(answer);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < refused; ++i)
            file.write("1,,0,123,0,0,11 22,5,0,0,1,0\n");
        file.close();
        p.click("loadButton");
        QCOMPARE(p.table->rowCount(), 0);
    } else {
        for (int i = 0; i < refused; ++i) {
            p.click("addButton");
            p.set(i, TaskRow::Frames, QStringLiteral("0"));
        }
        p.click("SendButton");
    }
    QCOMPARE(boxes.size(), 1);
    const QStringList lines = boxes.at(0).text.split(QLatin1Char('\n'));
    // A heading, twenty entries and the count of the rest.
    QCOMPARE(lines.size(), 22);
    QCOMPARE(lines.at(1), load ? QStringLiteral("Line 1: Frames must be 1 to 3") : QStringLiteral("Row 1: Frames must be 1 to 3"));
    QCOMPARE(lines.at(20), load ? QStringLiteral("Line 20: Frames must be 1 to 3") : QStringLiteral("Row 20: Frames must be 1 to 3"));
    QCOMPARE(lines.last(), QStringLiteral("... and %1 more.").arg(refused - 20));
}

void tst_UiTabSendTaskPage::sortingNeverSplitsARow()
{
    Page p;
    for (int i = 0; i < 3; ++i) {
        p.click("addButton");
        p.set(i, TaskRow::Id, QString::number(i + 1));
    }
    p.table->setSortingEnabled(true);
    p.table->sortByColumn(TaskRow::Id, Qt::DescendingOrder);
    QCOMPARE(p.column(TaskRow::Id), QStringList({"3", "2", "1"}));

    BaseSendParam param;
    param.id = 0x2;  // sorts between the others
    param.alias = QStringLiteral("moved in");
    param.data = QStringLiteral("AA");
    Q_EMIT p.page.AddMoveList(param);
    QVERIFY(p.table->isSortingEnabled());
    QCOMPARE(p.column(TaskRow::Id), QStringList({"3", "2", "2", "1"}));
    const QList<TaskRow> rows = p.page.rows();
    int found = 0;
    for (const TaskRow &row : rows) {
        if (row.name == QLatin1String("moved in")) {
            ++found;
            QCOMPARE(row.data, QStringLiteral("AA"));
            QCOMPARE(row.interval, QStringLiteral("0"));
        } else {
            QCOMPARE(row.data, TaskRow().data);
        }
    }
    QCOMPARE(found, 1);

    UlGlobalSet::instance().IDFORMAT = 1;  // converting IDs keeps every row whole too
    Q_EMIT p.page.idFormatChangedSignal();
    QCOMPARE(p.column(TaskRow::Id), QStringList({"0060", "0040", "0040", "0020"}));
}

void tst_UiTabSendTaskPage::strategyStored()
{
    Page p;
    p.click("addButton");
    for (int strategy : {1, 2, 0}) {
        p.strategy()->setCurrentIndex(strategy);
        QCOMPARE(UlGlobalSet::instance().channel[0].sendMode.load(), strategy);
    }
    QVERIFY(p.table->updatesEnabled());
}

void tst_UiTabSendTaskPage::languageSwitch()
{
    Page p;
    p.click("addButton");
    p.strategy()->setCurrentIndex(1);
    {
        ChineseCatalogue chinese;
        QVERIFY(chinese.isLoaded());
        QCOMPARE(p.table->horizontalHeaderItem(TaskRow::Name)->text(), QStringLiteral("名称"));
        QCOMPARE(p.strategy()->currentText(), QStringLiteral("循环发送"));
        QCOMPARE(qobject_cast<ComboBoxDelegate *>(p.table->itemDelegateForColumn(TaskRow::SendMode))->texts().at(0),
                 QStringLiteral("正常发送"));
        QCOMPARE(p.button("SendButton")->text(), QStringLiteral("发送"));
    }
    QCOMPARE(p.strategy()->currentIndex(), 1);
    QCOMPARE(UlGlobalSet::instance().channel[0].sendMode.load(), 1);
    QCOMPARE(p.table->horizontalHeaderItem(TaskRow::Name)->text(), QStringLiteral("Name"));
    QCOMPARE(qobject_cast<ComboBoxDelegate *>(p.table->itemDelegateForColumn(TaskRow::SendMode))->texts().at(0),
             QStringLiteral("Normal Send"));
}

// The table's widths are the least; no header, choice, extended ID or
// eight data bytes is cut, in either language.
void tst_UiTabSendTaskPage::columnsFitTheirTexts()
{
    Page p;
    const auto check = [&p](const char *language) {
        const QFontMetrics metrics(p.table->font());
        const QVector<QPair<int, int>> least{{TaskRow::SendMode, 80}, {TaskRow::Id, 65},     {TaskRow::Format, 65},
                                             {TaskRow::Type, 65},     {TaskRow::Data, 150},  {TaskRow::Frames, 65},
                                             {TaskRow::IdRule, 70},   {TaskRow::DataRule, 70}};
        for (const auto &column : least) {
            const int width = p.table->columnWidth(column.first);
            QVERIFY2(width >= column.second, language);
            QVERIFY2(width >= p.table->horizontalHeader()->sectionSizeHint(column.first), language);
            if (auto *delegate = qobject_cast<ComboBoxDelegate *>(p.table->itemDelegateForColumn(column.first))) {
                for (const QString &text : delegate->texts())
                    QVERIFY2(width > metrics.horizontalAdvance(text), qPrintable(text));
            }
        }
        QVERIFY(p.table->columnWidth(TaskRow::Id) > metrics.horizontalAdvance(QStringLiteral("1fffffff")));
        QVERIFY(p.table->columnWidth(TaskRow::Data)
                > metrics.horizontalAdvance(QStringLiteral("11 22 33 44 55 66 77 88")));
    };
    check("English");
    ChineseCatalogue chinese;
    QVERIFY(chinese.isLoaded());
    check("Chinese");
}

void tst_UiTabSendTaskPage::buttonsOnStoppedChannel()
{
    SendFixture::closeBus();
    Page p;
    QSignalSpy asked(&p.page, &UiTabSendPage::askTaskRunning);
    p.page.onActive();
    QVERIFY(!p.button("SendButton")->isEnabled());
    QVERIFY(!p.button("StopButton")->isEnabled());
    QCOMPARE(asked.size(), 0);
    p.page.onAnswerTaskRunning(true);
    QVERIFY(!p.button("SendButton")->isEnabled());
    QVERIFY(p.button("StopButton")->isEnabled());
    p.page.onAnswerTaskRunning(false);
    QVERIFY(p.button("SendButton")->isEnabled());
    QVERIFY(!p.button("StopButton")->isEnabled());
}

// Checked rows once each, in table order, in bursts of Frames with
// Interval after each burst; then idle.
void tst_UiTabSendTaskPage::orderSend()
{
    using namespace SendFixture;
    Tabs t;
    t.add(0x101, 1, 0);
    t.add(0x102, 1, 0);
    t.table->item(1, TaskRow::Checked)->setCheckState(Qt::Unchecked);
    t.add(0x103, 10, 100, 3);
    TransmitLog log;
    t.button("SendButton")->click();
    QVERIFY(t.sending());
    QVERIFY(UlGlobalSet::instance().channel[Tx].sending);
    const std::vector<VCI_CAN_OBJ> bus = heard(11);
    QTRY_VERIFY(t.idle());
    QCOMPARE(log.calls(), std::vector<uint32_t>({1, 3, 3, 3, 1}));
    QCOMPARE(idsOf(bus), QVector<uint>({0x101, 0x103, 0x103, 0x103, 0x103, 0x103, 0x103, 0x103, 0x103, 0x103,
                                        0x103}));
    for (int burst = 1; burst < 4; ++burst) {
        // Device stamps in 0.1 ms.
        const int64_t gap = int64_t(bus[size_t(3 * burst + 1)].DeviceTime) - bus[size_t(3 * burst)].DeviceTime;
        QVERIFY2(gap >= 950 && gap < 3000, qPrintable(QString::number(gap)));
    }
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(bus[0].Data), bus[0].DataLen), QByteArray("\x01\x02"));
    QVERIFY(!UlGlobalSet::instance().channel[Tx].sending);
}

void tst_UiTabSendTaskPage::cycleSendUntilStop()
{
    using namespace SendFixture;
    Tabs t;
    t.strategy()->setCurrentIndex(1);
    t.add(0x201, 1, 10);
    t.add(0x202, 2, 10);
    t.button("SendButton")->click();
    const std::vector<VCI_CAN_OBJ> bus = heard(9);
    QVERIFY(t.sending());
    QCOMPARE(idsOf(bus).mid(0, 9),
             QVector<uint>({0x201, 0x202, 0x202, 0x201, 0x202, 0x202, 0x201, 0x202, 0x202}));
    QElapsedTimer timer;
    timer.start();
    t.button("StopButton")->click();
    QVERIFY(timer.elapsed() < 100);
    QVERIFY(t.idle());
    const uint64_t sent = transmitted();
    QTest::qWait(50);
    QCOMPARE(transmitted(), sent);
}

// One thread per row, each at its own Interval, until Stop.
void tst_UiTabSendTaskPage::timingSendOwnIntervals()
{
    using namespace SendFixture;
    Tabs t;
    t.strategy()->setCurrentIndex(2);
    t.add(0x301, 1, 20);
    t.add(0x302, 2, 200);
    t.button("SendButton")->click();
    QTRY_COMPARE(t.tabs.sendTaskThread()->singleTaskCount(), 2);
    QTRY_VERIFY(!t.tabs.sendTaskThread()->isRunning());
    QVector<uint> ids = idsOf(heard(1 << 20, 700));
    QVERIFY(t.sending());
    t.button("StopButton")->click();
    QVERIFY(t.idle());
    ids += idsOf(heard(1 << 20, 30));
    const int fast = ids.count(0x301);
    const int slow = ids.count(0x302);
    QVERIFY2(fast >= 10 && slow >= 2 && slow % 2 == 0 && fast > 2 * slow,
             qPrintable(QStringLiteral("%1 and %2").arg(fast).arg(slow)));
    QCOMPARE(t.tabs.sendTaskThread()->singleTaskCount(), 0);
}

// Three rows of 10 s: nothing sent yet, the page sends until Stop, which
// ends every thread at once.
void tst_UiTabSendTaskPage::timingSendStopsAtOnce()
{
    using namespace SendFixture;
    Tabs t;
    t.strategy()->setCurrentIndex(2);
    for (uint id : {0x401, 0x402, 0x403})
        t.add(id, 1, 10000);
    t.button("SendButton")->click();
    QTRY_COMPARE(t.tabs.sendTaskThread()->singleTaskCount(), 3);
    QTRY_VERIFY(!t.tabs.sendTaskThread()->isRunning());
    QTest::qWait(50);
    QVERIFY(t.sending());
    QCOMPARE(t.tabs.activeSender(), UiTabSend::TimingTaskSender);
    QElapsedTimer timer;
    timer.start();
    t.button("StopButton")->click();
    QVERIFY2(timer.elapsed() < 100, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(t.tabs.sendTaskThread()->singleTaskCount(), 0);
    QVERIFY(t.idle());
    QVERIFY(!UlGlobalSet::instance().channel[Tx].sending);
    QCOMPARE(transmitted(), 0u);
}

void tst_UiTabSendTaskPage::addToListBringsTaskForward()
{
    Tabs t;
    t.tabs.setCurrentIndex(UiTabSend::BasePage);
    BaseSendParam param;
    param.id = 0x123;
    param.data = QStringLiteral("AA BB");
    param.alias = QStringLiteral("Door");
    Q_EMIT t.tabs.AddMoveList(param);
    QCOMPARE(t.tabs.currentIndex(), int(UiTabSend::TaskPage));
    QCOMPARE(t.page->rows().size(), 1);
    QCOMPARE(t.page->rows().at(0).name, QStringLiteral("Door"));
    QCOMPARE(t.page->rows().at(0).id, QStringLiteral("123"));
}

// The table shows register-aligned IDs after the change; the bus carries
// the real ones.
void tst_UiTabSendTaskPage::alignedIdsOnTheBus()
{
    using namespace SendFixture;
    Tabs t;
    t.add(0x7FF, 1, 0);
    t.add(0x1FFFFFFF, 1, 0);
    t.table->item(1, TaskRow::Format)->setData(Qt::EditRole, 1);
    UlGlobalSet::instance().IDFORMAT = 1;
    Q_EMIT t.tabs.idFormatChangedSignal();
    QCOMPARE(t.page->rows().at(0).id, QStringLiteral("ffe0"));
    QCOMPARE(t.page->rows().at(1).id, QStringLiteral("fffffff8"));
    t.button("SendButton")->click();
    const std::vector<VCI_CAN_OBJ> bus = heard(2);
    QCOMPARE(idsOf(bus), QVector<uint>({0x7FF, 0x1FFFFFFF}));
    QCOMPARE(int(bus[1].ExternFlag), 1);
    QTRY_VERIFY(t.idle());
}

void tst_UiTabSendTaskPage::strategyFixedWhileAnySenderRuns_data()
{
    QTest::addColumn<int>("sender");  // tab of the page that sends
    QTest::newRow("Base page") << int(UiTabSend::BasePage);
    QTest::newRow("Task page") << int(UiTabSend::TaskPage);
    QTest::newRow("File page") << int(UiTabSend::FilePage);
}

// Whichever page sends, the strategy cannot change under it, seen from
// any tab; the page's Stop frees it again.
void tst_UiTabSendTaskPage::strategyFixedWhileAnySenderRuns()
{
    QFETCH(int, sender);
    Tabs t;
    QWidget *page = t.tabs.widget(sender);
    const auto button = [page](const char *name) { return page->findChild<QPushButton *>(QLatin1String(name)); };
    switch (sender) {
    case UiTabSend::BasePage:
        // Long enough to be running at every check: 100,000 frames, 10 ms apart.
        page->findChild<QSpinBox *>(QStringLiteral("m_ctrlSendTimes"))->setValue(100000);
        page->findChild<QSpinBox *>(QStringLiteral("m_ctrlInterval"))->setValue(10);
        break;
    case UiTabSend::TaskPage:
        t.add(0x101, 100000, 10);
        break;
    case UiTabSend::FilePage: {
        QFile file(dir.filePath(QStringLiteral("strategy.bin")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("12345678");
        file.close();
        answer = file.fileName();
        button("BrowseButton")->click();
        page->findChild<QComboBox *>(QStringLiteral("m_ctrlSendMode_2"))->setCurrentIndex(1);  // circulation
        page->findChild<QSpinBox *>(QStringLiteral("m_ctrlInterval"))->setValue(10);
        break;
    }
    }
    t.tabs.setCurrentIndex(sender);
    QVERIFY(t.strategy()->isEnabled());
    button("SendButton")->click();
    QTRY_VERIFY(t.tabs.activeSender() != UiTabSend::NoSender);
    for (int tab : {int(UiTabSend::BasePage), int(UiTabSend::TaskPage), int(UiTabSend::FilePage), sender}) {
        t.tabs.setCurrentIndex(tab);
        QVERIFY2(!t.strategy()->isEnabled(), qPrintable(QString::number(tab)));
    }
    QVERIFY(SendFixture::heard(1).size() >= 1);
    QVERIFY(!t.strategy()->isEnabled());
    QVERIFY(button("StopButton")->isEnabled());
    button("StopButton")->click();
    QTRY_VERIFY(t.idle());
    QVERIFY(boxes.isEmpty());
}

// The page's bound of rows, loaded into an empty table and over a loaded
// one, then sent by each strategy: the GUI thread is never held longer
// than kPauseMs, and every row goes to the send-task thread. A Send
// cancelled while it prepares sends nothing.
void tst_UiTabSendTaskPage::largeListNeverHoldsTheGui()
{
    using namespace SendFixture;
    const int rows = UlListLimits::MaxEntries;
    const QString path = writeLargeList(dir.filePath(QStringLiteral("large.txt")), rows);
    QVERIFY(!path.isEmpty());
    Tabs t;
    t.tabs.resize(1200, 400);
    t.tabs.show();
    for (const char *into : {"an empty table", "the loaded table"}) {
        GuiPause pause;
        QVERIFY2(t.page->loadFile(path), into);
        QTest::qWait(20);  // the pause that ends with the Load counts too
        QVERIFY2(pause.longestMs() < kPauseMs,
                 qPrintable(QStringLiteral("into %1: %2 ms").arg(QLatin1String(into)).arg(pause.longestMs())));
        QCOMPARE(t.table->rowCount(), rows);
    }
    QCOMPARE(t.page->rows().last().name, QStringLiteral("task %1").arg(rows - 1));
    QVERIFY(boxes.isEmpty());

    QSignalSpy started(t.page, &UiTabSendPage::start);
    for (int strategy : {0, 1, 2}) {
        t.strategy()->setCurrentIndex(strategy);
        GuiPause pause;
        t.button("SendButton")->click();
        QTRY_VERIFY(t.tabs.activeSender() != UiTabSend::NoSender);
        QTest::qWait(20);
        QVERIFY2(pause.longestMs() < kPauseMs,
                 qPrintable(QStringLiteral("strategy %1: %2 ms").arg(strategy).arg(pause.longestMs())));
        QCOMPARE(started.count(), strategy + 1);
        QCOMPARE(started.last().at(0).value<taskQueue>().size(), rows);
        if (strategy == 2)
            QTRY_COMPARE(t.tabs.sendTaskThread()->singleTaskCount(), rows);
        t.button("StopButton")->click();
        QTRY_VERIFY(t.idle());
    }
    {
        const Canceller cancel(*t.page, [](int) { return true; });
        t.button("SendButton")->click();
        QVERIFY(cancel.rowsAtCancel >= 0);
    }
    QCOMPARE(started.count(), 3);
    QVERIFY(t.idle());
    QVERIFY(boxes.isEmpty());
}

void tst_UiTabSendTaskPage::cancelledLoadKeepsTheTable_data()
{
    QTest::addColumn<bool>("whileFilling");  // else while the file is read
    QTest::addColumn<bool>("sorted");        // the table sorted by its IDs
    QTest::newRow("while reading") << false << false;
    QTest::newRow("while filling") << true << false;
    QTest::newRow("while filling a sorted table") << true << true;
}

// Cancel in the progress dialog of a Load: the table keeps its rows, their
// order and its sorting, and nothing is said.
void tst_UiTabSendTaskPage::cancelledLoadKeepsTheTable()
{
    QFETCH(bool, whileFilling);
    QFETCH(bool, sorted);
    const QString path = writeLargeList(dir.filePath(QStringLiteral("cancelled.txt")), UlListLimits::MaxEntries);
    QVERIFY(!path.isEmpty());
    Page p;
    p.page.show();
    for (int i = 0; i < 3; ++i) {
        p.click("addButton");
        p.set(i, TaskRow::Id, QString::number(i + 1));
    }
    if (sorted) {
        p.table->setSortingEnabled(true);
        p.table->sortByColumn(TaskRow::Id, Qt::DescendingOrder);
    }
    const QList<TaskRow> before = p.page.rows();

    // The fill is the second half of the work.
    const Canceller cancel(p.page, [whileFilling](int percent) { return whileFilling ? percent > 50 : true; });
    QVERIFY(!p.page.loadFile(path));
    QVERIFY(cancel.rowsAtCancel >= 0);
    if (whileFilling)
        QVERIFY2(cancel.rowsAtCancel > before.size(), qPrintable(QString::number(cancel.rowsAtCancel)));
    QVERIFY(cancel.busyCursor);
    QVERIFY(cancel.dialogModal);
    QCOMPARE(p.page.rows(), before);
    QCOMPARE(p.table->isSortingEnabled(), sorted);
    if (sorted) {
        QCOMPARE(p.table->horizontalHeader()->sortIndicatorSection(), int(TaskRow::Id));
        QCOMPARE(p.table->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    }
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!p.page.findChild<QProgressDialog *>());
    QVERIFY(boxes.isEmpty());

    // Still a working table: a row moved in goes to its sorted place.
    BaseSendParam param;
    param.id = 0x2;
    Q_EMIT p.page.AddMoveList(param);
    QCOMPARE(p.column(TaskRow::Id), sorted ? QStringList({"3", "2", "2", "1"}) : QStringList({"1", "2", "3", "2"}));
}

MEROVAST_GUI_TEST_MAIN(tst_UiTabSendTaskPage)
#include "tst_uitabsendtaskpage.moc"
