#include "core/CoreForms.h"

#include "core/FunctionPositions.h"
#include "core/Ubackup.h"
#include "core/Upower.h"
#include "core/Urestore.h"
#include "core/Uuser.h"

void RegisterCoreForms()
{
    RegisterForm(2, [](QWidget* owner) -> QDialog* { return new TFrmUser(owner); });
    RegisterForm(36, [](QWidget* owner) -> QDialog* { return new TFrmPower(owner); });
    RegisterForm(37, [](QWidget* owner) -> QDialog* { return new TFrmBackUp(owner); });
    RegisterForm(38, [](QWidget* owner) -> QDialog* { return new TFrmRestore(owner); });
}
