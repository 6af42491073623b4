#pragma once

#include "analysis/ListReport.h"

// The printed member consumption detail (A4 portrait): a page header with
// the title, the item chosen, the date range and the total, and the column
// heads; one line of framed cells per ledger line of the dataset.
//
// The heading fields are labels named insi_code, insi_name, datea, dateb and
// hjje; the first two carry the item code and item name of the selection,
// and are captioned so.
class TQserveList : public ListReport {
public:
    // rows: the service bill lines (InsiFeeQ), not owned.
    explicit TQserveList(db::Dataset& rows);

    void fillHeader(const QString& itemCode, const QString& itemName, const QDate& from, const QDate& to,
                    const QString& total);
};
