#include "members/RecipeForm.h"

#include "core/Chooser.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "members/Uservefind.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

RecipeForm::RecipeForm(QWidget* owner, Design design)
    : RecordForm(owner, design.objectName, design.caption, design.position), design_(std::move(design))
{
    addStandardButtons({"cmd_add", "cmd_edit", "cmd_dele", "cmd_save", "cmd_canc", "cmd_prin", "cmd_exit"},
                       {"新增&A", "修改&E", "删除&D", "保存&S", "取消&C", "打印&P", "退出&X"});
    controls().cmd_prin->setVisible(false);

    source_ = new ui::DataSource(design_.query, this);

    DBGrid1 = new ui::DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setRowSelect(true);
    DBGrid1->setDataset(design_.query);
    DBGrid1->setColumns(design_.columns);

    auto* upper = new QHBoxLayout;
    upper->addWidget(DBGrid1, 1);
    auto* side = new QVBoxLayout;
    Edit1 = addQuickFind(QStringLiteral("Edit1"), side, [this] { Edit1KeyPress(); });
    if (auto* findRow = qobject_cast<QBoxLayout*>(controls().findGroup->layout()))
        findRow->insertWidget(0, new QLabel(QStringLiteral("项目编号"), controls().findGroup));
    side->addStretch(1);
    upper->addLayout(side);
    body()->addLayout(upper, 1);

    group_ = new QGroupBox(design_.groupTitle, this);
    group_->setObjectName(QStringLiteral("GroupBox1"));
    auto* groupLayout = new QVBoxLayout(group_);
    buildItemRow();
    recipeLayout_ = new QGridLayout;
    groupLayout->addLayout(recipeLayout_);
    body()->addWidget(group_);

    controls().grid = DBGrid1;
    controls().dataGroups = {group_};
    controls().gateFind = true;
    setRecord(design_.query, codeBox_, QStringLiteral("serve_code"));
    setFirstEditBox(codeBox_);
}

RecipeForm::~RecipeForm()
{
    FormDestroy();
}

void RecipeForm::buildItemRow()
{
    auto* row = new QHBoxLayout;
    codeBox_ = textBox(QStringLiteral("serve_code"), "DBEdit1", group_);
    BitBtn1 = new QPushButton(QStringLiteral("..."), group_);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    BitBtn1->setFixedWidth(32);
    connect(BitBtn1, &QPushButton::clicked, this, ui::guarded(this, [this] { BitBtn1Click(); }));
    nameBox_ = textBox(QStringLiteral("serve_name"), "DBEdit2", group_);
    typeBox_ = textBox(QStringLiteral("serve_type"), "DBEdit3", group_);
    row->addWidget(new QLabel(QStringLiteral("项目编号"), group_));
    row->addWidget(codeBox_, 1);
    row->addWidget(BitBtn1);
    row->addWidget(new QLabel(QStringLiteral("项目名称"), group_));
    row->addWidget(nameBox_, 2);
    row->addWidget(new QLabel(QStringLiteral("类别"), group_));
    row->addWidget(typeBox_, 1);
    static_cast<QVBoxLayout*>(group_->layout())->addLayout(row);
}

ui::DbComboBox* RecipeForm::pickCombo(const QString& column, const char* objectName, const QString& listTable,
                                      const QString& listColumn, QWidget* parent)
{
    auto* combo = new ui::DbComboBox(source_, column, parent);
    combo->setObjectName(QString::fromLatin1(objectName));
    pickLists_.push_back({combo, listTable, listColumn});
    boxes_ << combo;
    return combo;
}

ui::DbLineEdit* RecipeForm::textBox(const QString& column, const char* objectName, QWidget* parent)
{
    auto* box = new ui::DbLineEdit(source_, column, parent);
    box->setObjectName(QString::fromLatin1(objectName));
    boxes_ << box;
    return box;
}

QWidget* RecipeForm::boxOf(const QString& column) const
{
    for (QWidget* box : boxes_) {
        if (auto* edit = qobject_cast<ui::DbLineEdit*>(box); edit && edit->field() == column)
            return edit;
        if (auto* combo = qobject_cast<ui::DbComboBox*>(box); combo && combo->field() == column)
            return combo;
    }
    return nullptr;
}

void RecipeForm::start()
{
    runFormCreate([this] { FormCreate(); });
}

void RecipeForm::FormCreate()
{
    FillPickLists();
    db::Dataset& q = *design_.query;
    q.close();
    q.setSql(design_.openSql);
    q.setLockType(db::LockType::BatchOptimistic);
    q.open();
}

void RecipeForm::FormDestroy()
{
    // Changes not yet saved go with the closed query.
    try {
        design_.query->close();
    } catch (const std::exception&) {
    }
}

void RecipeForm::FillPickLists()
{
    for (const PickList& list : pickLists_) {
        if (design_.fill == PickListFill::Merge)
            MergeComboDistinct(list.table, list.column, list.combo);
        else
            FillComboDistinct(list.table, list.column, list.combo);
    }
    if (design_.fill == PickListFill::Replace)
        reloadBoxes();
}

void RecipeForm::reloadBoxes()
{
    source_->setEnabled(false);
    source_->setEnabled(true);
}

void RecipeForm::cmd_addClick()
{
    try {
        RecordForm::cmd_addClick();
    } catch (const std::exception&) {
    }
}

void RecipeForm::cmd_editClick()
{
    try {
        RecordForm::cmd_editClick();
    } catch (const std::exception&) {
    }
}

void RecipeForm::cmd_deleClick()
{
    if (codeBox_->text().trimmed().isEmpty())
        return;
    if (!confirmDelete(GetMsgText(QStringLiteral("1016")), GetMsgText(QStringLiteral("1017"))))
        return;
    db::Dataset& q = *design_.query;
    try {
        // Confirmed means gone: the deletion does not wait for a later save
        // of another recipe, nor is it undone by a later cancel.
        db::Transaction t(q.connection());
        q.remove();
        q.applyBatch();
        t.commit();
        FillPickLists();
    } catch (const std::exception&) {
        try {
            q.cancelBatch(); // the recipe the table kept comes back into the list
        } catch (const std::exception&) {
        }
    }
}

bool RecipeForm::checkBeforeSave()
{
    // A code typed and not yet left has not yet looked up its item's name.
    source_->flush();
    if (codeBox_->text().trimmed().isEmpty() || nameBox_->text().trimmed().isEmpty()) {
        ui::message(this, GetMsgText(QStringLiteral("1020")));
        return false;
    }
    return true;
}

void RecipeForm::cmd_cancClick()
{
    try {
        design_.query->cancelBatch();
    } catch (const std::exception&) {
    }
    setMode(FormMode::Null);
    if (design_.locateOnCancel)
        locateKeyBoxRecord();
}

void RecipeForm::cmd_findClick()
{
    ui::Hourglass wait;
    const QString code = Edit1->text().trimmed();
    // A blank find names no recipe.
    if (code.isEmpty())
        return;
    try {
        design_.query->locate(QStringLiteral("serve_code"), code);
    } catch (const std::exception&) {
    }
}

void RecipeForm::Edit1KeyPress()
{
    // Enter stands for the find button: without the find right it finds nothing.
    if (controls().cmd_find->isEnabled())
        cmd_findClick();
}

void RecipeForm::BitBtn1Click()
{
    const std::optional<QString> code = chooseField<TFrmServeFind>(this, QStringLiteral("serve_code"));
    if (!code)
        return;
    try {
        // Written into the recipe, so the item's name and category follow.
        design_.query->setValue(QStringLiteral("serve_code"), *code);
    } catch (const std::exception&) {
    }
}
