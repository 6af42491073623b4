#include "members/Usavemoney.h"

TFrmSaveMoney::TFrmSaveMoney(QWidget* owner)
    : CardOperationForm(owner, CardOperation::Deposit)
{
}
