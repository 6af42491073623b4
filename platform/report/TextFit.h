#pragma once

#include "platform/report/PageModel.h"

#include <QSizeF>
#include <QString>
#include <QStringList>

// How report texts take room on paper. Everything is measured with the
// report font, unhinted, so the renderer that lays a text out and the
// painter that draws it on any device agree on where its lines break.
namespace report {

// Every report text is set in this family, never left to font fallback.
inline constexpr const char* kFontFamily = "WenQuanYi Micro Hei";

// Room kept between a text and the left and right sides of its rectangle,
// so that it stays off the rules of a framed cell.
inline constexpr double kTextInsetMm = 0.6;

double textWidthMm(const QString& text, double pointSize, bool bold);
// From the top of one line of text to the top of the next.
double lineHeightMm(double pointSize, bool bold);

// The lines a text takes in a width: broken where a line may break (between
// CJK characters, at spaces), inside a word only when the word alone is
// wider, and never inside a character. A text that fits is one line.
QStringList breakLines(const QString& text, double pointSize, bool bold, double widthMm);

// The lines an item prints on: its text broken across its rectangle less
// the insets, at its own size.
QStringList linesOf(const TextItem& item);

// The size a text of pointSize may shrink to before it wraps.
double smallestPointSize(double pointSize);

struct FittedText {
    double pointSize = 10;
    int lineCount = 1;
    double height = 0;  // mm: the box's height, or more when even the wrapped lines need more
};

// How a text is printed whole in a box: at its own size when it fits on one
// line; else shrunk, no further than smallestPointSize, to fit on one line;
// else wrapped at the largest size whose lines fit the box's height, down to
// that same floor; and when even that needs more height, at the floor in a
// box grown to hold the lines. A box too narrow for any text is left alone.
FittedText fitText(const QString& text, double pointSize, bool bold, const QSizeF& box);

} // namespace report
