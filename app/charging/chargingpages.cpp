#include "chargingpages.h"

#include "busstatusledwidget.h"
#include "trimzeros.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHeaderView>
#include <QLabel>
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

QStringList widestTexts(std::initializer_list<Value> kinds)
{
    QStringList texts;
    for (Value kind : kinds) {
        switch (kind) {
        case Value::Tenths:
            texts << trimmedNumber(0xFFFF / 10.0);
            break;
        case Value::Hundredths:
            texts << trimmedNumber(0xFFFF / 100.0);
            break;
        case Value::Current:
            texts << trimmedNumber(1 / 10.0 - 400) << trimmedNumber(0xFFFF / 10.0 - 400);
            break;
        case Value::Celsius:
            texts << QString::number(0x00 - 50) << QString::number(0xFF - 50);
            break;
        case Value::Byte:
            texts << QString::number(0xFF + 1);
            break;
        case Value::Word:
            texts << QString::number(0xFFFF);
            break;
        case Value::Long:
            texts << QString::number(0xFFFFFFFFu);
            break;
        }
    }
    return texts;
}

QString widestLetters(int count)
{
    return QString(count, QLatin1Char('W'));
}

void fitFields(std::initializer_list<QLineEdit *> fields, const QStringList &texts, int least)
{
    if (fields.size() == 0)
        return;
    const int width = std::max(least, fieldWidthFor(**fields.begin(), texts));
    for (QLineEdit *field : fields)
        field->setFixedWidth(width);
}

void fitLabels(std::initializer_list<QLabel *> labels, int least)
{
    // Not the size hint, which is never below the minimum width.
    int width = least;
    for (const QLabel *label : labels) {
        const QMargins frame = label->contentsMargins();
        width = std::max(width, label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin()
                                        + frame.left() + frame.right());
    }
    for (QLabel *label : labels)
        label->setFixedWidth(width);
}

void fitSections(QHeaderView &header)
{
    for (int i = 0; i < header.count(); ++i)
        header.resizeSection(i, std::max(header.defaultSectionSize(), header.sectionSizeHint(i)));
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
