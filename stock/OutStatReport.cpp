#include "stock/OutStatReport.h"

namespace outstat {

namespace {
constexpr double kLine = 6;
} // namespace

void addTitle(report::Report& r, const QString& title)
{
    r.pageHeader().addLabel(QStringLiteral("Title"), QRectF(0, 0, r.contentWidth(), 9), title,
                            {14, true, report::Align::Center});
}

double addCaptioned(report::Band& band, double x, double y, const QString& caption, double captionWidth,
                    const QString& name, double textWidth)
{
    band.addLabel({}, QRectF(x, y, captionWidth, kLine), caption);
    band.addLabel(name, QRectF(x + captionWidth, y, textWidth, kLine), QString());
    return x + captionWidth + textWidth;
}

double addDateRange(report::Band& band, double x, double y)
{
    constexpr double kDateWidth = 22;
    constexpr double kSeparatorWidth = 6;
    const double from = addCaptioned(band, x, y, QStringLiteral("日期范围"), 18, kDateFrom, kDateWidth);
    band.addLabel({}, QRectF(from, y, kSeparatorWidth, kLine), QStringLiteral("至"), {.align = report::Align::Center});
    band.addLabel(kDateTo, QRectF(from + kSeparatorWidth, y, kDateWidth, kLine), QString());
    return from + kSeparatorWidth + kDateWidth;
}

void addTotalsSummary(report::Report& r, const std::vector<report::Column>& columns)
{
    // The two columns stand side by side: each total takes a line, so that
    // its caption has the room left of its column.
    using report::addTotalUnder;
    using report::columnSpan;
    addTotalUnder(r.summary(), 2, columnSpan(columns, QStringLiteral("sub_amou")), QStringLiteral("合计数量"),
                  kTotalQuantity, {}, kLine);
    addTotalUnder(r.summary(), 2 + kLine, columnSpan(columns, QStringLiteral("sub_tota")), QStringLiteral("合计金额"),
                  kTotalAmount, {}, kLine);
}

void setTotals(report::Report& r, const QString& quantity, const QString& amount)
{
    r.setText(kTotalQuantity, quantity);
    r.setText(kTotalAmount, amount);
}

void setGoodsTitles(report::Report& r, const QString& code, const QString& name, const QString& spec)
{
    r.setText(kCodeTitle, code);
    r.setText(kNameTitle, name);
    r.setText(kSpecTitle, spec);
}

report::Column column(const QString& title, const QString& field, double width, report::Align align,
                      const QString& titleName)
{
    report::Column c;
    c.title = title;
    c.field = field;
    c.width = width;
    c.align = align;
    c.titleName = titleName;
    return c;
}

} // namespace outstat
