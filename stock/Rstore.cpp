#include "stock/Rstore.h"

#include "platform/report/Columns.h"
#include "platform/report/Preview.h"

namespace {

using report::Align;

const QString kTitleCode = QStringLiteral("TitleCode");
const QString kTitleName = QStringLiteral("TitleName");
const QString kTitleSpec = QStringLiteral("TitleSpec");
const QString kTitleType = QStringLiteral("TitleType");
const QString kTotalQuantity = QStringLiteral("TotalQuantity");
const QString kTotalCost = QStringLiteral("TotalCost");

constexpr double kBodyPoints = 10;
constexpr double kTotalsTop = 10;
constexpr double kTotalsHeight = 6;
constexpr double kHeadingsTop = 18;

} // namespace

TRptstore::TRptstore(db::Dataset* stock)
{
    report_.setPaperA4();
    report_.setMargins(QMarginsF(10, 10, 10, 10));
    report_.setDataset(stock);
    report_.setDocumentName(QStringLiteral("库存报表"));

    report::Band& title = report_.title();
    title.addLabel(QStringLiteral("Title"), {0, 0, report_.contentWidth(), 8}, QStringLiteral("库存报表"),
                   {12, true, Align::Center});
    const report::TextStyle body{kBodyPoints};
    title.addLabel({}, {0, kTotalsTop, 18, kTotalsHeight}, QStringLiteral("总数量"), body);
    title.addLabel(kTotalQuantity, {18, kTotalsTop, 40, kTotalsHeight}, QString(), body);
    title.addLabel({}, {70, kTotalsTop, 18, kTotalsHeight}, QStringLiteral("总成本"), body);
    title.addLabel(kTotalCost, {88, kTotalsTop, 40, kTotalsHeight}, QString(), body);

    // The column titles stand in the title band: the first page carries them.
    report::addColumns(title, kHeadingsTop, report_.detail(),
                       {
                           {QStringLiteral("商品编码"), QStringLiteral("gods_code"), 28, Align::Left, kTitleCode},
                           {QStringLiteral("商品名称"), QStringLiteral("gods_name"), 40, Align::Left, kTitleName},
                           {QStringLiteral("规格"), QStringLiteral("gods_spec"), 22, Align::Left, kTitleSpec},
                           {QStringLiteral("型号"), QStringLiteral("gods_type"), 22, Align::Left, kTitleType},
                           {QStringLiteral("单位"), QStringLiteral("gods_unit"), 14, Align::Left, QString()},
                           {QStringLiteral("数量"), QStringLiteral("gods_amou"), 20, Align::Right, QString()},
                           {QStringLiteral("成本"), QStringLiteral("cost_pric"), 20, Align::Right, QString()},
                           {QStringLiteral("小计"), QStringLiteral("cost_tota"), 24, Align::Right, QString()},
                       });
}

void TRptstore::setGoodsTitles(const QString& code, const QString& name, const QString& spec, const QString& type)
{
    report_.setText(kTitleCode, code);
    report_.setText(kTitleName, name);
    report_.setText(kTitleSpec, spec);
    report_.setText(kTitleType, type);
}

void TRptstore::setTotals(const QString& quantity, const QString& cost)
{
    report_.setText(kTotalQuantity, quantity);
    report_.setText(kTotalCost, cost);
}

void TRptstore::preview(QWidget* parent) const
{
    report::preview(report_, parent);
}
