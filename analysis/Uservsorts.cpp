#include "analysis/Uservsorts.h"

#include "analysis/Rservsorts.h"
#include "core/Udatamod.h"

TFrmServSortS::TFrmServSortS(QWidget* owner)
    : ServiceRankingForm(owner, {QStringLiteral("FrmServSortS"),
                                 QStringLiteral("会员消费排行-按项目"),
                                 kPosition,
                                 &FrmDataMod->ServSortSQ,
                                 QStringLiteral("serve_code"),
                                 {
                                     {QStringLiteral("serve_code"), QStringLiteral("项目编号"), 90},
                                     {QStringLiteral("serve_name"), QStringLiteral("项目名称"), 140},
                                     {QStringLiteral("serve_type"), QStringLiteral("类别"), 90},
                                     {QStringLiteral("unit_pric"), QStringLiteral("单价"), 70},
                                     {QStringLiteral("gage_time"), QStringLiteral("预估时间（分钟）"), 120},
                                     {QStringLiteral("serve_fee"), QStringLiteral("统计金额"), 100},
                                 }})
{
}

std::unique_ptr<RankingReport> TFrmServSortS::makeReport(db::Dataset& query) const
{
    return std::make_unique<TQservsorts>(query);
}
