#include "analysis/RankingReport.h"

#include "analysis/ListTotals.h"

namespace {

using report::Align;
using report::TextStyle;

const TextStyle kTitle{16, true, Align::Center};
const TextStyle kCaption{10, true};
const TextStyle kValue{10};

} // namespace

RankingReport::RankingReport(db::Dataset& rows, const QString& title, const std::vector<report::Column>& columns)
{
    setPaperA4();
    setDocumentName(title);
    setDataset(&rows);

    report::Band& head = pageHeader();
    head.addLabel({}, {0, 0, contentWidth(), 10}, title, kTitle);
    head.addLabel({}, {0, 13, 20, 6}, QStringLiteral("日期范围"), kCaption);
    head.addLabel(QStringLiteral("datea"), {20, 13, 24, 6}, {}, kValue);
    head.addLabel({}, {44, 13, 6, 6}, QStringLiteral("至"), kValue);
    head.addLabel(QStringLiteral("dateb"), {50, 13, 24, 6}, {}, kValue);
    const double right = report::addColumns(head, 21, detail(), columns);

    report::Band& total = summary();
    total.setHeight(8);
    total.addLabel({}, {right - 70, 1, 25, 6}, QStringLiteral("合计金额"), kCaption);
    total.addLabel(QStringLiteral("hjje"), {right - 45, 1, 45, 6}, {}, TextStyle{10, false, Align::Right});
}

report::Column RankingReport::column(const QString& title, const QString& field, double width, report::Align align)
{
    report::Column c;
    c.title = title;
    c.field = field;
    c.width = width;
    c.align = align;
    return c;
}

void RankingReport::fillHeader(const QDate& from, const QDate& to, const QString& total)
{
    setText(QStringLiteral("datea"), ShortDateText(from));
    setText(QStringLiteral("dateb"), ShortDateText(to));
    setText(QStringLiteral("hjje"), total);
}
