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

} // namespace report
