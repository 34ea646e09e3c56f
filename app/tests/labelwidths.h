// The fixed width shared by a run of a form's labels, named "label",
// "label_2", "label_3" and so on as the designer numbers them.
#pragma once

#include <QLabel>
#include <QSet>

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
