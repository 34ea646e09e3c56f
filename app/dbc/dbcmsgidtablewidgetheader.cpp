#include "dbcmsgidtablewidgetheader.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

DBCMsgIDTableWidgetHeader::DBCMsgIDTableWidgetHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
}

void DBCMsgIDTableWidgetHeader::setCheckState(Qt::CheckState checkState)
{
    if (state == checkState)
        return;
    state = checkState;
    updateSection(0);
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
    option.state |= state == Qt::Checked ? QStyle::State_On
            : state == Qt::PartiallyChecked ? QStyle::State_NoChange
                                            : QStyle::State_Off;
    style()->drawControl(QStyle::CE_CheckBox, &option, painter, this);
}

void DBCMsgIDTableWidgetHeader::mousePressEvent(QMouseEvent *event)
{
    if (isEnabled() && logicalIndexAt(event->pos()) == 0 && boxRect.contains(event->pos())) {
        state = state == Qt::Checked ? Qt::Unchecked : Qt::Checked;
        updateSection(0);
        Q_EMIT checkStausChange(state == Qt::Checked);
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
