#include "analysis/Rservsorts.h"

TQservsorts::TQservsorts(db::Dataset& rows)
    : RankingReport(rows, QStringLiteral("会员消费排行-按项目"),
                    {
                        column(QStringLiteral("项目编号"), QStringLiteral("serve_code"), 28),
                        column(QStringLiteral("项目名称"), QStringLiteral("serve_name"), 50),
                        column(QStringLiteral("类别"), QStringLiteral("serve_type"), 28),
                        column(QStringLiteral("单价"), QStringLiteral("unit_pric"), 24, report::Align::Right),
                        column(QStringLiteral("预估时间/分"), QStringLiteral("gage_time"), 26, report::Align::Right),
                        column(QStringLiteral("统计金额"), QStringLiteral("serve_fee"), 34, report::Align::Right),
                    })
{
}
