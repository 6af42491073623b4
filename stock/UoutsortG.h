#pragma once

#include "stock/OutRanking.h"

// "出货排行-按货品": the sales ranking by goods over OutSortQ, rights
// position 26. Each goods shows its summed quantity, the plain mean of its
// line prices and its summed amount (price × quantity of each line).
class TFrmOutSortG : public OutRankingForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 26;

    explicit TFrmOutSortG(QWidget* owner = nullptr);

protected:
    std::unique_ptr<OutRankingReport> makeReport() const override;
};
