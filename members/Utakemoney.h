#pragma once

#include "members/CardOperation.h"

// "会员取款": takes money off a card against its password.
class TFrmTakeMoney : public CardOperationForm {
    Q_OBJECT
public:
    explicit TFrmTakeMoney(QWidget* owner = nullptr);
};
