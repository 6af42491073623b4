#include "stock/UoutList.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/Prompt.h"
#include "stock/OutStatForm.h"
#include "stock/Routlist.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

db::Dataset& outListQ()
{
    return FrmDataMod->OutListQ;
}

const QStringList kKindChoices = {QStringLiteral("全部"), QStringLiteral("销售"), QStringLiteral("退货厂商")};
// The printed type texts, by choice.
const QStringList kKindTexts = {QString(), QStringLiteral("销售出货"), QStringLiteral("退货厂商")};

ui::DbComboBox* makeCombo(const char* objectName, QWidget* parent)
{
    auto* combo = new ui::DbComboBox(parent);
    combo->setObjectName(QString::fromLatin1(objectName));
    return combo;
}

// A group of a code combo "编码" over a name combo "名称".
QGroupBox* codeAndNameGroup(const QString& title, ui::DbComboBox* code, ui::DbComboBox* name, QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    auto* rows = new QFormLayout(group);
    code->setParent(group);
    name->setParent(group);
    rows->addRow(QStringLiteral("编码"), code);
    rows->addRow(QStringLiteral("名称"), name);
    return group;
}

} // namespace

TFrmOutList::TFrmOutList(QWidget* owner)
    : OutStatForm(owner, QStringLiteral("FrmOutList"), QStringLiteral("出货统计"), kPosition, outListQ())
{
    ComboBox1 = makeCombo("ComboBox1", this);
    ComboBox2 = makeCombo("ComboBox2", this);
    ComboBox3 = makeCombo("ComboBox3", this);
    ComboBox4 = makeCombo("ComboBox4", this);
    auto* criteria = new QHBoxLayout;
    criteria->addWidget(codeAndNameGroup(QStringLiteral("按商品属性统计"), ComboBox1, ComboBox2, this), 2);
    criteria->addWidget(codeAndNameGroup(QStringLiteral("按客户统计"), ComboBox3, ComboBox4, this), 2);
    criteria->addWidget(makeDateRange(QStringLiteral("日期"), QStringLiteral("日期")), 1);
    body()->addLayout(criteria);

    auto* lower = new QHBoxLayout;
    RadioGroup1 = new outstat::ChoiceGroup(QStringLiteral("出货类型"), kKindChoices, this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    lower->addWidget(RadioGroup1);
    makeTotalBoxes(this);
    lower->addWidget(new QLabel(QStringLiteral("合计数量"), this));
    lower->addWidget(totalQuantityBox());
    lower->addWidget(new QLabel(QStringLiteral("合计金额"), this));
    lower->addWidget(totalAmountBox());
    lower->addStretch(1);
    body()->addLayout(lower);

    // Twelve columns within the smallest screen: codes and figures as narrow
    // as their titles and values allow, the rest to the two names.
    addResultGrid({{QStringLiteral("bill_no"), QStringLiteral("流水号"), 112},
                   {QStringLiteral("comp_code"), QStringLiteral("公司编码"), 64},
                   {QStringLiteral("comp_name"), QStringLiteral("公司名称"), 172},
                   {QStringLiteral("gods_code"), QString(), 64},
                   {QStringLiteral("gods_name"), QString(), 150},
                   {QStringLiteral("gods_spec"), QString(), 60},
                   {QStringLiteral("gods_type"), QString(), 60},
                   // OutListQ carries no kind: the column stays empty.
                   {QStringLiteral("gods_kind"), QString(), 44},
                   {QStringLiteral("gods_unit"), QStringLiteral("单位"), 44},
                   {QStringLiteral("unit_pric"), QStringLiteral("单价"), 60},
                   {QStringLiteral("sub_amou"), QStringLiteral("数量"), 56},
                   {QStringLiteral("sub_tota"), QStringLiteral("小计"), 72}});

    auto onChange = [this](ui::DbComboBox* combo, void (TFrmOutList::*handler)()) {
        auto run = ui::guarded(this, [this, handler] { (this->*handler)(); });
        connect(combo, &ui::DbComboBox::textTyped, this, run);
        connect(combo, &ui::DbComboBox::itemChosen, this, run);
    };
    onChange(ComboBox1, &TFrmOutList::ComboBox1Change);
    onChange(ComboBox2, &TFrmOutList::ComboBox2Change);
    onChange(ComboBox3, &TFrmOutList::ComboBox3Change);
    onChange(ComboBox4, &TFrmOutList::ComboBox4Change);

    keep(outListQ().onCalcFields([this](db::Dataset& ds) { CalcLineTotal(ds); }));

    resize(1000, 640);
    runFormCreate([this] { FormCreate(); });
}

void TFrmOutList::FormCreate()
{
    SetGoodsColumnTitles(grid(), QStringLiteral("34567"));
    fromPicker()->setToday();
    toPicker()->setToday();
    FillListCombos();
}

void TFrmOutList::FillListCombos()
{
    FillComboDistinctOnUse(QStringLiteral("goods"), QStringLiteral("gods_code"), ComboBox1);
    FillComboDistinctOnUse(QStringLiteral("goods"), QStringLiteral("gods_name"), ComboBox2);
    FillComboDistinctOnUse(QStringLiteral("company"), QStringLiteral("comp_code"), ComboBox3);
    FillComboDistinctOnUse(QStringLiteral("company"), QStringLiteral("comp_name"), ComboBox4);
}

void TFrmOutList::CalcLineTotal(db::Dataset& q)
{
    const double quantity = q.asFloat(QStringLiteral("sub_amou"));
    q.setValue(QStringLiteral("sub_tota"), quantity * q.asFloat(QStringLiteral("unit_pric")));
}

void TFrmOutList::clearCombosBut(const ui::DbComboBox* keep)
{
    for (ui::DbComboBox* combo : {ComboBox1, ComboBox2, ComboBox3, ComboBox4})
        if (combo != keep)
            combo->setText(QString());
}

void TFrmOutList::pairChanged(ui::DbComboBox* changed, ui::DbComboBox* partner, const QString& table,
                              const QString& keyColumn, const QString& resultColumn)
{
    if (changed->text().isEmpty())
        return;
    clearCombosBut(changed);
    partner->setText(LookupField(table, keyColumn, changed->text(), resultColumn));
}

void TFrmOutList::ComboBox1Change()
{
    pairChanged(ComboBox1, ComboBox2, QStringLiteral("goods"), QStringLiteral("gods_code"),
                QStringLiteral("gods_name"));
}

void TFrmOutList::ComboBox2Change()
{
    pairChanged(ComboBox2, ComboBox1, QStringLiteral("goods"), QStringLiteral("gods_name"),
                QStringLiteral("gods_code"));
}

void TFrmOutList::ComboBox3Change()
{
    pairChanged(ComboBox3, ComboBox4, QStringLiteral("company"), QStringLiteral("comp_code"),
                QStringLiteral("comp_name"));
}

void TFrmOutList::ComboBox4Change()
{
    pairChanged(ComboBox4, ComboBox3, QStringLiteral("company"), QStringLiteral("comp_name"),
                QStringLiteral("comp_code"));
}

QStringList TFrmOutList::searchSql() const
{
    // Every line is listed: "distinct" here would fold two equal lines of
    // one document (same goods, price and quantity) into one and undercount.
    QStringList sql = {QStringLiteral("select comp_code,b.bill_no,gods_code,"),
                       QStringLiteral("unit_pric,sub_amou from OutMain a inner join "),
                       QStringLiteral("OutGoods b on a.bill_no=b.bill_no "),
                       QStringLiteral("where a.bill_date between :date1 and :date2  ")};
    outstat::addKindCondition(sql, outstat::OutKind(RadioGroup1->chosen()), QStringLiteral(" "));
    if (!ComboBox1->text().trimmed().isEmpty() || !ComboBox2->text().trimmed().isEmpty())
        sql << QStringLiteral("and gods_code=:gods_code ");
    if (!ComboBox3->text().trimmed().isEmpty() || !ComboBox4->text().trimmed().isEmpty())
        sql << QStringLiteral("and comp_code=:comp_code ");
    return sql;
}

void TFrmOutList::cmd_findClick()
{
    search(searchSql(), {{QStringLiteral("gods_code"), ComboBox1->text()},
                         {QStringLiteral("comp_code"), ComboBox3->text()}});
}

void TFrmOutList::SumListTotals()
{
    const db::Dataset& q = outListQ();
    const int amou = q.fieldIndex(QStringLiteral("sub_amou"));
    const int pric = q.fieldIndex(QStringLiteral("unit_pric"));
    double quantity = 0;
    double amount = 0;
    for (int r = 0; r < q.recordCount(); ++r) {
        const double lineQuantity = db::asFloat(q.value(r, amou));
        quantity += lineQuantity;
        amount += lineQuantity * db::asFloat(q.value(r, pric));
    }
    showTotals(quantity, amount);
}

void TFrmOutList::cmd_prinClick()
{
    if (!outstat::hasQuantityToPrint(totalQuantityBox()))
        return;
    TQRoutlist list(outListQ());
    list.setTexts({ComboBox1->text(), ComboBox2->text(), ComboBox3->text(), ComboBox4->text(),
                   fromPicker()->value(), toPicker()->value(), kKindTexts.value(RadioGroup1->chosen()),
                   totalQuantityBox()->text(), totalAmountBox()->text(), GoodsCodeCaption, GoodsNameCaption,
                   GoodsSpecCaption});
    list.preview(this);
}
