#include "members/Userveitem.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/db/Value.h"
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
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

db::Dataset& items()
{
    return FrmDataMod->ServeItemQ;
}

// The boxes of the current item, in the order they are laid out.
struct EditRow {
    const char* label;
    const char* column;
    const char* objectName;
    const char* unit;  // shown after the box, "" for none
    bool combo;
};
constexpr EditRow kEditRows[] = {
    {"项目编号", "serve_code", "DBEdit1", "", false},
    {"项目名称", "serve_name", "DBEdit2", "", false},
    {"类别", "serve_type", "DBComboBox1", "", true},
    {"单价", "unit_pric", "DBEdit3", "", false},
    {"预估时间", "gage_time", "DBEdit4", "分钟", false},
    {"设计师提成", "stylist_rate", "DBEdit5", "%", false},
    {"中工提成", "middle_rate", "DBEdit6", "%", false},
    {"助理提成", "assis_rate", "DBEdit7", "%", false},
    {"状态", "serve_state", "DBComboBox2", "", true},
    {"备注", "serve_note", "DBEdit8", "", false},
};

const char* const kRateColumns[] = {"stylist_rate", "middle_rate", "assis_rate"};

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

// A percent box read as a number, nothing when it is empty (no commission);
// text that is no number stops the save, naming the box.
std::optional<double> percentOf(QLineEdit* box)
{
    if (box->text().trimmed().isEmpty())
        return std::nullopt;
    const std::optional<double> value = db::parseAmount(box->text());
    if (!value)
        throw ui::RefusedEntry(box, QStringLiteral("“%1”不是有效的数值").arg(db::messageExcerpt(box->text())));
    return value;
}

} // namespace

TFrmServeitem::TFrmServeitem(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmServeitem"), QStringLiteral("服务项目设置"), kPosition)
{
    addStandardButtons({"cmd_add", "cmd_edit", "cmd_dele", "cmd_save", "cmd_canc", "cmd_prin", "cmd_exit"},
                       {"新增&A", "修改&E", "删除&D", "保存&S", "取消&C", "打印&P", "退出&X"});
    controls().cmd_prin->setVisible(false);

    source_ = new ui::DataSource(&items(), this);
    grid_ = ui::DbGrid::rowList(this, &items(),
                                {{QStringLiteral("serve_code"), QStringLiteral("服务编号"), 80},
                                 {QStringLiteral("serve_name"), QStringLiteral("服务名称"), 140},
                                 {QStringLiteral("serve_type"), QStringLiteral("类别"), 70},
                                 {QStringLiteral("unit_pric"), QStringLiteral("单价"), 60},
                                 {QStringLiteral("gage_time"), QStringLiteral("预估时间"), 60},
                                 {QStringLiteral("stylist_rate"), QStringLiteral("设计师提成"), 70},
                                 {QStringLiteral("middle_rate"), QStringLiteral("中工提成"), 70},
                                 {QStringLiteral("assis_rate"), QStringLiteral("助理提成"), 70}});
    body()->addWidget(grid_, 1);

    auto* lower = new QHBoxLayout;
    QGroupBox* editGroup = buildEditGroup();
    lower->addWidget(editGroup, 2);
    lower->addWidget(buildFindGroup(), 1);
    body()->addLayout(lower);

    controls().grid = grid_;
    controls().dataGroups = {editGroup};
    controls().gateFind = true;
    setRecord(&items(), codeBox_, QStringLiteral("serve_code"));
    setFirstEditBox(codeBox_);

    runFormCreate([this] { FormCreate(); });
    resize(760, 560);
}

TFrmServeitem::~TFrmServeitem()
{
    items().close();
}

QGroupBox* TFrmServeitem::buildEditGroup()
{
    auto* group = new QGroupBox(QStringLiteral("项目资料"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* layout = new QGridLayout(group);
    int row = 0;
    for (const EditRow& entry : kEditRows) {
        // Two items of the table side by side: label, box, unit.
        const int column = (row % 2) * 3;
        const int line = row / 2;
        ++row;
        QWidget* box = nullptr;
        if (entry.combo) {
            auto* combo = new ui::DbComboBox(source_, u(entry.column), group);
            (entry.column == QLatin1String("serve_type") ? typeCombo_ : stateCombo_) = combo;
            box = combo;
        } else {
            auto* edit = new ui::DbLineEdit(source_, u(entry.column), group);
            const QString columnName = u(entry.column);
            if (columnName == QLatin1String("serve_code"))
                codeBox_ = edit;
            else if (columnName == QLatin1String("serve_name"))
                nameBox_ = edit;
            for (int i = 0; i < 3; ++i)
                if (columnName == QLatin1String(kRateColumns[i])) {
                    rateBoxes_[i] = edit;
                    edit->setCheckedOnSave(true);
                }
            box = edit;
        }
        box->setObjectName(u(entry.objectName));
        layout->addWidget(ui::labelFor(box, u(entry.label)), line, column);
        auto* cell = new QHBoxLayout;
        cell->addWidget(box, 1);
        if (*entry.unit)
            cell->addWidget(new QLabel(u(entry.unit), group));
        layout->addLayout(cell, line, column + 1);
    }
    return group;
}

QGroupBox* TFrmServeitem::buildFindGroup()
{
    auto* group = new QGroupBox(QStringLiteral("快速查找"), this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    auto* layout = new QGridLayout(group);
    Edit1 = new QLineEdit(group);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    ComboBox1 = new ui::DbComboBox(group);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox2 = new ui::DbComboBox(group);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    RadioButton1 = new QRadioButton(QStringLiteral("全部项目"), group);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    auto* find = new QPushButton(QStringLiteral("查找"), group);
    find->setObjectName(QStringLiteral("cmd_find"));
    find->setAutoDefault(false);

    layout->addWidget(new QLabel(QStringLiteral("项目编号"), group), 0, 0);
    layout->addWidget(Edit1, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("项目名称"), group), 1, 0);
    layout->addWidget(ComboBox1, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("类别"), group), 2, 0);
    layout->addWidget(ComboBox2, 2, 1);
    layout->addWidget(RadioButton1, 3, 1);
    layout->addWidget(find, 4, 1);

    controls().findGroup = group;
    controls().cmd_find = find;
    connect(find, &QPushButton::clicked, this, ui::guarded(this, [this] { cmd_findClick(); }));
    connect(Edit1, &QLineEdit::returnPressed, this, ui::guarded(this, [this] { Edit1KeyPress(); }));
    connect(Edit1, &QLineEdit::textChanged, this, ui::guarded(this, [this] { Edit1Change(); }));
    connect(ComboBox1, &ui::DbComboBox::textTyped, this, ui::guarded(this, [this] { ComboBox1Change(); }));
    connect(ComboBox1, &ui::DbComboBox::itemChosen, this, ui::guarded(this, [this] {
                ComboBox1Change();
                ComboBox1Click();
            }));
    connect(ComboBox2, &ui::DbComboBox::textTyped, this, ui::guarded(this, [this] { ComboBox2Change(); }));
    connect(ComboBox2, &ui::DbComboBox::itemChosen, this, ui::guarded(this, [this] {
                ComboBox2Change();
                ComboBox2Click();
            }));
    connect(RadioButton1, &QRadioButton::toggled, this, ui::guarded(this, [this](bool on) {
                if (on)
                    RadioButton1Click();
            }));
    return group;
}

void TFrmServeitem::FormCreate()
{
    stateCombo_->clear();
    stateCombo_->addItems({GetMsgText(QStringLiteral("2006")), GetMsgText(QStringLiteral("2007"))});
    typeCombo_->clear();
    typeCombo_->addItems({GetMsgText(QStringLiteral("2008")), GetMsgText(QStringLiteral("2009"))});
    ComboBox1->clear();
    ComboBox2->clear();
    FillFindCombos();
    items().setLockType(db::LockType::Optimistic);
    listAll();
}

void TFrmServeitem::SetControlStates()
{
    RecordForm::SetControlStates();
    if (mode() == FormMode::Null)
        return;
    try {
        FillFindCombos();
    } catch (const std::exception&) {
        // the lists keep what they offered
    }
}

void TFrmServeitem::FillFindCombos()
{
    MergeComboDistinct(QStringLiteral("ServeItem"), QStringLiteral("serve_type"), typeCombo_);
    MergeComboDistinct(QStringLiteral("ServeItem"), QStringLiteral("serve_name"), ComboBox1);
    MergeComboDistinct(QStringLiteral("ServeItem"), QStringLiteral("serve_type"), ComboBox2);
}

void TFrmServeitem::cmd_deleClick()
{
    if (codeBox_->text().trimmed().isEmpty())
        return;
    if (!confirmDelete(GetMsgText(QStringLiteral("1016")), GetMsgText(QStringLiteral("1017"))))
        return;
    try {
        items().remove();
        FillFindCombos();
    } catch (const std::exception&) {
    }
}

bool TFrmServeitem::checkBeforeSave()
{
    for (ui::DbLineEdit* box : rateBoxes_) {
        const std::optional<double> percent = percentOf(box);
        if (percent && (*percent < 0 || *percent > 100)) {
            ui::warn(this, GetMsgText(QStringLiteral("1021")));
            return false;
        }
    }
    if (codeBox_->text().trimmed().isEmpty() || nameBox_->text().trimmed().isEmpty()) {
        ui::warn(this, GetMsgText(QStringLiteral("1020")));
        return false;
    }
    return true;
}

void TFrmServeitem::listWhere(const QString& column, const QString& value)
{
    db::Dataset& q = items();
    q.close();
    q.setSql(QStringLiteral("select * from ServeItem where ") + column + QStringLiteral("=:value"));
    q.setParam(QStringLiteral("value"), value);
    q.open();
}

void TFrmServeitem::listAll()
{
    db::Dataset& q = items();
    q.close();
    q.setSql(QStringLiteral("select * from ServeItem"));
    q.open();
}

void TFrmServeitem::cmd_findClick()
{
    ui::Hourglass wait;
    const QString code = Edit1->text().trimmed();
    const QString name = ComboBox1->text().trimmed();
    const QString type = ComboBox2->text().trimmed();
    if (!code.isEmpty())
        listWhere(QStringLiteral("serve_code"), code);
    if (!name.isEmpty())
        listWhere(QStringLiteral("serve_name"), name);
    if (!type.isEmpty())
        listWhere(QStringLiteral("serve_type"), type);
}

void TFrmServeitem::Edit1KeyPress()
{
    const QString code = Edit1->text().trimmed();
    if (!code.isEmpty())
        LocateCode(items(), QStringLiteral("serve_code"), code);
}

void TFrmServeitem::uncheckAllItems()
{
    // A lone auto-exclusive radio button cannot be unchecked otherwise.
    RadioButton1->setAutoExclusive(false);
    RadioButton1->setChecked(false);
    RadioButton1->setAutoExclusive(true);
}

void TFrmServeitem::clearCriteriaBut(QWidget* keep)
{
    if (keep != Edit1)
        Edit1->clear();
    if (keep != ComboBox1)
        ComboBox1->setText(QString());
    if (keep != ComboBox2)
        ComboBox2->setText(QString());
}

void TFrmServeitem::Edit1Change()
{
    if (Edit1->text().trimmed().isEmpty())
        return;
    clearCriteriaBut(Edit1);
    uncheckAllItems();
}

void TFrmServeitem::ComboBox1Change()
{
    if (ComboBox1->text().trimmed().isEmpty())
        return;
    clearCriteriaBut(ComboBox1);
    uncheckAllItems();
}

void TFrmServeitem::ComboBox2Change()
{
    if (ComboBox2->text().trimmed().isEmpty())
        return;
    clearCriteriaBut(ComboBox2);
    uncheckAllItems();
}

void TFrmServeitem::ComboBox1Click()
{
    if (items().isActive())
        items().locate(QStringLiteral("serve_name"), ComboBox1->text());
}

void TFrmServeitem::ComboBox2Click()
{
    ui::Hourglass wait;
    listWhere(QStringLiteral("serve_type"), ComboBox2->text().trimmed());
}

void TFrmServeitem::RadioButton1Click()
{
    clearCriteriaBut(nullptr);
    ui::Hourglass wait;
    listAll();
}
