#pragma once

#include "platform/report/Columns.h"
#include "platform/report/Report.h"

// A printed list of the analysis forms: A4 portrait, 10 mm margins, the
// document named after its title, and the title, centred and large, on top
// of the page header repeated on every page; one detail row per row of the
// list's dataset. The form's layout adds the rest of the header below the
// title (from 13 mm down), the columns and any summary.
class ListReport : public report::Report {
public:
    // The days the list is of into the labels datea and dateb.
    void setDateRange(const QDate& from, const QDate& to);

protected:
    // rows: the listed rows, not owned.
    ListReport(db::Dataset* rows, const QString& title);

    // One column of the list: heading, field, width in millimetres, alignment of the data.
    static report::Column column(const QString& title, const QString& field, double width,
                                 report::Align align = report::Align::Left);
    // The heading line "日期范围 datea 至 dateb", top mm down the page header.
    void addDateRangeLine(double top);

    static constexpr report::TextStyle kCaption{10, true};
    static constexpr report::TextStyle kValue{10};
};
