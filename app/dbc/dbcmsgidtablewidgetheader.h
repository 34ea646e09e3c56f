// Horizontal table header with a check box in section 0 that checks or
// clears every row at once. The box shows the rows' state as the table
// reports it (checked, cleared or partly checked); a press inside the box
// moves it to the next state, checked after cleared or partly checked,
// cleared after checked, and reports that state for every row.
#pragma once

#include <QHeaderView>

class DBCMsgIDTableWidgetHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit DBCMsgIDTableWidgetHeader(QWidget *parent = nullptr);

    bool isChecked() const { return state == Qt::Checked; }
    Qt::CheckState checkState() const { return state; }
    // The state of the rows; repaints the box, reports nothing.
    void setCheckState(Qt::CheckState checkState);
    // The box's square in section 0, known after the first paint.
    QRect checkBoxRect() const { return boxRect; }

Q_SIGNALS:
    void checkStausChange(bool checked);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    Qt::CheckState state = Qt::Checked;
    QPoint mousePosition{100, 100};
    mutable QRect boxRect;
};
