#pragma once

#include "members/CardOperation.h"

// "会员存款": pays money onto a card.
class TFrmSaveMoney : public CardOperationForm {
    Q_OBJECT
public:
    explicit TFrmSaveMoney(QWidget* owner = nullptr);
};
