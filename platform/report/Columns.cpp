#include "platform/report/Columns.h"

namespace report {

double addColumns(Band& headings, double headingTop, Band& cells, const std::vector<Column>& columns,
                  const ColumnsStyle& style)
{
    double x = style.left;
    for (const Column& c : columns) {
        headings.addLabel(c.titleName, QRectF(x, headingTop, c.width, style.headingHeight), c.title, style.heading);
        TextStyle cell = style.cell;
        cell.align = c.align;
        cells.addField(QRectF(x, 0, c.width, style.rowHeight), c.field, cell);
        x += c.width;
    }
    return x;
}

} // namespace report
