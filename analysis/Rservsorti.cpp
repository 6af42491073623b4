#include "analysis/Rservsorti.h"

TQservsorti::TQservsorti(db::Dataset& rows)
    : RankingReport(rows, QStringLiteral("会员消费排行-按会员"),
                    {
                        column(QStringLiteral("会员卡号"), QStringLiteral("card_no"), 25),
                        column(QStringLiteral("姓名"), QStringLiteral("insi_name"), 22),
                        column(QStringLiteral("性别"), QStringLiteral("insi_sex"), 12),
                        column(QStringLiteral("会员卡类型"), QStringLiteral("card_type"), 25),
                        column(QStringLiteral("开户日期"), QStringLiteral("open_date"), 24),
                        column(QStringLiteral("累计消费金额"), QStringLiteral("insi_tota"), 38, report::Align::Right),
                        column(QStringLiteral("本时间段消费金额"), QStringLiteral("serve_fee"), 44, report::Align::Right),
                    })
{
}
