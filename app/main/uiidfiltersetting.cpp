#include "uiidfiltersetting.h"

#include "idfilterxmlreader.h"
#include "idfilterxmlwriter.h"
#include "ui_uiidfiltersetting.h"
#include "uifiledialog.h"
#include "uimessage.h"

#include <QEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>

namespace {

const int kColumnWidths[UiIdFilterSetting::ColumnCount] = {70, 90, 90, 145, 20};

quint32 parseHex(const QString &text)
{
    bool ok = false;
    const quint32 value = text.trimmed().toUInt(&ok, 16);
    return ok ? value : 0;
}

} // namespace

UiIdFilterSetting::UiIdFilterSetting(QWidget *parent, int channel)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      form(std::make_unique<Ui::UiIdFilterSetting>()),
      channel(channel),
      filters(UlIdFilterMannger::instance(channel))
{
    form->setupUi(this);
    hint = new QLabel(form->tableWidget);
    hint->setObjectName(QStringLiteral("hint"));
    hint->setGeometry(30, 50, 400, 20);
    hint->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    hint->hide();
    setWindowIcon(QIcon());
    initControls();

    connect(form->m_comboxFilter, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &UiIdFilterSetting::OnFilterModeChanged);
    connect(form->tableWidget, &QTableWidget::cellChanged, this, &UiIdFilterSetting::OnCellChanged);
    connect(form->tableWidget, &QTableWidget::cellClicked, this, &UiIdFilterSetting::OnCellClicked);
    connect(form->m_btnAdd, &QPushButton::clicked, this, &UiIdFilterSetting::OnAdd);
    connect(form->m_btnClear, &QPushButton::clicked, this, &UiIdFilterSetting::OnClear);
    connect(form->m_btnSave, &QPushButton::clicked, this, &UiIdFilterSetting::OnSave);
    connect(form->m_btnLoad, &QPushButton::clicked, this, &UiIdFilterSetting::OnLoad);
    connect(form->m_btnCancel, &QPushButton::clicked, this, &UiIdFilterSetting::reject);
    connect(form->m_btnOk, &QPushButton::clicked, this, &UiIdFilterSetting::accept);

    showFilters();
    OnFilterModeChanged(form->m_comboxFilter->currentIndex());
}

UiIdFilterSetting::~UiIdFilterSetting() = default;

void UiIdFilterSetting::initControls()
{
    QComboBox *combo = form->m_comboxFilter;
    for (int mode = UlIdFilterMannger::NoFilter; mode <= UlIdFilterMannger::OnlyReceiveMode; ++mode)
        combo->addItem(QString(), mode);
    form->m_editLow->setMaxLength(8);
    form->m_editHigh->setMaxLength(8);

    QTableWidget *table = form->tableWidget;
    table->setColumnCount(ColumnCount);
    for (int column = 0; column < ColumnCount; ++column)
        table->setColumnWidth(column, kColumnWidths[column]);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setFrameShape(QFrame::Box);
    table->setFrameShadow(QFrame::Sunken);
    table->horizontalHeader()->setHighlightSections(false);
    table->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    table->verticalHeader()->setDefaultSectionSize(21);
    retranslateUi();
}

void UiIdFilterSetting::retranslateUi()
{
    form->retranslateUi(this);
    QComboBox *combo = form->m_comboxFilter;
    combo->setItemText(0, tr("Disable"));
    combo->setItemText(1, tr("Not receive IDs"));
    combo->setItemText(2, tr("Only receive IDs"));
    form->tableWidget->setHorizontalHeaderLabels(
            {tr("No"), tr("Low(Hex)"), tr("High(Hex)"), tr("Comment"), QString()});
    // A translated mode text is wider; the combo box gets the room.
    QMargins margins = form->modeRow->contentsMargins();
    margins.setRight(tr("Disable") != QLatin1String("Disable") ? 270 : 250);
    form->modeRow->setContentsMargins(margins);
    updateHint();
}

void UiIdFilterSetting::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void UiIdFilterSetting::OnFilterModeChanged(int index)
{
    filters.setFilterMode(index);
    const bool editable = index == UlIdFilterMannger::NotReceiveMode || index == UlIdFilterMannger::OnlyReceiveMode;
    for (QWidget *control : {static_cast<QWidget *>(form->m_editLow), static_cast<QWidget *>(form->m_editHigh),
                             static_cast<QWidget *>(form->tableWidget), static_cast<QWidget *>(form->m_btnAdd),
                             static_cast<QWidget *>(form->m_btnClear), static_cast<QWidget *>(form->m_btnSave),
                             static_cast<QWidget *>(form->m_btnLoad)}) {
        control->setEnabled(editable);
    }
    showFilters();
}

void UiIdFilterSetting::showFilters()
{
    QComboBox *combo = form->m_comboxFilter;
    switch (filters.getFilterMode()) {
    case UlIdFilterMannger::NoFilter: {
        const QSignalBlocker blocker(form->tableWidget);
        combo->setCurrentIndex(0);
        form->tableWidget->clearContents();
        form->tableWidget->setRowCount(0);
        updateHint();
        break;
    }
    case UlIdFilterMannger::NotReceiveMode:
        combo->setCurrentIndex(1);
        showNotReceive();
        break;
    case UlIdFilterMannger::OnlyReceiveMode:
        combo->setCurrentIndex(2);
        showOnlyReceive();
        break;
    default:
        break;
    }
}

void UiIdFilterSetting::showNotReceive()
{
    showList(filters.getNotReceiveQueue());
}

void UiIdFilterSetting::showOnlyReceive()
{
    showList(filters.getOnlyReceiveQueue());
}

void UiIdFilterSetting::showList(const QQueue<UlIdFilter> &rules)
{
    QTableWidget *table = form->tableWidget;
    {
        // The cells are written from the rules; no rule is rebuilt from them.
        const QSignalBlocker blocker(table);
        table->clearContents();
        table->setRowCount(rules.size());
        for (int row = 0; row < rules.size(); ++row) {
            const UlIdFilter &rule = rules.at(row);
            auto *number = new QTableWidgetItem(QString::number(row + 1));
            number->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            number->setData(Qt::UserRole, row);
            number->setTextAlignment(Qt::AlignCenter);
            table->setItem(row, NumberColumn, number);
            auto *low = new QTableWidgetItem(QString::asprintf("%08x", rule.startId));
            low->setTextAlignment(Qt::AlignCenter);
            table->setItem(row, LowColumn, low);
            auto *high = new QTableWidgetItem(QString::asprintf("%08x", rule.endId));
            high->setTextAlignment(Qt::AlignCenter);
            table->setItem(row, HighColumn, high);
            table->setItem(row, CommentColumn, new QTableWidgetItem(rule.text));
        }
    }
    // The view does not repaint cells whose change it was not told of.
    table->viewport()->update();
    updateHint();
}

void UiIdFilterSetting::updateHint()
{
    if (!hint)
        return;
    switch (filters.getFilterMode()) {
    case UlIdFilterMannger::NotReceiveMode:
        hint->setText(tr("When the list is empty, that receives all ID."));
        hint->setVisible(filters.NotReceiveCount() == 0);
        break;
    case UlIdFilterMannger::OnlyReceiveMode:
        hint->setText(tr("When the list is empty, that it would not receive any ID."));
        hint->setVisible(filters.OnlyReceiveCount() == 0);
        break;
    default:
        hint->hide();
        break;
    }
}

void UiIdFilterSetting::OnCellChanged(int row, int column)
{
    Q_UNUSED(column)
    QTableWidget *table = form->tableWidget;
    for (int c = LowColumn; c <= CommentColumn; ++c) {
        if (!table->item(row, c)) {
            const QSignalBlocker blocker(table);
            auto *item = new QTableWidgetItem;
            if (c != CommentColumn)
                item->setTextAlignment(Qt::AlignCenter);
            table->setItem(row, c, item);
        }
    }
    const UlIdFilter rule(parseHex(table->item(row, LowColumn)->text()), parseHex(table->item(row, HighColumn)->text()),
                          table->item(row, CommentColumn)->text());
    if (filters.getFilterMode() == UlIdFilterMannger::NotReceiveMode)
        filters.replaceNotReceive(row, rule);
    else if (filters.getFilterMode() == UlIdFilterMannger::OnlyReceiveMode)
        filters.replaceOnlyReceive(row, rule);
}

void UiIdFilterSetting::OnCellClicked(int row, int column)
{
    if (column != DeleteColumn)
        return;
    switch (filters.getFilterMode()) {
    case UlIdFilterMannger::NotReceiveMode:
        filters.removeAtNotReceive(row);
        showNotReceive();
        break;
    case UlIdFilterMannger::OnlyReceiveMode:
        filters.removeAtOnlyReceive(row);
        showOnlyReceive();
        break;
    default:
        break;
    }
}

void UiIdFilterSetting::OnAdd()
{
    const UlIdFilter rule(parseHex(form->m_editLow->text()), parseHex(form->m_editHigh->text()));
    switch (form->m_comboxFilter->currentIndex()) {
    case UlIdFilterMannger::NotReceiveMode:
        filters.addNotReceive(rule);
        showNotReceive();
        break;
    case UlIdFilterMannger::OnlyReceiveMode:
        filters.addOnlyReceive(rule);
        showOnlyReceive();
        break;
    default:
        break;
    }
}

void UiIdFilterSetting::OnClear()
{
    switch (form->m_comboxFilter->currentIndex()) {
    case UlIdFilterMannger::NotReceiveMode:
        filters.clearNotReceive();
        showNotReceive();
        break;
    case UlIdFilterMannger::OnlyReceiveMode:
        filters.clearOnlyReceive();
        showOnlyReceive();
        break;
    default:
        break;
    }
}

bool UiIdFilterSetting::saveFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        UiMessage::warning(this, tr("Warning"),
                           tr("%1 %2:\n%3.").arg(tr("Cannot write file"), fileName, file.errorString()));
        return false;
    }
    const bool written = IdFilterXmlWriter(filters).write(&file) && file.flush();
    if (!written) {
        UiMessage::warning(this, tr("Warning"),
                           tr("%1 %2:\n%3.").arg(tr("Cannot write file"), fileName, file.errorString()));
        return false;
    }
    lastSavedFile = fileName;
    return true;
}

void UiIdFilterSetting::OnSave()
{
    const QString fileName = UiFileDialog::getSaveFileName(this, tr("Save"), lastSavedFile, tr("Filter(*.filter)"));
    if (!fileName.isEmpty())
        saveFile(fileName);
}

bool UiIdFilterSetting::loadFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        UiMessage::warning(this, tr("Warning"),
                           tr("%1 %2:\n%3.").arg(tr("Cannot read file"), fileName, file.errorString()));
        return false;
    }
    IdFilterXmlReader reader;
    const bool ok = reader.read(&file);
    if (!ok) {
        const QString what = reader.refused() ? tr("File refused") : tr("Parse error in file");
        UiMessage::warning(this, tr("Warning"), tr("%1 %2:\n\n%3").arg(what, fileName, reader.errorString()));
        // Nothing is taken from a refused file; the rules before a break are.
        if (reader.refused())
            return false;
    }
    filters = reader.filters();
    showFilters();
    return ok;
}

void UiIdFilterSetting::OnLoad()
{
    const QString fileName = UiFileDialog::getOpenFileName(this, tr("Load"), QString(), tr("Filter(*.filter)"));
    if (!fileName.isEmpty())
        loadFile(fileName);
}

void UiIdFilterSetting::reject()
{
    QDialog::reject();
    setResult(-1);
}

void UiIdFilterSetting::accept()
{
    QDialog::accept();
    UlIdFilterMannger::instance(channel) = filters;
    setResult(1);
}
