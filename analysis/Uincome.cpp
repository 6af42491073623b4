#include "analysis/Uincome.h"

TFrmIncome::TFrmIncome(QWidget* owner)
    : OtherMoneyForm(owner, {QStringLiteral("FrmIncome"), QStringLiteral("其它收入费用"), kPosition,
                             QStringLiteral("income"), QStringLiteral("其它收入"), QStringLiteral("income"),
                             QStringLiteral("income")})
{
}
