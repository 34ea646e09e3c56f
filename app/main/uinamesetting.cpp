#include "uinamesetting.h"

#include "ui_uinamesetting.h"
#include "uifiledialog.h"
#include "uimessage.h"
#include "ullistlimits.h"
#include "ulnamemapping.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QHeaderView>
#include <QTextStream>

namespace {

constexpr int kColumnWidth = 190;

} // namespace

UiNameSetting::UiNameSetting(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      form(std::make_unique<Ui::UiNameSetting>())
{
    form->setupUi(this);
    QTableWidget *table = form->tableWidget;
    table->setColumnCount(2);
    table->setColumnWidth(0, kColumnWidth);
    table->setColumnWidth(1, kColumnWidth);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setFrameShape(QFrame::Box);
    table->setFrameShadow(QFrame::Sunken);
    table->horizontalHeader()->setHighlightSections(false);
    table->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    retranslateUi();

    connect(form->m_btnAdd, &QPushButton::clicked, this, &UiNameSetting::OnAdd);
    connect(form->m_btnDelete, &QPushButton::clicked, this, &UiNameSetting::OnDelete);
    connect(form->m_btnOk, &QPushButton::clicked, this, &UiNameSetting::accept);
    connect(form->m_pButtImport, &QPushButton::clicked, this, &UiNameSetting::OnImport);
    connect(form->m_pButtExport, &QPushButton::clicked, this, &UiNameSetting::OnExport);

    const auto names = UlNameMapping::getSingleton()->getList();
    for (const auto &entry : names)
        appendRow(QString::number(entry.first, 16), entry.second);
}

UiNameSetting::~UiNameSetting() = default;

void UiNameSetting::retranslateUi()
{
    form->retranslateUi(this);
    form->tableWidget->setHorizontalHeaderLabels({tr("Id(HEX)"), tr("Name")});
}

void UiNameSetting::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void UiNameSetting::appendRow(const QString &id, const QString &name)
{
    QTableWidget *table = form->tableWidget;
    const int row = table->rowCount();
    table->insertRow(row);
    table->setItem(row, 0, new QTableWidgetItem(id));
    table->setItem(row, 1, new QTableWidgetItem(name));
}

QString UiNameSetting::cellText(int row, int column) const
{
    const QTableWidgetItem *item = form->tableWidget->item(row, column);
    return item ? item->text() : QString();
}

void UiNameSetting::addName(quint32 id, const QString &name)
{
    appendRow(QString::asprintf("%X", id), name);
    QTableWidget *table = form->tableWidget;
    table->setCurrentCell(table->rowCount() - 1, 1);
    table->scrollToBottom();
}

void UiNameSetting::OnAdd()
{
    QTableWidget *table = form->tableWidget;
    table->insertRow(table->rowCount());
}

void UiNameSetting::OnDelete()
{
    QTableWidget *table = form->tableWidget;
    const int row = table->currentRow();
    if (row < 0)
        return;
    table->removeRow(row);
    const int now = table->currentRow();
    if (now >= 0) {
        table->scrollTo(table->model()->index(now, 0));
        table->clearSelection();
        table->selectRow(now);
    }
}

void UiNameSetting::accept()
{
    QTableWidget *table = form->tableWidget;
    QList<QPair<quint32, QString>> names;
    QStringList rejected;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QString idText = cellText(row, 0).trimmed();
        const QString name = cellText(row, 1);
        if (idText.isEmpty() && name.isEmpty())
            continue;
        bool ok = false;
        const quint32 id = idText.toUInt(&ok, 16);
        if (!ok || id > MaxId) {
            rejected << QString::number(row + 1);
            continue;
        }
        names.append({id, name});
    }
    UlNameMapping *map = UlNameMapping::getSingleton();
    map->clear();
    for (const auto &entry : names)
        map->add(entry.first, entry.second);
    if (!rejected.isEmpty()) {
        QString text = tr("Rows %1 were not stored: an ID is a hexadecimal number from 0 to 1FFFFFFF.")
                               .arg(rejected.mid(0, UiMessage::MaxListed).join(QLatin1String(", ")));
        if (rejected.size() > UiMessage::MaxListed)
            text += QLatin1Char('\n') + UiMessage::moreLine(rejected.size() - UiMessage::MaxListed);
        UiMessage::warning(this, tr("Hint"), text);
    }
    QDialog::accept();
}

namespace {

bool isIdText(const QString &text)
{
    bool ok = false;
    const quint32 id = text.trimmed().toUInt(&ok, 16);
    return ok && id <= UiNameSetting::MaxId;
}

// Printable text: what a binary file decodes to is not a name.
bool isNameText(const QString &text)
{
    for (const QChar c : text) {
        if (!c.isPrint() || c == QChar::ReplacementCharacter)
            return false;
    }
    return true;
}

} // namespace

bool UiNameSetting::importFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        UiMessage::warning(this, tr("Hint"), tr("Failed to open file") + file.errorString(), QMessageBox::Yes);
        return false;
    }
    const QByteArray bytes = file.read(UlListLimits::MaxFileBytes + 1);
    if (bytes.size() > UlListLimits::MaxFileBytes) {
        UiMessage::warning(this, tr("Hint"),
                           tr("%1 is larger than %2 MB; nothing was imported.")
                                   .arg(QDir::toNativeSeparators(fileName))
                                   .arg(UlListLimits::MaxFileBytes >> 20),
                           QMessageBox::Yes);
        return false;
    }
    QList<QStringList> entries;
    int lines = 0;
    int skipped = 0;
    QTextStream in(bytes);
    QString line;
    while (in.readLineInto(&line)) {
        if (line.trimmed().isEmpty())
            continue;
        if (++lines > UlListLimits::MaxEntries) {
            UiMessage::warning(this, tr("Hint"),
                               tr("%1 holds more than %2 lines; nothing was imported.")
                                       .arg(QDir::toNativeSeparators(fileName))
                                       .arg(UlListLimits::MaxEntries),
                               QMessageBox::Yes);
            return false;
        }
        const QStringList parts = line.split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (parts.size() == 2 && isIdText(parts.at(0)) && isNameText(parts.at(1)))
            entries << parts;
        else
            ++skipped;
    }
    QTableWidget *table = form->tableWidget;
    table->setRowCount(0);
    table->setRowCount(entries.size());
    for (int row = 0; row < entries.size(); ++row) {
        table->setItem(row, 0, new QTableWidgetItem(entries.at(row).at(0)));
        table->setItem(row, 1, new QTableWidgetItem(entries.at(row).at(1)));
    }
    if (skipped > 0) {
        UiMessage::information(this, tr("Hint"),
                               tr("%1 lines were skipped: each line must be a hexadecimal ID from 0 to 1FFFFFFF, "
                                  "a comma and a name.")
                                       .arg(skipped),
                               QMessageBox::Yes);
    }
    return true;
}

void UiNameSetting::OnImport()
{
    const QString fileName =
            UiFileDialog::getOpenFileName(this, tr("Open file"), QStringLiteral("./"), QStringLiteral("(*.txt)"));
    if (!fileName.isEmpty())
        importFile(fileName);
}

bool UiNameSetting::exportFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        UiMessage::warning(this, tr("Hint"), tr("Failed to open file") + file.errorString(), QMessageBox::Yes);
        return false;
    }
    QTextStream out(&file);
    const QTableWidget *table = form->tableWidget;
    for (int row = 0; row < table->rowCount(); ++row)
        out << cellText(row, 0) << ',' << cellText(row, 1) << '\n';
    out.flush();
    const bool written = out.status() == QTextStream::Ok && file.flush() && file.error() == QFileDevice::NoError;
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        UiMessage::warning(this, tr("Warning"),
                           tr("%1 %2,\n%3").arg(tr("Cannot write file"), fileName, file.errorString()));
        return false;
    }
    UiMessage::information(this, tr("Hint"), tr("Save successfully"), QMessageBox::Yes);
    return true;
}

void UiNameSetting::OnExport()
{
    if (form->tableWidget->rowCount() == 0) {
        UiMessage::information(this, tr("Hint"), tr("Content is empty"), QMessageBox::Yes);
        return;
    }
    const QString fileName = UiFileDialog::getSaveFileName(this, tr("Save file"), QString(), QStringLiteral("(*.txt)"));
    if (!fileName.isEmpty())
        exportFile(fileName);
}
