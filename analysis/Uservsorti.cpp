#include "analysis/Uservsorti.h"

#include "analysis/Rservsorti.h"
#include "core/Udatamod.h"

TFrmServSortI::TFrmServSortI(QWidget* owner)
    : ServiceRankingForm(owner, {QStringLiteral("FrmServSortI"),
                                 QStringLiteral("会员消费排行-按会员"),
                                 kPosition,
                                 &FrmDataMod->ServSortIQ,
                                 QStringLiteral("card_no"),
                                 {
                                     {QStringLiteral("card_no"), QStringLiteral("会员卡号"), 100},
                                     {QStringLiteral("insi_name"), QStringLiteral("姓名"), 80},
                                     {QStringLiteral("insi_sex"), QStringLiteral("性别"), 50},
                                     {QStringLiteral("card_type"), QStringLiteral("会员卡类型"), 90},
                                     {QStringLiteral("open_date"), QStringLiteral("开户日期"), 90},
                                     {QStringLiteral("insi_tota"), QStringLiteral("累计消费金额"), 100},
                                     {QStringLiteral("serve_fee"), QStringLiteral("本时间段消费额"), 110},
                                 }})
{
}

std::unique_ptr<RankingReport> TFrmServSortI::makeReport(db::Dataset& query) const
{
    return std::make_unique<TQservsorti>(query);
}
