#include "stock/UoutsortG.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "stock/RoutSortG.h"

namespace {

OutRankingForm::Design goodsRanking()
{
    return {QStringLiteral("FrmOutSortG"),
            QStringLiteral("出货排行-按货品"),
            TFrmOutSortG::kPosition,
            {QStringLiteral("select distinct b.gods_code,"),
             QStringLiteral("sum(b.sub_amou) as sub_amou,avg(unit_pric) as unit_pric,"),
             QStringLiteral("sum(b.unit_pric*b.sub_amou) as sub_tota "),
             QStringLiteral("from OutMain a inner join OutGoods b "),
             QStringLiteral("on a.bill_no=b.bill_no "),
             QStringLiteral("where a.bill_date between :date1 and :date2  ")},
            QStringLiteral(" group by gods_code "),
            QStringLiteral("order by 4 desc"),
            QStringLiteral("order by 2 desc"),
            {{QStringLiteral("gods_code"), QStringLiteral("货品编码"), 90},
             {QStringLiteral("gods_name"), QStringLiteral("货品名称"), 150},
             {QStringLiteral("gods_spec"), QStringLiteral("规格"), 70},
             {QStringLiteral("gods_type"), QStringLiteral("型号"), 70},
             {QStringLiteral("gods_kind"), QStringLiteral("种类"), 70},
             {QStringLiteral("gods_unit"), QStringLiteral("单位"), 50},
             {QStringLiteral("sub_amou"), QStringLiteral("数量"), 70},
             {QStringLiteral("unit_pric"), QStringLiteral("平均价"), 70},
             {QStringLiteral("sub_tota"), QStringLiteral("金额"), 80}},
            true};
}

} // namespace

TFrmOutSortG::TFrmOutSortG(QWidget* owner) : OutRankingForm(owner, FrmDataMod->OutSortQ, goodsRanking()) {}

std::unique_ptr<OutRankingReport> TFrmOutSortG::makeReport() const
{
    auto ranking = std::make_unique<TQRoutSortG>(dataset());
    ranking->setGoodsTitles(GoodsCodeCaption, GoodsNameCaption, GoodsSpecCaption);
    return ranking;
}
