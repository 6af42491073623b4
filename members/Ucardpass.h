#pragma once

#include "members/CardOperation.h"

// "会员密码修改": sets a new card password; no money moves.
class TFrmCardPass : public CardOperationForm {
    Q_OBJECT
public:
    explicit TFrmCardPass(QWidget* owner = nullptr);
};
