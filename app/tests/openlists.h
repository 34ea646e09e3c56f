// The open lists of a window's combo boxes as they draw their items: each
// list is opened, painted into a recorder and closed again, twice (Qt may
// lay out a list it opens the first time wider than later), and every item
// must be drawn whole (not elided) inside the list each time.
#pragma once

#include "labelwidths.h"
#include "paintrecorder.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace OpenListsDetail {

// The text painted in the item's row, from left to right: one run per
// font, when a fallback font draws part of it.
inline QString textIn(const QVector<PaintedShape> &shapes, const QRect &row, qreal *right)
{
    QVector<PaintedShape> runs;
    *right = 0;
    for (const PaintedShape &shape : shapes) {
        const QRectF box = shape.bounds();
        if (shape.kind != PaintedShape::Text || !row.contains(box.center().toPoint()))
            continue;
        runs << shape;
        *right = std::max(*right, box.right());
    }
    std::sort(runs.begin(), runs.end(),
              [](const PaintedShape &a, const PaintedShape &b) { return a.bounds().left() < b.bounds().left(); });
    QString text;
    for (const PaintedShape &run : runs)
        text += run.text;
    return text;
}

} // namespace OpenListsDetail

// Every item of every visible combo box under window that the user can
// open, in its open list.
inline TextsShown openListsShown(const QWidget &window)
{
    TextsShown found;
    for (QComboBox *box : window.findChildren<QComboBox *>()) {
        if (!box->isVisible() || !box->isEnabled() || box->count() == 0)
            continue;
        QStringList cut;
        for (int opening = 1; opening <= 2; ++opening) {
            box->showPopup();
            QCoreApplication::processEvents();
            QAbstractItemView *view = box->view();
            QWidget *list = view->viewport();
            const QVector<PaintedShape> shapes = PaintRecorder::record(*list);
            for (int i = 0; i < box->count(); ++i) {
                const QString text = box->itemText(i);
                qreal right = 0;
                const QString drawn =
                        OpenListsDetail::textIn(shapes, view->visualRect(box->model()->index(i, 0)), &right);
                // A fraction of a pixel past the edge is antialiasing.
                if (drawn == text && std::floor(right) <= list->width())
                    continue;
                cut << QStringLiteral("%1 \"%2\" in its open list: drawn as \"%3\" up to %4 px of %5")
                               .arg(LabelWidthsDetail::place(*box), text, drawn)
                               .arg(std::ceil(right))
                               .arg(list->width());
            }
            box->hidePopup();
            QCoreApplication::processEvents();
        }
        cut.removeDuplicates();
        found.measured += box->count();
        found.cut << cut;
    }
    return found;
}
