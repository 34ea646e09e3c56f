#include "uccanobjdatadelegate.h"

#include "uccolordataedit.h"
#include "uicanobjlistmodel.h"

#include <QBitArray>
#include <QPainter>

namespace {

constexpr int kTextMargin = 3;  // px on either side of a cell's text

} // namespace

void UcCanObjDataDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Normal
                                                                               : QPalette::Inactive;
    const bool selected = option.state & QStyle::State_Selected;
    // The view has drawn the row's own background (alternating colours).
    if (selected)
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));

    const QVariant bytes = index.data(UiCanObjListModel::ByteTextsRole);
    if (bytes.isValid()) {
        const QBitArray changed = index.data(UiCanObjListModel::ChangedBytesRole).toBitArray();
        // Unchanged bytes black, or in the highlight's text colour on a selected row.
        const QColor unchanged = selected ? option.palette.color(group, QPalette::HighlightedText) : QColor(0, 0, 0);
        QColor colors[UcColorDataEdit::Colors];
        for (int i = 0; i < UcColorDataEdit::Colors; ++i)
            colors[i] = i < changed.size() && changed.testBit(i) ? QColor(255, 0, 0) : unchanged;
        painter->save();
        painter->setClipRect(option.rect);
        painter->setFont(option.font);
        // The texts sit on the widget's baseline, centred in rows taller than it.
        const int top = option.rect.top() + qMax(0, (option.rect.height() - 20) / 2);
        UcColorDataEdit::paintTexts(*painter, QPoint(option.rect.left(), top), bytes.toStringList(), colors,
                                    UcColorDataEdit::Colors);
        painter->restore();
        return;
    }

    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return;
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    textPainter.draw(*painter, option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0),
                     index.data(Qt::TextAlignmentRole).toInt(), text);
}
