#include "members/Userveflow.h"

#include "core/Chooser.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"
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
    : MasterDetailForm(owner, QStringLiteral("FrmServeFlow"), QStringLiteral("服务项目流程"), kPosition,
                       {&items(),
                        QStringLiteral("select  * from ServeItem"),
                        &steps(),
                        QStringLiteral("select * from ServeFlow where serve_code=:serve_code"),
                        QStringLiteral("serve_code"),
                        {{QStringLiteral("serve_code"), QStringLiteral("项目编号"), 90},
                         {QStringLiteral("serve_type"), QStringLiteral("类别"), 80},
                         {QStringLiteral("serve_name"), QStringLiteral("项目名称"), 160}},
                        {{QStringLiteral("serve_code"), QStringLiteral("项目编号"), 80},
                         {QStringLiteral("serve_name"), QStringLiteral("项目名称"), 120},
                         {QStringLiteral("step_no"), QStringLiteral("步骤序号"), 70},
                         {QStringLiteral("use_time"), QStringLiteral("所需时间"), 70},
                         {QStringLiteral("gods_code"), QStringLiteral("货品编号"), 90},
                         {QStringLiteral("gods_name"), QStringLiteral("货品名称"), 120},
                         {QStringLiteral("dosage"), QStringLiteral("货品用量"), 70},
                         {QStringLiteral("flow_note"), QStringLiteral("备注"), 140}}})
{
    auto* upper = new QHBoxLayout;
    upper->addWidget(masterGrid(), 1);
    auto* side = new QVBoxLayout;
    addMasterFind(QStringLiteral("项目编号"), side, [this] { Edit2KeyPress(); });
    side->addStretch(1);
    upper->addLayout(side);
    body()->addLayout(upper, 1);
    body()->addWidget(recordGrid(), 1);
    QGroupBox* stepGroup = buildStepGroup();
    body()->addWidget(stepGroup);

    controls().dataGroups = {stepGroup};
    setRecord(&steps(), codeBox_, QStringLiteral("serve_code"));
    setFirstEditBox(stepNoBox_);

    runFormCreate([this] { FormCreate(); });
    resize(820, 640);
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
        auto* box = new ui::DbLineEdit(source(), u(entry.column), group);
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
            Button1 = addPickerButton(QStringLiteral("Button1"), group, [this] { Button1Click(); });
            cell->addWidget(Button1);
        } else if (columnName == QLatin1String("gods_name")) {
            goodsNameBox_ = box;
        }
        layout->addWidget(ui::labelFor(box, u(entry.label)), line, column);
        layout->addLayout(cell, line, column + 1);
    }
    return group;
}

void TFrmServeFlow::FormCreate()
{
    openMaster();
    db::Dataset& q = steps();
    q.close();
    q.setLockType(db::LockType::BatchOptimistic);
    // Without an item there are no steps to show: the list stays closed.
    if (!items().isEmpty())
        openRecords(items().asString(QStringLiteral("serve_code")));
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
            ui::warn(this, GetMsgText(QStringLiteral("2005")));
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
        ui::warn(this, GetMsgText(QStringLiteral("2004")));
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

bool TFrmServeFlow::checkBeforeSave()
{
    if (codeBox_->text().trimmed().isEmpty()) {
        ui::warn(this, GetMsgText(QStringLiteral("1022")));
        return false;
    }
    return true;
}

void TFrmServeFlow::cmd_saveClick()
{
    MasterDetailForm::cmd_saveClick();
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
    const QString code = findBox()->text().trimmed();
    // A blank find names no item.
    if (code.isEmpty())
        return;
    try {
        LocateCode(items(), QStringLiteral("serve_code"), code);
    } catch (const std::exception&) {
    }
}

void TFrmServeFlow::Edit2KeyPress()
{
    // Enter stands for the find button: without the find right it finds nothing.
    if (controls().cmd_find->isEnabled())
        cmd_findClick();
}

void TFrmServeFlow::Button1Click()
{
    // Written into the step, so the goods name beside it follows.
    if (const std::optional<QString> code = chooseField<TFrmGoodsFind>(this, QStringLiteral("gods_code")))
        goodsCodeBox_->putChosen(*code);
}
