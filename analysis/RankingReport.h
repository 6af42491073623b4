#pragma once

#include "platform/report/Columns.h"
#include "platform/report/Report.h"

#include <vector>

// The printed consumption ranking (A4 portrait): a page header with the
// title, the date range (labels datea and dateb) and the column heads; one
// line of framed cells per row of the dataset; a summary "合计金额" with the
// total (label hjje).
class RankingReport : public report::Report {
public:
    void fillHeader(const QDate& from, const QDate& to, const QString& total);

protected:
    // One column of the ranking: heading, field, width in millimetres, alignment of the data.
    static report::Column column(const QString& title, const QString& field, double width,
                                 report::Align align = report::Align::Left);

    // rows: the ranking, not owned.
    RankingReport(db::Dataset& rows, const QString& title, const std::vector<report::Column>& columns);
};
