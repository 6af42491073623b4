#pragma once

#include "platform/report/Report.h"

#include <QString>

class QWidget;
namespace db {
class Dataset;
}

// The printed stock report over the stock query's rows (A4 portrait): a
// title with the two totals and the column titles on the first page, then
// one line per stock record with its code, name, spec, type, unit,
// quantity, cost and subtotal.
class TRptstore {
public:
    // The rows come from stock, which must outlive the layout; its fields
    // gods_code ... cost_tota are printed with the dataset's display formats.
    explicit TRptstore(db::Dataset* stock);

    // The titles of the code, name, spec and type columns, as the shop names them.
    void setGoodsTitles(const QString& code, const QString& name, const QString& spec, const QString& type);
    // The totals as shown by the form, printed as they are.
    void setTotals(const QString& quantity, const QString& cost);

    const report::Report& layout() const { return report_; }
    // Renders the rows now in the dataset and shows them in the preview.
    void preview(QWidget* parent) const;

private:
    report::Report report_;
};
