#include "members/Userveflow.h"

#include "core/Chooser.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/Prompt.h"
#include "stock/Ugodsfind.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

db::Dataset& items()
{
    return FrmDataMod->ServeItemQ;
}

db::Dataset& steps()
{
    return FrmDataMod->ServeFlowQ;
}

struct StepBox {
    const char* label;
    const char* column;
    const char* objectName;
    const char* unit; // shown after the box, "" for none
};
constexpr StepBox kStepBoxes[] = {
    {"项目编号", "serve_code", "DBEdit1", ""},
    {"项目名称", "serve_name", "DBEdit2", ""},
    {"步骤序号", "step_no", "DBEdit3", ""},
    {"所需时间", "use_time", "DBEdit4", "分钟"},
    {"货品编号", "gods_code", "DBEdit5", ""},
    {"货品名称", "gods_name", "DBEdit6", ""},
    {"货品用量", "dosage", "DBEdit7", ""},
    {"备注", "flow_note", "DBEdit8", ""},
};

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

TFrmServeFlow::TFrmServeFlow(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmServeFlow"), QStringLiteral("服务项目流程"), kPosition)
{
    addStandardButtons({"cmd_add", "cmd_edit", "cmd_dele", "cmd_save", "cmd_canc", "cmd_prin", "cmd_exit"},
                       {"新增&A", "修改&E", "删除&D", "保存&S", "取消&C", "打印&P", "退出&X"});
    controls().cmd_prin->setVisible(false);

    source_ = new ui::DataSource(&steps(), this);

    DBGrid1 = new ui::DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setRowSelect(true);
    DBGrid1->setDataset(&items());
    DBGrid1->setColumns({{QStringLiteral("serve_code"), QStringLiteral("项目编号"), 90},
                         {QStringLiteral("serve_type"), QStringLiteral("类别"), 80},
                         {QStringLiteral("serve_name"), QStringLiteral("项目名称"), 160}});
    connect(DBGrid1, &ui::DbGrid::cellClicked, this, ui::guarded(this, [this] { DBGrid1CellClick(); }));

    DBGrid2 = new ui::DbGrid(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setRowSelect(true);
    DBGrid2->setDataset(&steps());
    DBGrid2->setColumns({{QStringLiteral("serve_code"), QStringLiteral("项目编号"), 80},
                         {QStringLiteral("serve_name"), QStringLiteral("项目名称"), 120},
                         {QStringLiteral("step_no"), QStringLiteral("步骤序号"), 70},
                         {QStringLiteral("use_time"), QStringLiteral("所需时间"), 70},
                         {QStringLiteral("gods_code"), QStringLiteral("货品编号"), 90},
                         {QStringLiteral("gods_name"), QStringLiteral("货品名称"), 120},
                         {QStringLiteral("dosage"), QStringLiteral("货品用量"), 70},
                         {QStringLiteral("flow_note"), QStringLiteral("备注"), 140}});

    auto* upper = new QHBoxLayout;
    upper->addWidget(DBGrid1, 1);
    auto* side = new QVBoxLayout;
    Edit2 = addQuickFind(QStringLiteral("Edit2"), side, [this] { Edit2KeyPress(); });
    if (auto* findRow = qobject_cast<QBoxLayout*>(controls().findGroup->layout()))
        findRow->insertWidget(0, new QLabel(QStringLiteral("项目编号"), controls().findGroup));
    side->addStretch(1);
    upper->addLayout(side);
    body()->addLayout(upper, 1);
    body()->addWidget(DBGrid2, 1);
    QGroupBox* stepGroup = buildStepGroup();
    body()->addWidget(stepGroup);

    controls().grid = DBGrid1;
    controls().dataGroups = {stepGroup};
    controls().gateFind = true;
    setRecord(&steps(), codeBox_, QStringLiteral("serve_code"));
    setFirstEditBox(stepNoBox_);

    runFormCreate([this] { FormCreate(); });
    resize(820, 640);
}

TFrmServeFlow::~TFrmServeFlow()
{
    FormDestroy();
}

QGroupBox* TFrmServeFlow::buildStepGroup()
{
    auto* group = new QGroupBox(QStringLiteral("项目流程明细"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* layout = new QGridLayout(group);
    int index = 0;
    for (const StepBox& entry : kStepBoxes) {
        // Two boxes to a line: label, box (with its unit or button).
        const int line = index / 2;
        const int column = (index % 2) * 2;
        ++index;
        auto* box = new ui::DbLineEdit(source_, u(entry.column), group);
        box->setObjectName(u(entry.objectName));
        auto* cell = new QHBoxLayout;
        cell->addWidget(box, 1);
        if (*entry.unit)
            cell->addWidget(new QLabel(u(entry.unit), group));
        const QString columnName = u(entry.column);
        if (columnName == QLatin1String("serve_code")) {
            codeBox_ = box;
            box->setLocked(true); // taken from the item grid when the step is added
        } else if (columnName == QLatin1String("step_no")) {
            stepNoBox_ = box;
        } else if (columnName == QLatin1String("gods_code")) {
            goodsCodeBox_ = box;
            Button1 = new QPushButton(QStringLiteral("..."), group);
            Button1->setObjectName(QStringLiteral("Button1"));
            Button1->setAutoDefault(false);
            Button1->setFixedWidth(32);
            connect(Button1, &QPushButton::clicked, this, ui::guarded(this, [this] { Button1Click(); }));
            cell->addWidget(Button1);
        } else if (columnName == QLatin1String("gods_name")) {
            goodsNameBox_ = box;
        }
        layout->addWidget(new QLabel(u(entry.label), group), line, column);
        layout->addLayout(cell, line, column + 1);
    }
    return group;
}

void TFrmServeFlow::FormCreate()
{
    db::Dataset& list = items();
    list.close();
    list.setSql(QStringLiteral("select  * from ServeItem"));
    list.setLockType(db::LockType::Optimistic);
    list.open();

    db::Dataset& q = steps();
    q.close();
    q.setLockType(db::LockType::BatchOptimistic);
    // Without an item there are no steps to show: the list stays closed.
    if (!list.isEmpty())
        openSteps(list.asString(QStringLiteral("serve_code")));
}

void TFrmServeFlow::FormDestroy()
{
    // Changes not yet saved go with the closed query.
    try {
        steps().close();
        items().close();
    } catch (const std::exception&) {
    }
}

void TFrmServeFlow::openSteps(const QString& serveCode)
{
    db::Dataset& q = steps();
    q.close();
    q.setSql(QStringLiteral("select * from ServeFlow where serve_code=:serve_code"));
    q.setParam(QStringLiteral("serve_code"), serveCode);
    q.setLockType(db::LockType::BatchOptimistic);
    q.open();
}

void TFrmServeFlow::SetControlStates()
{
    RecordForm::SetControlStates();
    // The step list is the form's record grid: no moving off the step being entered.
    DBGrid2->setEnabled(mode() == FormMode::Null);
}

void TFrmServeFlow::locateShownStep()
{
    db::Dataset& q = steps();
    const QString code = codeBox_->text().trimmed();
    const QString stepNo = stepNoBox_->text().trimmed();
    if (code.isEmpty() || !q.isActive() || q.isEmpty())
        return;
    // The step shown is current already; another of the same pair must not take its place.
    if (q.asString(QStringLiteral("serve_code")).trimmed() == code
        && q.asString(QStringLiteral("step_no")).trimmed() == stepNo)
        return;
    try {
        q.locate(QStringLiteral("serve_code;step_no"), QVariantList{code, stepNo});
    } catch (const std::exception&) {
    }
}

void TFrmServeFlow::cmd_addClick()
{
    try {
        if (codeBox_->text().trimmed().isEmpty() && (!items().isActive() || items().isEmpty())) {
            ui::message(this, GetMsgText(QStringLiteral("2005")));
            return;
        }
        db::Dataset& q = steps();
        if (q.isActive()) {
            q.append();
            if (!items().isEmpty())
                q.setValue(QStringLiteral("serve_code"), items().asString(QStringLiteral("serve_code")));
        }
        setMode(FormMode::Add);
        stepNoBox_->setFocus();
    } catch (const std::exception&) {
    }
}

void TFrmServeFlow::cmd_editClick()
{
    if (codeBox_->text().trimmed().isEmpty()) {
        ui::message(this, GetMsgText(QStringLiteral("2004")));
        return;
    }
    try {
        locateShownStep();
        steps().edit();
        setMode(FormMode::Edit);
        stepNoBox_->setFocus();
    } catch (const std::exception&) {
    }
}

void TFrmServeFlow::cmd_deleClick()
{
    if (codeBox_->text().trimmed().isEmpty())
        return;
    if (!confirmDelete(GetMsgText(QStringLiteral("1016")), GetMsgText(QStringLiteral("1017"))))
        return;
    db::Dataset& q = steps();
    try {
        // Confirmed means gone: the deletion does not wait for a later save
        // of something else, nor is it undone by a later cancel.
        db::Transaction t(q.connection());
        q.remove();
        q.applyBatch();
        t.commit();
    } catch (const std::exception&) {
        try {
            q.cancelBatch(); // the step the table kept comes back into the list
        } catch (const std::exception&) {
        }
    }
}

bool TFrmServeFlow::checkBeforeSave()
{
    if (codeBox_->text().trimmed().isEmpty()) {
        ui::message(this, GetMsgText(QStringLiteral("1022")));
        return false;
    }
    return true;
}

void TFrmServeFlow::cmd_saveClick()
{
    RecordForm::cmd_saveClick();
    if (mode() == FormMode::Null)
        locateShownStep();
}

void TFrmServeFlow::cmd_cancClick()
{
    try {
        steps().cancelBatch();
    } catch (const std::exception&) {
    }
    setMode(FormMode::Null);
    locateShownStep();
}

void TFrmServeFlow::cmd_findClick()
{
    const QString code = Edit2->text().trimmed();
    // A blank find names no item.
    if (code.isEmpty())
        return;
    try {
        items().locate(QStringLiteral("serve_code"), code);
    } catch (const std::exception&) {
    }
}

void TFrmServeFlow::Edit2KeyPress()
{
    // Enter stands for the find button: without the find right it finds nothing.
    if (controls().cmd_find->isEnabled())
        cmd_findClick();
}

void TFrmServeFlow::DBGrid1CellClick()
{
    db::Dataset& list = items();
    if (!list.isActive() || list.isEmpty())
        return;
    Edit2->setText(list.asString(QStringLiteral("serve_code")));
    try {
        openSteps(Edit2->text());
    } catch (const std::exception&) {
    }
}

void TFrmServeFlow::Button1Click()
{
    const std::optional<QString> code = chooseField<TFrmGoodsFind>(this, QStringLiteral("gods_code"));
    if (!code)
        return;
    try {
        // Written into the step, so the goods name beside it follows.
        steps().setValue(QStringLiteral("gods_code"), *code);
    } catch (const std::exception&) {
    }
}
