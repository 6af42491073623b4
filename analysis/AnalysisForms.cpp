#include "analysis/AnalysisForms.h"

#include "analysis/UemplList.h"
#include "analysis/Ugainlist.h"
#include "analysis/Uincome.h"
#include "analysis/Uoutlay.h"
#include "analysis/Usalary.h"
#include "analysis/Uservelist.h"
#include "analysis/Uservsorti.h"
#include "analysis/Uservsorts.h"
#include "core/FunctionPositions.h"

void RegisterAnalysisForms()
{
    RegisterForm(28, [](QWidget* owner) -> QDialog* { return new TFrmEmplList(owner); });
    RegisterForm(29, [](QWidget* owner) -> QDialog* { return new TFrmServeList(owner); });
    RegisterForm(30, [](QWidget* owner) -> QDialog* { return new TFrmServSortI(owner); });
    RegisterForm(31, [](QWidget* owner) -> QDialog* { return new TFrmServSortS(owner); });
    RegisterForm(32, [](QWidget* owner) -> QDialog* { return new TFrmOutlay(owner); });
    RegisterForm(33, [](QWidget* owner) -> QDialog* { return new TFrmIncome(owner); });
    RegisterForm(34, [](QWidget* owner) -> QDialog* { return new TFrmSalary(owner); });
    RegisterForm(35, [](QWidget* owner) -> QDialog* { return new TFrmGainList(owner); });
}
