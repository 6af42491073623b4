#include "stock/Ucompfind.h"

#include "core/Udatamod.h"
#include "platform/ui/DataSource.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbLineEdit.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

struct Detail {
    const char* label;
    const char* column;
    const char* objectName;
};

// Two to a line: label, box, label, box.
constexpr Detail kDetails[] = {
    {"公司编码", "comp_code", "DBEdit1"}, {"客户公司", "comp_name", "DBEdit2"},
    {"公司地址", "comp_addr", "DBEdit3"}, {"联系人名", "rela_name", "DBEdit4"},
    {"电话", "rela_phon", "DBEdit5"},     {"负责人名", "head_name", "DBEdit6"},
    {"电话", "head_phon", "DBEdit7"},
};

} // namespace

TFrmCompFind::TFrmCompFind(QWidget* owner)
    : ChooserForm(owner, QStringLiteral("FrmCompFind"), QStringLiteral("公司查询"), FrmDataMod->CompanyQ)
{
    addChooseButton(QStringLiteral("BitBtn1"), QStringLiteral("选择[&O]"), [this] { BitBtn1Click(); });
    addExitButton(QStringLiteral("BitBtn2"), QStringLiteral("取消[&C]"), [this] { BitBtn2Click(); });
    setEmptyChoiceAllowed(true);

    grid()->setColumns({{QStringLiteral("comp_code"), QStringLiteral("客户编码"), 90},
                        {QStringLiteral("comp_name"), QStringLiteral("客户公司"), 180},
                        {QStringLiteral("head_name"), QStringLiteral("负责人名"), 90}});
    source_ = new ui::DataSource(&dataset(), this);
    detailGroup_ = buildDetailGroup();
    layout()->addWidget(detailGroup_);

    runFormCreate([this] { FormCreate(); });
    resize(680, 460);
}

QGroupBox* TFrmCompFind::buildDetailGroup()
{
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* layout = new QGridLayout(group);
    int i = 0;
    for (const Detail& d : kDetails) {
        auto* box = new ui::DbLineEdit(source_, u(d.column), group);
        box->setObjectName(u(d.objectName));
        box->setLocked(true);
        layout->addWidget(new QLabel(u(d.label), group), i / 2, (i % 2) * 2);
        layout->addWidget(box, i / 2, (i % 2) * 2 + 1);
        ++i;
    }
    return group;
}

void TFrmCompFind::FormCreate()
{
    db::Dataset& q = dataset();
    q.close();
    q.setSql(QStringLiteral("select * from company order by comp_code"));
    q.setLockType(db::LockType::Optimistic);
    q.open();
}

void TFrmCompFind::BitBtn1Click()
{
    choose();
}

void TFrmCompFind::BitBtn2Click()
{
    reject();
}

std::optional<ChosenCompany> ChooseCompany(QWidget* owner)
{
    const auto values = chooseFields<TFrmCompFind>(owner, {QStringLiteral("comp_code"), QStringLiteral("comp_name")});
    if (!values || values->at(0).trimmed().isEmpty())
        return std::nullopt;
    return ChosenCompany{values->at(0), values->at(1)};
}
