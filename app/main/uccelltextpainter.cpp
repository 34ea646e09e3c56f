#include "uccelltextpainter.h"

#include <QFontMetrics>
#include <QPainter>

void UcCellTextPainter::useFont(const QFont &newFont)
{
    if (fontSet && newFont == font)
        return;
    font = newFont;
    fontSet = true;
    texts.clear();
    raw = QRawFont::fromFont(font);
    asciiComplete = raw.isValid();
    if (!asciiComplete)
        return;
    QString all;
    for (int c = FirstAscii; c <= LastAscii; ++c)
        all += QLatin1Char(char(c));
    const QVector<quint32> indexes = raw.glyphIndexesForString(all);
    const QVector<QPointF> steps = raw.advancesForGlyphIndexes(indexes);
    asciiComplete = indexes.size() == int(glyphs.size()) && steps.size() == int(glyphs.size());
    for (std::size_t i = 0; asciiComplete && i < glyphs.size(); ++i) {
        glyphs[i] = indexes.at(int(i));
        advances[i] = steps.at(int(i)).x();
        // Glyph 0 is the font's "missing" glyph; the blank may legitimately
        // have an index, the others must.
        asciiComplete = glyphs[i] != 0 || i == 0;
    }
    run.setRawFont(raw);
}

bool UcCellTextPainter::setAscii(const QString &text, qreal *width)
{
    if (!asciiComplete)
        return false;
    runGlyphs.resize(text.size());
    runPositions.resize(text.size());
    qreal x = 0;
    for (int i = 0; i < text.size(); ++i) {
        const ushort c = text.at(i).unicode();
        if (c < FirstAscii || c > LastAscii)
            return false;
        runGlyphs[i] = glyphs[c - FirstAscii];
        runPositions[i] = QPointF(x, 0);
        x += advances[c - FirstAscii];
    }
    run.setGlyphIndexes(runGlyphs);
    run.setPositions(runPositions);
    *width = x;
    return true;
}

const QStaticText &UcCellTextPainter::laidOut(const QString &text)
{
    if (QStaticText *found = texts.object(text))
        return *found;
    auto *layout = new QStaticText(text);
    layout->setTextFormat(Qt::PlainText);
    layout->setPerformanceHint(QStaticText::AggressiveCaching);
    layout->prepare(QTransform(), font);
    texts.insert(text, layout);
    return *layout;
}

void UcCellTextPainter::draw(QPainter &painter, const QRect &area, int alignment, const QString &text)
{
    useFont(painter.font());
    auto left = [&area, alignment](qreal width) {
        if (alignment & Qt::AlignHCenter)
            return area.left() + (area.width() - width) / 2;
        if (alignment & Qt::AlignRight)
            return area.left() + area.width() - width;
        return qreal(area.left());
    };
    qreal width = 0;
    if (setAscii(text, &width) && width <= area.width()) {
        const qreal height = raw.ascent() + raw.descent();
        const qreal baseline = area.top() + (area.height() - height) / 2 + raw.ascent();
        painter.drawGlyphRun(QPointF(left(width), baseline), run);
        return;
    }
    const QStaticText &layout = laidOut(text);
    const QSizeF size = layout.size();
    if (size.width() > area.width()) {
        const QString elided = QFontMetrics(font).elidedText(text, Qt::ElideRight, area.width());
        painter.drawText(area, alignment | Qt::TextSingleLine, elided);
        return;
    }
    painter.drawStaticText(QPointF(left(size.width()), area.top() + (area.height() - size.height()) / 2), layout);
}
