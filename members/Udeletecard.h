#pragma once

#include "members/CardOperation.h"

// "会员退卡": refunds deposit and balance and disables the card; the number stays.
class TFrmDeleteCard : public CardOperationForm {
    Q_OBJECT
public:
    explicit TFrmDeleteCard(QWidget* owner = nullptr);
};
