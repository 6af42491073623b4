#pragma once

#include "platform/report/Report.h"

#include <QSizeF>
#include <QString>
#include <array>

namespace db {
class Dataset;
}

// What a printed stock document takes from outside its datasets; set afresh
// at every print.
struct PrintedDocumentTexts {
    QString title;                       // the shop name followed by the document word
    QString footer;                      // the footer line under the summary
    QString capitals, quantity, amount;  // the document form's totals, as it shows them
    std::array<QString, 4> goodsTitles;  // titles of the code, name, spec and type columns
};

// The receiving side (purchases, customer returns) prints the company code
// and "付款金额"; the issuing side (sales, supplier returns) the company's
// contact and phone and "收款金额".
enum class PrintedDocumentSide { In, Out };

// The bands both printed stock documents share, on paper of that size with
// 10 mm margins:
//   page header (every page): the title, centred; the document's header row
//     (voucher, bill number, date, currency; the company and settlement);
//     the column titles;
//   detail: one ruled row per row of lines: code, name, spec, type, unit,
//     price, quantity, subtotal, remark;
//   summary (once, after the last line): the amount in capitals and the two
//     totals, the remark and the amount paid or received, the six employees,
//     the footer line;
//   no page footer.
// Header fields read header's current row; both datasets must outlive the
// report. The labels "Title", "TitleCode", "TitleName", "TitleSpec",
// "TitleType", "Capitals", "TotalQuantity", "TotalAmount", "Footer" (and on
// the issuing side "Contact") hold the texts given.
report::Report PrintedDocumentReport(PrintedDocumentSide side, const QSizeF& paperMm, db::Dataset& header,
                                     db::Dataset& lines, const PrintedDocumentTexts& texts);
