// Helpers shared by the pages of the charging window: columns of rows of a
// label and its field, widths that hold their texts, and lamps driven by
// two-bit status codes. GUI thread only.
#pragma once

#include <QSize>

#include <initializer_list>

class BusStatusLEDWidget;
class QFont;
class QHeaderView;
class QLabel;
class QLayout;
class QLineEdit;
class QString;
class QStringList;
class QVBoxLayout;
class QWidget;

namespace ChargingPages {

// The pages' status lamps, in pixels.
constexpr QSize LampSize(12, 12);

struct Row {
    QWidget *label;
    QWidget *field;
};

// One horizontal box per row: the label, its field and, when asked, a
// stretch.
void addRows(QVBoxLayout &column, std::initializer_list<Row> rows, bool stretch);

// A column of 10 pixels, the rows as addRows makes them, and a stretch.
QVBoxLayout *column(std::initializer_list<Row> rows, bool stretch);

// The page's own layout, a horizontal box: leading pixels, the left column,
// gap pixels, the right column and a stretch.
void setColumns(QWidget &page, QLayout *left, int gap, QLayout *right, int leading = 10);

// The same fixed width for each widget.
void setFixedWidths(std::initializer_list<QWidget *> widgets, int width);

// The width a line edit needs to show a text of textWidth pixels, or each
// of texts, whole in its font and style.
int fieldWidthFor(const QLineEdit &field, int textWidth);
int fieldWidthFor(const QLineEdit &field, const QStringList &texts);

// What the messages' number fields hold, for the widest texts they show.
enum class Value {
    Tenths,     // two bytes of 0.1: up to 6553.5
    Hundredths, // two bytes of 0.01: up to 655.35
    Current,    // two bytes of 0.1 A less 400 A: -399.9 to 6153.5
    Celsius,    // one byte less 50: -50 to 205
    Byte,       // up to 255 (256 where counted from 1)
    Word,       // up to 65535
    Long,       // four bytes: up to 4294967295
};

// The widest values of those kinds as the pages print them.
QStringList widestTexts(std::initializer_list<Value> kinds);

// count of the widest letter, for fields of 8-bit text from the bus.
QString widestLetters(int count);

// One fixed width for fields: least pixels, or what the widest of texts
// needs where that is more.
void fitFields(std::initializer_list<QLineEdit *> fields, const QStringList &texts, int least);

// One fixed width for labels: least pixels, or what the widest of their
// texts needs where that is more. Called again after their texts change.
void fitLabels(std::initializer_list<QLabel *> labels, int least);

// Every section as wide as its text needs, and no narrower than the
// header's default. Called again after the texts change.
void fitSections(QHeaderView &header);

// text with "℃" written "°C" where the face that draws it in font has no
// outline for the sign (some CJK faces map it to an empty glyph).
QString withCelsius(const QString &text, const QFont &font);

// A two-bit status code on a lamp: 0 green, 1 red, 2 grey; 3 leaves the
// lamp as it is. The caller repaints.
void showStatusCode(BusStatusLEDWidget &lamp, quint8 code);

} // namespace ChargingPages
