#include "dbcmsgidtablewidgetheader.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

DBCMsgIDTableWidgetHeader::DBCMsgIDTableWidgetHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
}

void DBCMsgIDTableWidgetHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (logicalIndex != 0)
        return;
    boxRect = QRect(rect.left() + 3, rect.top() + 5, 14, 14);
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = boxRect;
    option.state |= checked ? QStyle::State_On : QStyle::State_Off;
    style()->drawControl(QStyle::CE_CheckBox, &option, painter, this);
}

void DBCMsgIDTableWidgetHeader::mousePressEvent(QMouseEvent *event)
{
    if (isEnabled() && logicalIndexAt(event->pos()) == 0 && boxRect.contains(event->pos())) {
        checked = !checked;
        updateSection(0);
        Q_EMIT checkStausChange(checked);
        return;
    }
    QHeaderView::mousePressEvent(event);
}

void DBCMsgIDTableWidgetHeader::mouseMoveEvent(QMouseEvent *event)
{
    mousePosition = event->pos();
    if (boxRect.contains(mousePosition))
        updateSection(0);
    QHeaderView::mouseMoveEvent(event);
}
