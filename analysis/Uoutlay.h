#pragma once

#include "analysis/OtherMoneyForm.h"

// "其它支出费用": the shop's other expense entries, insifee rows of gath_type
// "Outlay" (found whatever the case of the code), subtracted by the profit
// analysis. Position 32.
class TFrmOutlay : public OtherMoneyForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 32;

    explicit TFrmOutlay(QWidget* owner = nullptr);
};
