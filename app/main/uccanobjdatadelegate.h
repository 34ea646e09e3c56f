// Paints the frame list's data cells of watched frames as byte texts in
// their own colours (changed bytes red), the way UcColorDataEdit draws
// them; other cells are painted as usual.
#pragma once

#include <QStyledItemDelegate>

class UcCanObjDataDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
