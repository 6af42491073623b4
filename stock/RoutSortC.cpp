#include "stock/RoutSortC.h"

#include "stock/OutStatReport.h"

namespace {

std::vector<report::Column> customerColumns()
{
    using outstat::column;
    using report::Align;
    return {column(QStringLiteral("公司编码"), QStringLiteral("comp_code"), 30),
            column(QStringLiteral("公司名称"), QStringLiteral("comp_name"), 70),
            column(QStringLiteral("负责人"), QStringLiteral("head_name"), 30),
            column(QStringLiteral("数量"), QStringLiteral("sub_amou"), 28, Align::Right),
            column(QStringLiteral("金额"), QStringLiteral("sub_tota"), 32, Align::Right)};
}

} // namespace

TQRoutSortC::TQRoutSortC(db::Dataset& groups)
    : OutRankingReport(groups, QStringLiteral("出货排行-按客户"), customerColumns())
{
}
