#include "stock/Ucompany.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/ui/BoxWidth.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"
#include "platform/ui/EntryRefusal.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

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
    int digits = 0; // a number of this many digits shows whole
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
    {{"公司类型", "comp_type", "DBComboBox1", true}, {"银行帐号", "bank_no", "DBEdit8", false, 19}},
    {{"国家", "belo_coun", "DBComboBox2", true}, {"省市", "belo_prov", "DBComboBox3", true}},
    {{"地区", "belo_area", "DBComboBox4", true}, {"邮编", "post_code", "DBEdit9", false}},
    {{"传真", "fax", "DBEdit10", false}, {"E_mail", "e_mail", "DBEdit11", false}},
    {{"备注", "comp_note", "DBEdit12", false}, {}},
};

// The lists are filled in this order.
const char* const kListedColumns[] = {"comp_type", "belo_coun", "belo_area", "belo_prov"};

} // namespace

TFrmCompany::TFrmCompany(QWidget* owner)
    : CodeRegisterForm(owner, QStringLiteral("FrmCompany"), QStringLiteral("公司资料"), kPosition, companies(),
                       QStringLiteral("company"), QStringLiteral("comp_code"))
{
    grid()->setColumns({{QStringLiteral("comp_code"), QStringLiteral("公司编码"), 80},
                        {QStringLiteral("comp_name"), QStringLiteral("客户名称"), 180},
                        {QStringLiteral("head_name"), QStringLiteral("负责人名"), 80}});
    placeRecordGroup(buildRecordGroup(), QStringLiteral("公司编码"));

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
        QWidget* box = nullptr;
        if (entry.combo) {
            auto* combo = new ui::DbComboBox(source(), u(entry.column), group);
            combos_ << combo;
            box = combo;
        } else {
            auto* edit = new ui::DbLineEdit(source(), u(entry.column), group);
            if (entry.digits > 0)
                ui::keepWideEnoughFor(edit, QString(entry.digits, u'0'));
            box = edit;
        }
        box->setObjectName(u(entry.objectName));
        layout->addWidget(ui::labelFor(box, u(entry.label)), line, column);
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
    openTable(db::LockType::Optimistic);
}

void TFrmCompany::FillCompanyCombos()
{
    for (const char* column : kListedColumns)
        FillComboDistinctOnUse(QStringLiteral("company"), u(column), comboOf(u(column)));
}
