#include "ulwatchlist.h"

UlWatchList::UlWatchList(int limit)
    : rows(std::size_t(qMax(limit, 0)))
{
}

void UlWatchList::setLimit(int limit)
{
    rows.setLimit(std::size_t(qMax(limit, 0)));
}

void UlWatchList::add(const UlCanObj &frame)
{
    const auto found = seqById.find(frame.obj.ID);
    if (found != seqById.end()) {
        Row &r = rows.at(std::size_t(found->second - firstSeq));
        // All eight bytes, whatever DataLen; a mark stays until the list is cleared.
        for (int i = 0; i < 8; ++i) {
            if (r.frame.obj.Data[i] != frame.obj.Data[i])
                r.mask |= quint8(1u << i);
        }
        r.frame = frame;
        return;
    }
    const quint64 seq = firstSeq + rows.size();
    Row dropped;
    const bool full = rows.push(Row{frame, 0}, &dropped);
    seqById.emplace(frame.obj.ID, seq);
    if (full) {
        seqById.erase(dropped.frame.obj.ID);
        ++firstSeq;
    }
}

bool UlWatchList::row(int index, UlCanObj &frame, quint8 &mask) const
{
    if (index < 0 || std::size_t(index) >= rows.size())
        return false;
    const Row &r = rows.at(std::size_t(index));
    frame = r.frame;
    mask = r.mask;
    return true;
}

void UlWatchList::clear()
{
    rows.clear();
    seqById.clear();
    firstSeq = 0;
}
