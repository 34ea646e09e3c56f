#include "comboboxdelegate.h"

#include "combopopupwidth.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPainter>

ComboBoxDelegate::ComboBoxDelegate(const QStringList &texts, QObject *parent)
    : QStyledItemDelegate(parent), choices(texts)
{
}

void ComboBoxDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionComboBox box;
    box.rect = option.rect;
    box.state = option.state | QStyle::State_Enabled;
    const int value = index.data(Qt::EditRole).toInt();
    if (value >= 0 && value < choices.size())
        box.currentText = choices.at(value);
    QStyle *style = QApplication::style();
    style->drawComplexControl(QStyle::CC_ComboBox, &box, painter);
    style->drawControl(QStyle::CE_ComboBoxLabel, &box, painter);
}

QWidget *ComboBoxDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *editor = new QComboBox(parent);
    editor->addItems(choices);
    ComboPopupWidth::install(editor);
    return editor;
}

void ComboBoxDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *box = qobject_cast<QComboBox *>(editor))
        box->setCurrentIndex(index.data(Qt::EditRole).toInt());
}

void ComboBoxDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (auto *box = qobject_cast<QComboBox *>(editor))
        model->setData(index, box->currentIndex(), Qt::EditRole);
}

bool ComboBoxDelegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                   const QModelIndex &index)
{
    if (event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (auto *view = qobject_cast<QAbstractItemView *>(const_cast<QWidget *>(option.widget)))
            view->closePersistentEditor(index);
        return true;
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}
