#include "stock/UoutsortC.h"

#include "core/Udatamod.h"
#include "stock/RoutSortC.h"

namespace {

OutRankingForm::Design customerRanking()
{
    return {QStringLiteral("FrmOutSortC"),
            QStringLiteral("出货排行-按客户"),
            TFrmOutSortC::kPosition,
            {QStringLiteral("select distinct comp_code,sum(b.sub_amou) as sub_amou,"),
             QStringLiteral("sum(b.unit_pric*b.sub_amou) as sub_tota from OutMain a"),
             QStringLiteral("inner join OutGoods b on a.bill_no=b.bill_no "),
             QStringLiteral("where a.bill_date between :date1 and :date2  ")},
            QStringLiteral(" group by comp_code "),
            QStringLiteral("order by 3 desc"),
            QStringLiteral("order by 2 desc"),
            {{QStringLiteral("comp_code"), QStringLiteral("公司编码"), 90},
             {QStringLiteral("comp_name"), QStringLiteral("公司名称"), 200},
             {QStringLiteral("head_name"), QStringLiteral("负责人名"), 90},
             {QStringLiteral("sub_amou"), QStringLiteral("数量"), 80},
             {QStringLiteral("sub_tota"), QStringLiteral("金额"), 90}},
            false};
}

} // namespace

TFrmOutSortC::TFrmOutSortC(QWidget* owner) : OutRankingForm(owner, FrmDataMod->OutSortCQ, customerRanking()) {}

std::unique_ptr<OutRankingReport> TFrmOutSortC::makeReport() const
{
    return std::make_unique<TQRoutSortC>(dataset());
}
