#pragma once

#include "platform/report/Columns.h"
#include "platform/report/Report.h"

#include <QDate>
#include <QString>
#include <vector>

class QWidget;
namespace db {
class Dataset;
}

// What a printed sales ranking shows above and below its groups.
struct RankingPrintTexts {
    QString sortText;      // "按金额排序" or "按数量排序"
    QString billTypeText;  // "" for every type, "出货" or "退货厂商"
    QDate from, to;
    QString totalQuantity, totalAmount;  // the total boxes' texts
};

// The layout both printed rankings share: the title, the sort and type texts,
// the date range, one line per group of the dataset, and the totals.
class OutRankingReport {
public:
    virtual ~OutRankingReport() = default;

    void setTexts(const RankingPrintTexts& texts);
    const report::Report& report() const { return report_; }
    void preview(QWidget* parent) const;

protected:
    OutRankingReport(db::Dataset& groups, const QString& title, const std::vector<report::Column>& columns);

    report::Report report_;
};
