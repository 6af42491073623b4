#pragma once

#include "stock/OutRanking.h"

// "出货排行-按客户": the sales ranking by customer over OutSortCQ, rights
// position 27. Each customer shows its summed quantity and amount; a code
// without a company record is listed with an empty name and manager.
class TFrmOutSortC : public OutRankingForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 27;

    explicit TFrmOutSortC(QWidget* owner = nullptr);

protected:
    std::unique_ptr<OutRankingReport> makeReport() const override;
};
