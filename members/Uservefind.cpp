#include "members/Uservefind.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/Prompt.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

TFrmServeFind::TFrmServeFind(QWidget* owner)
    : ChooserForm(owner, QStringLiteral("FrmServeFind"), QStringLiteral("服务项目查询"), FrmDataMod->ServeFindQ)
{
    addChooseButton(QStringLiteral("cmd_prin"), QStringLiteral("选取[&O]"), [this] { cmd_prinClick(); });
    addExitButton(QStringLiteral("cmd_exit"), QStringLiteral("退出[&X]"), [this] { cmd_exitClick(); });

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    ComboBox1 = new ui::DbComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    criteria()->addWidget(new QLabel(QStringLiteral("服务项目编码"), this));
    criteria()->addWidget(Edit1, 1);
    criteria()->addWidget(new QLabel(QStringLiteral("项目名称"), this));
    criteria()->addWidget(ComboBox1, 2);

    grid()->setColumns({{QStringLiteral("serve_code"), QStringLiteral("项目编码"), 90},
                        {QStringLiteral("serve_name"), QStringLiteral("项目名称"), 160},
                        {QStringLiteral("serve_type"), QStringLiteral("类别"), 90},
                        {QStringLiteral("gage_time"), QStringLiteral("用时"), 60}});

    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(ComboBox1, &ui::DbComboBox::textTyped, this, ui::guarded(this, [this] { ComboBox1Change(); }));
    connect(ComboBox1, &ui::DbComboBox::itemChosen, this, ui::guarded(this, [this] { ComboBox1Change(); }));

    runFormCreate([this] { FormCreate(); });
    resize(560, 420);
}

void TFrmServeFind::FormCreate()
{
    FixComboAutoComplete(this);
    FillComboDistinct(QStringLiteral("serveitem"), QStringLiteral("serve_name"), ComboBox1);
    db::Dataset& q = dataset();
    q.close();
    q.setSql(QStringLiteral("select * from serveitem order by serve_code"));
    q.setLockType(db::LockType::Optimistic);
    q.open();
}

void TFrmServeFind::cmd_prinClick()
{
    choose();
}

void TFrmServeFind::cmd_exitClick()
{
    reject();
}

void TFrmServeFind::Edit1Change()
{
    const QString code = Edit1->text().trimmed();
    // An empty box names no item; the grid stays where it is.
    if (code.isEmpty())
        return;
    try {
        dataset().locate(QStringLiteral("serve_code"), code);
    } catch (const std::exception&) {
        // a list that is not open has nothing to move to
    }
}

void TFrmServeFind::ComboBox1Change()
{
    db::Dataset& q = dataset();
    const QString name = ComboBox1->text().trimmed();
    // The item is looked up in the list itself, so that of two items with the
    // same name the first one shown is chosen, and that very row becomes
    // current (not another item that happens to share its code).
    const bool found = !name.isEmpty() && q.isActive()
                       && q.locate(QStringLiteral("serve_name"), QVariantList{name}, true);
    const QSignalBlocker quiet(Edit1);
    Edit1->setText(found ? q.asString(QStringLiteral("serve_code")) : QString());
}
