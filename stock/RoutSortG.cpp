#include "stock/RoutSortG.h"

#include "stock/OutStatReport.h"

namespace {

std::vector<report::Column> goodsColumns()
{
    using outstat::column;
    using report::Align;
    return {column(QStringLiteral("商品编码"), QStringLiteral("gods_code"), 30, Align::Left, outstat::kCodeTitle),
            column(QStringLiteral("商品名称"), QStringLiteral("gods_name"), 50, Align::Left, outstat::kNameTitle),
            column(QStringLiteral("规格"), QStringLiteral("gods_spec"), 28, Align::Left, outstat::kSpecTitle),
            column(QStringLiteral("单位"), QStringLiteral("gods_unit"), 16),
            column(QStringLiteral("单价"), QStringLiteral("unit_pric"), 20, Align::Right),
            column(QStringLiteral("数量"), QStringLiteral("sub_amou"), 22, Align::Right),
            column(QStringLiteral("小计"), QStringLiteral("sub_tota"), 24, Align::Right)};
}

} // namespace

TQRoutSortG::TQRoutSortG(db::Dataset& groups)
    : OutRankingReport(groups, QStringLiteral("出货排行-按货品"), goodsColumns())
{
}

void TQRoutSortG::setGoodsTitles(const QString& code, const QString& name, const QString& spec)
{
    outstat::setGoodsTitles(report_, code, name, spec);
}
