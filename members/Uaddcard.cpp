#include "members/Uaddcard.h"

TFrmAddCard::TFrmAddCard(QWidget* owner)
    : CardOperationForm(owner, CardOperation::Replace)
{
}
