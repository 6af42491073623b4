#include "stock/Ustorini.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QBoxLayout>
#include <QPushButton>

namespace {

const QString kAllStock = QStringLiteral("select * from storemain ");

db::Dataset& stockRecords()
{
    return FrmDataMod->StoreiniQ;
}

} // namespace

TFrmStorIni::TFrmStorIni(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmStorIni"), QStringLiteral("库存产品初始化"), kPosition)
{
    addStandardButtons({"cmd_add", "cmd_edit", "cmd_dele", "cmd_save", "cmd_canc", "cmd_exit"},
                       {"导入[&A]", "修改[&E]", "删除[&D]", "保存[&S]", "取消[&C]", "退出[&X]"});

    grid_ = new ui::DbGrid(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setDataset(&stockRecords());
    // The first five titles are the shop's goods captions, set in FormCreate.
    grid_->setColumns({{QStringLiteral("gods_code"), QString(), 100},
                       {QStringLiteral("gods_name"), QString(), 150},
                       {QStringLiteral("gods_spec"), QString(), 80},
                       {QStringLiteral("gods_type"), QString(), 80},
                       {QStringLiteral("gods_kind"), QString(), 80},
                       {QStringLiteral("gods_unit"), QStringLiteral("单位"), 50},
                       {QStringLiteral("gods_amou"), QStringLiteral("数量"), 80, false},
                       {QStringLiteral("cost_pric"), QStringLiteral("成本"), 80, false}});
    body()->addWidget(grid_, 1);

    setRecord(&stockRecords(), nullptr, QStringLiteral("gods_code"));
    runFormCreate([this] { FormCreate(); });
    resize(820, 520);
}

TFrmStorIni::~TFrmStorIni()
{
    // Nothing typed here may reach the table with somebody else's save.
    try {
        if (stockRecords().isActive() && (stockRecords().isEditing() || stockRecords().hasPendingChanges()))
            stockRecords().cancelBatch();
    } catch (const std::exception&) {
    }
}

void TFrmStorIni::FormCreate()
{
    SetGoodsColumnTitles(grid_, QString());
    openStockRecords();
}

void TFrmStorIni::openStockRecords()
{
    db::Dataset& q = stockRecords();
    q.close();
    q.setSql(kAllStock);
    q.setLockType(db::LockType::BatchOptimistic);
    q.open();
}

void TFrmStorIni::SetControlStates()
{
    RecordForm::SetControlStates();
    const bool editing = mode() != FormMode::Null;
    grid_->setReadOnly(!editing);
    if (editing)
        controls().cmd_dele->setEnabled(true);
}

void TFrmStorIni::cmd_addClick()
{
    const ui::Answer answer = ui::ask(this,
                                      QStringLiteral("本操作将商品资料库中的所有产品添加到库存资料中，\n"
                                                     "但不会影响当前库存数量，是否执行?"),
                                      QStringLiteral("确认"), ui::Buttons::OkCancel, ui::Answer::Cancel);
    if (answer == ui::Answer::Cancel)
        return;
    ui::Hourglass wait;
    try {
        importMissingGoods();
    } catch (const std::exception& e) {
        // nothing was written: the import is all or nothing
        if (IsDatabaseRefusal(e))
            ShowSaveFailure(this, e);
    }
    try {
        openStockRecords();
    } catch (const std::exception&) {
    }
    setMode(FormMode::Null);
}

void TFrmStorIni::importMissingGoods()
{
    db::Dataset& goods = FrmDataMod->TempQ;
    db::Dataset& stock = FrmDataMod->StoreQ;
    db::Transaction t(FrmDataMod->AdoConn);
    goods.close();
    goods.setSql(QStringLiteral("select gods_code from goods "));
    goods.open();
    stock.close();
    stock.setSql(kAllStock);
    stock.setLockType(db::LockType::Optimistic);
    stock.open();
    for (int row = 0; row < goods.recordCount(); ++row) {
        const QString code = db::asString(goods.value(row, 0));
        // A goods without a code has nothing a stock record could be found by.
        if (code.trimmed().isEmpty())
            continue;
        // The table tells codes apart regardless of case and holds one record
        // per code: a goods listed twice, or in two spellings, gets one.
        if (LocateCode(stock, QStringLiteral("gods_code"), code))
            continue;
        stock.append();
        stock.setValue(QStringLiteral("gods_code"), code);
        stock.post();
    }
    t.commit();
}

void TFrmStorIni::cmd_editClick()
{
    try {
        db::Dataset& q = stockRecords();
        if (q.isEmpty())
            q.append();
        else
            q.edit();
    } catch (const std::exception&) {
        return;
    }
    setMode(FormMode::Edit);
    grid_->setFocus();
}

void TFrmStorIni::cmd_deleClick()
{
    db::Dataset& q = stockRecords();
    if (!q.isActive() || q.isEmpty())
        return;
    if (!confirmDelete(QStringLiteral("此操作将删除本单全部数据，确认删除?")))
        return;
    try {
        db::Transaction t(q.connection());
        q.remove();
        q.applyBatch();
        t.commit();
    } catch (const std::exception&) {
        // While browsing, a deletion the table refused must not wait in the
        // batch for a later save to write it unasked: the row comes back.
        // While editing, it stays pending with the typing, for save or cancel.
        if (mode() == FormMode::Null) {
            try {
                q.cancelBatch();
            } catch (const std::exception&) {
            }
        }
    }
}

void TFrmStorIni::saveRecord()
{
    db::Dataset& q = stockRecords();
    db::Transaction t(q.connection());
    q.post();
    q.applyBatch();
    t.commit();
}
