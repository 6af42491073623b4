#include "stock/Routlist.h"

#include "platform/db/Value.h"
#include "platform/report/Columns.h"
#include "platform/report/Preview.h"
#include "stock/OutStatReport.h"

namespace {

const QString kGoodsCode = QStringLiteral("GoodsCode");
const QString kGoodsName = QStringLiteral("GoodsName");
const QString kCompanyCode = QStringLiteral("CompCode");
const QString kCompanyName = QStringLiteral("CompName");

} // namespace

TQRoutlist::TQRoutlist(db::Dataset& lines)
{
    using outstat::addCaptioned;
    report_.setPaperA4();
    report_.setDocumentName(QStringLiteral("出货统计"));
    report_.setDataset(&lines);

    outstat::addTitle(report_, QStringLiteral("出货统计"));
    report::Band& head = report_.pageHeader();
    double x = addCaptioned(head, 0, 12, QStringLiteral("商品编码"), 18, kGoodsCode, 35);
    x = addCaptioned(head, x + 4, 12, QStringLiteral("商品名称"), 18, kGoodsName, 45);
    outstat::addDateRange(head, x + 2, 12);
    x = addCaptioned(head, 0, 19, QStringLiteral("客户编号"), 18, kCompanyCode, 35);
    x = addCaptioned(head, x + 4, 19, QStringLiteral("客户"), 10, kCompanyName, 53);
    head.addLabel(outstat::kBillType, QRectF(x + 4, 19, 30, 6), QString());
    head.setHeight(27);

    using outstat::column;
    using report::Align;
    const std::vector<report::Column> columns = {
        column(QStringLiteral("流水号"), QStringLiteral("bill_no"), 30),
        column(QStringLiteral("客户"), QStringLiteral("comp_name"), 30),
        column(QStringLiteral("商品编码"), QStringLiteral("gods_code"), 22, Align::Left, outstat::kCodeTitle),
        column(QStringLiteral("商品名称"), QStringLiteral("gods_name"), 32, Align::Left, outstat::kNameTitle),
        column(QStringLiteral("规格"), QStringLiteral("gods_spec"), 18, Align::Left, outstat::kSpecTitle),
        column(QStringLiteral("单位"), QStringLiteral("gods_unit"), 12),
        column(QStringLiteral("单价"), QStringLiteral("unit_pric"), 15, Align::Right),
        column(QStringLiteral("数量"), QStringLiteral("sub_amou"), 15, Align::Right),
        column(QStringLiteral("小计"), QStringLiteral("sub_tota"), 16, Align::Right)};
    report::addColumns(report_.columnHeader(), 0, report_.detail(), columns);

    outstat::addTotalsSummary(report_, columns);
}

void TQRoutlist::setTexts(const OutListPrintTexts& t)
{
    report_.setText(kGoodsCode, t.goodsCode);
    report_.setText(kGoodsName, t.goodsName);
    report_.setText(kCompanyCode, t.companyCode);
    report_.setText(kCompanyName, t.companyName);
    report_.setText(outstat::kDateFrom, db::dateText(t.from));
    report_.setText(outstat::kDateTo, db::dateText(t.to));
    report_.setText(outstat::kBillType, t.billTypeText);
    outstat::setGoodsTitles(report_, t.codeTitle, t.nameTitle, t.specTitle);
    outstat::setTotals(report_, t.totalQuantity, t.totalAmount);
}

void TQRoutlist::preview(QWidget* parent) const
{
    report::preview(report_, parent);
}
