#include "uicanobjlistmodel.h"

#include "ulbuffer.h"
#include "ulglobalset.h"
#include "ulnamemapping.h"

#include <QCoreApplication>

namespace {

const char *const kContext = "UiCanObjListWidget";

const char *const kHeaders[UiCanObjListModel::ColumnCount] = {
        QT_TRANSLATE_NOOP("UiCanObjListWidget", "Index"),  QT_TRANSLATE_NOOP("UiCanObjListWidget", "Direction"),
        QT_TRANSLATE_NOOP("UiCanObjListWidget", "Time"),   QT_TRANSLATE_NOOP("UiCanObjListWidget", "Alias"),
        QT_TRANSLATE_NOOP("UiCanObjListWidget", "Id"),     QT_TRANSLATE_NOOP("UiCanObjListWidget", "Format"),
        QT_TRANSLATE_NOOP("UiCanObjListWidget", "Type"),   QT_TRANSLATE_NOOP("UiCanObjListWidget", "Length"),
        QT_TRANSLATE_NOOP("UiCanObjListWidget", "Data"),
};

constexpr int kCacheSpan = 64;  // rows read at once when the view asks outside the window

QString fromCatalogue(const char *text)
{
    return QCoreApplication::translate(kContext, text);
}

QString padded(qint64 value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

} // namespace

UiCanObjListModel::Display UiCanObjListModel::currentDisplay(int channel)
{
    const UlGlobalSet &set = UlGlobalSet::instance();
    const channelStatus &row = set.channel[channel];
    return {row.timeDisplay.load(), row.dataDisplay.load(), set.IDFORMAT.load(),
            UlNameMapping::getSingleton()->getNameList()};
}

UiCanObjListModel::UiCanObjListModel(int channel, QObject *parent)
    : QAbstractTableModel(parent), channelIndex(channel >= 0 && channel < UlBuffer::Channels ? channel : 0)
{
    retranslate();
}

int UiCanObjListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows;
}

int UiCanObjListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

int UiCanObjListModel::bufferCount() const
{
    const UlBuffer &buffer = UlBuffer::instance(channelIndex);
    return watch ? buffer.countW() : buffer.count();
}

bool UiCanObjListModel::syncRowCount()
{
    const bool watchNow = UlGlobalSet::instance().isWatch();
    const bool decimalNow = watchNow && UlGlobalSet::instance().channel[channelIndex].dataDisplay == Decimal;
    if (decimalNow != decimalHeader) {
        decimalHeader = decimalNow;
        Q_EMIT headerDataChanged(Qt::Horizontal, DataColumn, DataColumn);
    }
    if (watchNow != watch) {
        beginResetModel();
        watch = watchNow;
        rows = 0;
        cache.clear();
        endResetModel();
    }
    const int n = bufferCount();
    if (n == rows)
        return false;
    if (n > rows) {
        beginInsertRows(QModelIndex(), rows, n - 1);
        rows = n;
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), n, rows - 1);
        rows = n;
        cache.clear();
        endRemoveRows();
    }
    return true;
}

void UiCanObjListModel::refreshRows(int first, int last)
{
    first = qMax(first, 0);
    last = qMin(last, rows - 1);
    if (first > last)
        return;
    fill(first, last);
    Q_EMIT dataChanged(index(first, 0), index(last, ColumnCount - 1), {Qt::DisplayRole});
}

void UiCanObjListModel::clear()
{
    beginResetModel();
    rows = 0;
    cache.clear();
    endResetModel();
}

void UiCanObjListModel::retranslate()
{
    texts.rx = fromCatalogue(QT_TRANSLATE_NOOP("UiCanObjListWidget", "Rx"));
    texts.tx = fromCatalogue(QT_TRANSLATE_NOOP("UiCanObjListWidget", "Tx"));
    texts.dataFrame = fromCatalogue(QT_TRANSLATE_NOOP("UiCanObjListWidget", "Data Frame"));
    texts.remote = fromCatalogue(QT_TRANSLATE_NOOP("UiCanObjListWidget", "Remote"));
    texts.standard = fromCatalogue(QT_TRANSLATE_NOOP("UiCanObjListWidget", "Standard"));
    texts.extend = fromCatalogue(QT_TRANSLATE_NOOP("UiCanObjListWidget", "Extend"));
    cache.clear();
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (rows > 0)
        Q_EMIT dataChanged(index(0, 0), index(rows - 1, ColumnCount - 1));
}

QString UiCanObjListModel::translated(const QString &coreText) const
{
    if (coreText == QLatin1String("Rx"))
        return texts.rx;
    if (coreText == QLatin1String("Tx"))
        return texts.tx;
    if (coreText == QLatin1String("Data Frame"))
        return texts.dataFrame;
    if (coreText == QLatin1String("Remote"))
        return texts.remote;
    if (coreText == QLatin1String("Standard"))
        return texts.standard;
    if (coreText == QLatin1String("Extend"))
        return texts.extend;
    return coreText;
}

QVariant UiCanObjListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role != Qt::DisplayRole)
        return QVariant();
    if (section == IdColumn) {
        if (UlGlobalSet::instance().IDFORMAT != 0)
            return fromCatalogue(QT_TRANSLATE_NOOP("UiCanObjListWidget", "Id(Align Left)"));
        return fromCatalogue(QT_TRANSLATE_NOOP("UiCanObjListWidget", "Id(Align Right)"));
    }
    if (section == DataColumn && decimalHeader)
        return fromCatalogue(QT_TRANSLATE_NOOP("UiCanObjListWidget", "Data(DEC)"));
    return fromCatalogue(kHeaders[section]);
}

QVariant UiCanObjListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows)
        return QVariant();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case ByteTextsRole:
    case ChangedBytesRole: {
        const int row = index.row();
        if (row < cacheFirst || row >= cacheFirst + cache.size())
            fill(row, qMin(row + kCacheSpan, rows) - 1);
        const Row &r = cache.at(row - cacheFirst);
        if (role == Qt::DisplayRole)
            return r.cells[std::size_t(column)];
        if (column != DataColumn || !watch)
            return QVariant();
        return role == ByteTextsRole ? QVariant(r.bytes) : QVariant(r.changed);
    }
    case Qt::TextAlignmentRole:
        return column == DataColumn ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    default:
        return QVariant();
    }
}

QStringList UiCanObjListModel::widestTexts(int column) const
{
    switch (column) {
    case IndexColumn:
        return {QStringLiteral("000000")};
    case DirectionColumn:
        return {texts.rx, texts.tx};
    case TimeColumn:
        return {QStringLiteral("00:00:00.000.000")};
    case IdColumn:
        return {QStringLiteral("0x00000000")};
    case FormatColumn:
        return {texts.dataFrame, texts.remote};
    case TypeColumn:
        return {texts.standard, texts.extend};
    case DataColumn:
        return {QStringLiteral("00 00 00 00 00 00 00 00")};
    default:
        return {};
    }
}

CanObjStr UiCanObjListModel::frame(int row) const
{
    if (row < 0 || row >= rows)
        return CanObjStr();
    if (row >= cacheFirst && row < cacheFirst + cache.size())
        return cache.at(row - cacheFirst).frame;
    const UlBuffer &buffer = UlBuffer::instance(channelIndex);
    return watch ? buffer.getWatchFrame(row).str : buffer.getFrame(row);
}

void UiCanObjListModel::fill(int first, int last) const
{
    const UlBuffer &buffer = UlBuffer::instance(channelIndex);
    const Display display = currentDisplay(channelIndex);
    cache.resize(last - first + 1);
    cacheFirst = first;
    for (int row = first; row <= last; ++row) {
        Row &r = cache[row - first];
        if (watch) {
            UlCanObjWatchStr w = buffer.getWatchFrame(row);
            r = makeRow(w.str, w.mask, display);
        } else {
            r = makeRow(buffer.getFrame(row), QBitArray(), display);
        }
    }
}

UiCanObjListModel::Row UiCanObjListModel::makeRow(const CanObjStr &frame, const QBitArray &changed,
                                                  const Display &display) const
{
    Row r;
    r.frame = frame;
    r.changed = changed;
    // A row that left the buffer since the count was read stays blank.
    if (frame.index.isEmpty() || frame.index == QLatin1String("-1"))
        return r;
    auto &cells = r.cells;
    cells[IndexColumn] = frame.index;
    cells[DirectionColumn] = translated(frame.direction);
    switch (display.time) {
    case DeviceTime:
        cells[TimeColumn] = formatDeviceTime(frame.deviceTime);
        break;
    case ClockTime:
        cells[TimeColumn] = frame.time;
        break;
    case HexTime:
        cells[TimeColumn] = frame.deviceTime;
        break;
    default:
        break;
    }
    const bool standard = frame.frameFormat == QLatin1String("Standard");
    const quint32 id = frameId(frame);
    cells[AliasColumn] = display.names.value(id);
    cells[IdColumn] = QString::asprintf("0x%08X", displayedId(id, standard, display.idFormat));
    cells[FormatColumn] = translated(frame.frameType);
    cells[TypeColumn] = translated(frame.frameFormat);
    cells[LengthColumn] = frame.dataLen;
    if (frame.frameType == QLatin1String("Remote")) {
        // A received remote frame carries no data, whatever its length says.
        if (frame.direction != QLatin1String("Tx")) {
            cells[LengthColumn] = QStringLiteral("0");
        } else {
            cells[DataColumn] = frame.data;
        }
        return r;
    }
    const QStringList bytes = frame.data.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (watch) {
        r.bytes = convertBytes(bytes, display.data);
        return r;
    }
    if (display.data == Hexadecimal) {
        cells[DataColumn] = frame.data;
    } else if (display.data >= Decimal && display.data <= Binary) {
        QString text;
        for (const QString &byte : convertBytes(bytes, display.data)) {
            text += byte;
            text += QLatin1Char(' ');
        }
        cells[DataColumn] = text;
    }
    return r;
}

quint32 UiCanObjListModel::frameId(const CanObjStr &frame, bool *ok)
{
    return frame.id.trimmed().toUInt(ok, 16);
}

quint32 UiCanObjListModel::displayedId(quint32 id, bool standard, int idFormat)
{
    if (idFormat != 1)
        return id;
    return standard ? id << 5 : id << 3;
}

QString UiCanObjListModel::formatDeviceTime(const QString &stamp)
{
    bool ok = false;
    const quint64 ticks = stamp.trimmed().toULongLong(&ok, 16);
    quint64 us = ok ? ticks * 100 : 0;
    const quint64 hours = us / 3600000000ull;
    us %= 3600000000ull;
    const quint64 minutes = us / 60000000ull;
    us %= 60000000ull;
    const quint64 seconds = us / 1000000ull;
    us %= 1000000ull;
    const quint64 milliseconds = us / 1000ull;
    us %= 1000ull;
    return padded(qint64(hours), 2) + QLatin1Char(':') + padded(qint64(minutes), 2) + QLatin1Char(':')
           + padded(qint64(seconds), 2) + QLatin1Char('.') + padded(qint64(milliseconds), 3) + QLatin1Char('.')
           + padded(qint64(us), 3);
}

QStringList UiCanObjListModel::convertBytes(const QStringList &hexBytes, int display)
{
    if (display == Hexadecimal)
        return hexBytes;
    QStringList out;
    out.reserve(hexBytes.size());
    for (const QString &byte : hexBytes) {
        const uint value = byte.toUInt(nullptr, 16) & 0xFF;
        switch (display) {
        case Decimal:
            out << QString::number(value);
            break;
        case Latin1:
            out << QString(QChar::fromLatin1(char(value)));
            break;
        case Binary:
            out << QStringLiteral("%1").arg(value, 8, 2, QLatin1Char('0'));
            break;
        default:
            out << byte;
            break;
        }
    }
    return out;
}
