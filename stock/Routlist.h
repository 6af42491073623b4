#pragma once

#include "platform/report/Report.h"

#include <QDate>
#include <QString>

class QWidget;
namespace db {
class Dataset;
}

// What the sales statistics print above and below its lines.
struct OutListPrintTexts {
    QString goodsCode, goodsName;      // the goods criteria as shown in their combos
    QString companyCode, companyName;  // the customer criteria as shown in their combos
    QDate from, to;
    QString billTypeText;              // "" for every type, "销售出货" or "退货厂商"
    QString totalQuantity, totalAmount;  // the total boxes' texts
    QString codeTitle, nameTitle, specTitle;  // titles of the three goods columns
};

// The printed sales statistics "出货统计": one line per row of the lines
// dataset (OutListQ: bill_no, comp_name, gods_code, gods_name, gods_spec,
// gods_unit, unit_pric, sub_amou, sub_tota) under the criteria, and the totals.
class TQRoutlist {
public:
    explicit TQRoutlist(db::Dataset& lines);

    void setTexts(const OutListPrintTexts& texts);
    const report::Report& report() const { return report_; }
    void preview(QWidget* parent) const;

private:
    report::Report report_;
};
