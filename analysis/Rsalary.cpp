#include "analysis/Rsalary.h"

using report::Align;

TQsalary::TQsalary(db::Dataset* sheet) : ListReport(sheet, QStringLiteral("薪资统计"))
{
    report::Band& header = pageHeader();
    header.addLabel({}, {0, 13, 20, 6}, QStringLiteral("统计月份"));
    header.addLabel(QStringLiteral("datea"), {20, 13, 50, 6}, {});
    const std::vector<report::Column> columns = {
        column(QStringLiteral("员工编号"), QStringLiteral("empl_code"), 26),
        column(QStringLiteral("姓名"), QStringLiteral("empl_name"), 30),
        column(QStringLiteral("性别"), QStringLiteral("empl_sex"), 14),
        column(QStringLiteral("部门"), QStringLiteral("dept_name"), 34),
        column(QStringLiteral("保障底薪"), QStringLiteral("low_salary"), 28, Align::Right),
        column(QStringLiteral("提成金额"), QStringLiteral("add_fee"), 29, Align::Right),
        column(QStringLiteral("小计"), QStringLiteral("sub_tota"), 29, Align::Right),
    };
    report::addColumns(header, 21, detail(), columns);

    report::addTotalUnder(summary(), 3, report::columnSpan(columns, QStringLiteral("sub_tota")),
                          QStringLiteral("薪资总额"), QStringLiteral("hjje"), {10, true}, 7);
}
