#include "uitabsendtaskpage.h"

#include "ui_uitabsendtaskpage.h"
#include "comboboxdelegate.h"
#include "combopopupwidth.h"
#include "frameslimiter.h"
#include "slicedwork.h"
#include "tasklistfile.h"
#include "uifiledialog.h"
#include "uimessage.h"
#include "ulglobalset.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QPointer>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QThread>

#include <algorithm>
#include <memory>

namespace {

struct ChoiceColumn {
    TaskRow::Field column;
    QVector<const char *> texts;
};

const QVector<ChoiceColumn> &choiceColumns()
{
    static const QVector<ChoiceColumn> columns{
        {TaskRow::SendMode,
         {QT_TRANSLATE_NOOP("UiTabSendTaskPage", "Normal Send"), QT_TRANSLATE_NOOP("UiTabSendTaskPage", "Single Send"),
          QT_TRANSLATE_NOOP("UiTabSendTaskPage", "Send & Receive"),
          QT_TRANSLATE_NOOP("UiTabSendTaskPage", "Single Send&Rec")}},
        {TaskRow::Format,
         {QT_TRANSLATE_NOOP("UiTabSendTaskPage", "Standard Frame"),
          QT_TRANSLATE_NOOP("UiTabSendTaskPage", "Extend Frame")}},
        {TaskRow::Type,
         {QT_TRANSLATE_NOOP("UiTabSendTaskPage", "Data Frame"), QT_TRANSLATE_NOOP("UiTabSendTaskPage", "Remote Frame")}},
        {TaskRow::IdRule, {QT_TRANSLATE_NOOP("UiTabSendTaskPage", "Fixed"), QT_TRANSLATE_NOOP("UiTabSendTaskPage", "Increase")}},
        {TaskRow::DataRule,
         {QT_TRANSLATE_NOOP("UiTabSendTaskPage", "Fixed"), QT_TRANSLATE_NOOP("UiTabSendTaskPage", "0 Increase"),
          QT_TRANSLATE_NOOP("UiTabSendTaskPage", "1 Increase"), QT_TRANSLATE_NOOP("UiTabSendTaskPage", "2 Increase"),
          QT_TRANSLATE_NOOP("UiTabSendTaskPage", "3 Increase"), QT_TRANSLATE_NOOP("UiTabSendTaskPage", "4 Increase"),
          QT_TRANSLATE_NOOP("UiTabSendTaskPage", "5 Increase"), QT_TRANSLATE_NOOP("UiTabSendTaskPage", "6 Increase"),
          QT_TRANSLATE_NOOP("UiTabSendTaskPage", "7 Increase")}},
    };
    return columns;
}

QStringList translated(const QVector<const char *> &texts)
{
    QStringList out;
    for (const char *text : texts)
        out << QCoreApplication::translate("UiTabSendTaskPage", text);
    return out;
}

// Whether the table keeps its rows sorted by one of its columns, moving a
// row as soon as that column's cell is set.
bool sortsByAColumn(const QTableWidget *table)
{
    const int column = table->horizontalHeader()->sortIndicatorSection();
    return table->isSortingEnabled() && column >= 0 && column < table->columnCount();
}

// Sorting off while rows are filled, so that no row moves half-filled;
// afterwards on again, which sorts the rows. A table sorted by no column
// moves no row and is left alone.
class SortingPause
{
public:
    explicit SortingPause(QTableWidget *table) : table(table), paused(sortsByAColumn(table))
    {
        if (paused)
            table->setSortingEnabled(false);
    }
    ~SortingPause()
    {
        if (paused)
            table->setSortingEnabled(true);
    }

private:
    QTableWidget *table;
    bool paused;
};

// The sort indicator of a table whose sorting is on, set without sorting:
// the rows are in that order already, or are to stay as they are (-1).
void setSortIndicatorOnly(QTableWidget *table, int column, Qt::SortOrder order)
{
    const QSignalBlocker quiet(table->horizontalHeader());
    table->horizontalHeader()->setSortIndicator(column, order);
}

// The columns that resize to their contents.
constexpr int FittedColumns[] = {TaskRow::Checked, TaskRow::Name, TaskRow::Times, TaskRow::Interval};

QTableWidgetItem *choiceItem(int value)
{
    auto *item = new QTableWidgetItem;
    item->setData(Qt::EditRole, value);
    return item;
}

QString cellText(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}

int cellChoice(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->data(Qt::EditRole).toInt() : 0;
}

} // namespace

UiTabSendTaskPage::UiTabSendTaskPage(QWidget *parent, int channel)
    : UiTabSendPage(parent, channel),
      form(std::make_unique<Ui::UiTabSendTaskPage>())
{
    form->setupUi(this);
    scrollForm();
    ComboPopupWidth::installAll(this);
    setSendControls(form->SendButton, form->StopButton, {form->m_pComboBoxSendType});

    QTableWidget *t = form->tableWidget;
    t->setColumnCount(TaskRow::FieldCount);
    QHeaderView *header = t->horizontalHeader();
    for (int column : FittedColumns)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    t->setSelectionMode(QAbstractItemView::ExtendedSelection);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setFrameShape(QFrame::Box);
    t->setFrameShadow(QFrame::Sunken);
    header->setHighlightSections(false);
    t->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    t->verticalHeader()->setMinimumSectionSize(RowHeight);
    t->verticalHeader()->setDefaultSectionSize(RowHeight);
    for (const ChoiceColumn &choice : choiceColumns()) {
        auto *delegate = new ComboBoxDelegate(translated(choice.texts), t);
        t->setItemDelegateForColumn(choice.column, delegate);
        delegates << delegate;
    }
    new FramesLimiter(t);
    retranslateUi();

    connect(form->addButton, &QPushButton::clicked, this, &UiTabSendTaskPage::onAddTask);
    connect(form->delButton, &QPushButton::clicked, this, &UiTabSendTaskPage::onDelTask);
    connect(form->SendButton, &QPushButton::clicked, this, &UiTabSendTaskPage::startSendData);
    connect(form->StopButton, &QPushButton::clicked, this, &UiTabSendTaskPage::stopSendData);
    connect(form->saveButton, &QPushButton::clicked, this, &UiTabSendTaskPage::saveTasks);
    connect(form->loadButton, &QPushButton::clicked, this, &UiTabSendTaskPage::loadTasks);
    connect(this, &UiTabSendPage::idFormatChangedSignal, this, &UiTabSendTaskPage::onIdFormatChanged);
    connect(form->m_pComboBoxSendType, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { ComboBoxSendTypeIndexChanged(form->m_pComboBoxSendType->currentText()); });
    connect(this, &UiTabSendPage::AddMoveList, this, &UiTabSendTaskPage::onMovetoList);
    form->SendButton->setEnabled(true);
    form->StopButton->setEnabled(false);

    if (channel >= 0 && channel < UlGlobalSet::Channels)
        UlGlobalSet::instance().channel[channel].sendMode = 0;
}

UiTabSendTaskPage::~UiTabSendTaskPage() = default;

QTableWidget *UiTabSendTaskPage::table() const
{
    return form->tableWidget;
}

void UiTabSendTaskPage::retranslateUi()
{
    form->retranslateUi(this);
    // A combo box keeps the least width of the texts it first had, larger
    // or smaller than those it has now; the layout goes by these.
    QComboBox *strategy = form->m_pComboBoxSendType;
    strategy->setMinimumWidth(strategy->sizeHint().width());
    form->tableWidget->setHorizontalHeaderLabels(
        {QStringLiteral(" "), tr("Name"), tr("Send Mode"), tr("ID(Hex)"), tr("Format"), tr("Type"), tr("Data(Hex)"),
         tr("Frames"), tr("ID Rule"), tr("Data Rule"), tr("Send Times"), tr("Interval(ms)")});
    for (int i = 0; i < delegates.size(); ++i)
        delegates.at(i)->setTexts(translated(choiceColumns().at(i).texts));
    fitColumns();
    form->tableWidget->viewport()->update();
}

void UiTabSendTaskPage::fitColumns()
{
    // The least widths; a column grows where its header, its longest choice,
    // an extended ID or eight data bytes would not fit in the language and
    // font in use.
    static const QVector<QPair<int, int>> widths{
        {TaskRow::Name, 65},   {TaskRow::SendMode, 80}, {TaskRow::Id, 65},     {TaskRow::Format, 65},
        {TaskRow::Type, 65},   {TaskRow::Data, 150},    {TaskRow::Frames, 65}, {TaskRow::IdRule, 70},
        {TaskRow::DataRule, 70}};
    QTableWidget *t = form->tableWidget;
    const QFontMetrics metrics(t->font());
    for (const auto &width : widths) {
        int needed = std::max(width.second, t->horizontalHeader()->sectionSizeHint(width.first));
        if (width.first == TaskRow::Id)
            needed = std::max(needed, metrics.horizontalAdvance(QStringLiteral("1FFFFFFF")) + 24);
        if (width.first == TaskRow::Data)
            needed = std::max(needed, metrics.horizontalAdvance(QStringLiteral("FF FF FF FF FF FF FF FF")) + 24);
        t->setColumnWidth(width.first, needed);
    }
    for (int i = 0; i < delegates.size(); ++i) {
        int text = 0;
        for (const QString &choice : delegates.at(i)->texts())
            text = std::max(text, metrics.horizontalAdvance(choice));
        QStyleOptionComboBox box;
        box.initFrom(t);
        const QSize size = t->style()->sizeFromContents(QStyle::CT_ComboBox, &box, QSize(text, metrics.height()), t);
        const int column = choiceColumns().at(i).column;
        t->setColumnWidth(column, std::max(t->columnWidth(column), size.width()));
    }
}

void UiTabSendTaskPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    UiTabSendPage::changeEvent(event);
}

TaskRow UiTabSendTaskPage::rowAt(int row) const
{
    const QTableWidget *t = form->tableWidget;
    TaskRow values;
    const QTableWidgetItem *check = t->item(row, TaskRow::Checked);
    values.checked = check && check->checkState() == Qt::Checked;
    values.name = cellText(t, row, TaskRow::Name);
    values.sendMode = cellChoice(t, row, TaskRow::SendMode);
    values.id = cellText(t, row, TaskRow::Id);
    values.format = cellChoice(t, row, TaskRow::Format);
    values.type = cellChoice(t, row, TaskRow::Type);
    values.data = cellText(t, row, TaskRow::Data);
    values.frames = cellText(t, row, TaskRow::Frames);
    values.idRule = cellChoice(t, row, TaskRow::IdRule);
    values.dataRule = cellChoice(t, row, TaskRow::DataRule);
    values.times = cellText(t, row, TaskRow::Times);
    values.interval = cellText(t, row, TaskRow::Interval);
    return values;
}

QList<TaskRow> UiTabSendTaskPage::rows() const
{
    QList<TaskRow> all;
    for (int row = 0; row < form->tableWidget->rowCount(); ++row)
        all << rowAt(row);
    return all;
}

void UiTabSendTaskPage::fillRow(int row, const TaskRow &values)
{
    QTableWidget *t = form->tableWidget;
    auto *check = new QTableWidgetItem;
    check->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    check->setCheckState(values.checked ? Qt::Checked : Qt::Unchecked);
    t->setItem(row, TaskRow::Checked, check);
    auto *name = new QTableWidgetItem(values.name);
    name->setFlags(name->flags() & ~Qt::ItemIsEditable);
    t->setItem(row, TaskRow::Name, name);
    t->setItem(row, TaskRow::SendMode, choiceItem(values.sendMode));
    t->setItem(row, TaskRow::Id, new QTableWidgetItem(values.id));
    t->setItem(row, TaskRow::Format, choiceItem(values.format));
    t->setItem(row, TaskRow::Type, choiceItem(values.type));
    t->setItem(row, TaskRow::Data, new QTableWidgetItem(values.data));
    t->setItem(row, TaskRow::Frames, new QTableWidgetItem(values.frames));
    t->setItem(row, TaskRow::IdRule, choiceItem(values.idRule));
    t->setItem(row, TaskRow::DataRule, choiceItem(values.dataRule));
    t->setItem(row, TaskRow::Times, new QTableWidgetItem(values.times));
    t->setItem(row, TaskRow::Interval, new QTableWidgetItem(values.interval));
}

void UiTabSendTaskPage::appendRow(const TaskRow &values)
{
    QTableWidget *t = form->tableWidget;
    const SortingPause pause(t);
    const int row = t->rowCount();
    t->insertRow(row);
    fillRow(row, values);
}

void UiTabSendTaskPage::onAddTask()
{
    appendRow(TaskRow());
}

void UiTabSendTaskPage::onMovetoList(BaseSendParam param)
{
    TaskRow values;
    values.name = param.alias;
    values.id = QString::number(param.id, 16);
    values.format = param.format;
    values.type = param.type;
    values.data = param.data;
    appendRow(values);
}

void UiTabSendTaskPage::onDelTask()
{
    QTableWidget *t = form->tableWidget;
    const int row = t->currentRow();
    if (row < 0)
        return;
    t->removeRow(row);
    const int now = t->currentRow();
    if (now >= 0 && t->item(now, TaskRow::Checked)) {
        t->scrollToItem(t->item(now, TaskRow::Checked));
        t->clearSelection();
        t->selectRow(now);
    }
}

QString UiTabSendTaskPage::faultText(TaskRow::Field field) const
{
    switch (field) {
    case TaskRow::Id:
        return tr("ID(Hex) is out of range for its frame format");
    case TaskRow::Data:
        return tr("Data(Hex) holds more than 8 bytes");
    case TaskRow::Frames:
        return tr("Frames must be 1 to 3");
    case TaskRow::Times:
        return tr("Send Times must be 1 to 999999999");
    case TaskRow::Interval:
        return tr("Interval(ms) must be 0 to 99999999");
    default:
        return QString();
    }
}

void UiTabSendTaskPage::startSendData()
{
    QTableWidget *t = form->tableWidget;
    t->repaint();
    const QPointer<UiTabSendTaskPage> self(this);
    const int idFormat = UlGlobalSet::instance().IDFORMAT;
    const int rowCount = t->rowCount();
    taskQueue queue;
    QStringList refused;  // the first of them
    int refusedRows = 0;
    int idFaults = 0;
    int row = 0;
    bool built = false;
    {
        SlicedWork work(this, tr("Send"), tr("Preparing the tasks..."));
        connect(&work, &SlicedWork::progressed, this, &UiTabSendTaskPage::workProgress);
        built = work.run(
            [&] {
                if (row >= rowCount)
                    return false;
                const TaskRow values = rowAt(row++);
                if (!values.checked)
                    return true;
                const TaskRow::Field fault = values.fault(idFormat);
                if (fault == TaskRow::NoField) {
                    queue.enqueue(values.toTask());
                    return true;
                }
                if (fault == TaskRow::Id)
                    ++idFaults;
                if (++refusedRows <= UiMessage::MaxListed)
                    refused << tr("Row %1: %2").arg(row).arg(faultText(fault));
                return true;
            },
            [&] { return int(qint64(row) * 100 / std::max(rowCount, 1)); });
    }
    if (!built || !self)
        return;
    if (!queue.isEmpty())
        Q_EMIT start(queue);
    // One ID-range box per Send, however many rows: the list below names them.
    if (idFaults > 0)
        Q_EMIT maxIdErrorSignal();
    if (refusedRows > 0)
        UiMessage::information(this, tr("Hint"),
                               tr("These rows were not sent:") + QLatin1Char('\n')
                                   + UiMessage::listText(refused, refusedRows));
}

void UiTabSendTaskPage::stopSendData()
{
    Q_EMIT stop();
}

void UiTabSendTaskPage::saveTasks()
{
    if (form->tableWidget->rowCount() == 0) {
        UiMessage::information(this, tr("Hint"), tr("Data is empty"));
        return;
    }
    const QString fileName =
        UiFileDialog::getSaveFileName(this, tr("Save data"), QString(), QStringLiteral("TXT File(*.txt)"));
    if (!fileName.isEmpty())
        saveFile(fileName);
}

bool UiTabSendTaskPage::saveFile(const QString &fileName)
{
    TaskListFile file;
    if (!file.write(fileName, rows())) {
        UiMessage::information(this, tr("Hint"), tr("Save failed: %1").arg(file.errorString()));
        return false;
    }
    UiMessage::information(this, tr("Hint"), tr("Save successfully"));
    return true;
}

void UiTabSendTaskPage::loadTasks()
{
    const QString fileName = UiFileDialog::getOpenFileName(this, tr("Open the task data file"), QString(),
                                                           QStringLiteral("TXT File(*.txt)"));
    if (!fileName.isEmpty())
        loadFile(fileName);
}

bool UiTabSendTaskPage::loadFile(const QString &fileName)
{
    const QPointer<UiTabSendTaskPage> self(this);
    TaskListFile file;
    bool read = false;
    const int idFormat = UlGlobalSet::instance().IDFORMAT;
    const std::unique_ptr<QThread> reader(QThread::create([&] { read = file.read(fileName, idFormat); }));
    bool loaded = false;
    {
        SlicedWork work(this, tr("Load"), tr("Loading the task list..."));
        connect(&work, &SlicedWork::progressed, this, &UiTabSendTaskPage::workProgress);
        // The file is read on a thread of its own: the first half of the work.
        if (!work.waitFor(reader.get(), [&file] { return file.progress() / 2; })) {
            file.cancel();
            reader->wait();
            return false;
        }
        reader->wait();
        if (read && self)
            loaded = replaceRows(file.takeRows(), work);
    }
    if (!self)
        return false;
    if (!read) {
        UiMessage::information(this, tr("Hint"), file.tooLargeRefused() ? file.errorString() : tr("Open fail"));
        return false;
    }
    if (!loaded)
        return false;

    QStringList notes;
    if (file.skippedLines() > 0)
        notes << tr("Lines skipped because they do not have 12 fields: %1").arg(file.skippedLines());
    const QList<TaskListFile::Refusal> refused = file.refusals();
    if (!refused.isEmpty()) {
        notes << tr("These lines were not loaded:");
        QStringList lines;
        for (int i = 0; i < refused.size() && i < UiMessage::MaxListed; ++i)
            lines << tr("Line %1: %2").arg(refused.at(i).line).arg(faultText(refused.at(i).field));
        notes << UiMessage::listText(lines, refused.size());
    }
    if (!notes.isEmpty())
        UiMessage::information(this, tr("Hint"), notes.join(QLatin1Char('\n')));
    return true;
}

bool UiTabSendTaskPage::replaceRows(QList<TaskRow> loaded, SlicedWork &work)
{
    const QPointer<UiTabSendTaskPage> self(this);
    QTableWidget *t = form->tableWidget;
    QHeaderView *header = t->horizontalHeader();
    const bool wasSorting = t->isSortingEnabled();
    const int sortColumn = header->sortIndicatorSection();
    const Qt::SortOrder sortOrder = header->sortIndicatorOrder();
    // The new rows go in in file order: sorting on but by no column, so
    // that no row moves while they are filled.
    if (wasSorting) {
        setSortIndicatorOnly(t, -1, Qt::AscendingOrder);
    } else {
        header->setSortIndicator(-1, Qt::AscendingOrder);
        t->setSortingEnabled(true);
    }
    t->setUpdatesEnabled(false);
    // A column fitted to its contents would measure its rows again at every
    // cell set; it is fitted once, at the end.
    for (int column : FittedColumns)
        header->setSectionResizeMode(column, QHeaderView::Interactive);
    const int oldRows = t->rowCount();
    const int total = loaded.size();
    // The new rows take the old rows' places, each old row kept as values
    // for a cancel: growing the table's storage to hold both would hold
    // the thread. Rows are added, and lists of rows freed, a batch at a
    // time: no slice could do either at once.
    QList<TaskRow> previous;
    int next = 0;
    const bool filled = work.run(
        [&] {
            const int batch = std::min(FillBatch, loaded.size());
            if (next + batch > t->rowCount())
                t->setRowCount(next + batch);
            for (int i = 0; i < batch; ++i, ++next) {
                if (next < oldRows)
                    previous.append(rowAt(next));
                fillRow(next, loaded.first());
                loaded.removeFirst();
            }
            return !loaded.isEmpty();
        },
        [&] { return 50 + int(qint64(next) * 50 / std::max(total, 1)); });
    if (!self)
        return false;
    if (filled) {
        removeRows(next, oldRows - next, work);
    } else {
        int restored = 0;
        work.run(
            [&] {
                for (int i = 0; i < FillBatch && restored < previous.size(); ++i, ++restored)
                    fillRow(restored, previous.at(restored));
                return restored < previous.size();
            },
            [] { return 100; }, false);
        if (self)
            removeRows(oldRows, next - oldRows, work);
        freeRows(loaded, work);
        if (!self)
            return false;
        if (wasSorting) {
            setSortIndicatorOnly(t, sortColumn, sortOrder);
        } else {
            t->setSortingEnabled(false);
            header->setSortIndicator(sortColumn, sortOrder);
        }
    }
    freeRows(previous, work);
    if (!self)
        return false;
    for (int column : FittedColumns)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    t->setUpdatesEnabled(true);
    if (filled)
        t->scrollToTop();
    return filled;
}

void UiTabSendTaskPage::freeRows(QList<TaskRow> &rows, SlicedWork &work)
{
    work.run(
        [&] {
            for (int i = 0; i < RemoveBatch && !rows.isEmpty(); ++i)
                rows.removeLast();
            return !rows.isEmpty();
        },
        [] { return 100; }, false);
}

void UiTabSendTaskPage::removeRows(int first, int count, SlicedWork &work)
{
    QAbstractItemModel *model = form->tableWidget->model();
    int left = count;
    work.run(
        [&] {
            const int batch = std::min(RemoveBatch, left);
            if (batch <= 0)
                return false;
            model->removeRows(first + left - batch, batch);
            left -= batch;
            return left > 0;
        },
        [] { return 100; }, false);
}

void UiTabSendTaskPage::onIdFormatChanged()
{
    const int idFormat = idFormatChange();
    if (idFormat < 0)
        return;
    QTableWidget *t = form->tableWidget;
    const SortingPause pause(t);
    for (int row = 0; row < t->rowCount(); ++row) {
        for (int column : {TaskRow::Id, TaskRow::Format}) {
            if (!t->item(row, column)) {
                auto *item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignCenter);
                t->setItem(row, column, item);
            }
        }
        const bool extended = cellChoice(t, row, TaskRow::Format) == 1;
        QTableWidgetItem *id = t->item(row, TaskRow::Id);
        id->setText(TaskRow::convertId(id->text(), extended, idFormat));
    }
}

void UiTabSendTaskPage::ComboBoxSendTypeIndexChanged(const QString &text)
{
    Q_UNUSED(text)
    const int strategy = form->m_pComboBoxSendType->currentIndex();
    if (strategy < 0 || strategy > 2 || channel() < 0 || channel() >= UlGlobalSet::Channels)
        return;
    UlGlobalSet::instance().channel[channel()].sendMode = strategy;
    if (strategy != 2)
        return;
    QTableWidget *t = form->tableWidget;
    t->setUpdatesEnabled(false);
    const int rowCount = t->rowCount();
    for (int i = 0; rowCount > 0 && i < (rowCount - 1) / 100 + 1; ++i)
        QCoreApplication::processEvents();
    t->setUpdatesEnabled(true);
}

void UiTabSendTaskPage::onActive()
{
    activate(1);
}
