// What a line edit shows of its text: the pixels it has for it and whether
// the beginning of its line, up to the first ';', shows whole.
#pragma once

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

// Inside its frame and margins, less the 2 pixels it keeps on each side.
inline int textRoom(const QLineEdit &field)
{
    QStyleOptionFrame option;
    option.initFrom(&field);
    option.rect = QRect(QPoint(), field.size());
    option.lineWidth = field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &field);
    const QRect contents = field.style()->subElementRect(QStyle::SE_LineEditContents, &option, &field);
    return contents.marginsRemoved(field.textMargins()).width() - 2 * 2;
}

inline bool firstPartShows(const QLineEdit &field)
{
    const QString first = field.text().section(QLatin1Char(';'), 0, 0);
    return field.cursorPosition() == 0 && field.fontMetrics().horizontalAdvance(first) <= textRoom(field);
}
