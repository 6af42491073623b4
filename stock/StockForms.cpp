#include "stock/StockForms.h"

#include "core/FunctionPositions.h"
#include "stock/Ucompany.h"
#include "stock/Ugoods.h"

void RegisterStockForms()
{
    RegisterForm(17, [](QWidget* owner) -> QDialog* { return new TFrmGoods(owner); });
    RegisterForm(18, [](QWidget* owner) -> QDialog* { return new TFrmCompany(owner); });
}
