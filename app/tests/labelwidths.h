// The fixed width shared by a run of a form's labels, named "label",
// "label_2", "label_3" and so on as the designer numbers them, and the
// width their texts need; and the texts a window cuts: every label,
// combo box item, empty line edit's hint, header section and read-only
// field shown under it, measured against the room its widget gives the
// text; and a header's sections and a tree's cells against their widths.
#pragma once

#include "fieldtext.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QTreeWidget>
#include <QtMath>

#include <algorithm>

// The width of labels first to last; -1 when their widths differ or one of
// them is not fixed.
inline int fixedLabelWidth(const QWidget &form, int first, int last)
{
    QSet<int> widths;
    for (int n = first; n <= last; ++n) {
        const auto *label =
                form.findChild<QLabel *>(n == 1 ? QStringLiteral("label") : QStringLiteral("label_%1").arg(n));
        if (!label)
            return -1;
        widths << (label->minimumWidth() == label->maximumWidth() ? label->maximumWidth() : -1);
    }
    return widths.size() == 1 ? *widths.begin() : -1;
}

// The width labels first to last (without frame or margin) need: least
// pixels, or the widest of their texts where that is more.
inline int neededLabelWidth(const QWidget &form, int first, int last, int least)
{
    int width = least;
    for (int n = first; n <= last; ++n) {
        const auto *label =
                form.findChild<QLabel *>(n == 1 ? QStringLiteral("label") : QStringLiteral("label_%1").arg(n));
        width = std::max(width, label ? label->fontMetrics().horizontalAdvance(label->text()) : -1);
    }
    return width;
}

// What a walk over a window's visible widgets found: how many texts it
// measured, and one line for each that does not show whole.
struct TextsShown {
    int measured = 0;
    QStringList cut;
};

// Whether a widget hidden in part by its window's edge cuts its text, or
// lies in a part of the window that scrolls to it.
enum class Clipping { Cuts, Scrolls };

namespace LabelWidthsDetail {

inline QString place(const QWidget &widget)
{
    const QWidget *page = widget.parentWidget();
    while (page && page->parentWidget() && !page->parentWidget()->inherits("QStackedWidget"))
        page = page->parentWidget();
    return QStringLiteral("%1/%2").arg(page ? page->metaObject()->className() : "", widget.objectName());
}

// Nothing of the widget hidden by its parents or by the window's edge.
inline bool unclipped(const QWidget &widget)
{
    return widget.visibleRegion().boundingRect() == widget.rect();
}

// shown is where the text is drawn (a header's viewport), widget names it.
inline void measure(TextsShown &found, const QWidget &widget, const QString &text, int needs, int has,
                    const QWidget *shown = nullptr, Clipping clipping = Clipping::Cuts)
{
    ++found.measured;
    const bool whole = clipping == Clipping::Scrolls || unclipped(shown ? *shown : widget);
    if (needs > has || !whole)
        found.cut << QStringLiteral("%1 \"%2\": needs %3 px, has %4%5")
                             .arg(place(widget), text)
                             .arg(needs)
                             .arg(has)
                             .arg(whole ? QString() : QStringLiteral(", clipped by its window"));
}

inline void measureLabels(TextsShown &found, const QWidget &window, Clipping clipping)
{
    for (const QLabel *label : window.findChildren<QLabel *>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        const int has = label->contentsRect().width() - 2 * label->margin();
        measure(found, *label, label->text(), label->fontMetrics().horizontalAdvance(label->text()), has, nullptr,
                clipping);
    }
}

// Every item, as any of them may be the current one: the style draws it 1
// pixel inside the edit field and clips it there.
inline void measureChoices(TextsShown &found, const QWidget &window, Clipping clipping)
{
    for (const QComboBox *box : window.findChildren<QComboBox *>()) {
        if (!box->isVisible())
            continue;
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.editable = box->isEditable();
        option.frame = box->hasFrame();
        option.iconSize = box->iconSize();
        const QRect field =
                box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
        for (int i = 0; i < box->count(); ++i) {
            const QString text = box->itemText(i);
            measure(found, *box, text, box->fontMetrics().horizontalAdvance(text), field.width() - 1, nullptr,
                    clipping);
        }
    }
}

// The hint of an empty line edit, which it draws 2 pixels inside its
// contents and elides there.
inline void measureHints(TextsShown &found, const QWidget &window, Clipping clipping)
{
    for (const QLineEdit *edit : window.findChildren<QLineEdit *>()) {
        if (!edit->isVisible() || !edit->text().isEmpty() || edit->placeholderText().isEmpty())
            continue;
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.rect = edit->contentsRect();
        option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
        const QRect contents = edit->style()
                                       ->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                                       .marginsRemoved(edit->textMargins());
        const QFontMetrics metrics = edit->fontMetrics();
        const int has = contents.width() - 2 * 2 - std::max(0, -metrics.minLeftBearing());
        measure(found, *edit, edit->placeholderText(), metrics.horizontalAdvance(edit->placeholderText()), has,
                nullptr, clipping);
    }
}

} // namespace LabelWidthsDetail

// Every visible label with a text, every item of every visible combo box
// and the hint of every visible empty line edit.
inline TextsShown labelsAndChoicesShown(const QWidget &window, Clipping clipping = Clipping::Cuts)
{
    TextsShown found;
    LabelWidthsDetail::measureLabels(found, window, clipping);
    LabelWidthsDetail::measureChoices(found, window, clipping);
    LabelWidthsDetail::measureHints(found, window, clipping);
    return found;
}

// As labelsAndChoicesShown, and every section of a visible horizontal
// header (in the bold face a header keeps room for), every tab of a
// visible tab bar and every visible read-only line edit, which must not be
// empty. A field that cuts a line of ';'-joined parts must show the first
// part from its start.
inline TextsShown textsShown(const QWidget &window)
{
    using namespace LabelWidthsDetail;
    TextsShown found = labelsAndChoicesShown(window);
    for (const QHeaderView *header : window.findChildren<QHeaderView *>()) {
        if (!header->isVisible() || header->orientation() != Qt::Horizontal)
            continue;
        QFont bold = header->font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int i = 0; i < header->count(); ++i) {
            const QString text = header->model()->headerData(i, Qt::Horizontal).toString();
            const int shown = header->viewport()->width() - header->sectionViewportPosition(i);
            measure(found, *header, text, metrics.horizontalAdvance(text) + 2 * margin,
                    std::min(header->sectionSize(i), shown), header->viewport());
        }
    }
    // Tabs neither scrolled nor elided.
    for (const QTabBar *tabs : window.findChildren<QTabBar *>()) {
        if (!tabs->isVisible())
            continue;
        for (int i = 0; i < tabs->count(); ++i) {
            const QRect tab = tabs->tabRect(i);
            const bool inside = tabs->rect().contains(tab) && tabs->visibleRegion().contains(tab);
            const int space = tabs->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, tabs);
            measure(found, *tabs, tabs->tabText(i), tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)) + space,
                    inside ? tab.width() : 0);
        }
    }
    for (const QLineEdit *field : window.findChildren<QLineEdit *>()) {
        if (!field->isVisible() || !field->isReadOnly())
            continue;
        const QString text = field->text();
        if (text.isEmpty()) {
            found.cut << QStringLiteral("%1: empty").arg(place(*field));
            continue;
        }
        const int whole = field->fontMetrics().horizontalAdvance(text);
        const bool partShows = whole > textRoom(*field) && firstPartShows(*field);
        const QString shown = partShows ? text.section(QLatin1Char(';'), 0, 0) : text;
        measure(found, *field, shown, partShows ? field->fontMetrics().horizontalAdvance(shown) : whole,
                textRoom(*field));
    }
    return found;
}

// Every section of a header against its own size, in the bold face a
// header keeps room for: the sections of a tree wider than its window
// show whole once scrolled to.
inline TextsShown sectionsShown(const QHeaderView &header)
{
    TextsShown found;
    QFont bold = header.font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int margin = header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
    for (int i = 0; i < header.count(); ++i) {
        const QString text = header.model()->headerData(i, header.orientation()).toString();
        const int needs = metrics.horizontalAdvance(text) + 2 * margin;
        ++found.measured;
        if (needs > header.sectionSize(i))
            found.cut << QStringLiteral("header \"%1\": needs %2 px, has %3").arg(text).arg(needs).arg(header.sectionSize(i));
    }
    return found;
}

// Empty when the cell shows its text whole: an item view keeps a margin on
// each side of the text and of an icon before it. Otherwise what it needs.
inline QString cellCut(const QTreeWidget *tree, const QTreeWidgetItem *item, int column)
{
    const int margin = tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree) + 1;
    const QFont font = item->data(column, Qt::FontRole).isValid() ? item->font(column) : tree->font();
    int needs = qCeil(QFontMetricsF(font).horizontalAdvance(item->text(column))) + 2 * margin;
    if (!item->icon(column).isNull())
        needs += (tree->iconSize().isValid() ? tree->iconSize().width()
                                             : tree->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, tree))
                + 2 * margin;
    if (needs <= tree->columnWidth(column))
        return QString();
    return QStringLiteral("\"%1\": needs %2 px, has %3").arg(item->text(column)).arg(needs).arg(tree->columnWidth(column));
}
