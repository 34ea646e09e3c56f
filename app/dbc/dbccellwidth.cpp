#include "dbccellwidth.h"

#include <QAbstractItemView>
#include <QStyle>
#include <QStyleOptionViewItem>

int DBCCellWidth::of(const QAbstractItemView *view, const QString &text, bool icon)
{
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.font = view->font();
    option.text = text;
    option.features = QStyleOptionViewItem::HasDisplay;
    if (icon) {
        const int side = view->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, view);
        option.features |= QStyleOptionViewItem::HasDecoration;
        option.decorationSize = view->iconSize().isValid() ? view->iconSize() : QSize(side, side);
    }
    return view->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), view).width();
}
