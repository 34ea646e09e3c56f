#include "frameslimiter.h"

#include "taskrow.h"

#include <QTableWidget>

FramesLimiter::FramesLimiter(QTableWidget *table)
    : QObject(table)
{
    connect(table, &QTableWidget::itemChanged, this, &FramesLimiter::onItemChanged);
}

void FramesLimiter::onItemChanged(QTableWidgetItem *item)
{
    if (!item || item->column() != TaskRow::Frames)
        return;
    bool ok = false;
    const qlonglong frames = item->text().toLongLong(&ok);
    if (ok && frames > TaskRow::MaxFrames)
        item->setText(QString::number(TaskRow::MaxFrames));
}
