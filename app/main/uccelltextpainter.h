// Draws single-line cell texts fast. A frame-list refresh draws every cell
// in view, and laying a text out costs more than drawing it, so: printable
// ASCII texts (numbers, times, IDs, data bytes) are set from a per-font
// table of glyphs and advances without shaping; other texts are laid out
// once and kept; a text wider than its cell is elided the usual way.
// GUI thread only.
#pragma once

#include <QCache>
#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <QStaticText>
#include <QVector>

#include <array>

class QPainter;
class QRect;

class UcCellTextPainter
{
public:
    // Draws text in area with the painter's pen and font; alignment as for
    // QPainter::drawText.
    void draw(QPainter &painter, const QRect &area, int alignment, const QString &text);

private:
    static constexpr int FirstAscii = 0x20;
    static constexpr int LastAscii = 0x7E;

    void useFont(const QFont &font);
    // False when text holds a character outside the table.
    bool setAscii(const QString &text, qreal *width);
    const QStaticText &laidOut(const QString &text);

    QFont font;
    bool fontSet = false;
    // The glyph table, when the font's primary face has every printable
    // ASCII character.
    QRawFont raw;
    bool asciiComplete = false;
    std::array<quint32, LastAscii - FirstAscii + 1> glyphs{};
    std::array<qreal, LastAscii - FirstAscii + 1> advances{};
    QGlyphRun run;
    QVector<quint32> runGlyphs;
    QVector<QPointF> runPositions;
    QCache<QString, QStaticText> texts{4096};
};
