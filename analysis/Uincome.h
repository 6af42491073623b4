#pragma once

#include "analysis/OtherMoneyForm.h"

// "其它收入费用": the shop's other income entries, insifee rows of gath_type
// "income", counted by the profit analysis. Position 33.
class TFrmIncome : public OtherMoneyForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 33;

    explicit TFrmIncome(QWidget* owner = nullptr);
};
