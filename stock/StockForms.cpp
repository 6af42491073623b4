#include "stock/StockForms.h"

#include "core/FunctionPositions.h"
#include "stock/Ucompany.h"
#include "stock/Ugoods.h"
#include "stock/Uin.h"
#include "stock/Uout.h"
#include "stock/UoutList.h"
#include "stock/UoutsortC.h"
#include "stock/UoutsortG.h"
#include "stock/Ureturnin.h"
#include "stock/Ureturnout.h"
#include "stock/Ustore.h"
#include "stock/Ustorini.h"

void RegisterStockForms()
{
    RegisterForm(17, [](QWidget* owner) -> QDialog* { return new TFrmGoods(owner); });
    RegisterForm(18, [](QWidget* owner) -> QDialog* { return new TFrmCompany(owner); });
    RegisterForm(19, [](QWidget* owner) -> QDialog* { return new TFrmStorIni(owner); });
    RegisterForm(20, [](QWidget* owner) -> QDialog* { return new TFrmStore(owner); });
    RegisterForm(21, [](QWidget* owner) -> QDialog* { return new TFrmIn(owner); });
    RegisterForm(22, [](QWidget* owner) -> QDialog* { return new TFrmOut(owner); });
    RegisterForm(23, [](QWidget* owner) -> QDialog* { return new TFrmReturnIn(owner); });
    RegisterForm(24, [](QWidget* owner) -> QDialog* { return new TFrmReturnout(owner); });
    RegisterForm(25, [](QWidget* owner) -> QDialog* { return new TFrmOutList(owner); });
    RegisterForm(26, [](QWidget* owner) -> QDialog* { return new TFrmOutSortG(owner); });
    RegisterForm(27, [](QWidget* owner) -> QDialog* { return new TFrmOutSortC(owner); });
}
