#pragma once

#include "members/CardOperation.h"

// "会员发卡": gives a member without a card number a card, its deposit and password.
class TFrmNewCard : public CardOperationForm {
    Q_OBJECT
public:
    explicit TFrmNewCard(QWidget* owner = nullptr);
};
