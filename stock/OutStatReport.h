#pragma once

#include "platform/report/Columns.h"
#include "platform/report/Report.h"

#include <QString>
#include <vector>

// Bands the printed sales statistics and rankings share (A4 portrait, 10 mm
// margins): a centred title, criteria printed as a caption followed by a
// named text, and a summary with the two totals.
namespace outstat {

// Label names the shared bands give their texts.
inline const QString kTotalQuantity = QStringLiteral("TotalQuantity");
inline const QString kTotalAmount = QStringLiteral("TotalAmount");
inline const QString kDateFrom = QStringLiteral("Date1");
inline const QString kDateTo = QStringLiteral("Date2");
inline const QString kBillType = QStringLiteral("BillType");
// Headings of the goods code, name and spec columns, which take the shop's goods captions.
inline const QString kCodeTitle = QStringLiteral("CodeTitle");
inline const QString kNameTitle = QStringLiteral("NameTitle");
inline const QString kSpecTitle = QStringLiteral("SpecTitle");

// The title, about 14 points, centred across the page header's top line.
void addTitle(report::Report& r, const QString& title);

// A caption at (x, y) and after it an empty label called name that the print
// fills in; returns the x just right of that label.
double addCaptioned(report::Band& band, double x, double y, const QString& caption, double captionWidth,
                    const QString& name, double textWidth);

// "日期范围" at (x, y), then the from date, "至" and the to date (kDateFrom,
// kDateTo); returns the x just right of the to date.
double addDateRange(report::Band& band, double x, double y);

// "合计数量" and "合计金额", each with the text the form's total box shows,
// on lines of their own under the columns of sub_amou and sub_tota.
void addTotalsSummary(report::Report& r, const std::vector<report::Column>& columns);
void setTotals(report::Report& r, const QString& quantity, const QString& amount);

void setGoodsTitles(report::Report& r, const QString& code, const QString& name, const QString& spec);

// A printed column; titleName names its heading when the print sets it.
report::Column column(const QString& title, const QString& field, double width,
                      report::Align align = report::Align::Left, const QString& titleName = {});

} // namespace outstat
