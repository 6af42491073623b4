#include "platform/report/Columns.h"

#include "platform/report/TextFit.h"

#include <stdexcept>

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

ColumnSpan columnSpan(const std::vector<Column>& columns, const QString& field, const ColumnsStyle& style)
{
    double x = style.left;
    for (const Column& c : columns) {
        if (c.field == field)
            return {x, c.width, c.align};
        x += c.width;
    }
    throw std::invalid_argument("no printed column shows " + field.toStdString());
}

Element& addTotalUnder(Band& band, double top, const ColumnSpan& column, const QString& caption,
                       const QString& valueName, const TextStyle& style, double height)
{
    // A little slack, so the caption never has to shrink to fit its own room.
    constexpr double kSlackMm = 0.5;
    const double captionWidth = textWidthMm(caption, style.pointSize, style.bold) + 2 * kTextInsetMm + kSlackMm;
    TextStyle captionStyle = style;
    captionStyle.align = Align::Right;
    band.addLabel({}, QRectF(column.left - captionWidth, top, captionWidth, height), caption, captionStyle);
    TextStyle valueStyle = style;
    valueStyle.align = column.align;
    return band.addLabel(valueName, QRectF(column.left, top, column.width, height), QString(), valueStyle);
}

} // namespace report
