// The rows of the frame-parsing window's tree: one message row per shown
// frame with a signal header row and one row per signal below it. In
// classified display a message keeps one row whose values are refreshed
// (values that changed since the row was made turn red); scroll display
// appends a numbered row per frame and keeps the newest MaxScrollRows.
// A remote frame has no data field: its rows show no bytes and no values,
// and in classified display it refreshes only the time of a row.
// GUI thread only; texts from DBCRowTexts.
#pragma once

#include "dbccsvexport.h"

#include <gsl/span>

#include <QHash>
#include <QIcon>
#include <QStringList>

#include <cstdint>

class DBCDatabase;
class QTreeWidget;
class QTreeWidgetItem;

namespace DBC {
struct Message;
}

class DBCMessageTree
{
public:
    static constexpr int MaxScrollRows = 256;

    explicit DBCMessageTree(QTreeWidget *tree);
    ~DBCMessageTree();
    DBCMessageTree(const DBCMessageTree &) = delete;
    DBCMessageTree &operator=(const DBCMessageTree &) = delete;

    // The file whose messages the rows show (may be null); empties the tree.
    void setDatabase(const DBCDatabase *db);
    // Frame type and format texts and signal captions, of the rows shown
    // and of new ones; then fitTexts().
    void retranslate();
    // PGN and address columns for J1939 databases.
    void setJ1939(bool on) { j1939 = on; }

    // Classified display: refreshes the message's first row, or makes it.
    // The first data frame of a row made by a remote frame fills its values
    // and type.
    void refresh(const DBC::Message &message, uint time, uchar extended, uchar remote,
                 const gsl::span<uint8_t> &data, const QString &text);
    // Scroll display: one more row, numbered.
    void append(const DBC::Message &message, uint time, uchar extended, uchar remote,
                const gsl::span<uint8_t> &data);
    // Empties the tree; numbering starts at 0 again.
    void clear();
    // Widens every column but the last (which stretches) that is narrower
    // than its header text or than the texts of its cells: frame type and
    // format, signal captions (translated), eight data bytes. Never narrows
    // one.
    void fitTexts();
    // Sets the columns that hold names to the loaded file's longest names
    // (message names in "Name", signal names in the column before it),
    // each at most maxWidth pixels and at least what fitTexts() needs; a
    // column the user resized keeps its width.
    void fitNameColumns(int maxWidth);

    bool hasMessageRows() const;
    // Every row in tree order, a message row before its children.
    QVector<DBCCsvExport::Row> exportRows() const;

private:
    QTreeWidgetItem *makeRow(const DBC::Message &message, uint time, uchar extended, uchar remote,
                             const gsl::span<uint8_t> &data);
    QTreeWidgetItem *firstRow(quint32 key);
    void setTranslatedTexts(QTreeWidgetItem *row) const;
    // The width the column's header and the cell texts fitTexts() names need.
    int textWidth(int column) const;
    void removeFirstRow();

    QTreeWidget *tree;
    const DBCDatabase *db = nullptr;
    bool j1939 = false;
    int rowCounter = 0;
    QStringList typeTexts;
    QStringList formatTexts;
    QStringList signalCaptions;
    QHash<quint32, QStringList> firstValues;     // physical texts when the row was made
    QHash<quint32, QTreeWidgetItem *> rowOfKey;  // first message row of each key
    bool settingWidths = false;
    bool userSized[2] = {false, false};  // the ID and Name columns
    QMetaObject::Connection resizeWatch;
    const QIcon messageIcon;
    const QIcon signalHeaderIcon;
    const QIcon signalIcon;
};
