// Horizontal table header with a check box in section 0 that checks or
// clears every row at once: a press inside the box flips it and reports
// the new state. Changing single rows does not change the box.
#pragma once

#include <QHeaderView>

class DBCMsgIDTableWidgetHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit DBCMsgIDTableWidgetHeader(QWidget *parent = nullptr);

    bool isChecked() const { return checked; }
    // The box's square in section 0, known after the first paint.
    QRect checkBoxRect() const { return boxRect; }

Q_SIGNALS:
    void checkStausChange(bool checked);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    bool checked = true;
    QPoint mousePosition{100, 100};
    mutable QRect boxRect;
};
