#include "analysis/Uoutlay.h"

TFrmOutlay::TFrmOutlay(QWidget* owner)
    : OtherMoneyForm(owner, {QStringLiteral("FrmOutlay"), QStringLiteral("其它支出费用"), kPosition,
                             QStringLiteral("Outlay"), QStringLiteral("其它支出"), QStringLiteral("outlay"),
                             QStringLiteral("Outlay")})
{
}
