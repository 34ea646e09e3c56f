// Paints the frame list's cells: plain single-line text, and the data
// cells of watched frames as byte texts in their own colours (changed
// bytes red), the way UcColorDataEdit draws them.
#pragma once

#include "uccelltextpainter.h"

#include <QStyledItemDelegate>

class UcCanObjDataDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    mutable UcCellTextPainter textPainter;
};
