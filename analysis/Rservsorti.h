#pragma once

#include "analysis/RankingReport.h"

// The printed ranking by member card "会员消费排行-按会员", on ServSortIQ.
class TQservsorti : public RankingReport {
public:
    explicit TQservsorti(db::Dataset& rows);
};
