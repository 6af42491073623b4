#include "analysis/Rservelist.h"

#include "analysis/ListTotals.h"
#include "platform/report/Columns.h"

namespace {

using report::Align;
using report::TextStyle;

const TextStyle kTitle{16, true, Align::Center};
const TextStyle kCaption{10, true};
const TextStyle kValue{10};

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

TQserveList::TQserveList(db::Dataset& rows)
{
    setPaperA4();
    setDocumentName(QStringLiteral("会员消费明细"));
    setDataset(&rows);

    report::Band& head = pageHeader();
    head.addLabel({}, {0, 0, contentWidth(), 10}, QStringLiteral("会员消费明细"), kTitle);
    head.addLabel({}, {0, 13, 20, 6}, QStringLiteral("项目编号"), kCaption);
    head.addLabel(QStringLiteral("insi_code"), {20, 13, 45, 6}, {}, kValue);
    head.addLabel({}, {70, 13, 20, 6}, QStringLiteral("项目名称"), kCaption);
    head.addLabel(QStringLiteral("insi_name"), {90, 13, 60, 6}, {}, kValue);
    head.addLabel({}, {0, 20, 20, 6}, QStringLiteral("日期范围"), kCaption);
    head.addLabel(QStringLiteral("datea"), {20, 20, 24, 6}, {}, kValue);
    head.addLabel({}, {44, 20, 6, 6}, QStringLiteral("至"), kValue);
    head.addLabel(QStringLiteral("dateb"), {50, 20, 24, 6}, {}, kValue);
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
    setText(QStringLiteral("datea"), ShortDateText(from));
    setText(QStringLiteral("dateb"), ShortDateText(to));
    setText(QStringLiteral("hjje"), total);
}
