#include "combopopupwidth.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionMenuItem>

#include <algorithm>

ComboPopupWidth::ComboPopupWidth(QComboBox *box) : QObject(box), box(box)
{
    setObjectName(QStringLiteral("comboPopupWidth"));
    const QAbstractItemModel *model = box->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &ComboPopupWidth::fit);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ComboPopupWidth::fit);
    connect(model, &QAbstractItemModel::dataChanged, this, &ComboPopupWidth::fit);
    connect(model, &QAbstractItemModel::modelReset, this, &ComboPopupWidth::fit);
    connect(model, &QAbstractItemModel::layoutChanged, this, &ComboPopupWidth::fit);
    box->installEventFilter(this);
    fit();
}

void ComboPopupWidth::install(QComboBox *box)
{
    if (box && !box->findChild<ComboPopupWidth *>(QString(), Qt::FindDirectChildrenOnly))
        new ComboPopupWidth(box);
}

void ComboPopupWidth::installAll(QWidget *parent)
{
    if (!parent)
        return;
    for (QComboBox *box : parent->findChildren<QComboBox *>())
        install(box);
}

int ComboPopupWidth::neededWidth(const QComboBox *box)
{
    QAbstractItemView *view = box->view();
    QStyle *style = box->style();
    QStyleOptionComboBox comboOption;
    comboOption.initFrom(box);
    comboOption.editable = box->isEditable();
    int widest = 0;
    if (style->styleHint(QStyle::SH_ComboBox_Popup, &comboOption, box)) {
        // The list draws each item as a menu item in the box's font, with
        // its ampersands doubled so that none underlines a letter; the text
        // is elided by its width with them doubled.
        const QFontMetrics metrics(box->font());
        for (int i = 0; i < box->count(); ++i) {
            QStyleOptionMenuItem item;
            item.initFrom(box);
            item.menuItemType = QStyleOptionMenuItem::Normal;
            item.checkType = QStyleOptionMenuItem::NonExclusive;
            item.text = box->itemText(i).replace(QLatin1Char('&'), QLatin1String("&&"));
            item.icon = box->itemIcon(i);
            item.maxIconWidth = box->iconSize().width() + 4;
            item.font = box->font();
            item.fontMetrics = metrics;
            int contents = metrics.horizontalAdvance(item.text);
            if (!item.icon.isNull())
                contents += item.maxIconWidth;
            const QSize size = style->sizeFromContents(QStyle::CT_MenuItem, &item,
                                                       QSize(contents, metrics.height()), box);
            widest = std::max(widest, size.width());
        }
    } else {
        // An item view list: its delegate measures the texts.
        widest = std::max(0, view->sizeHintForColumn(0));
    }
    int width = widest + 2 * view->frameWidth();
    if (box->count() > box->maxVisibleItems() && view->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        width += view->verticalScrollBar()->sizeHint().width();
    return width;
}

bool ComboPopupWidth::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == box && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
        fit();
    return QObject::eventFilter(watched, event);
}

void ComboPopupWidth::fit()
{
    // The list's container takes the view's minimum when the list opens.
    box->view()->setMinimumWidth(neededWidth(box));
}
