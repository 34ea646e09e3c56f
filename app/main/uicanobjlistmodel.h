// The frame list's model: one row per frame of a channel's display ring
// (or per identifier of its watch list in watch mode). Only the rows the
// view shows are formatted: refreshRows() re-reads a window of rows at each
// refresh tick, and a row asked for outside that window is read on demand.
// GUI thread only; the buffer is read through its own locked getters.
#pragma once

#include "canobjstr.h"

#include <QAbstractTableModel>
#include <QBitArray>
#include <QMap>
#include <QStringList>
#include <QVector>

#include <array>

class UiCanObjListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        IndexColumn,
        DirectionColumn,
        TimeColumn,
        AliasColumn,
        IdColumn,
        FormatColumn,  // "Data Frame" or "Remote"
        TypeColumn,    // "Standard" or "Extend"
        LengthColumn,
        DataColumn,
        ColumnCount
    };
    enum Role {
        ByteTextsRole = Qt::UserRole + 1,  // QStringList: watch mode data bytes, converted
        ChangedBytesRole,                  // QBitArray(8): watch mode changed-byte mask
    };
    // UlGlobalSet's per-channel time display values.
    enum TimeDisplay { DeviceTime = 0, ClockTime = 2, HexTime = 3 };
    enum DataDisplay { Decimal = 0, Hexadecimal = 1, Latin1 = 2, Binary = 3 };

    UiCanObjListModel(int channel, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    int channel() const { return channelIndex; }
    bool watchMode() const { return watch; }

    // Follows the buffer: watch mode switched, frames added or removed.
    // Returns true when the number of rows changed.
    bool syncRowCount();
    // Re-reads rows first..last (clamped) and reports them changed.
    void refreshRows(int first, int last);
    // Drops every row (after the buffer was emptied).
    void clear();
    // Texts of the catalogue in force (language change, ID format change).
    void retranslate();

    // The widest texts a column's cells show in the catalogue in force.
    QStringList widestTexts(int column) const;

    // The record a row shows: from the last refresh when the row was shown,
    // else read now. Empty strings for a row outside the list.
    CanObjStr frame(int row) const;
    // Right-aligned identifier of a record.
    static quint32 frameId(const CanObjStr &frame, bool *ok = nullptr);

    // Identifier as the ID column shows it in format idFormat (1: left-aligned
    // as the controller's registers hold it).
    static quint32 displayedId(quint32 id, bool standard, int idFormat);
    // Device stamp "0x..." in 0.1 ms as hours:minutes:seconds.ms.us.
    static QString formatDeviceTime(const QString &stamp);
    // "%02X" byte texts converted for the data display; hexadecimal unchanged.
    static QStringList convertBytes(const QStringList &hexBytes, int display);

private:
    struct Row {
        CanObjStr frame;
        QBitArray changed;
        std::array<QString, ColumnCount> cells;
        QStringList bytes;  // watch mode data cell
    };
    struct Display {
        int time;
        int data;
        int idFormat;
        QMap<quint32, QString> names;  // snapshot of the ID-to-name map
    };
    struct Texts {
        QString rx, tx, dataFrame, remote, standard, extend;
    };

    static Display currentDisplay(int channel);
    int bufferCount() const;
    void fill(int first, int last) const;
    Row makeRow(const CanObjStr &frame, const QBitArray &changed, const Display &display) const;
    QString translated(const QString &coreText) const;

    int channelIndex;
    int rows = 0;
    bool watch = false;
    bool decimalHeader = false;
    Texts texts;
    mutable int cacheFirst = 0;
    mutable QVector<Row> cache;
};
