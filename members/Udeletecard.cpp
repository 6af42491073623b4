#include "members/Udeletecard.h"

TFrmDeleteCard::TFrmDeleteCard(QWidget* owner)
    : CardOperationForm(owner, CardOperation::Return)
{
}
