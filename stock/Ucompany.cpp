#include "stock/Ucompany.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/Prompt.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

db::Dataset& companies()
{
    return FrmDataMod->CompanyQ;
}

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

struct Box {
    const char* label;
    const char* column;
    const char* objectName;
    bool combo;
};

// One line of the record group: one box, or two side by side.
struct Line {
    Box left;
    Box right;
};

constexpr Line kLines[] = {
    {{"公司编码", "comp_code", "DBEdit1", false}, {}},
    {{"客户公司", "comp_name", "DBEdit2", false}, {}},
    {{"公司地址", "comp_addr", "DBEdit3", false}, {}},
    {{"联系人名", "rela_name", "DBEdit4", false}, {"电话", "rela_phon", "DBEdit5", false}},
    {{"负责人名", "head_name", "DBEdit6", false}, {"电话", "head_phon", "DBEdit7", false}},
    {{"公司类型", "comp_type", "DBComboBox1", true}, {"银行帐号", "bank_no", "DBEdit8", false}},
    {{"国家", "belo_coun", "DBComboBox2", true}, {"省市", "belo_prov", "DBComboBox3", true}},
    {{"地区", "belo_area", "DBComboBox4", true}, {"邮编", "post_code", "DBEdit9", false}},
    {{"传真", "fax", "DBEdit10", false}, {"E_mail", "e_mail", "DBEdit11", false}},
    {{"备注", "comp_note", "DBEdit12", false}, {}},
};

// The lists are filled in this order.
const char* const kListedColumns[] = {"comp_type", "belo_coun", "belo_area", "belo_prov"};

} // namespace

TFrmCompany::TFrmCompany(QWidget* owner)
    : RecordForm(owner, QStringLiteral("FrmCompany"), QStringLiteral("公司资料"), kPosition)
{
    addStandardButtons({"cmd_add", "cmd_edit", "cmd_dele", "cmd_save", "cmd_canc", "cmd_exit"},
                       {"新增[&A]", "修改[&E]", "删除[&D]", "保存[&S]", "取消[&C]", "退出[&X]"});

    source_ = new ui::DataSource(&companies(), this);
    grid_ = new ui::DbGrid(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setRowSelect(true);
    grid_->setDataset(&companies());
    grid_->setColumns({{QStringLiteral("comp_code"), QStringLiteral("公司编码"), 80},
                       {QStringLiteral("comp_name"), QStringLiteral("客户名称"), 160},
                       {QStringLiteral("head_name"), QStringLiteral("负责人名"), 80}});

    recordGroup_ = buildRecordGroup();
    auto* right = new QVBoxLayout;
    right->addWidget(recordGroup_);
    right->addWidget(buildFindGroup());
    right->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(grid_, 1);
    row->addLayout(right, 1);
    body()->addLayout(row);

    controls().grid = grid_;
    controls().dataGroups = {recordGroup_};
    setRecord(&companies(), codeBox_, QStringLiteral("comp_code"));
    setFirstEditBox(codeBox_);

    runFormCreate([this] { FormCreate(); });
    resize(860, 480);
}

TFrmCompany::~TFrmCompany()
{
    // CompanyQ stays open as the source of company names; a record left half
    // typed is dropped.
    try {
        if (companies().isEditing())
            companies().cancel();
    } catch (const std::exception&) {
    }
}

QGroupBox* TFrmCompany::buildRecordGroup()
{
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* layout = new QGridLayout(group);
    auto place = [&](const Box& entry, int line, int column, int span) {
        layout->addWidget(new QLabel(u(entry.label), group), line, column);
        QWidget* box = nullptr;
        if (entry.combo) {
            auto* combo = new ui::DbComboBox(source_, u(entry.column), group);
            combos_ << combo;
            box = combo;
        } else {
            auto* edit = new ui::DbLineEdit(source_, u(entry.column), group);
            if (entry.column == QLatin1String("comp_code"))
                codeBox_ = edit;
            box = edit;
        }
        box->setObjectName(u(entry.objectName));
        layout->addWidget(box, line, column + 1, 1, span);
    };
    int line = 0;
    for (const Line& l : kLines) {
        if (l.right.column) {
            place(l.left, line, 0, 1);
            place(l.right, line, 2, 1);
        } else {
            place(l.left, line, 0, 3);
        }
        ++line;
    }
    return group;
}

QGroupBox* TFrmCompany::buildFindGroup()
{
    auto* group = new QGroupBox(QStringLiteral("快速查找"), this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    auto* layout = new QHBoxLayout(group);
    Edit1 = new QLineEdit(group);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    auto* find = new QPushButton(QStringLiteral("查找"), group);
    find->setObjectName(QStringLiteral("cmd_find"));
    find->setAutoDefault(false);
    layout->addWidget(new QLabel(QStringLiteral("公司编码"), group));
    layout->addWidget(Edit1, 1);
    layout->addWidget(find);

    controls().findGroup = group;
    controls().cmd_find = find;
    connect(find, &QPushButton::clicked, this, ui::guarded(this, [this] { cmd_findClick(); }));
    connect(Edit1, &QLineEdit::returnPressed, this, ui::guarded(this, [this] { Edit1KeyPress(); }));
    return group;
}

ui::DbComboBox* TFrmCompany::comboOf(const QString& column) const
{
    for (ui::DbComboBox* combo : combos_)
        if (combo->field() == column)
            return combo;
    return nullptr;
}

void TFrmCompany::FormCreate()
{
    FillCompanyCombos();
    db::Dataset& q = companies();
    q.close();
    q.setSql(QStringLiteral("select * from company order by comp_code"));
    q.setLockType(db::LockType::Optimistic);
    q.open();
}

void TFrmCompany::FillCompanyCombos()
{
    for (const char* column : kListedColumns)
        FillComboDistinct(QStringLiteral("company"), u(column), comboOf(u(column)));
}

void TFrmCompany::cmd_editClick()
{
    if (codeBox_->text().trimmed().isEmpty())
        return;
    try {
        companies().edit();
        setMode(FormMode::Edit);
        codeBox_->setFocus();
    } catch (const std::exception&) {
    }
}

bool TFrmCompany::checkBeforeSave()
{
    return !codeBox_->text().trimmed().isEmpty();
}

void TFrmCompany::cmd_findClick()
{
    const QString code = Edit1->text().trimmed();
    // A blank find names no company (locate would take it for a missing code).
    if (code.isEmpty())
        return;
    try {
        companies().locate(QStringLiteral("comp_code"), code);
    } catch (const std::exception&) {
    }
}

void TFrmCompany::Edit1KeyPress()
{
    cmd_findClick();
}
