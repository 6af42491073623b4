#include "stock/CodeRegisterForm.h"

#include "core/Upublic.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CodeRegisterForm::CodeRegisterForm(QWidget* owner, const QString& objectName, const QString& caption, int position,
                                   db::Dataset& dataset, QString table, QString codeField)
    : RecordForm(owner, objectName, caption, position),
      dataset_(dataset),
      table_(std::move(table)),
      codeField_(std::move(codeField))
{
    addStandardButtons({"cmd_add", "cmd_edit", "cmd_dele", "cmd_save", "cmd_canc", "cmd_exit"},
                       {"新增[&A]", "修改[&E]", "删除[&D]", "保存[&S]", "取消[&C]", "退出[&X]"});

    source_ = new ui::DataSource(&dataset_, this);
    grid_ = ui::DbGrid::rowList(this, &dataset_, {});
}

void CodeRegisterForm::placeRecordGroup(QGroupBox* group, const QString& findCaption)
{
    recordGroup_ = group;
    for (ui::DbLineEdit* box : group->findChildren<ui::DbLineEdit*>())
        if (box->field() == codeField_)
            codeBox_ = box;
    auto* right = new QVBoxLayout;
    right->addWidget(recordGroup_);
    Edit1 = addQuickFind(QStringLiteral("Edit1"), right, [this] { Edit1KeyPress(); });
    QWidget* findGroup = controls().findGroup;
    findGroup->setObjectName(QStringLiteral("GroupBox2"));
    if (auto* findRow = qobject_cast<QBoxLayout*>(findGroup->layout()))
        findRow->insertWidget(0, new QLabel(findCaption, findGroup));
    right->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(grid_, 1);
    row->addLayout(right, 1);
    body()->addLayout(row);

    controls().grid = grid_;
    controls().dataGroups = {recordGroup_};
    setRecord(&dataset_, codeBox_, codeField_);
    setFirstEditBox(codeBox_);
}

void CodeRegisterForm::openTable(db::LockType lockType)
{
    dataset_.close();
    dataset_.setSql(QStringLiteral("select * from %1 order by %2").arg(table_, codeField_));
    dataset_.setLockType(lockType);
    dataset_.open();
}

void CodeRegisterForm::cmd_editClick()
{
    if (!codeBox_->text().trimmed().isEmpty())
        RecordForm::cmd_editClick();
}

bool CodeRegisterForm::checkBeforeSave()
{
    return !codeBox_->text().trimmed().isEmpty();
}

void CodeRegisterForm::cmd_findClick()
{
    const QString code = Edit1->text().trimmed();
    try {
        LocateCode(dataset_, codeField_, code);
    } catch (const std::exception&) {
    }
}

void CodeRegisterForm::Edit1KeyPress()
{
    cmd_findClick();
}
