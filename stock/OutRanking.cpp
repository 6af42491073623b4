#include "stock/OutRanking.h"

#include "core/Upublic.h"
#include "platform/db/Dataset.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "stock/OutRankingReport.h"
#include "stock/OutStatForm.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

enum SortChoice { ByAmount, ByQuantity };

const QStringList kSortTexts = {QStringLiteral("按金额排序"), QStringLiteral("按数量排序")};
const QStringList kKindChoices = {QStringLiteral("全部"), QStringLiteral("销售"), QStringLiteral("退货厂商")};
// The printed type texts, by choice.
const QStringList kKindTexts = {QString(), QStringLiteral("出货"), QStringLiteral("退货厂商")};

} // namespace

OutRankingForm::OutRankingForm(QWidget* owner, db::Dataset& query, Design design)
    : OutStatForm(owner, design.objectName, design.caption, design.position, query), design_(std::move(design))
{
    auto* criteria = new QHBoxLayout;
    criteria->addWidget(makeDateRange(QStringLiteral("起始日期"), QStringLiteral("截止日期")));

    auto* choices = new QVBoxLayout;
    RadioGroup1 = new outstat::ChoiceGroup(QStringLiteral("排序方式"), kSortTexts, this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup2 = new outstat::ChoiceGroup(QStringLiteral("出货方式"), kKindChoices, this);
    RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
    choices->addWidget(RadioGroup1);
    choices->addWidget(RadioGroup2);
    criteria->addLayout(choices);

    auto* results = new QGroupBox(QStringLiteral("统计结果"), this);
    auto* resultRows = new QFormLayout(results);
    makeTotalBoxes(results);
    resultRows->addRow(QStringLiteral("合计数量"), totalQuantityBox());
    resultRows->addRow(QStringLiteral("合计金额"), totalAmountBox());
    criteria->addWidget(results);
    body()->addLayout(criteria);

    addResultGrid(design_.columns);

    resize(860, 560);
    runFormCreate([this] { FormCreate(); });
}

void OutRankingForm::FormCreate()
{
    if (design_.goodsTitles)
        SetGoodsColumnTitles(grid(), QString());
    fromPicker()->setToday();
    toPicker()->setToday();
}

QStringList OutRankingForm::searchSql() const
{
    QStringList sql = design_.selectLines;
    outstat::addKindCondition(sql, outstat::OutKind(RadioGroup2->chosen()));
    sql << design_.groupLine;
    sql << (RadioGroup1->chosen() == ByAmount ? design_.byAmountLine : design_.byQuantityLine);
    return sql;
}

void OutRankingForm::cmd_findClick()
{
    search(searchSql());
}

void OutRankingForm::SumListTotals()
{
    const db::Dataset& q = found();
    const int amou = q.fieldIndex(QStringLiteral("sub_amou"));
    const int tota = q.fieldIndex(QStringLiteral("sub_tota"));
    double quantity = 0;
    double amount = 0;
    for (int r = 0; r < q.recordCount(); ++r) {
        quantity += db::asFloat(q.value(r, amou));
        amount += db::asFloat(q.value(r, tota));
    }
    showTotals(quantity, amount);
}

void OutRankingForm::cmd_prinClick()
{
    if (!outstat::hasQuantityToPrint(totalQuantityBox()))
        return;
    std::unique_ptr<OutRankingReport> ranking = makeReport();
    ranking->setTexts({kSortTexts.value(RadioGroup1->chosen()), kKindTexts.value(RadioGroup2->chosen()),
                       fromPicker()->value(), toPicker()->value(), totalQuantityBox()->text(),
                       totalAmountBox()->text()});
    ranking->preview(this);
}
