#include "stock/Ugodsfind.h"

#include "core/Udatamod.h"
#include "core/Upublic.h"
#include "platform/ui/DbComboBox.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/Prompt.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

TFrmGoodsFind::TFrmGoodsFind(QWidget* owner)
    : ChooserForm(owner, QStringLiteral("FrmGoodsFind"), QStringLiteral("商品查询"), FrmDataMod->GoodsFindQ)
{
    addChooseButton(QStringLiteral("cmd_prin"), QStringLiteral("选取[&O]"), [this] { cmd_prinClick(); });
    addExitButton(QStringLiteral("cmd_exit"), QStringLiteral("退出[&X]"), [this] { cmd_exitClick(); });

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    ComboBox1 = new ui::DbComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    criteria()->addWidget(new QLabel(QStringLiteral("产品编码"), this));
    criteria()->addWidget(Edit1, 1);
    criteria()->addWidget(new QLabel(QStringLiteral("产品名称"), this));
    criteria()->addWidget(ComboBox1, 2);

    grid()->setColumns({{QStringLiteral("gods_code"), QStringLiteral("商品编码"), 90},
                        {QStringLiteral("gods_name"), QStringLiteral("商品名称"), 160},
                        {QStringLiteral("gods_spec"), QStringLiteral("规格"), 70},
                        {QStringLiteral("gods_type"), QStringLiteral("类型"), 70},
                        {QStringLiteral("gods_kind"), QStringLiteral("种类"), 70},
                        {QStringLiteral("gods_unit"), QStringLiteral("单位"), 50}});

    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(ComboBox1, &ui::DbComboBox::textTyped, this, ui::guarded(this, [this] { ComboBox1Change(); }));
    connect(ComboBox1, &ui::DbComboBox::itemChosen, this, ui::guarded(this, [this] { ComboBox1Change(); }));

    runFormCreate([this] { FormCreate(); });
    resize(640, 440);
}

void TFrmGoodsFind::FormCreate()
{
    FixComboAutoComplete(this);
    FillComboDistinct(QStringLiteral("goods"), QStringLiteral("gods_name"), ComboBox1);
    db::Dataset& q = dataset();
    q.close();
    q.setSql(QStringLiteral("select * from goods order by gods_code"));
    q.setLockType(db::LockType::Optimistic);
    q.open();
}

void TFrmGoodsFind::cmd_prinClick()
{
    choose();
}

void TFrmGoodsFind::cmd_exitClick()
{
    reject();
}

void TFrmGoodsFind::Edit1Change()
{
    const QString code = Edit1->text().trimmed();
    // An empty box names no goods; the grid stays where it is.
    if (code.isEmpty())
        return;
    try {
        dataset().locate(QStringLiteral("gods_code"), code);
    } catch (const std::exception&) {
        // a list that is not open has nothing to move to
    }
}

void TFrmGoodsFind::ComboBox1Change()
{
    db::Dataset& q = dataset();
    const QString name = ComboBox1->text().trimmed();
    // The goods is looked up in the list itself, so that of two goods with the
    // same name the first one listed is chosen and that very row becomes
    // current (not another goods that happens to share its code). Names
    // compare without regard to case, as the stored column does.
    const bool found = !name.isEmpty() && q.isActive()
                       && q.locate(QStringLiteral("gods_name"), QVariantList{name}, true);
    const QSignalBlocker quiet(Edit1);
    Edit1->setText(found ? q.asString(QStringLiteral("gods_code")) : QString());
}
