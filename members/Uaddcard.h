#pragma once

#include "members/CardOperation.h"

// "会员补卡": gives a member a new card number for a fee.
class TFrmAddCard : public CardOperationForm {
    Q_OBJECT
public:
    explicit TFrmAddCard(QWidget* owner = nullptr);
};
