#include "members/MembersForms.h"

#include "core/FunctionPositions.h"
#include "members/Uaddcard.h"
#include "members/Ubespeak.h"
#include "members/Ucardpass.h"
#include "members/Ucardtype.h"
#include "members/Udeletecard.h"
#include "members/Udyehair.h"
#include "members/Uemployee.h"
#include "members/Uinsider.h"
#include "members/Umarcel.h"
#include "members/Unewcard.h"
#include "members/Usavemoney.h"
#include "members/Userveflow.h"
#include "members/Userveitem.h"
#include "members/Uservelog.h"
#include "members/Utakemoney.h"

void RegisterMembersForms()
{
    RegisterForm(1, [](QWidget* owner) -> QDialog* { return new TFrmEmployee(owner); });
    RegisterForm(3, [](QWidget* owner) -> QDialog* { return new TFrmServeitem(owner); });
    RegisterForm(4, [](QWidget* owner) -> QDialog* { return new TFrmServeFlow(owner); });
    RegisterForm(5, [](QWidget* owner) -> QDialog* { return new TFrmMarcel(owner); });
    RegisterForm(6, [](QWidget* owner) -> QDialog* { return new TFrmDyeHair(owner); });
    RegisterForm(7, [](QWidget* owner) -> QDialog* { return new TFrmCardType(owner); });
    RegisterForm(8, [](QWidget* owner) -> QDialog* { return new TFrmInsider(owner); });
    RegisterForm(9, [](QWidget* owner) -> QDialog* { return new TFrmNewCard(owner); });
    RegisterForm(10, [](QWidget* owner) -> QDialog* { return new TFrmAddCard(owner); });
    RegisterForm(11, [](QWidget* owner) -> QDialog* { return new TFrmDeleteCard(owner); });
    RegisterForm(12, [](QWidget* owner) -> QDialog* { return new TFrmSaveMoney(owner); });
    RegisterForm(13, [](QWidget* owner) -> QDialog* { return new TFrmTakeMoney(owner); });
    RegisterForm(14, [](QWidget* owner) -> QDialog* { return new TFrmCardPass(owner); });
    RegisterForm(15, [](QWidget* owner) -> QDialog* { return new TFrmBespeak(owner); });
    RegisterForm(16, [](QWidget* owner) -> QDialog* { return new TFrmServeLog(owner); });
}
