#include "stock/RoutSortG.h"

#include "stock/OutStatReport.h"

namespace {

const QString kCodeTitle = QStringLiteral("CodeTitle");
const QString kNameTitle = QStringLiteral("NameTitle");
const QString kSpecTitle = QStringLiteral("SpecTitle");

std::vector<report::Column> goodsColumns()
{
    using outstat::column;
    using report::Align;
    return {column(QStringLiteral("商品编码"), QStringLiteral("gods_code"), 30, Align::Left, kCodeTitle),
            column(QStringLiteral("商品名称"), QStringLiteral("gods_name"), 50, Align::Left, kNameTitle),
            column(QStringLiteral("规格"), QStringLiteral("gods_spec"), 28, Align::Left, kSpecTitle),
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
    report_.setText(kCodeTitle, code);
    report_.setText(kNameTitle, name);
    report_.setText(kSpecTitle, spec);
}
