#include "dbcmessagetree.h"

#include "dbc/message.h"
#include "dbccellwidth.h"
#include "dbcdatabase.h"
#include "dbcmessagekey.h"
#include "dbcrowtexts.h"
#include "dbcsignaltext.h"
#include "dbcwidget.h"
#include "j1939reassembler.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QTreeWidget>

#include <algorithm>

namespace {

const QColor kSignalColor(0, 128, 255);
const QColor kChangedColor(255, 0, 0);

QString hexByte(uint value)
{
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

// Each byte as two upper-case hexadecimal digits and a blank.
QString spacedBytes(const gsl::span<uint8_t> &data)
{
    QString text;
    text.reserve(int(data.size()) * 3);
    for (uint8_t byte : data)
        text += hexByte(byte) + QLatin1Char(' ');
    return text;
}

// Eight data bytes of the font's widest hexadecimal digit.
QString widestBytes(const QFont &font)
{
    const QFontMetricsF metrics(font);
    QChar widest = QLatin1Char('0');
    for (const QChar digit : QStringLiteral("123456789ABCDEF")) {
        if (metrics.horizontalAdvance(digit) > metrics.horizontalAdvance(widest))
            widest = digit;
    }
    return (QString(2, widest) + QLatin1Char(' ')).repeated(8);
}

void setSignalColor(QTreeWidgetItem *item)
{
    for (int column = DBCWidget::IdColumn; column <= DBCWidget::LengthColumn; ++column)
        item->setForeground(column, kSignalColor);
}

} // namespace

DBCMessageTree::DBCMessageTree(QTreeWidget *tree)
    : tree(tree),
      messageIcon(QStringLiteral(":/Resources/msg.png")),
      signalHeaderIcon(QStringLiteral(":/Resources/SignalHeader.png")),
      signalIcon(QStringLiteral(":/Resources/Signal.png"))
{
    retranslate();
    resizeWatch = QObject::connect(tree->header(), &QHeaderView::sectionResized, tree, [this](int column, int, int) {
        if (!settingWidths && (column == DBCWidget::IdColumn || column == DBCWidget::NameColumn))
            userSized[column - DBCWidget::IdColumn] = true;
    });
}

DBCMessageTree::~DBCMessageTree()
{
    QObject::disconnect(resizeWatch);
}

int DBCMessageTree::textWidth(int column) const
{
    using W = DBCWidget;
    int width = tree->header()->sectionSizeHint(column);
    // The signal header row shows its caption after an icon in the ID column.
    const int caption = column - W::IdColumn;
    if (caption >= 0 && caption < signalCaptions.size())
        width = std::max(width, DBCCellWidth::of(tree, signalCaptions.at(caption), column == W::IdColumn));
    const QStringList none;
    const QStringList &cells = column == W::TypeColumn ? typeTexts : column == W::FormatColumn ? formatTexts : none;
    for (const QString &text : cells)
        width = std::max(width, DBCCellWidth::of(tree, text));
    if (column == W::DataColumn)
        width = std::max(width, DBCCellWidth::of(tree, widestBytes(tree->font())));
    return width;
}

void DBCMessageTree::fitTexts()
{
    settingWidths = true;
    for (int column = DBCWidget::NumColumn; column < DBCWidget::CommentColumn; ++column) {
        const int needed = textWidth(column);
        if (tree->columnWidth(column) < needed)
            tree->setColumnWidth(column, needed);
    }
    settingWidths = false;
}

void DBCMessageTree::fitNameColumns(int maxWidth)
{
    if (!db)
        return;
    const auto widest = [this](const QStringList &texts, bool icon) {
        int width = 0;
        for (const QString &text : texts)
            width = std::max(width, DBCCellWidth::of(tree, text, icon));
        return width;
    };
    // Signal rows show an icon before the name; message rows the ID there.
    const int idWidth = std::max({widest(db->longestSignalNames(), true), DBCCellWidth::of(tree, QStringLiteral("0x00000000")),
                                  textWidth(DBCWidget::IdColumn)});
    const int nameWidth = std::max(widest(db->longestMessageNames(), false), textWidth(DBCWidget::NameColumn));
    settingWidths = true;
    if (!userSized[0])
        tree->setColumnWidth(DBCWidget::IdColumn, std::min(idWidth, std::max(maxWidth, 0)));
    if (!userSized[1])
        tree->setColumnWidth(DBCWidget::NameColumn, std::min(nameWidth, std::max(maxWidth, 0)));
    settingWidths = false;
}

void DBCMessageTree::setDatabase(const DBCDatabase *database)
{
    clear();
    db = database;
}

void DBCMessageTree::retranslate()
{
    formatTexts = QStringList{DBCRowTexts::frameFormat(false), DBCRowTexts::frameFormat(true)};
    typeTexts = QStringList{DBCRowTexts::frameType(false), DBCRowTexts::frameType(true)};
    signalCaptions = DBCRowTexts::signalCaptions();
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        setTranslatedTexts(tree->topLevelItem(i));
    fitTexts();
}

void DBCMessageTree::setTranslatedTexts(QTreeWidgetItem *row) const
{
    using W = DBCWidget;
    row->setText(W::TypeColumn, typeTexts.value(row->data(W::NumColumn, W::RemoteRole).toInt()));
    row->setText(W::FormatColumn, formatTexts.value(row->data(W::NumColumn, W::ExtendedRole).toInt()));
    if (QTreeWidgetItem *header = row->child(0)) {
        for (int i = 0; i < signalCaptions.size(); ++i)
            header->setText(W::IdColumn + i, signalCaptions.at(i));
    }
}

void DBCMessageTree::clear()
{
    tree->clear();
    rowOfKey.clear();
    firstValues.clear();
    rowCounter = 0;
}

void DBCMessageTree::append(const DBC::Message &message, uint time, uchar extended, uchar remote,
                            const gsl::span<uint8_t> &data)
{
    if (tree->topLevelItemCount() >= MaxScrollRows)
        removeFirstRow();
    makeRow(message, time, extended, remote, data);
    ++rowCounter;
}

QTreeWidgetItem *DBCMessageTree::makeRow(const DBC::Message &message, uint time, uchar extended, uchar remote,
                                         const gsl::span<uint8_t> &data)
{
    using W = DBCWidget;
    const quint32 key = DBCMessageKey::ofMessage(message.id);
    const quint32 id = DBCMessageKey::idOf(key);
    auto *row = new QTreeWidgetItem;
    row->setText(W::NumColumn, QLatin1Char(' ') + QString::number(rowCounter));
    row->setIcon(W::NumColumn, messageIcon);
    row->setData(W::NumColumn, W::RowKindRole, W::MessageRow);
    row->setData(W::NumColumn, W::KeyRole, key);
    row->setData(W::NumColumn, W::ExtendedRole, extended ? 1 : 0);
    row->setData(W::NumColumn, W::RemoteRole, remote ? 1 : 0);
    row->setText(W::IdColumn, DBCSignalText::id(id));
    row->setText(W::NameColumn, QString::fromStdString(message.name));
    row->setText(W::DirectionColumn, QStringLiteral(" "));
    row->setText(W::TimeColumn, QString::number(time));
    // J1939 addresses only exist in extended identifiers.
    if (j1939 && DBCMessageKey::isExtended(key)) {
        // PDU1 (PF below 240) carries the destination in PS, outside the PGN.
        const bool pdu1 = ((id >> 16) & 0xFF) < 240;
        row->setText(W::PgnColumn, QString::number(J1939Reassembler::pgnOf(id)));
        row->setText(W::SourceColumn, hexByte(id));
        row->setText(W::DestinationColumn, pdu1 ? hexByte(id >> 8) : QString());
    } else {
        row->setText(W::PgnColumn, QStringLiteral(" "));
        row->setText(W::SourceColumn, QStringLiteral(" "));
        row->setText(W::DestinationColumn, QStringLiteral(" "));
    }
    row->setText(W::LengthColumn, QString::number(message.size));
    // A remote frame has no data field: no bytes and no values.
    row->setText(W::DataColumn, remote ? QString() : spacedBytes(data));
    row->setText(W::CommentColumn, QString::fromStdString(message.comment));

    auto *header = new QTreeWidgetItem(row);
    header->setText(W::NumColumn, QStringLiteral(" "));
    header->setIcon(W::IdColumn, signalHeaderIcon);
    setSignalColor(header);
    setTranslatedTexts(row);

    const QVector<const DBC::Signal *> order = db->signalOrder.value(key);
    const QVector<DBCSignalValue> values = remote ? QVector<DBCSignalValue>(order.size()) : db->decode(key, data);
    QStringList first;
    for (int i = 0; i < order.size(); ++i) {
        const DBC::Signal &signal = *order.at(i);
        const DBCSignalValue &value = values.at(i);
        auto *item = new QTreeWidgetItem(row);
        item->setIcon(W::IdColumn, signalIcon);
        item->setText(W::IdColumn, QString::fromStdString(signal.name));
        item->setText(W::NameColumn, value.physical);
        item->setText(W::DirectionColumn, QString::fromStdString(signal.unit));
        item->setText(W::TimeColumn, value.raw);
        item->setText(W::PgnColumn, QString::number(DBCSignalText::startPosition(signal)));
        item->setText(W::SourceColumn, QString::number(signal.bitSize));
        item->setText(W::DestinationColumn, DBCSignalText::factor(signal.factor));
        item->setText(W::TypeColumn, DBCSignalText::offset(signal.offset));
        item->setText(W::FormatColumn, value.description);
        item->setText(W::LengthColumn, QString::fromStdString(signal.comment));
        setSignalColor(item);
        first << value.physical;
    }
    // The values a later change is told from are those of a data frame.
    if (!remote)
        firstValues.insert(key, first);
    tree->addTopLevelItem(row);
    if (!rowOfKey.contains(key))
        rowOfKey.insert(key, row);
    return row;
}

QTreeWidgetItem *DBCMessageTree::firstRow(quint32 key)
{
    if (QTreeWidgetItem *row = rowOfKey.value(key))
        return row;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = tree->topLevelItem(i);
        if (row->data(DBCWidget::NumColumn, DBCWidget::KeyRole).toUInt() == key) {
            rowOfKey.insert(key, row);
            return row;
        }
    }
    return nullptr;
}

void DBCMessageTree::removeFirstRow()
{
    QTreeWidgetItem *row = tree->takeTopLevelItem(0);
    if (!row)
        return;
    const quint32 key = row->data(DBCWidget::NumColumn, DBCWidget::KeyRole).toUInt();
    if (rowOfKey.value(key) == row)
        rowOfKey.remove(key);
    delete row;
}

void DBCMessageTree::refresh(const DBC::Message &message, uint time, uchar extended, uchar remote,
                             const gsl::span<uint8_t> &data, const QString &text)
{
    using W = DBCWidget;
    const quint32 key = DBCMessageKey::ofMessage(message.id);
    QTreeWidgetItem *row = firstRow(key);
    if (!row) {
        makeRow(message, time, extended, remote, data);
        return;
    }
    row->setText(W::TimeColumn, QString::number(time));
    if (remote)
        return;
    // The first data frame of a row that remote frames made gives it its
    // type, and the values later ones are compared with.
    const bool firstData = row->data(W::NumColumn, W::RemoteRole).toInt() != 0;
    if (firstData) {
        row->setData(W::NumColumn, W::RemoteRole, 0);
        setTranslatedTexts(row);
    }
    QString spaced;
    spaced.reserve(text.size() * 3 / 2 + 1);
    for (int i = 0; i < text.size(); i += 2)
        spaced += text.midRef(i, 2) + QLatin1Char(' ');
    row->setText(W::DataColumn, spaced);

    const QVector<DBCSignalValue> values = db->decode(key, data);
    if (firstData) {
        QStringList made;
        for (const DBCSignalValue &value : values)
            made << value.physical;
        firstValues.insert(key, made);
    }
    const QStringList first = firstValues.value(key);
    const int rows = qMin(row->childCount() - 1, values.size());
    for (int i = 0; i < rows; ++i) {
        QTreeWidgetItem *item = row->child(i + 1);
        const DBCSignalValue &value = values.at(i);
        item->setText(W::NameColumn, value.physical);
        item->setForeground(W::NameColumn, value.physical == first.value(i) ? kSignalColor : kChangedColor);
        item->setText(W::TimeColumn, value.raw);
        item->setText(W::FormatColumn, value.description);
    }
}

bool DBCMessageTree::hasMessageRows() const
{
    return tree->topLevelItemCount() > 0;
}

QVector<DBCCsvExport::Row> DBCMessageTree::exportRows() const
{
    QVector<DBCCsvExport::Row> rows;
    const auto texts = [](const QTreeWidgetItem *item) {
        QStringList out;
        for (int column = 0; column < DBCWidget::ColumnCount; ++column)
            out << item->text(column);
        return out;
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = tree->topLevelItem(i);
        rows << DBCCsvExport::Row{texts(row), false};
        for (int child = 0; child < row->childCount(); ++child)
            rows << DBCCsvExport::Row{texts(row->child(child)), true};
    }
    return rows;
}
