#pragma once

#include "stock/OutRankingReport.h"

// The printed sales ranking by goods "出货排行-按货品", one line per goods of
// the dataset (OutSortQ: gods_code, gods_name, gods_spec, gods_unit,
// unit_pric, sub_amou, sub_tota).
class TQRoutSortG : public OutRankingReport {
public:
    explicit TQRoutSortG(db::Dataset& groups);

    // Titles of the goods code, name and spec columns.
    void setGoodsTitles(const QString& code, const QString& name, const QString& spec);
};
