#pragma once

#include "analysis/ListReport.h"

// The printed salary sheet: A4 portrait, 10 mm margins, one ruled row per row
// of the sheet dataset (SalaryQ) under a page header repeated on every page,
// and the sheet's total after the last row. Labels the caller fills before
// previewing: "datea" (the month chosen, as a date) and "hjje" (the total).
class TQsalary : public ListReport {
public:
    explicit TQsalary(db::Dataset* sheet);
};
