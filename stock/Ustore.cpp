#include "stock/Ustore.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

db::Dataset& stockQ()
{
    return FrmDataMod->StoreQ;
}

} // namespace

TFrmStore::TFrmStore(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmStore"), QStringLiteral("库存查询"), kPosition),
      Rptstore(&FrmDataMod->StoreQ)
{
    addStandardButtons({"cmd_find", "cmd_prin", "cmd_exit"}, {"查询[&F]", "打印[&P]", "退出[&X]"});
    controls().gateFind = true;
    controls().gatePrint = true;

    body()->addWidget(buildInputs());

    // The first five titles are the shop's goods captions, set in FormCreate.
    grid_ = ui::DbGrid::rowList(this, &stockQ(),
                                {{QStringLiteral("gods_code"), QString(), 100},
                                 {QStringLiteral("gods_name"), QString(), 150},
                                 {QStringLiteral("gods_spec"), QString(), 80},
                                 {QStringLiteral("gods_type"), QString(), 80},
                                 {QStringLiteral("gods_kind"), QString(), 80},
                                 {QStringLiteral("gods_unit"), QStringLiteral("单位"), 50},
                                 {QStringLiteral("gods_amou"), QStringLiteral("数量"), 70},
                                 {QStringLiteral("cost_pric"), QStringLiteral("成本"), 70},
                                 {QStringLiteral("cost_tota"), QStringLiteral("小计"), 80}});
    body()->addWidget(grid_, 1);
    controls().grid = grid_;

    runFormCreate([this] { FormCreate(); });
    resize(900, 560);
}

QWidget* TFrmStore::buildInputs()
{
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* layout = new QGridLayout(group);

    Edit1 = new QLineEdit(group);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    ComboBox1 = new ui::DbComboBox(group);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox2 = new ui::DbComboBox(group);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    for (QComboBox* combo : {ComboBox1, ComboBox2})
        combo->setMinimumWidth(140);
    CheckBox1 = new QCheckBox(QStringLiteral("全部"), group);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    Edit2 = new QLineEdit(group);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit3 = new QLineEdit(group);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    for (QLineEdit* total : {Edit2, Edit3}) {
        total->setReadOnly(true);
        total->setFocusPolicy(Qt::ClickFocus);
    }

    layout->addWidget(new QLabel(QStringLiteral("产品编码"), group), 0, 0);
    layout->addWidget(Edit1, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("产品名称"), group), 0, 2);
    layout->addWidget(ComboBox1, 0, 3);
    layout->addWidget(new QLabel(QStringLiteral("种类"), group), 0, 4);
    layout->addWidget(ComboBox2, 0, 5);
    layout->addWidget(CheckBox1, 0, 6);
    layout->addWidget(new QLabel(QStringLiteral("库存总数量"), group), 1, 0);
    layout->addWidget(Edit2, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("库存总成本"), group), 1, 2);
    layout->addWidget(Edit3, 1, 3);

    // Only what the user does runs the handlers: the boxes one handler
    // empties must not set off the others.
    connect(Edit1, &QLineEdit::textEdited, this, ui::guarded(this, [this] { Edit1Change(); }));
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, ui::guarded(this, [this] { ComboBox1Change(); }));
    connect(ComboBox1, &QComboBox::activated, this, ui::guarded(this, [this] { ComboBox1Change(); }));
    connect(ComboBox2->lineEdit(), &QLineEdit::textEdited, this, ui::guarded(this, [this] { ComboBox2Change(); }));
    connect(ComboBox2, &QComboBox::activated, this, ui::guarded(this, [this] { ComboBox2Change(); }));
    connect(CheckBox1, &QCheckBox::clicked, this, ui::guarded(this, [this] { CheckBox1Click(); }));
    return group;
}

void TFrmStore::FormCreate()
{
    // The list starts empty: StoreQ may still hold another form's selection.
    stockQ().close();
    keep(stockQ().onCalcFields([this](db::Dataset& q) { CalcStockCost(q); }));
    SetGoodsColumnTitles(grid_, QString());
    FillComboDistinctOnUse(QStringLiteral("goods"), QStringLiteral("gods_name"), ComboBox1);
    FillComboDistinctOnUse(QStringLiteral("goods"), QStringLiteral("gods_kind"), ComboBox2);
}

void TFrmStore::CalcStockCost(db::Dataset& q)
{
    try {
        q.setValue(QStringLiteral("cost_tota"), q.asFloat(QStringLiteral("gods_amou")) * q.asFloat(QStringLiteral("cost_pric")));
    } catch (const std::exception&) {
    }
}

void TFrmStore::cmd_findClick()
{
    ui::Hourglass wait;
    db::Dataset& q = stockQ();
    db::ControlsDisabled pause(q);
    q.close();
    q.setLockType(db::LockType::Optimistic);
    // A stock record is listed once, whatever the goods catalogue holds for
    // its code: a kind is matched through the codes of that kind.
    QStringList sql{QStringLiteral("select a.gods_code,a.gods_amou,a.cost_pric,a.gods_amou*a.cost_pric "),
                    QStringLiteral(" from storemain a ")};
    const QString code = Edit1->text().trimmed();
    const QString kind = ComboBox2->currentText().trimmed();
    if (!code.isEmpty())
        sql << QStringLiteral(" where a.gods_code=:gods_code");
    else if (!kind.isEmpty())
        sql << QStringLiteral(" where a.gods_code in (select gods_code from goods where gods_kind=:gods_kind)");
    else
        sql << QStringLiteral(" where trim(a.gods_code)<>'' ");
    sql << QStringLiteral(" order by a.gods_code");
    q.setSql(sql);
    if (!code.isEmpty())
        q.setParam(QStringLiteral("gods_code"), code);
    else if (!kind.isEmpty())
        q.setParam(QStringLiteral("gods_kind"), kind);
    q.open();

    double quantity = 0;
    double cost = 0;
    for (int row = 0; row < q.recordCount(); ++row) {
        const double amount = db::asFloat(q.value(row, q.fieldIndex(QStringLiteral("gods_amou"))));
        quantity += amount;
        cost += amount * db::asFloat(q.value(row, q.fieldIndex(QStringLiteral("cost_pric"))));
    }
    if (!q.isEmpty())
        q.first();
    Edit2->setText(db::formatAmount(quantity));
    Edit3->setText(db::formatAmount(cost));
}

void TFrmStore::cmd_prinClick()
{
    try {
        Rptstore.setGoodsTitles(GoodsCodeCaption, GoodsNameCaption, GoodsSpecCaption, GoodsTypeCaption);
        Rptstore.setTotals(Edit2->text(), Edit3->text());
        Rptstore.preview(this);
    } catch (const std::exception&) {
    }
}

void TFrmStore::locateCode(const QString& code)
{
    db::Dataset& q = stockQ();
    if (!q.isActive() || q.isEmpty())
        return;
    LocateCode(q, QStringLiteral("gods_code"), code);
}

void TFrmStore::empty(QComboBox* combo)
{
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
}

void TFrmStore::Edit1Change()
{
    try {
        locateCode(Edit1->text().trimmed());
        empty(ComboBox2);
        CheckBox1->setChecked(false);
    } catch (const std::exception&) {
    }
}

void TFrmStore::ComboBox1Change()
{
    const QString name = ComboBox1->currentText().trimmed();
    if (name.isEmpty())
        return;
    try {
        Edit1->setText(LookupField(QStringLiteral("goods"), QStringLiteral("gods_name"), name,
                                   QStringLiteral("gods_code")));
        Edit1Change();
    } catch (const std::exception&) {
    }
}

void TFrmStore::ComboBox2Change()
{
    if (ComboBox2->currentText().trimmed().isEmpty())
        return;
    Edit1->clear();
    empty(ComboBox1);
    CheckBox1->setChecked(false);
}

void TFrmStore::CheckBox1Click()
{
    Edit1->clear();
    empty(ComboBox1);
    empty(ComboBox2);
}
