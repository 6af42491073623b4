#include "analysis/Rsalary.h"

#include "platform/report/Columns.h"

using report::Align;

namespace {

report::Column column(const QString& title, const QString& field, double width, Align align = Align::Left)
{
    report::Column c;
    c.title = title;
    c.field = field;
    c.width = width;
    c.align = align;
    return c;
}

} // namespace

TQsalary::TQsalary(db::Dataset* sheet)
{
    setPaperA4();
    setMargins({10, 10, 10, 10});
    setDocumentName(QStringLiteral("薪资统计"));
    setDataset(sheet);

    report::Band& header = pageHeader();
    const double width = contentWidth();
    header.addLabel({}, {0, 0, width, 10}, QStringLiteral("薪资统计"), {16, true, Align::Center});
    header.addLabel({}, {0, 13, 20, 6}, QStringLiteral("统计月份"));
    header.addLabel(QStringLiteral("datea"), {20, 13, 50, 6}, {});
    report::addColumns(header, 21, detail(),
                       {
                           column(QStringLiteral("员工编号"), QStringLiteral("empl_code"), 26),
                           column(QStringLiteral("姓名"), QStringLiteral("empl_name"), 30),
                           column(QStringLiteral("性别"), QStringLiteral("empl_sex"), 14),
                           column(QStringLiteral("部门"), QStringLiteral("dept_name"), 34),
                           column(QStringLiteral("保障底薪"), QStringLiteral("low_salary"), 28, Align::Right),
                           column(QStringLiteral("提成金额"), QStringLiteral("add_fee"), 29, Align::Right),
                           column(QStringLiteral("小计"), QStringLiteral("sub_tota"), 29, Align::Right),
                       });

    summary().addLabel({}, {110, 3, 22, 7}, QStringLiteral("薪资总额"), {10, true, Align::Left});
    summary().addLabel(QStringLiteral("hjje"), {132, 3, 58, 7}, {}, {10, true, Align::Right});
}
