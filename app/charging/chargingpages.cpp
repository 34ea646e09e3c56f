#include "chargingpages.h"

#include "busstatusledwidget.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QLineEdit>
#include <QPainterPath>
#include <QRawFont>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>

#include <algorithm>

namespace ChargingPages {

void addRows(QVBoxLayout &column, std::initializer_list<Row> rows, bool stretch)
{
    for (const Row &row : rows) {
        auto *line = new QHBoxLayout;
        line->addWidget(row.label);
        line->addWidget(row.field);
        if (stretch)
            line->addStretch();
        column.addLayout(line);
    }
}

QVBoxLayout *column(std::initializer_list<Row> rows, bool stretch)
{
    auto *box = new QVBoxLayout;
    box->addSpacing(10);
    addRows(*box, rows, stretch);
    box->addStretch();
    return box;
}

void setColumns(QWidget &page, QLayout *left, int gap, QLayout *right, int leading)
{
    auto *box = new QHBoxLayout(&page);
    box->addSpacing(leading);
    box->addLayout(left);
    box->addSpacing(gap);
    box->addLayout(right);
    box->addStretch();
}

void setFixedWidths(std::initializer_list<QWidget *> widgets, int width)
{
    for (QWidget *widget : widgets)
        widget->setFixedWidth(width);
}

int fieldWidthFor(const QLineEdit &field, int textWidth)
{
    // A line edit keeps 2 pixels on each side of its text, and one for the cursor.
    constexpr int textMargin = 2;
    const QMargins text = field.textMargins();
    const QMargins contents = field.contentsMargins();
    QStyleOptionFrame option;
    option.initFrom(&field);
    option.lineWidth = field.hasFrame() ? field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &field) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QSize size(textWidth + 2 * textMargin + 1 + text.left() + text.right() + contents.left() + contents.right(),
                     field.fontMetrics().height());
    return field.style()->sizeFromContents(QStyle::CT_LineEdit, &option, size, &field).width();
}

int fieldWidthFor(const QLineEdit &field, const QStringList &texts)
{
    const QFontMetrics metrics(field.font());
    int widest = 0;
    for (const QString &text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    return fieldWidthFor(field, widest);
}

QString withCelsius(const QString &text, const QFont &font)
{
    const QChar sign(0x2103);
    const int at = text.indexOf(sign);
    if (at < 0)
        return text;
    // Lay the text out as a label would, to see which face draws the sign.
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    bool drawn = false;
    for (const QGlyphRun &run : layout.glyphRuns(at, 1)) {
        const QRawFont face = run.rawFont();
        for (quint32 glyph : run.glyphIndexes())
            drawn = glyph != 0 && !face.pathForGlyph(glyph).isEmpty();
    }
    if (drawn)
        return text;
    QString written = text;
    return written.replace(sign, QStringLiteral("\u00B0C"));
}

void showStatusCode(BusStatusLEDWidget &lamp, quint8 code)
{
    switch (code) {
    case 0:
        lamp.state = BusStatusLEDWidget::Green;
        break;
    case 1:
        lamp.state = BusStatusLEDWidget::Red;
        break;
    case 2:
        lamp.state = BusStatusLEDWidget::Off;
        break;
    default:
        break;
    }
}

} // namespace ChargingPages
