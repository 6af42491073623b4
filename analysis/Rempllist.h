#pragma once

#include "analysis/ListReport.h"

// The printed staff performance detail: A4 portrait, 10 mm margins, one ruled
// row per commission line of the lines dataset (ListTempQ). The page header,
// repeated on every page, carries the employee, the date range and both
// totals. Labels the caller fills before previewing: "empl_code",
// "empl_name", "datea", "dateb", "hjje" (total of the bases) and "tcje"
// (total of the commissions).
class TQempllist : public ListReport {
public:
    explicit TQempllist(db::Dataset* lines);
};
