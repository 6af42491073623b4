#include "members/Ucardpass.h"

TFrmCardPass::TFrmCardPass(QWidget* owner)
    : CardOperationForm(owner, CardOperation::Password)
{
}
