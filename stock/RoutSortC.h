#pragma once

#include "stock/OutRankingReport.h"

// The printed sales ranking by customer "出货排行-按客户", one line per
// customer of the dataset (OutSortCQ: comp_code, comp_name, head_name,
// sub_amou, sub_tota).
class TQRoutSortC : public OutRankingReport {
public:
    explicit TQRoutSortC(db::Dataset& groups);
};
