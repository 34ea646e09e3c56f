// Widths of the cells of the DBC views. GUI thread.
#pragma once

#include <QString>

class QAbstractItemView;

namespace DBCCellWidth {

// Pixels a cell of view needs to show text whole in the view's font, after
// an icon when icon is set: the size the view's style asks for an item.
int of(const QAbstractItemView *view, const QString &text, bool icon = false);

} // namespace DBCCellWidth
