// The latest frame of each identifier, one row per identifier in order of
// first appearance, with a mask of the data bytes that have changed since
// the row was created. Rows are found through an index by identifier; past
// the limit the first row is dropped. Not thread-safe: the owner locks.
#pragma once

#include "ulcanobj.h"
#include "ulring.h"

#include <QtGlobal>

#include <unordered_map>

class UlWatchList
{
public:
    explicit UlWatchList(int limit);

    // As UlRing::setLimit: a lower limit drops nothing now.
    void setLimit(int limit);
    // Only the numeric ID selects the row: a standard and an extended frame
    // with the same number share one.
    void add(const UlCanObj &frame);
    int size() const { return int(rows.size()); }
    // Row index (0 = first identifier seen): its frame and its mask (bit i:
    // data byte i changed). False outside 0..size()-1.
    bool row(int index, UlCanObj &frame, quint8 &mask) const;
    void clear();

private:
    struct Row {
        UlCanObj frame;
        quint8 mask = 0;
    };

    UlRing<Row> rows;
    // ID -> sequence number of its row; row i has number firstSeq + i.
    std::unordered_map<quint32, quint64> seqById;
    quint64 firstSeq = 0;
};
