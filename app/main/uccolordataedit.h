// Up to eight byte texts side by side, each in its own colour: the data
// cell of a watched frame (changed bytes red). The frame list's delegate
// paints its cells with the same routine.
#pragma once

#include <QColor>
#include <QStringList>
#include <QWidget>

#include <array>

class QPainter;

class UcColorDataEdit : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Colors = 8;
    static constexpr int Pitch = 22;  // px between texts besides the spacing
    static constexpr int DefaultLeft = 5;
    static constexpr int DefaultBaseline = 15;
    static constexpr int DefaultSpacing = 5;

    UcColorDataEdit();

    // Does not repaint; call update() afterwards.
    void setTexts(const QStringList &texts);
    const QStringList &texts() const { return byteTexts; }
    // i outside 0..7 is ignored: texts past the eighth are drawn black.
    void setColor(int i, const QColor &color);
    QColor color(int i) const;
    // Extra pixels between texts.
    void setItemWidth(int w);

    // Draws texts in a row: text i at x = origin.x + left + (spacing +
    // Pitch) * i on the baseline origin.y + baseline, in colors[i] (black
    // past the last colour).
    static void paintTexts(QPainter &painter, const QPoint &origin, const QStringList &texts,
                           const QColor *colors, int colorCount, int left = DefaultLeft,
                           int baseline = DefaultBaseline, int spacing = DefaultSpacing);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int left = DefaultLeft;
    int baseline = DefaultBaseline;
    int spacing = DefaultSpacing;
    QStringList byteTexts;
    std::array<QColor, Colors> byteColors;
};
