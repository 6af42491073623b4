#include "members/Unewcard.h"

TFrmNewCard::TFrmNewCard(QWidget* owner)
    : CardOperationForm(owner, CardOperation::Issue)
{
}
