#include "stock/Uoutfind.h"

#include "core/Udatamod.h"

namespace {

const DocumentFinderDef& outFinder()
{
    static const DocumentFinderDef def{
        QStringLiteral("FrmOutFind"), QStringLiteral("出货单查询"), QStringLiteral("select * from outmain "),
        QStringLiteral(" where bill_date between :date1 and :date2 and bill_type=:billtype"),
        QStringLiteral(" where bill_date between :date1 and :date2  and bill_type=:billtype ")};
    return def;
}

} // namespace

TFrmOutFind::TFrmOutFind(QWidget* owner)
    : DocumentFinder(owner, outFinder(), FrmDataMod->OutFindQ)
{
}
