#include "analysis/RankingReport.h"

RankingReport::RankingReport(db::Dataset& rows, const QString& title, const std::vector<report::Column>& columns)
    : ListReport(&rows, title)
{
    addDateRangeLine(13);
    const double right = report::addColumns(pageHeader(), 21, detail(), columns);

    report::Band& total = summary();
    total.setHeight(8);
    total.addLabel({}, {right - 70, 1, 25, 6}, QStringLiteral("合计金额"), kCaption);
    total.addLabel(QStringLiteral("hjje"), {right - 45, 1, 45, 6}, {}, {10, false, report::Align::Right});
}

void RankingReport::fillHeader(const QDate& from, const QDate& to, const QString& total)
{
    setDateRange(from, to);
    setText(QStringLiteral("hjje"), total);
}
