#pragma once

#include "analysis/ServiceRanking.h"

// "会员消费排行-按项目": service takings of a date range per service item on
// ServSortSQ, with the item's name, category, price and estimated minutes,
// printed through TQservsorts. Position 31.
class TFrmServSortS : public ServiceRankingForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 31;

    explicit TFrmServSortS(QWidget* owner = nullptr);

protected:
    std::unique_ptr<RankingReport> makeReport(db::Dataset& query) const override;
};
