#include "analysis/RankingReport.h"

RankingReport::RankingReport(db::Dataset& rows, const QString& title, const std::vector<report::Column>& columns)
    : ListReport(&rows, title)
{
    addDateRangeLine(13);
    report::addColumns(pageHeader(), 21, detail(), columns);

    report::Band& total = summary();
    total.setHeight(8);
    report::addTotalUnder(total, 1, report::columnSpan(columns, QStringLiteral("serve_fee")), QStringLiteral("合计金额"),
                          QStringLiteral("hjje"), kValue);
}

void RankingReport::fillHeader(const QDate& from, const QDate& to, const QString& total)
{
    setDateRange(from, to);
    setText(QStringLiteral("hjje"), total);
}
