#include "stock/OutRankingReport.h"

#include "platform/db/Value.h"
#include "platform/report/Preview.h"
#include "stock/OutStatReport.h"

namespace {
const QString kSortText = QStringLiteral("SortText");
} // namespace

OutRankingReport::OutRankingReport(db::Dataset& groups, const QString& title,
                                   const std::vector<report::Column>& columns)
{
    using outstat::addCaptioned;
    report_.setPaperA4();
    report_.setDocumentName(title);
    report_.setDataset(&groups);

    outstat::addTitle(report_, title);
    report::Band& head = report_.pageHeader();
    const double x = addCaptioned(head, 0, 12, QStringLiteral("排序方式："), 22, kSortText, 30);
    head.addLabel(outstat::kBillType, QRectF(x + 4, 12, 30, 6), QString());
    outstat::addDateRange(head, 0, 19);
    head.setHeight(27);

    report::addColumns(report_.columnHeader(), 0, report_.detail(), columns);
    outstat::addTotalsSummary(report_, columns);
}

void OutRankingReport::setTexts(const RankingPrintTexts& t)
{
    report_.setText(kSortText, t.sortText);
    report_.setText(outstat::kBillType, t.billTypeText);
    report_.setText(outstat::kDateFrom, db::dateText(t.from));
    report_.setText(outstat::kDateTo, db::dateText(t.to));
    outstat::setTotals(report_, t.totalQuantity, t.totalAmount);
}

void OutRankingReport::preview(QWidget* parent) const
{
    report::preview(report_, parent);
}
