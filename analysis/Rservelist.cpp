#include "analysis/Rservelist.h"

using report::Align;

TQserveList::TQserveList(db::Dataset& rows) : ListReport(&rows, QStringLiteral("会员消费明细"))
{
    report::Band& head = pageHeader();
    head.addLabel({}, {0, 13, 20, 6}, QStringLiteral("项目编号"), kCaption);
    head.addLabel(QStringLiteral("insi_code"), {20, 13, 45, 6}, {}, kValue);
    head.addLabel({}, {70, 13, 20, 6}, QStringLiteral("项目名称"), kCaption);
    head.addLabel(QStringLiteral("insi_name"), {90, 13, 60, 6}, {}, kValue);
    addDateRangeLine(20);
    head.addLabel({}, {120, 20, 20, 6}, QStringLiteral("消费金额"), kCaption);
    head.addLabel(QStringLiteral("hjje"), {140, 20, 40, 6}, {}, kValue);

    report::ColumnsStyle style;
    style.heading.pointSize = 9;
    style.cell.pointSize = 9;
    report::addColumns(head, 28, detail(),
                       {
                           column(QStringLiteral("服务单号"), QStringLiteral("bill_no"), 30),
                           column(QStringLiteral("开单日期"), QStringLiteral("bill_date"), 20),
                           column(QStringLiteral("会员卡号"), QStringLiteral("card_no"), 20),
                           column(QStringLiteral("姓名"), QStringLiteral("insi_name"), 18),
                           column(QStringLiteral("服务项目"), QStringLiteral("serve_code"), 18),
                           column(QStringLiteral("名称"), QStringLiteral("serve_name"), 28),
                           column(QStringLiteral("类型"), QStringLiteral("serve_type"), 16),
                           column(QStringLiteral("应收款"), QStringLiteral("should_gath"), 20, Align::Right),
                           column(QStringLiteral("已收款"), QStringLiteral("serv_fee"), 20, Align::Right),
                       },
                       style);
}

void TQserveList::fillHeader(const QString& itemCode, const QString& itemName, const QDate& from,
                             const QDate& to, const QString& total)
{
    setText(QStringLiteral("insi_code"), itemCode);
    setText(QStringLiteral("insi_name"), itemName);
    setDateRange(from, to);
    setText(QStringLiteral("hjje"), total);
}
