#include "stock/Uinfind.h"

#include "core/Udatamod.h"

namespace {

const DocumentFinderDef& inFinder()
{
    static const QString terms = QStringLiteral(" where bill_date between :date1 and :date2 and bill_type=:billtype");
    static const DocumentFinderDef def{QStringLiteral("FrmInFind"), QStringLiteral("单据查询"),
                                       QStringLiteral("select * from inmain "), terms, terms};
    return def;
}

} // namespace

TFrmInFind::TFrmInFind(QWidget* owner)
    : DocumentFinder(owner, inFinder(), FrmDataMod->InFindQ)
{
}
