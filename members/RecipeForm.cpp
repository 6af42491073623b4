#include "members/RecipeForm.h"

#include "core/Chooser.h"
#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "members/Uservefind.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Hourglass.h"
#include "platform/ui/Prompt.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

RecipeForm::RecipeForm(QWidget* owner, Design design)
    : BatchRecordForm(owner, design.objectName, design.caption, design.position, *design.query),
      design_(std::move(design))
{
    DBGrid1 = makeRowGrid(QStringLiteral("DBGrid1"), design_.query, design_.columns);

    auto* upper = new QHBoxLayout;
    upper->addWidget(DBGrid1, 1);
    auto* side = new QVBoxLayout;
    Edit1 = addLabelledQuickFind(QStringLiteral("Edit1"), QStringLiteral("项目编号"), side,
                                 [this] { Edit1KeyPress(); });
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

void RecipeForm::buildItemRow()
{
    auto* row = new QHBoxLayout;
    codeBox_ = textBox(QStringLiteral("serve_code"), "DBEdit1", group_);
    BitBtn1 = addPickerButton(QStringLiteral("BitBtn1"), group_, [this] { BitBtn1Click(); });
    nameBox_ = textBox(QStringLiteral("serve_name"), "DBEdit2", group_);
    typeBox_ = textBox(QStringLiteral("serve_type"), "DBEdit3", group_);
    row->addWidget(ui::labelFor(codeBox_, QStringLiteral("项目编号")));
    row->addWidget(codeBox_, 1);
    row->addWidget(BitBtn1);
    row->addWidget(ui::labelFor(nameBox_, QStringLiteral("项目名称")));
    row->addWidget(nameBox_, 2);
    row->addWidget(ui::labelFor(typeBox_, QStringLiteral("类别")));
    row->addWidget(typeBox_, 1);
    static_cast<QVBoxLayout*>(group_->layout())->addLayout(row);
}

ui::DbComboBox* RecipeForm::pickCombo(const QString& column, const char* objectName, const QString& listTable,
                                      const QString& listColumn, QWidget* parent)
{
    auto* combo = new ui::DbComboBox(source(), column, parent);
    combo->setObjectName(QString::fromLatin1(objectName));
    pickLists_.push_back({combo, listTable, listColumn});
    boxes_ << combo;
    return combo;
}

ui::DbComboBox* RecipeForm::pickCombo(const ComboRow& row, QWidget* parent)
{
    return pickCombo(QString::fromUtf8(row.column), row.objectName, QString::fromUtf8(row.listTable),
                     QString::fromUtf8(row.listColumn), parent);
}

ui::DbLineEdit* RecipeForm::textBox(const QString& column, const char* objectName, QWidget* parent)
{
    auto* box = new ui::DbLineEdit(source(), column, parent);
    box->setObjectName(QString::fromLatin1(objectName));
    boxes_ << box;
    return box;
}

void RecipeForm::addCombosSideBySide(std::span<const ComboRow> rows, int line)
{
    int column = 0;
    for (const ComboRow& row : rows) {
        ui::DbComboBox* combo = pickCombo(row, group_);
        recipeLayout_->addWidget(ui::labelFor(combo, QString::fromUtf8(row.label)), line, column);
        recipeLayout_->addWidget(combo, line, column + 1);
        column += 2;
    }
}

void RecipeForm::addWideCombo(const ComboRow& row, int line, int columnSpan)
{
    ui::DbComboBox* combo = pickCombo(row, group_);
    recipeLayout_->addWidget(ui::labelFor(combo, QString::fromUtf8(row.label)), line, 0);
    recipeLayout_->addWidget(combo, line, 1, 1, columnSpan);
}

void RecipeForm::addNoteLine(const QString& column, const char* objectName, int line)
{
    ui::DbLineEdit* box = textBox(column, objectName, group_);
    recipeLayout_->addWidget(ui::labelFor(box, QStringLiteral("备注")), line, 0);
    recipeLayout_->addWidget(box, line, 1, 1, 5);
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
    resize(860, 680);
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
    source()->setEnabled(false);
    source()->setEnabled(true);
}

void RecipeForm::cmd_addClick()
{
    try {
        RecordForm::cmd_addClick();
    } catch (const std::exception&) {
    }
}

void RecipeForm::cmd_deleClick()
{
    if (deleteShownRecord())
        FillPickLists();
}

bool RecipeForm::checkBeforeSave()
{
    // A code typed and not yet left has not yet looked up its item's name.
    source()->flush();
    if (codeBox_->text().trimmed().isEmpty() || nameBox_->text().trimmed().isEmpty()) {
        ui::warn(this, GetMsgText(QStringLiteral("1020")));
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
        LocateCode(*design_.query, QStringLiteral("serve_code"), code);
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
    // Written into the recipe, so the item's name and category follow.
    if (const std::optional<QString> code = chooseField<TFrmServeFind>(this, QStringLiteral("serve_code")))
        codeBox_->putChosen(*code);
}
