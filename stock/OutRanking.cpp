#include "stock/OutRanking.h"

#include "core/Upublic.h"
#include "platform/db/Dataset.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/Hourglass.h"
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
    : RecordForm(owner, design.objectName, design.caption, design.position), query_(query),
      design_(std::move(design))
{
    addStandardButtons({"cmd_find", "cmd_prin", "cmd_exit"}, {"查询[&F]", "打印[&P]", "退出[&X]"});
    controls().gateFind = true;
    controls().gatePrint = true;
    setClosableAnyTime(true);

    auto* criteria = new QHBoxLayout;
    auto* dates = new QGroupBox(QStringLiteral("日期范围"), this);
    auto* dateRows = new QFormLayout(dates);
    DateTimePicker1 = new ui::DbDatePicker(dates);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker2 = new ui::DbDatePicker(dates);
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    dateRows->addRow(QStringLiteral("起始日期"), DateTimePicker1);
    dateRows->addRow(QStringLiteral("截止日期"), DateTimePicker2);
    criteria->addWidget(dates);

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
    Edit1 = outstat::makeTotalBox(QStringLiteral("Edit1"), results);
    Edit2 = outstat::makeTotalBox(QStringLiteral("Edit2"), results);
    resultRows->addRow(QStringLiteral("合计数量"), Edit1);
    resultRows->addRow(QStringLiteral("合计金额"), Edit2);
    criteria->addWidget(results);
    body()->addLayout(criteria);

    DBGrid1 = new ui::DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setRowSelect(true);
    DBGrid1->setDataset(&query_);
    DBGrid1->setColumns(design_.columns);
    body()->addWidget(DBGrid1, 1);

    resize(860, 560);
    runFormCreate([this] { FormCreate(); });
}

void OutRankingForm::FormCreate()
{
    if (design_.goodsTitles)
        SetGoodsColumnTitles(DBGrid1, QString());
    DateTimePicker1->setToday();
    DateTimePicker2->setToday();
}

QStringList OutRankingForm::searchSql() const
{
    QStringList sql = design_.selectLines;
    switch (outstat::OutKind(RadioGroup2->chosen())) {
    case outstat::OutKind::Sales:
        sql << QStringLiteral("and bill_type='Out' ");
        break;
    case outstat::OutKind::SupplierReturn:
        sql << QStringLiteral("and bill_type='retu' ");
        break;
    case outstat::OutKind::All:
        break;
    }
    sql << design_.groupLine;
    sql << (RadioGroup1->chosen() == ByAmount ? design_.byAmountLine : design_.byQuantityLine);
    return sql;
}

void OutRankingForm::cmd_findClick()
{
    ui::Hourglass wait;
    outstat::ControlsSuspended suspended(query_);
    query_.close();
    query_.setSql(searchSql());
    query_.setParam(QStringLiteral("date1"), DateTimePicker1->value());
    query_.setParam(QStringLiteral("date2"), DateTimePicker2->value());
    query_.open();
    SumListTotals();
    if (!query_.isEmpty())
        query_.first();
}

void OutRankingForm::SumListTotals()
{
    const int amou = query_.fieldIndex(QStringLiteral("sub_amou"));
    const int tota = query_.fieldIndex(QStringLiteral("sub_tota"));
    double quantity = 0;
    double amount = 0;
    for (int r = 0; r < query_.recordCount(); ++r) {
        quantity += db::asFloat(query_.value(r, amou));
        amount += db::asFloat(query_.value(r, tota));
    }
    Edit1->setText(db::formatAmount(quantity));
    Edit2->setText(db::formatAmount(amount));
}

void OutRankingForm::cmd_prinClick()
{
    if (!outstat::hasQuantityToPrint(Edit1))
        return;
    std::unique_ptr<OutRankingReport> ranking = makeReport();
    ranking->setTexts({kSortTexts.value(RadioGroup1->chosen()), kKindTexts.value(RadioGroup2->chosen()),
                       DateTimePicker1->value(), DateTimePicker2->value(), Edit1->text(), Edit2->text()});
    ranking->preview(this);
}
