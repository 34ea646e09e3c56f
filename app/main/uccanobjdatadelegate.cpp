#include "uccanobjdatadelegate.h"

#include "uccolordataedit.h"
#include "uicanobjlistmodel.h"

#include <QBitArray>
#include <QPainter>

void UcCanObjDataDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QVariant bytes = index.data(UiCanObjListModel::ByteTextsRole);
    if (!bytes.isValid())
        return;
    const QStringList texts = bytes.toStringList();
    const QBitArray changed = index.data(UiCanObjListModel::ChangedBytesRole).toBitArray();
    QColor colors[UcColorDataEdit::Colors];
    for (int i = 0; i < UcColorDataEdit::Colors; ++i)
        colors[i] = i < changed.size() && changed.testBit(i) ? QColor(255, 0, 0) : QColor(0, 0, 0);
    painter->save();
    painter->setClipRect(option.rect);
    painter->setFont(option.font);
    // The texts sit on the widget's baseline, centred in rows taller than it.
    const int top = option.rect.top() + qMax(0, (option.rect.height() - 20) / 2);
    UcColorDataEdit::paintTexts(*painter, QPoint(option.rect.left(), top), texts, colors, UcColorDataEdit::Colors);
    painter->restore();
}
