#include "members/MembersForms.h"

#include "core/FunctionPositions.h"
#include "members/Ucardtype.h"
#include "members/Uinsider.h"

void RegisterMembersForms()
{
    RegisterForm(7, [](QWidget* owner) -> QDialog* { return new TFrmCardType(owner); });
    RegisterForm(8, [](QWidget* owner) -> QDialog* { return new TFrmInsider(owner); });
}
