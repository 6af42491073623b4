#pragma once

#include "analysis/ServiceRanking.h"

// "会员消费排行-按会员": service takings of a date range per member card on
// ServSortIQ, with the member's name, sex, level, opening date and total
// spend, printed through TQservsorti. Position 30.
class TFrmServSortI : public ServiceRankingForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 30;

    explicit TFrmServSortI(QWidget* owner = nullptr);

protected:
    std::unique_ptr<RankingReport> makeReport(db::Dataset& query) const override;
};
