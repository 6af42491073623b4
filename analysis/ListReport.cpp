#include "analysis/ListReport.h"

#include "platform/db/Value.h"

ListReport::ListReport(db::Dataset* rows, const QString& title)
{
    setPaperA4();
    setMargins({10, 10, 10, 10});
    setDocumentName(title);
    setDataset(rows);
    pageHeader().addLabel({}, {0, 0, contentWidth(), 10}, title, {16, true, report::Align::Center});
}

report::Column ListReport::column(const QString& title, const QString& field, double width, report::Align align)
{
    report::Column c;
    c.title = title;
    c.field = field;
    c.width = width;
    c.align = align;
    return c;
}

void ListReport::addDateRangeLine(double top)
{
    report::Band& head = pageHeader();
    head.addLabel({}, {0, top, 20, 6}, QStringLiteral("日期范围"), kCaption);
    head.addLabel(QStringLiteral("datea"), {20, top, 24, 6}, {}, kValue);
    head.addLabel({}, {44, top, 6, 6}, QStringLiteral("至"), kValue);
    head.addLabel(QStringLiteral("dateb"), {50, top, 24, 6}, {}, kValue);
}

void ListReport::setDateRange(const QDate& from, const QDate& to)
{
    setText(QStringLiteral("datea"), db::dateText(from));
    setText(QStringLiteral("dateb"), db::dateText(to));
}
