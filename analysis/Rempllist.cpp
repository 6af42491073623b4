#include "analysis/Rempllist.h"

using report::Align;

TQempllist::TQempllist(db::Dataset* lines) : ListReport(lines, QStringLiteral("个人业绩明细"))
{
    report::Band& header = pageHeader();
    header.addLabel({}, {0, 13, 18, 6}, QStringLiteral("员工编码"));
    header.addLabel(QStringLiteral("empl_code"), {18, 13, 40, 6}, {});
    header.addLabel({}, {62, 13, 18, 6}, QStringLiteral("员工名称"));
    header.addLabel(QStringLiteral("empl_name"), {80, 13, 40, 6}, {});
    header.addLabel({}, {0, 20, 18, 6}, QStringLiteral("日期范围"));
    header.addLabel(QStringLiteral("datea"), {18, 20, 28, 6}, {});
    header.addLabel({}, {46, 20, 4, 6}, QStringLiteral("-"), {10, false, Align::Center});
    header.addLabel(QStringLiteral("dateb"), {50, 20, 28, 6}, {});
    header.addLabel({}, {0, 27, 36, 6}, QStringLiteral("服务金额+销售金额"));
    header.addLabel(QStringLiteral("hjje"), {36, 27, 30, 6}, {});
    header.addLabel({}, {70, 27, 18, 6}, QStringLiteral("提成金额"));
    header.addLabel(QStringLiteral("tcje"), {88, 27, 30, 6}, {});

    report::addColumns(header, 35, detail(),
                       {
                           column(QStringLiteral("单据号"), QStringLiteral("bill_no"), 34),
                           column(QStringLiteral("日期"), QStringLiteral("bill_date"), 24),
                           column(QStringLiteral("项目编号"), QStringLiteral("serve_code"), 26),
                           column(QStringLiteral("项目金额"), QStringLiteral("shou_tota"), 24, Align::Right),
                           column(QStringLiteral("提成比例（%）"), QStringLiteral("rate_value"), 26, Align::Right),
                           column(QStringLiteral("提成金额"), QStringLiteral("fact_tota"), 24, Align::Right),
                           column(QStringLiteral("备注"), QStringLiteral("bill_note"), 32),
                       });
}
