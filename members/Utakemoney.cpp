#include "members/Utakemoney.h"

TFrmTakeMoney::TFrmTakeMoney(QWidget* owner)
    : CardOperationForm(owner, CardOperation::Withdraw)
{
}
