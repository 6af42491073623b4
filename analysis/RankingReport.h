#pragma once

#include "analysis/ListReport.h"

#include <vector>

// The printed consumption ranking (A4 portrait): a page header with the
// title, the date range (labels datea and dateb) and the column heads; one
// line of framed cells per row of the dataset; a summary "合计金额" with the
// total (label hjje) under the column of the sums, serve_fee.
class RankingReport : public ListReport {
public:
    void fillHeader(const QDate& from, const QDate& to, const QString& total);

protected:
    // rows: the ranking, not owned.
    RankingReport(db::Dataset& rows, const QString& title, const std::vector<report::Column>& columns);
};
