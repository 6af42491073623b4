#pragma once

#include "analysis/RankingReport.h"

// The printed ranking by service item "会员消费排行-按项目", on ServSortSQ.
class TQservsorts : public RankingReport {
public:
    explicit TQservsorts(db::Dataset& rows);
};
