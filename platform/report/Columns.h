#pragma once

#include "platform/report/Band.h"

#include <vector>

namespace report {

// One column of a tabular report: a heading over a data text per row.
struct Column {
    QString title;        // heading text
    QString field;        // field of the report's dataset printed in the column
    double width = 20;    // mm
    Align align = Align::Left;  // of the data texts; headings are centred
    QString titleName = {}; // heading label's name, for Report::setText; optional
};

struct ColumnsStyle {
    double left = 0;            // mm from the left margin to the first column
    double headingHeight = 7;   // mm
    double rowHeight = 6;       // mm
    TextStyle heading{10, true, Align::Center, true};
    TextStyle cell{10, false, Align::Left, true};  // the alignment comes from each column
};

// Lays the columns out side by side: a heading label per column in
// `headings` at `headingTop`, and a data text per column at the top of
// `cells` (usually the detail band). Returns the x just right of the last column.
double addColumns(Band& headings, double headingTop, Band& cells, const std::vector<Column>& columns,
                  const ColumnsStyle& style = {});

// Where a column prints across the bands, and how its cells are aligned.
struct ColumnSpan {
    double left = 0;  // mm from the left margin
    double width = 0;
    Align align = Align::Left;
};

// The span addColumns gives the column printing `field`; throws
// std::invalid_argument when no column prints it.
ColumnSpan columnSpan(const std::vector<Column>& columns, const QString& field, const ColumnsStyle& style = {});

// A total under its column at `top` of `band`: the value, a label named
// valueName, exactly across the column and aligned as its cells are, and
// the caption just left of the column, as wide as it needs (the columns
// before must leave it that room). Returns the value's label.
Element& addTotalUnder(Band& band, double top, const ColumnSpan& column, const QString& caption,
                       const QString& valueName, const TextStyle& style = {}, double height = 6);

} // namespace report
