#include "members/Uemployee.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/db/Value.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbDatePicker.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"
#include "platform/ui/Prompt.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

struct TFrmEmployee::BoxRow {
    enum Kind { Text, PickList, Sex, Date };
    const char* label;
    const char* column;
    Kind kind;
    const char* objectName;
};

namespace {

db::Dataset& staff()
{
    return FrmDataMod->EmployeeQ;
}

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

// The pick lists are merged from the stored values in this order.
const char* const kPickListOrder[] = {"regi_place", "native_place", "school_name", "special", "degree",
                                      "dept_name", "tech_class", "duty", "class_type", "salary_type"};

void showDate(ui::DbDatePicker* picker, const QVariant& stored)
{
    const QDateTime when = db::asDateTime(stored);
    if (when.isValid())
        picker->setDate(when.date());
    else
        picker->setNull();
}

QVariant dateOf(const ui::DbDatePicker* picker)
{
    const QDate d = picker->value();
    return d.isValid() ? QVariant(QDateTime(d, QTime(0, 0))) : QVariant();
}

} // namespace

TFrmEmployee::TFrmEmployee(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmEmployee"), QStringLiteral("员工资料"), kPosition)
{
    static const BoxRow kPersonal[] = {
        {"员工编号", "empl_code", BoxRow::Text, "DBEdit1"},
        {"姓名", "empl_name", BoxRow::Text, "DBEdit2"},
        {"性别", "empl_sex", BoxRow::Sex, "DBComboBox1"},
        {"出生日期", "empl_birth", BoxRow::Date, "DateTimePicker1"},
        {"身份证号", "id_card", BoxRow::Text, "DBEdit3"},
        {"籍贯", "native_place", BoxRow::PickList, "DBComboBox2"},
        {"户口", "regi_place", BoxRow::PickList, "DBComboBox3"},
        {"毕业学校", "school_name", BoxRow::PickList, "DBComboBox4"},
        {"专业", "special", BoxRow::PickList, "DBComboBox5"},
        {"学位", "degree", BoxRow::PickList, "DBComboBox6"},
        {"毕业时间", "leave_school", BoxRow::Text, "DBEdit4"},
        {"联系地址", "rela_addr", BoxRow::Text, "DBEdit5"},
        {"邮编", "post_code", BoxRow::Text, "DBEdit6"},
        {"联系电话", "rela_phon", BoxRow::Text, "DBEdit7"},
        {"移动电话", "mobile", BoxRow::Text, "DBEdit8"},
        {"紧急联系人", "exig_rela", BoxRow::Text, "DBEdit9"},
        {"紧急电话", "exig_tele", BoxRow::Text, "DBEdit10"},
        {"养老保险号", "society_no", BoxRow::Text, "DBEdit11"},
        {"医疗保险号", "medica_no", BoxRow::Text, "DBEdit12"},
    };
    static const BoxRow kEmployment[] = {
        {"部门", "dept_name", BoxRow::PickList, "DBComboBox7"},
        {"职务", "duty", BoxRow::PickList, "DBComboBox8"},
        {"技能等级", "tech_class", BoxRow::PickList, "DBComboBox9"},
        {"入职日期", "in_date", BoxRow::Date, "DateTimePicker2"},
        {"保障底薪", "low_salary", BoxRow::Text, "DBEdit13"},
        {"班次", "class_type", BoxRow::PickList, "DBComboBox10"},
        {"薪资类型", "salary_type", BoxRow::PickList, "DBComboBox11"},
    };

    buildToolbar();
    source_ = new ui::DataSource(&staff(), this);
    grid_ = ui::DbGrid::rowList(this, &staff(),
                                {{QStringLiteral("empl_code"), QStringLiteral("编号"), 70},
                                 {QStringLiteral("empl_name"), QStringLiteral("姓名"), 80},
                                 {QStringLiteral("empl_sex"), QStringLiteral("性别"), 40},
                                 {QStringLiteral("dept_name"), QStringLiteral("部门"), 80}});

    personalGroup_ = buildGroup(QStringLiteral("个人资料"), QStringLiteral("GroupBox1"), kPersonal,
                                int(std::size(kPersonal)));
    employmentGroup_ = buildGroup(QStringLiteral("在职资料"), QStringLiteral("GroupBox2"), kEmployment,
                                  int(std::size(kEmployment)));
    auto* row = new QHBoxLayout;
    row->addWidget(grid_, 1);
    auto* groups = new QVBoxLayout;
    groups->addWidget(personalGroup_);
    groups->addWidget(employmentGroup_);
    groups->addStretch(1);
    row->addLayout(groups, 2);
    body()->addLayout(row);

    controls().grid = grid_;
    controls().dataGroups = {personalGroup_, employmentGroup_};
    setRecord(&staff(), codeBox_, QStringLiteral("empl_code"));
    setFirstEditBox(codeBox_);
    keep(staff().onDataChange([this](db::Dataset&, db::DataChange kind, const QString&) {
        if (kind == db::DataChange::Record)
            DataSource1DataChange();
    }));

    runFormCreate([this] { FormCreate(); });
    resize(900, 620);
}

TFrmEmployee::~TFrmEmployee()
{
    staff().close();
}

void TFrmEmployee::buildToolbar()
{
    struct Button {
        const char* name;
        const char* caption;
        void (TFrmEmployee::*handler)();
        QPushButton* StandardControls::*role;
    };
    static const Button kButtons[] = {
        {"BitBtn2", "新增&A", &TFrmEmployee::BitBtn2Click, &StandardControls::cmd_add},
        {"BitBtn7", "修改&E", &TFrmEmployee::BitBtn7Click, &StandardControls::cmd_edit},
        {"BitBtn6", "删除&D", &TFrmEmployee::BitBtn6Click, &StandardControls::cmd_dele},
        {"BitBtn4", "保存&S", &TFrmEmployee::BitBtn4Click, &StandardControls::cmd_save},
        {"BitBtn3", "取消&C", &TFrmEmployee::BitBtn3Click, &StandardControls::cmd_canc},
        {"BitBtn5", "打印&P", &TFrmEmployee::BitBtn5Click, &StandardControls::cmd_prin},
        {"BitBtn1", "退出&X", &TFrmEmployee::BitBtn1Click, &StandardControls::cmd_exit},
    };
    for (const Button& b : kButtons)
        controls().*b.role = addButton(u(b.name), u(b.caption), [this, h = b.handler] { (this->*h)(); });
    controls().cmd_prin->setVisible(false);
    toolbar()->addStretch(1);
}

// Labels and boxes two to a line.
QGroupBox* TFrmEmployee::buildGroup(const QString& title, const QString& objectName, const BoxRow* rows, int count)
{
    auto* group = new QGroupBox(title, this);
    group->setObjectName(objectName);
    auto* layout = new QGridLayout(group);
    for (int i = 0; i < count; ++i) {
        const BoxRow& entry = rows[i];
        const QString column = u(entry.column);
        QWidget* box = nullptr;
        switch (entry.kind) {
        case BoxRow::Text: {
            auto* edit = new ui::DbLineEdit(source_, column, group);
            if (column == QLatin1String("empl_code"))
                codeBox_ = edit;
            else if (column == QLatin1String("empl_name"))
                nameBox_ = edit;
            box = edit;
            break;
        }
        case BoxRow::Sex:
            sexCombo_ = new ui::DbComboBox(source_, column, group);
            sexCombo_->addItems({QStringLiteral("男"), QStringLiteral("女")});
            box = sexCombo_;
            break;
        case BoxRow::PickList: {
            auto* combo = new ui::DbComboBox(source_, column, group);
            pickLists_ << combo;
            box = combo;
            break;
        }
        case BoxRow::Date: {
            // Not bound: the pickers follow the current row and are copied in by the save.
            auto* picker = new ui::DbDatePicker(group);
            (column == QLatin1String("empl_birth") ? birthPicker_ : inDatePicker_) = picker;
            box = picker;
            break;
        }
        }
        box->setObjectName(u(entry.objectName));
        layout->addWidget(ui::labelFor(box, u(entry.label)), i / 2, (i % 2) * 2);
        layout->addWidget(box, i / 2, (i % 2) * 2 + 1);
    }
    return group;
}

void TFrmEmployee::FormCreate()
{
    FillPickLists();
    db::Dataset& q = staff();
    q.close();
    q.setSql(QStringLiteral("select * from employee"));
    q.setLockType(db::LockType::Optimistic);
    q.open();
}

void TFrmEmployee::FillPickLists()
{
    for (const char* column : kPickListOrder)
        for (ui::DbComboBox* combo : pickLists_)
            if (combo->field() == QLatin1String(column))
                MergeComboDistinct(QStringLiteral("employee"), combo->field(), combo);
}

void TFrmEmployee::DataSource1DataChange()
{
    const db::Dataset& q = staff();
    const bool hasRow = q.isActive() && !q.isEmpty();
    showDate(birthPicker_, hasRow ? q.value(QStringLiteral("empl_birth")) : QVariant());
    showDate(inDatePicker_, hasRow ? q.value(QStringLiteral("in_date")) : QVariant());
}

void TFrmEmployee::WriteEmployeeDates()
{
    staff().setValue(QStringLiteral("empl_birth"), dateOf(birthPicker_));
    staff().setValue(QStringLiteral("in_date"), dateOf(inDatePicker_));
}

void TFrmEmployee::BitBtn2Click()
{
    staff().append();
    staff().setValue(QStringLiteral("empl_sex"), QStringLiteral("男"));
    setMode(FormMode::Add);
    birthPicker_->setToday();
    inDatePicker_->setToday();
    codeBox_->setFocus();
}

void TFrmEmployee::BitBtn7Click()
{
    cmd_editClick();
}

void TFrmEmployee::BitBtn6Click()
{
    cmd_deleClick();
}

void TFrmEmployee::BitBtn4Click()
{
    cmd_saveClick();
}

void TFrmEmployee::BitBtn3Click()
{
    cmd_cancClick();
}

void TFrmEmployee::BitBtn1Click()
{
    cmd_exitClick();
}

bool TFrmEmployee::checkBeforeSave()
{
    // The boxes are tested as they stand: a code or name of blanks passes.
    if (codeBox_->text().isEmpty() || nameBox_->text().isEmpty()) {
        ui::warn(this, QStringLiteral("员工编号,名称不能为空"));
        return false;
    }
    return true;
}

void TFrmEmployee::saveRecord()
{
    WriteEmployeeDates();
    RecordForm::saveRecord();
}
